#include "splash/iossplash.h"

#include "apple/xcodejson.h"
#include "image/artplacement.h"
#include "image/imageresizing.h"
#include "splash/splashbitmaps.h"
#include "splash/splashsizes.h"

#include <QJsonArray>
#include <QJsonObject>

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

} // namespace

Plan planIosSplash(const ImageRef& art, const IosSplashOptions& options)
{
    Plan plan;
    const QString set = QLatin1String(launchImageName) + QStringLiteral(".imageset/");
    // Whole points, so that each scale is the same size on the screen.
    const int points = int(inscribedSquare(splashIconCircleDp) * (1 - options.padding));
    SplashBitmaps bitmaps;
    QJsonArray images;
    const QRectF box = artBox(sampleBitmap(*art));
    const QRectF darkBox = options.darkArt ? artBox(sampleBitmap(*options.darkArt)) : QRectF();
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
            const ImageRef source = dark ? options.darkArt : art;
            const int side = points * scale;
            bitmaps.add(set + imageFile(dark, scale), [source, bounds = dark ? darkBox : box, side] {
                return artInSquare(*source, bounds, side, 1);
            });
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
