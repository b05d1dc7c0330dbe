#include "apple/appiconplan.h"

#include "apple/contentsjson.h"
#include "image/imagecompositing.h"
#include "image/macshape.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "image/imageresizing.h"
#include "support/pixelanalysis.h"
#include <algorithm>

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
    // The source brought onto the square first: every later step works on the square.
    const ImageRef square = image && !options.frame.isIdentity() ? framed(*source, options.frame) : source;
    if (image && !square)
        return refuse(AppIconRefusal::NoBitmap);
    const ImageRef& shaped = image ? square : source;
    const auto frame = [&options](const ImageRef& artwork) {
        return artwork && !options.frame.isIdentity() ? framed(*artwork, options.frame) : artwork;
    };
    if (const AppIconRefusal why = refusalOf(options, image && hasTransparency(*shaped), image);
        why != AppIconRefusal::None) {
        if (!evenIfRefused || why == AppIconRefusal::NoBitmap)
            return refuse(why);
        plan.refusal = why;
    }

    plan.image = options.background ? onBackground(*shaped, *options.background) : shaped;
    if (!plan.image)
        return refuse(AppIconRefusal::NoBitmap);
    const bool ios = options.platforms.count(ApplePlatform::iOS) > 0;
    QJsonArray iosEntries;
    if (ios && !options.singleSize) {
        plan.table = appIconSizes();
        plan.layout = appIconSetLayout();
        if (plan.layout.contents = contentsOf(plan.layout).bytes; plan.layout.contents)
            iosEntries = QJsonDocument::fromJson(*plan.layout.contents).object().value("images").toArray();
    } else if (ios) {
        plan.table = {{singleSizeIconFile, singleSizeIconSide}};
        if (options.dark)
            plan.table.push_back(
                {darkIconFile, singleSizeIconSide, options.darkArtwork ? frame(options.darkArtwork) : shaped});
        if (options.tinted) {
            const ImageRef artwork = options.tintedArtwork ? frame(options.tintedArtwork) : shaped;
            ImageRef tinted = artwork ? luminanceOnBlack(*artwork) : nullptr;
            if (!tinted)
                return refuse(AppIconRefusal::NoBitmap);
            plan.table.push_back({tintedIconFile, singleSizeIconSide, std::move(tinted)});
        }
        plan.layout = singleSizeAppIconSetLayout(singleSizeAppIconContents(options.dark, options.tinted));
        iosEntries = singleSizeAppIconEntries(options.dark, options.tinted);
    }
    if (options.platforms.size() == 1 && ios) {
        if (!options.singleSize)
            plan.layout.contents.reset(); // the classic set is its template's, copied as it is
        return plan;
    }

    // Other platforms: their entries join the iOS ones in one set, as Xcode makes a multiplatform set.
    const bool mac = options.platforms.count(ApplePlatform::macOS) > 0;
    const bool watch = options.platforms.count(ApplePlatform::watchOS) > 0;
    if (mac) {
        // macOS does not mask icons: a full-bleed square is laid into the Mac shape, shaped art
        // is used as it is; the small sizes are made from the shaped 1024 px icon, or drawn.
        const ImageRef art = macIconArt(shaped, options.macShape);
        if (!art)
            return refuse(AppIconRefusal::NoBitmap);
        std::set<int> sides;
        for (const MacIconSlot& slot : macIconSlots())
            sides.insert(slot.pixels());
        for (auto side = sides.rbegin(); side != sides.rend(); ++side)
            plan.table.push_back({macIconFile(*side), *side, art});
    }
    if (watch)
        plan.table.push_back({watchIconFile, singleSizeIconSide}); // the opaque image, as the App Store icon
    std::stable_sort(plan.table.begin(), plan.table.end(),
                     [](const AppIconEntry& a, const AppIconEntry& b) { return a.side > b.side; });
    const QString folder = ios ? QStringLiteral("iOS") : mac ? QStringLiteral("macOS") : QStringLiteral("watchOS");
    const bool artwork = ios && !options.singleSize;
    plan.layout = CatalogSetLayout{QStringLiteral("icon"),
                                   {},
                                   multiplatformAppIconContents(iosEntries, mac, watch),
                                   false,
                                   artwork,
                                   folder};
    return plan;
}

