#include "android/androidiconplan.h"

#include "android/androiddensity.h"
#include "image/artplacement.h"
#include "image/imagecompositing.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

namespace quorva {
namespace {

// An image made once, by whichever thread asks first, for the files that share it: the legacy icon
// and its round twin, the foreground and the themed layer cut from it.
class MadeOnce {
public:
    explicit MadeOnce(std::function<QImage()> make) : m_state(std::make_shared<State>())
    {
        m_state->make = std::move(make);
    }
    QImage operator()() const
    {
        std::call_once(m_state->once, [this] { m_state->image = m_state->make(); });
        return m_state->image;
    }

private:
    struct State {
        std::once_flag once;
        std::function<QImage()> make;
        QImage image;
    };
    std::shared_ptr<State> m_state;
};

QByteArray adaptiveXml(const QString& name, bool imageBackground, bool monochrome)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                 "<adaptive-icon xmlns:android=\"http://schemas.android.com/apk/res/android\">\n");
    xml += QStringLiteral("    <background android:drawable=\"@%1/%2_background\"/>\n")
               .arg(imageBackground ? QStringLiteral("mipmap") : QStringLiteral("color"), name);
    xml += QStringLiteral("    <foreground android:drawable=\"@mipmap/%1_foreground\"/>\n").arg(name);
    if (monochrome)
        xml += QStringLiteral("    <monochrome android:drawable=\"@mipmap/%1_monochrome\"/>\n").arg(name);
    xml += QStringLiteral("</adaptive-icon>\n");
    return xml.toUtf8();
}

// The adaptive icon's layers as the launcher composes them, each drawn at the side asked for: the
// art in the safe circle over the colour or the background image (a full-bleed source is the
// background itself, under an empty foreground).
struct AdaptiveLayers {
    ImageRef source;
    QRectF box; // the art's opaque bounds in the source
    double padding = 0;
    bool fullBleed = false;
    ImageRef background;
    QColor colour;

    QImage foreground(int side) const
    {
        return fullBleed ? transparentSquare(side)
                         : artInCircle(*source, box, side, safeZoneDp / adaptiveLayerDp, padding);
    }
    QImage backgroundLayer(int side) const
    {
        if (background)
            return covering(*background, side);
        QImage fill(side, side, QImage::Format_ARGB32_Premultiplied);
        fill.fill(colour);
        return fill;
    }
    // What the launcher shows: both layers, the central 72 of 108 dp, at this many pixels.
    QImage composed(int shown) const
    {
        QImage layers = backgroundLayer(layerSide(shown));
        QPainter(&layers).drawImage(0, 0, foreground(layerSide(shown)));
        return centre(layers, shown);
    }
    static int layerSide(int shown) { return int(std::lround(shown * adaptiveLayerDp / adaptiveViewportDp)); }
    static QImage centre(const QImage& layer, int shown)
    {
        return layer.copy((layer.width() - shown) / 2, (layer.height() - shown) / 2, shown, shown);
    }
};

// The legacy icon cut round, as a launcher that asks for roundIcon shows it.
QImage roundOf(const QImage& legacy)
{
    QImage round = transparentSquare(legacy.width());
    QPainter painter(&round);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, legacy.width(), legacy.height()));
    painter.setClipPath(circle);
    painter.drawImage(0, 0, legacy);
    painter.end();
    return round;
}

// Each density's launcher icon, its round twin, and the adaptive layers; the themed layer drawn
// by `monochrome`, or cut from the foreground when it is the source's own art in white.
void planLauncherImages(AndroidIconPlan& plan, const std::shared_ptr<const AdaptiveLayers>& layers,
                        const AndroidIconOptions& options, const std::function<QImage(int side)>& monochrome,
                        const std::optional<double>& outline)
{
    const QString& name = options.name;
    const QString bitmap = options.webp ? QStringLiteral(".webp") : QStringLiteral(".png");
    const bool monochromeOfForeground = monochrome && !options.monochromeArtwork && !layers->fullBleed;
    for (const AndroidDensity& density : androidDensities()) {
        const int layer = density.pixels(adaptiveLayerDp), legacy = density.pixels(legacyIconDp);
        const QString folder = density.folder + QLatin1Char('/');
        const MadeOnce shown([layers, legacy] { return layers->composed(legacy); });
        const MadeOnce front([layers, layer] { return layers->foreground(layer); });
        plan.images[folder + name + bitmap] = [shown] { return makeImage(shown()); };
        if (!options.roundName.isEmpty())
            plan.images[folder + options.roundName + bitmap] = [shown] { return makeImage(roundOf(shown())); };
        plan.images[folder + name + QStringLiteral("_foreground") + bitmap] = [front] { return makeImage(front()); };
        if (layers->background)
            plan.images[folder + name + QStringLiteral("_background") + bitmap]
                = [layers, layer] { return makeImage(layers->backgroundLayer(layer)); };
        if (monochromeOfForeground)
            plan.images[folder + name + QStringLiteral("_monochrome") + bitmap]
                = [front, outline] { return makeImage(themedOf(front(), outline)); };
        else if (monochrome)
            plan.images[folder + name + QStringLiteral("_monochrome") + bitmap]
                = [monochrome, layer] { return makeImage(monochrome(layer)); };
    }
}

