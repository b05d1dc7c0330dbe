#include "web/webmanifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace quorva {
namespace {

QByteArray quoted(const QString& text)
{
    // A JSON string as QJsonDocument spells it.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray entryText(const ManifestIcon& icon, const QByteArray& indent, const QByteArray& step)
{
    QByteArray text = indent + "{\n";
    QList<QByteArray> members;
    members << indent + step + "\"src\": " + quoted(icon.src);
    if (!icon.sizes.isEmpty())
        members << indent + step + "\"sizes\": " + quoted(icon.sizes);
    if (!icon.type.isEmpty())
        members << indent + step + "\"type\": " + quoted(icon.type);
    if (!icon.purpose.isEmpty())
        members << indent + step + "\"purpose\": " + quoted(icon.purpose);
    return text + members.join(",\n") + "\n" + indent + "}";
}

// Skips a JSON string starting at its opening quote; gives the index past its closing quote.
qsizetype pastString(const QByteArray& json, qsizetype at)
{
    for (++at; at < json.size(); ++at) {
        if (json[at] == '\\')
            ++at;
        else if (json[at] == '"')
            return at + 1;
    }
    return -1;
}

qsizetype skipSpace(const QByteArray& json, qsizetype at)
{
    while (at < json.size() && QChar::isSpace(uchar(json[at])))
        ++at;
    return at;
}

// The whitespace that starts the line the index is on.
QByteArray indentOf(const QByteArray& json, qsizetype at)
{
    const qsizetype start = json.lastIndexOf('\n', at) + 1;
    qsizetype end = start;
    while (end < json.size() && (json[end] == ' ' || json[end] == '\t'))
        ++end;
    return json.mid(start, end - start);
}

} // namespace

bool ManifestIcon::maskable() const
{
    return purpose.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(QStringLiteral("maskable"));
}

bool ManifestIcon::any() const
{
    const QStringList purposes = purpose.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return purposes.isEmpty() || purposes.contains(QStringLiteral("any"));
}

int ManifestIcon::side() const
{
    static const QRegularExpression size(QStringLiteral("^(\\d+)[xX](\\d+)$"));
    for (const QString& one : sizes.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (const auto match = size.match(one); match.hasMatch())
            return match.captured(1).toInt();
    return 0;
}

WebManifest parseManifest(const QByteArray& json)
{
    WebManifest manifest;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject()) {
        manifest.error = error.error != QJsonParseError::NoError
            ? QStringLiteral("it is no JSON: %1 at byte %2").arg(error.errorString()).arg(error.offset)
            : QStringLiteral("it is no JSON object");
        return manifest;
    }
    const QJsonValue icons = document.object().value(QStringLiteral("icons"));
    if (!icons.isUndefined() && !icons.isArray()) {
        manifest.error = QStringLiteral("its icons member is no array");
        return manifest;
    }
    for (const QJsonValue& value : icons.toArray()) {
        const QJsonObject icon = value.toObject();
        if (!icon.value(QStringLiteral("src")).isString())
            continue;
        manifest.icons.push_back(
            {icon.value(QStringLiteral("src")).toString(), icon.value(QStringLiteral("sizes")).toString(),
             icon.value(QStringLiteral("type")).toString(), icon.value(QStringLiteral("purpose")).toString()});
    }
    return manifest;
}

std::optional<QByteArray> withIcons(const QByteArray& json, const std::vector<ManifestIcon>& added)
{
    if (!parseManifest(json).error.isEmpty())
        return std::nullopt;
    if (added.empty())
        return json;
    // The top-level members, found by walking the text: the icons array's brackets, and the
    // object's closing brace. A manifest that names its icons twice is refused: which one a
    // browser takes is not for Quorva to guess.
    qsizetype at = skipSpace(json, json.startsWith("\xef\xbb\xbf") ? 3 : 0); // past a byte order mark
    if (at >= json.size() || json[at] != '{')
        return std::nullopt;
    int depth = 0, iconsMembers = 0;
    qsizetype close = -1, iconsOpen = -1, iconsClose = -1, iconsKey = -1, objectClose = -1;
    for (; at < json.size() && objectClose < 0; ++at) {
        const char c = json[at];
        if (c == '"') {
            const qsizetype end = pastString(json, at);
            if (end < 0)
                return std::nullopt;
            const qsizetype colon = skipSpace(json, end);
            if (depth == 1 && colon < json.size() && json[colon] == ':') {
                // A key, read as JSON reads it: "\u0069cons" is icons too.
                const QJsonArray key = QJsonDocument::fromJson("[" + json.mid(at, end - at) + "]").array();
                if (key.size() == 1 && key.first().toString() == QLatin1String("icons")) {
                    ++iconsMembers;
                    iconsKey = at;
                    iconsOpen = skipSpace(json, colon + 1);
                }
            }
            at = end - 1;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
            if (depth == 1 && c == ']' && iconsOpen >= 0 && iconsClose < iconsOpen && at > iconsOpen)
                iconsClose = at; // the icons array's closing bracket
            if (depth == 0)
                objectClose = at;
        }
    }
    if (objectClose < 0 || iconsMembers > 1
        || (iconsMembers == 1 && (iconsOpen >= json.size() || json[iconsOpen] != '[' || iconsClose < 0)))
        return std::nullopt;
    if (iconsMembers == 0)
        iconsOpen = -1;
    close = iconsOpen >= 0 ? iconsClose : objectClose;
    QByteArray result = json;
    if (iconsOpen >= 0) {
        const QByteArray keyIndent = indentOf(json, iconsKey);
        const QByteArray step = keyIndent.isEmpty() ? QByteArray("  ") : keyIndent;
        const bool empty = skipSpace(json, iconsOpen + 1) == close;
        QList<QByteArray> entries;
        for (const ManifestIcon& icon : added)
            entries << entryText(icon, keyIndent + step, step);
        // After the last element, before the spacing that leads to the bracket.
        qsizetype insertAt = close;
        while (insertAt > iconsOpen + 1 && QChar::isSpace(uchar(json[insertAt - 1])))
            --insertAt;
        const QByteArray text = (empty ? QByteArray("\n") : QByteArray(",\n")) + entries.join(",\n")
            + (empty ? "\n" + keyIndent : QByteArray());
        result.insert(insertAt, text);
        return result;
    }
    // No icons member yet: one is added as the object's last.
    qsizetype insertAt = close;
    while (insertAt > 0 && QChar::isSpace(uchar(json[insertAt - 1])))
        --insertAt;
    const bool emptyObject = json[insertAt - 1] == '{';
    const QByteArray step("  ");
    QList<QByteArray> entries;
    for (const ManifestIcon& icon : added)
        entries << entryText(icon, step + step, step);
    result.insert(insertAt,
                  (emptyObject ? "\n" : ",\n") + step + "\"icons\": [\n" + entries.join(",\n") + "\n" + step + "]");
    return result;
}

QByteArray manifestOf(const std::vector<ManifestIcon>& icons)
{
    return *withIcons("{\n}\n", icons);
}

} // namespace quorva
