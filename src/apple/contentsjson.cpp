#include "apple/contentsjson.h"

#include "apple/xcodejson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quorva {
namespace {

QJsonObject info(const char* author)
{
    return {{"author", QString::fromLatin1(author)}, {"version", 1}};
}

QJsonObject iconEntry(const QString& file, const char* appearance)
{
    QJsonObject entry{{"filename", file},
                      {"idiom", "universal"},
                      {"platform", "ios"},
                      {"size", QStringLiteral("%1x%1").arg(singleSizeIconSide)}};
    if (appearance)
        entry.insert("appearances",
                     QJsonArray{QJsonObject{{"appearance", "luminosity"}, {"value", QString::fromLatin1(appearance)}}});
    return entry;
}

} // namespace

QJsonArray singleSizeAppIconEntries(bool dark, bool tinted)
{
    QJsonArray images{iconEntry(singleSizeIconFile, nullptr)};
    if (dark)
        images.append(iconEntry(darkIconFile, "dark"));
    if (tinted)
        images.append(iconEntry(tintedIconFile, "tinted"));
    return images;
}

QByteArray singleSizeAppIconContents(bool dark, bool tinted)
{
    return QJsonDocument(QJsonObject{{"images", singleSizeAppIconEntries(dark, tinted)}, {"info", info("quorva")}})
        .toJson();
}

const std::vector<MacIconSlot>& macIconSlots()
{
    static const std::vector<MacIconSlot> table
        = {{16, 1}, {16, 2}, {32, 1}, {32, 2}, {128, 1}, {128, 2}, {256, 1}, {256, 2}, {512, 1}, {512, 2}};
    return table;
}

QString macIconFile(int pixels)
{
    return QStringLiteral("AppIcon-mac-%1.png").arg(pixels);
}

QByteArray multiplatformAppIconContents(const QJsonArray& iosEntries, bool mac, bool watch)
{
    QJsonArray images = iosEntries;
    if (mac)
        for (const MacIconSlot& slot : macIconSlots())
            images.append(QJsonObject{{"filename", macIconFile(slot.pixels())},
                                      {"idiom", "mac"},
                                      {"scale", QStringLiteral("%1x").arg(slot.scale)},
                                      {"size", QStringLiteral("%1x%1").arg(slot.points)}});
    if (watch)
        images.append(QJsonObject{{"filename", watchIconFile},
                                  {"idiom", "universal"},
                                  {"platform", "watchos"},
                                  {"size", QStringLiteral("%1x%1").arg(singleSizeIconSide)}});
    return xcodeJson(QJsonObject{{"images", images}, {"info", info("quorva")}});
}

QByteArray catalogContents()
{
    return QJsonDocument(QJsonObject{{"info", info("xcode")}}).toJson();
}

} // namespace quorva