// The notification icon at each density: white in the art's shape (or its own art's), which
// Android draws from the alpha alone in the status bar's colour.
void planNotificationImages(AndroidIconPlan& plan, const ImageRef& source, const QRectF& box,
                            const AndroidIconOptions& options)
{
    const ImageRef art = options.notificationArtwork ? options.notificationArtwork : source;
    const QRectF artBounds = options.notificationArtwork ? artBox(sampleBitmap(*art, 1024)) : box;
    for (const AndroidDensity& density : androidDensities()) {
        const int side = density.pixels(notificationIconDp);
        plan.images[QStringLiteral("drawable-%1/%2.png").arg(density.qualifier(), options.notificationName)]
            = [art, artBounds, side] {
                  return makeImage(whiteOf(artInSquare(*art, artBounds, side, notificationArtDp / notificationIconDp)));
              };
    }
}

// The adaptive icon's XML, and the background colour's values file when the layer is a colour.
void planTexts(AndroidIconPlan& plan, const AndroidIconOptions& options, const AdaptiveLayers& layers)
{
    const QString& name = options.name;
    const QByteArray xml = adaptiveXml(name, layers.background != nullptr, options.monochrome);
    plan.texts[QStringLiteral("mipmap-anydpi-v26/") + name + QStringLiteral(".xml")] = xml;
    if (!options.roundName.isEmpty())
        plan.texts[QStringLiteral("mipmap-anydpi-v26/") + options.roundName + QStringLiteral(".xml")] = xml;
    if (layers.background)
        return;
    static const QRegularExpression hex(QStringLiteral("^#([0-9A-Fa-f]{3}|[0-9A-Fa-f]{6})$"));
    plan.colour = hex.match(options.backgroundColourText).hasMatch() ? options.backgroundColourText
                                                                     : layers.colour.name(QColor::HexRgb).toUpper();
    plan.texts[QStringLiteral("values/") + name + QStringLiteral("_background.xml")]
        = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n    <color "
                         "name=\"%1_background\">%2</color>\n</resources>\n")
              .arg(name, *plan.colour)
              .toUtf8();
}

} // namespace

AndroidIconPlan planAndroidIcons(const ImageRef& source, const AndroidIconOptions& options)
{
    AndroidIconPlan plan;
    if (!source || source->pixelSize().isEmpty()) {
        plan.refusal = AndroidRefusal::NoBitmap;
        return plan;
    }
    // A full-bleed square has no foreground to separate: it is the background itself.
    // One sample serves both questions; a bitmap of up to 1024 px is its own sample.
    const QImage sample = sampleBitmap(*source, 1024);
    const bool fullBleed = !hasTransparentPixels(sample);
    if (fullBleed && options.monochrome && !options.monochromeArtwork) {
        plan.refusal = AndroidRefusal::NoArtworkForMonochrome;
        return plan;
    }
    if (fullBleed && options.notification && !options.notificationArtwork) {
        plan.refusal = AndroidRefusal::NoArtworkForNotification;
        return plan;
    }
    if (fullBleed)
        plan.notes.push_back(AndroidNote::FullBleed);
    const auto layers = std::make_shared<const AdaptiveLayers>(
        AdaptiveLayers{source, artBox(sample), options.padding, fullBleed, fullBleed ? source : options.backgroundImage,
                       options.backgroundColour});
    plan.launcherView = [layers](int shown) { return layers->composed(shown); };
    // The themed layer: the art's shape (or its own art's) in white, as the foreground is placed.
    // Its own art gives its shape alone; the source's keeps its inner detail as holes.
    std::function<QImage(int side)> monochrome;
    const std::optional<double> outline
        = options.monochrome && !options.monochromeArtwork ? outlineLuminance(sample) : std::nullopt;
    if (options.monochrome) {
        const ImageRef art = options.monochromeArtwork ? options.monochromeArtwork : source;
        const QRectF artBounds = options.monochromeArtwork ? artBox(sampleBitmap(*art, 1024)) : layers->box;
        const double padding = options.padding;
        monochrome = [art, artBounds, padding, outline](int side) {
            return themedOf(artInCircle(*art, artBounds, side, safeZoneDp / adaptiveLayerDp, padding), outline);
        };
        plan.themedView = [monochrome](int shown) {
            return AdaptiveLayers::centre(monochrome(AdaptiveLayers::layerSide(shown)), shown);
        };
    }
    planLauncherImages(plan, layers, options, monochrome, outline);
    if (options.notification)
        planNotificationImages(plan, source, layers->box, options);
    planTexts(plan, options, *layers);
    if (options.playStore)
        plan.playStore = [layers] { return makeImage(layers->composed(playStoreIconSide)); };
    return plan;
}

std::optional<QString> loadAndroidArtwork(AndroidIconOptions& options,
                                          const std::optional<std::filesystem::path>& background,
                                          const std::optional<std::filesystem::path>& monochrome,
                                          const std::optional<std::filesystem::path>& notification)
{
    for (const auto& [file, image] :
         {std::pair(&background, &options.backgroundImage), std::pair(&monochrome, &options.monochromeArtwork),
          std::pair(&notification, &options.notificationArtwork)}) {
        if (!*file)
            continue;
        const LoadedImage loaded = loadImage(**file);
        if (!loaded.image)
            return pathLine(**file, loaded.error);
        *image = loaded.image;
    }
    return std::nullopt;
}

QString describe(AndroidRefusal refusal)
{
    switch (refusal) {
    case AndroidRefusal::None:
        return {};
    case AndroidRefusal::NoBitmap:
        return QStringLiteral("the image has no bitmap");
    case AndroidRefusal::NoArtworkForMonochrome:
        return QStringLiteral("it has no transparent pixels, so there is no art whose shape a themed icon could take; "
                              "give the monochrome icon an image of its own");
    case AndroidRefusal::NoArtworkForNotification:
        return QStringLiteral("it has no transparent pixels, so there is no art whose shape a notification icon "
                              "could take; give the notification icon a silhouette of its own");
    }
    return {};
}

} // namespace quorva
