#include "apple/iconcomposerfile.h"

#include "apple/xcodejson.h"

#include <QJsonArray>
#include <QJsonObject>

namespace quorva {
namespace {

// A property, or its specializations when an appearance has a value of its own: Icon Composer
// writes P, or P-specializations in its place.
void put(QJsonObject& object, const QString& property, const QJsonValue& value,
         const std::vector<std::pair<const char*, QJsonValue>>& appearances)
{
    if (appearances.empty()) {
        object.insert(property, value);
        return;
    }
    QJsonArray specializations{QJsonObject{{"value", value}}};
    for (const auto& [appearance, special] : appearances)
        specializations.append(QJsonObject{{"appearance", QLatin1String(appearance)}, {"value", special}});
    object.insert(property + QStringLiteral("-specializations"), specializations);
}

} // namespace

QString iconComposerColour(const QColor& colour)
{
    return QStringLiteral("srgb:%1,%2,%3,%4")
        .arg(colour.redF(), 0, 'f', 5)
        .arg(colour.greenF(), 0, 'f', 5)
        .arg(colour.blueF(), 0, 'f', 5)
        .arg(colour.alphaF(), 0, 'f', 5);
}

std::map<QString, QByteArray> IconComposerFile::files() const
{
    std::map<QString, QByteArray> files;
    files[QStringLiteral("Assets/") + art.fileName] = art.bytes;
    std::vector<std::pair<const char*, QJsonValue>> images;
    if (dark) {
        files[QStringLiteral("Assets/") + dark->fileName] = dark->bytes;
        images.emplace_back("dark", dark->fileName);
    }
    if (tinted) {
        files[QStringLiteral("Assets/") + tinted->fileName] = tinted->bytes;
        images.emplace_back("tinted", tinted->fileName);
    }
    QJsonObject layer{{"name", QStringLiteral("Art")}};
    put(layer, QStringLiteral("image-name"), art.fileName, images);
    QJsonObject icon{{"groups", QJsonArray{QJsonObject{{"layers", QJsonArray{layer}}}}},
                     {"supported-platforms",
                      QJsonObject{{"circles", QJsonArray{QStringLiteral("watchOS")}}, {"squares", "shared"}}}};
    const QJsonValue colour = fill ? QJsonValue(QJsonObject{{"solid", iconComposerColour(*fill)}})
                                   : QJsonValue(QStringLiteral("automatic"));
    std::vector<std::pair<const char*, QJsonValue>> fills;
    if (fill && darkFill)
        fills.emplace_back("dark", QStringLiteral("system-dark"));
    put(icon, QStringLiteral("fill"), colour, fills);
    files[QStringLiteral("icon.json")] = xcodeJson(icon);
    return files;
}

} // namespace quorva
