#include "catalog/contentsjson.h"

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

QByteArray singleSizeAppIconContents(bool dark, bool tinted)
{
    QJsonArray images{iconEntry(singleSizeIconFile, nullptr)};
    if (dark)
        images.append(iconEntry(darkIconFile, "dark"));
    if (tinted)
        images.append(iconEntry(tintedIconFile, "tinted"));
    return QJsonDocument(QJsonObject{{"images", images}, {"info", info("quorva")}}).toJson();
}

QByteArray catalogContents()
{
    return QJsonDocument(QJsonObject{{"info", info("xcode")}}).toJson();
}

} // namespace quorva
