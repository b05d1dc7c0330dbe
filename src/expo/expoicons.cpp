#include "expo/expoicons.h"

#include "android/androiddensity.h"
#include "android/androidiconplan.h"
#include "desktop/desktopicons.h"
#include "image/artplacement.h"
#include "image/imagecompositing.h"
#include "image/imageresizing.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"

#include <QUrl>

namespace quorva {
namespace {

constexpr int iconSide = 1024; // what Expo's prebuild makes every native size from
constexpr int faviconSide = 48;

// The path below the configuration's folder, or nothing when it leaves it.
std::optional<QString> within(const QString& path)
{
    const std::filesystem::path normal = toPath(path).lexically_normal();
    if (normal.empty() || normal.is_absolute() || *normal.begin() == "..")
        return std::nullopt;
    return displayPath(normal);
}

} // namespace

ExpoIcons planExpoIcons(const ImageRef& source, const ExpoConfig& config, const ExpoOptions& options)
{
    const std::optional<QColor>& background = options.background;
    const double padding = options.padding;
    ExpoIcons out;
    if (!source)
        return out;
    const QImage sample = sampleBitmap(*source, 1024);
    const QRectF box = artBox(sample);
    DesktopArt plain;
    plain.padding = padding;
    DesktopArt laid = plain;
    laid.background = background;
    const std::map<int, ImageRef> art = renderSides(source, plain, {iconSide, faviconSide});
    const std::map<int, ImageRef> icon = background ? renderSides(source, laid, {iconSide}) : art;
    // Transparent art fits the safe circle; a full-bleed square fills what the launcher shows of
    // the layer, its corners left to the mask.
    const bool fullBleed = !hasTransparentPixels(sample);
    const auto foreground = [&] {
        return fullBleed ? artInSquare(*source, QRectF(0, 0, 1, 1), iconSide, adaptiveViewportDp / adaptiveLayerDp)
                         : artInCircle(*source, box, iconSide, safeZoneDp / adaptiveLayerDp, padding);
    };
    for (const ExpoImage& image : config.images) {
        const QUrl url(image.path);
        if (!url.scheme().isEmpty() && url.scheme().size() > 1) {
            out.notes << QStringLiteral("%1 is %2, on the web: left as it is").arg(image.key, image.path);
            continue;
        }
        if (image.path.contains(QLatin1String("node_modules/"))) {
            out.notes << QStringLiteral("%1 names %2, a package's file: left as it is").arg(image.key, image.path);
            continue;
        }
        if (image.path.endsWith(QLatin1String(".icon"))) {
            // An Icon Composer file (Expo 54): written as one, by its own target.
            continue;
        }
        const std::optional<QString> path = within(image.path);
        if (!path) {
            out.notes << QStringLiteral("%1 names %2, outside the project: left as it is").arg(image.key, image.path);
            continue;
        }
        if (out.plan.find(*path))
            continue; // icon and ios.icon may name one file
        ImageRef made;
        switch (image.role) {
        case ExpoImage::Role::Icon:
            made = icon.at(iconSide);
            break;
        case ExpoImage::Role::Dark:
            made = art.at(iconSide);
            break;
        case ExpoImage::Role::Tinted:
            made = art.at(iconSide) ? luminanceOnBlack(*art.at(iconSide)) : nullptr;
            break;
        case ExpoImage::Role::Foreground:
            made = makeImage(foreground());
            break;
        case ExpoImage::Role::Monochrome:
            if (options.keepMonochrome)
                continue;
            if (options.monochrome) {
                const QImage own = sampleBitmap(*options.monochrome, 1024);
                made = makeImage(whiteOf(
                    artInCircle(*options.monochrome, artBox(own), iconSide, safeZoneDp / adaptiveLayerDp, padding)));
                break;
            }
            if (fullBleed) {
                out.plan.refusal = describe(AndroidRefusal::NoArtworkForMonochrome);
                out.refusedFile = *path;
                return out;
            }
            made = makeImage(themedOf(foreground(), outlineLuminance(sample)));
            break;
        case ExpoImage::Role::Favicon:
            made = art.at(faviconSide);
            break;
        }
        const std::optional<QByteArray> bytes = made ? pngData(*made).bytes : std::nullopt;
        if (!bytes) {
            out.plan.refusal = QStringLiteral("Couldn't make the image");
            out.refusedFile = *path;
            return out;
        }
        out.plan.add(*path, *bytes);
    }
    return out;
}

} // namespace quorva
