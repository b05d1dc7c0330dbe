#include "generation/appiconplan.h"

#include "catalog/contentsjson.h"
#include "image/imagecompositing.h"
#include "image/imageresizing.h"
#include "support/pixelanalysis.h"

namespace quorva {
namespace {

bool hasTransparency(const Image& image)
{
    return hasTransparentPixels(sampleBitmap(image));
}

} // namespace

AppIconPlan planAppIconSet(const ImageRef& source, const AppIconOptions& options, bool evenIfRefused)
{
    AppIconPlan plan;
    const auto refuse = [&plan](AppIconRefusal why) {
        plan.refusal = why;
        return plan;
    };
    const bool image = source && !source->pixelSize().isEmpty();
    if (const AppIconRefusal why = refusalOf(options, image && hasTransparency(*source), image);
        why != AppIconRefusal::None) {
        if (!evenIfRefused || why == AppIconRefusal::NoBitmap)
            return refuse(why);
        plan.refusal = why;
    }

    plan.image = options.background ? onBackground(*source, *options.background) : source;
    if (!plan.image)
        return refuse(AppIconRefusal::NoBitmap);
    if (!options.singleSize) {
        plan.table = appIconSizes();
        plan.layout = appIconSetLayout();
        return plan;
    }
    plan.table = {{singleSizeIconFile, singleSizeIconSide}};
    if (options.dark)
        plan.table.push_back({darkIconFile, singleSizeIconSide, options.darkArtwork ? options.darkArtwork : source});
    if (options.tinted) {
        ImageRef tinted = luminanceOnBlack(options.tintedArtwork ? *options.tintedArtwork : *source);
        if (!tinted)
            return refuse(AppIconRefusal::NoBitmap);
        plan.table.push_back({tintedIconFile, singleSizeIconSide, std::move(tinted)});
    }
    plan.layout = singleSizeAppIconSetLayout(singleSizeAppIconContents(options.dark, options.tinted));
    return plan;
}

AppIconRefusal refusalOf(const AppIconOptions& options, bool sourceHasTransparency, bool hasImage)
{
    if (!hasImage)
        return AppIconRefusal::NoBitmap;
    if ((options.dark || options.tinted) && !options.singleSize)
        return AppIconRefusal::AppearancesNeedSingleSize;
    if (options.singleSize && !options.background && sourceHasTransparency)
        return AppIconRefusal::TransparentStoreIcon;
    if (options.dark && !options.darkArtwork && !sourceHasTransparency)
        return AppIconRefusal::NoArtworkForDark;
    return AppIconRefusal::None;
}

QString describe(AppIconRefusal refusal)
{
    switch (refusal) {
    case AppIconRefusal::None:
        return {};
    case AppIconRefusal::AppearancesNeedSingleSize:
        return QStringLiteral("dark and tinted icons only work in a single-size set; beside the sized icons iOS "
                              "never shows them");
    case AppIconRefusal::TransparentStoreIcon:
        return QStringLiteral("it has transparent pixels, and App Store Connect rejects a transparent App Store "
                              "icon (ITMS-90717); lay it onto a background colour");
    case AppIconRefusal::NoArtworkForDark:
        return QStringLiteral("it has no transparent pixels, so there is no artwork to put on the dark icon's "
                              "transparent background; give the dark icon an image of its own");
    case AppIconRefusal::NoBitmap:
        return QStringLiteral("the image has no bitmap");
    }
    return {};
}

} // namespace quorva
