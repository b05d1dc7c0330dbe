#include "splash/iossplash.h"

#include "apple/xcodejson.h"
#include "generation/sidebyside.h"
#include "image/artplacement.h"
#include "image/imageresizing.h"
#include "splash/splashsizes.h"

#include <QJsonArray>
#include <QJsonObject>

#include <functional>

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
    std::vector<std::pair<QString, std::function<QImage()>>> makers;
    QJsonArray images;
    for (const bool dark : {false, true}) {
        const ImageRef& source = dark ? options.darkArt : art;
        if (!source)
            continue;
        const QRectF box = artBox(sampleBitmap(*source));
        for (const int scale : {1, 2, 3}) {
            const int side = points * scale;
            makers.emplace_back(set + imageFile(dark, scale),
                                [source, box, side] { return artInSquare(*source, box, side, 1); });
            QJsonObject entry{{"filename", imageFile(dark, scale)},
                              {"idiom", "universal"},
                              {"scale", QStringLiteral("%1x").arg(scale)}};
            if (dark)
                entry[QStringLiteral("appearances")] = darkAppearance;
            images.append(entry);
        }
    }
    std::vector<std::optional<QByteArray>> bytes(makers.size());
    std::vector<std::function<void()>> tasks;
    for (std::size_t i = 0; i < makers.size(); ++i)
        tasks.push_back([&, i] { bytes[i] = pngData(*makeImage(makers[i].second())).bytes; });
    runSideBySide(tasks);
    for (std::size_t i = 0; i < makers.size(); ++i) {
        if (!bytes[i]) {
            plan.refusal = QStringLiteral("%1: Couldn't make the image").arg(makers[i].first);
            return plan;
        }
        plan.add(makers[i].first, *bytes[i]);
    }
    plan.add(set + QStringLiteral("Contents.json"), xcodeJson(QJsonObject{{"images", images}, {"info", xcodeInfo}}));
    QJsonArray colours{colourEntry(options.background, false)};
    if (options.darkBackground)
        colours.append(colourEntry(*options.darkBackground, true));
    plan.add(QLatin1String(launchColourName) + QStringLiteral(".colorset/Contents.json"),
             xcodeJson(QJsonObject{{"colors", colours}, {"info", xcodeInfo}}));
    return plan;
}

} // namespace quorva
