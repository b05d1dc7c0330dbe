#include "android/valuesfile.h"

#include <QXmlStreamReader>

namespace quorva {
namespace {

// Whether the element the reader stands on defines the colour: <color name="…">, or
// <item type="color" name="…">.
bool definesColour(const QXmlStreamReader& reader, const QString& name)
{
    const bool colour = reader.name() == QLatin1String("color")
        || (reader.name() == QLatin1String("item")
            && reader.attributes().value(QLatin1String("type")) == QLatin1String("color"));
    return colour && reader.attributes().value(QLatin1String("name")) == name;
}

} // namespace

std::optional<QByteArray> withColourValue(const QByteArray& xml, const QString& name, const QString& value)
{
    // Edited as text, so that what is not the value stays byte for byte: only where the text gives
    // the bytes back exactly.
    const QString text = QString::fromUtf8(xml);
    if (text.toUtf8() != xml)
        return std::nullopt;
    QXmlStreamReader reader(text);
    int found = 0;
    qsizetype start = -1, end = -1;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!definesColour(reader, name))
            continue;
        ++found;
        start = reader.characterOffset(); // just past the start tag's '>'
        if (text.mid(start - 2, 2) == QLatin1String("/>"))
            return std::nullopt; // <color name="…"/> has no value to change
        // Its content: text alone, up to its end tag.
        QXmlStreamReader::TokenType token;
        while ((token = reader.readNext()) == QXmlStreamReader::Characters || token == QXmlStreamReader::Comment) {}
        if (token != QXmlStreamReader::EndElement)
            return std::nullopt;
        end = text.lastIndexOf(QLatin1String("</"), reader.characterOffset() - 1);
    }
    if (reader.hasError() || found != 1 || end < start)
        return std::nullopt;
    return (text.left(start) + value + text.mid(end)).toUtf8();
}

std::optional<QString> colourValue(const QByteArray& xml, const QString& name)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (definesColour(reader, name)) {
            const QString value = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            return value.isEmpty() || reader.hasError() ? std::nullopt : std::optional(value);
        }
    }
    return std::nullopt;
}

} // namespace quorva
