#include "splash/iossplash.h"

#include "apple/xcodejson.h"
#include "image/artplacement.h"
#include "image/imageresizing.h"
#include "png/pngencoder.h"
#include "splash/artsquares.h"
#include "splash/splashbitmaps.h"
#include "splash/splashsizes.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QRegularExpression>

namespace quorva {
namespace {

const QJsonArray darkAppearance = {QJsonObject{{"appearance", "luminosity"}, {"value", "dark"}}};
const QJsonObject xcodeInfo{{"author", "xcode"}, {"version", 1}};

QString component(int value)
{
    return QString::number(value / 255.0, 'f', 3);
}

QJsonObject colourEntry(const QColor& colour, bool dark)
{
    QJsonObject entry{{"color",
                       QJsonObject{{"color-space", "srgb"},
                                   {"components",
                                    QJsonObject{{"alpha", "1.000"},
                                                {"red", component(colour.red())},
                                                {"green", component(colour.green())},
                                                {"blue", component(colour.blue())}}}}},
                      {"idiom", "universal"}};
    if (dark)
        entry[QStringLiteral("appearances")] = darkAppearance;
    return entry;
}

QString imageFile(bool dark, int scale)
{
    return QLatin1String(launchImageName) + (dark ? QStringLiteral("Dark") : QString())
        + (scale > 1 ? QStringLiteral("@%1x").arg(scale) : QString()) + QStringLiteral(".png");
}

// Capacitor's Splash.imageset: the screen's colour, the art centred at its size on the phone, one
// image for every scale, as its assets tool writes them.
void addFullScreenSet(SplashBitmaps& bitmaps, QJsonArray& images, ArtSquares& art, const QColor& background, bool dark,
                      const IosSplashOptions& options)
{
    const QString set = QLatin1String(fullScreenSetName) + QStringLiteral(".imageset/");
    const int side = int(artPoints(options) / phoneHeightPt * fullScreenSetSide + 0.5);
    const auto file = [dark](int scale) {
        return QStringLiteral("Default@%1x~universal~anyany%2.png").arg(scale).arg(dark ? QStringLiteral("-dark") : "");
    };
    bitmaps.addEncoded(set + file(1), [square = art.at(side), background, side] {
        const int at = (fullScreenSetSide - side) / 2;
        return encodePngOnGround(background.rgb(), QSize(fullScreenSetSide, fullScreenSetSide), square(),
                                 QPoint(at, at));
    });
    for (const int scale : {1, 2, 3}) {
        if (scale > 1)
            bitmaps.copy(set + file(1), set + file(scale));
        QJsonObject entry{{"filename", file(scale)},
                          {"idiom", "universal"},
                          {"scale", QStringLiteral("%1x").arg(scale)}};
        if (dark)
            entry[QStringLiteral("appearances")] = darkAppearance;
        images.append(entry);
    }
}

} // namespace

int artPoints(const IosSplashOptions& options)
{
    return int(options.artPt.value_or(inscribedSquare(splashIconCircleDp) * (1 - options.padding)));
}

QStringList imagesShownBy(const QByteArray& storyboard)
{
    static const QRegularExpression imageView(QStringLiteral(R"re(<imageView\b[^>]*\simage="([^"]+)")re"));
    QStringList names;
    for (auto match = imageView.globalMatch(QString::fromUtf8(storyboard)); match.hasNext();)
        names << match.next().captured(1);
    return names;
}

Plan planIosSplash(const ImageRef& art, const IosSplashOptions& options)
{
    Plan plan;
    SplashBitmaps bitmaps;
    ArtSquares light(art, bitmaps);
    std::optional<ArtSquares> darkSquares;
    if (options.darkArt)
        darkSquares.emplace(options.darkArt, bitmaps);
    ArtSquares& darkArt = darkSquares ? *darkSquares : light;
    if (options.fullScreenSet) {
        QJsonArray images;
        addFullScreenSet(bitmaps, images, light, options.background, false, options);
        if (options.darkArt || options.darkBackground)
            addFullScreenSet(bitmaps, images, darkArt, options.darkBackground.value_or(options.background), true,
                             options);
        plan.add(QLatin1String(fullScreenSetName) + QStringLiteral(".imageset/Contents.json"),
                 xcodeJson(QJsonObject{{"images", images}, {"info", xcodeInfo}}));
        // Its images are the screen's alone: the ones they replace go, so that the catalog
        // holds no image its set doesn't name.
        plan.wholeFolders << QLatin1String(fullScreenSetName) + QStringLiteral(".imageset");
    }
    if (!options.launchImage) {
        bitmaps.into(plan);
        return plan;
    }
    const QString set = QLatin1String(launchImageName) + QStringLiteral(".imageset/");
    const int points = artPoints(options);
    QJsonArray images;
    // As Xcode lists them: each scale, then its dark twin.
    for (const int scale : {1, 2, 3}) {
        const QString scaleText = QStringLiteral("%1x").arg(scale);
        for (const bool dark : {false, true}) {
            if (dark && !options.darkArt) {
                for (const QJsonValue& kept : options.darkImages)
                    if (kept.toObject()[QLatin1String("scale")].toString() == scaleText)
                        images.append(kept);
                continue;
            }
            bitmaps.add(set + imageFile(dark, scale), (dark ? darkArt : light).at(points * scale));
            QJsonObject entry{{"filename", imageFile(dark, scale)}, {"idiom", "universal"}, {"scale", scaleText}};
            if (dark)
                entry[QStringLiteral("appearances")] = darkAppearance;
            images.append(entry);
        }
    }
    if (!bitmaps.into(plan))
        return plan;
    plan.add(set + QStringLiteral("Contents.json"), xcodeJson(QJsonObject{{"images", images}, {"info", xcodeInfo}}));
    if (options.backgroundImageSet) {
        // One pixel of each colour, which the storyboard's image view stretches over the screen.
        const QString backgrounds = QLatin1String(launchColourName) + QStringLiteral(".imageset/");
        QJsonArray entries;
        for (const bool dark : {false, true}) {
            if (dark && !options.darkBackground) {
                for (const QJsonValue& kept : options.darkBackgrounds)
                    entries.append(kept);
                continue;
            }
            QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
            pixel.fill(dark ? *options.darkBackground : options.background);
            const std::optional<QByteArray> png = pngData(*makeImage(pixel)).bytes;
            if (!png) {
                plan.refusal = QStringLiteral("%1: Couldn't make the image").arg(backgrounds);
                return plan;
            }
            const QString file = dark ? QStringLiteral("darkbackground.png") : QStringLiteral("background.png");
            plan.add(backgrounds + file, *png);
            QJsonObject entry{{"filename", file}, {"idiom", "universal"}};
            if (dark)
                entry[QStringLiteral("appearances")] = darkAppearance;
            entries.append(entry);
        }
        plan.add(backgrounds + QStringLiteral("Contents.json"),
                 xcodeJson(QJsonObject{{"images", entries}, {"info", xcodeInfo}}));
        return plan;
    }
    QJsonArray colours{colourEntry(options.background, false)};
    if (options.darkBackground)
        colours.append(colourEntry(*options.darkBackground, true));
    else
        for (const QJsonValue& kept : options.darkBackgrounds)
            colours.append(kept);
    plan.add(QLatin1String(launchColourName) + QStringLiteral(".colorset/Contents.json"),
             xcodeJson(QJsonObject{{"colors", colours}, {"info", xcodeInfo}}));
    return plan;
}

} // namespace quorva