AppIconRefusal refusalOf(const AppIconOptions& options, bool sourceHasTransparency, bool hasImage)
{
    if (!hasImage)
        return AppIconRefusal::NoBitmap;
    if (options.iconComposerFile)
        return sourceHasTransparency ? AppIconRefusal::None : AppIconRefusal::OpaqueLayer;
    if ((options.dark || options.tinted) && !options.singleSize)
        return AppIconRefusal::AppearancesNeedSingleSize;
    if (options.singleSize && !options.background && sourceHasTransparency)
        return AppIconRefusal::TransparentStoreIcon;
    if (options.dark && !options.darkArtwork && !sourceHasTransparency)
        return AppIconRefusal::NoArtworkForDark;
    if (options.tinted && !options.tintedArtwork && !sourceHasTransparency)
        return AppIconRefusal::NoArtworkForTinted;
    if (options.platforms.count(ApplePlatform::watchOS) && !options.background && sourceHasTransparency)
        return AppIconRefusal::TransparentWatchIcon;
    return AppIconRefusal::None;
}

bool frameAddsMargins(const Image& source, const Frame& frame)
{
    const QSize size = source.pixelSize();
    return frame.padding > 0 || (frame.fit == Frame::Fit::Contain && size.width() != size.height());
}

std::vector<AppIconNote> notesOf(const Image& source, const AppIconOptions& options, bool transparent)
{
    std::vector<AppIconNote> notes;
    const QSize pixels = source.pixelSize();
    if (!source.drawing() && std::min(pixels.width(), pixels.height()) < singleSizeIconSide)
        notes.push_back(AppIconNote::Upscaled);
    if (pixels.width() != pixels.height() && options.frame.fit == Frame::Fit::Stretch)
        notes.push_back(AppIconNote::Stretched);
    // Only the iOS App Store icon must be opaque: a Mac icon carries its own shape.
    if (!options.singleSize && !options.background && options.platforms.count(ApplePlatform::iOS)
        && (transparent || frameAddsMargins(source, options.frame)))
        notes.push_back(AppIconNote::TransparentStoreIcon);
    return notes;
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
    case AppIconRefusal::NoArtworkForTinted:
        return QStringLiteral("it has no transparent pixels, so there is no artwork for the tinted icon, which iOS "
                              "wants light on black (its luminance would be a white plate); give the tinted icon an "
                              "image of its own");
    case AppIconRefusal::TransparentWatchIcon:
        return QStringLiteral("it has transparent pixels, and a watch app's icon may have no alpha channel "
                              "(ITMS-90396); lay it onto a background colour");
    case AppIconRefusal::OpaqueLayer:
        return QStringLiteral("it has no transparent pixels, and an Icon Composer file lays the art over its fill, "
                              "which opaque art would hide; give a source with a transparent background");
    case AppIconRefusal::NoBitmap:
        return QStringLiteral("the image has no bitmap");
    }
    return {};
}

QString describe(AppIconNote note, const QSize& pixels)
{
    const QString size = pixels.width() == pixels.height()
        ? QStringLiteral("%1 px").arg(pixels.width())
        : QStringLiteral("%1 × %2 px").arg(pixels.width()).arg(pixels.height());
    switch (note) {
    case AppIconNote::Upscaled:
        return QStringLiteral("it is %1; the %2 px icons are upscaled").arg(size).arg(singleSizeIconSide);
    case AppIconNote::Stretched:
        return QStringLiteral("it is %1, not square: every icon is stretched to a square").arg(size);
    case AppIconNote::TransparentStoreIcon:
        return QStringLiteral(
            "the App Store icon will have transparent pixels, which App Store Connect rejects (ITMS-90717)");
    }
    return {};
}

} // namespace quorva
