#include "android/stylesfile.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace quorva {
namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString itemLine(const QString& indent, const QString& name, const QString& value)
{
    return QStringLiteral("%1<item name=\"%2\">%3</item>\n").arg(indent, escaped(name), escaped(value));
}

// The style's element as text, with its items, at an indent.
QString styleText(const QString& indent, const QString& name, const StyleDefinition& style)
{
    QString text = indent + QStringLiteral("<style name=\"%1\"").arg(escaped(name));
    if (!style.parent.isEmpty())
        text += QStringLiteral(" parent=\"%1\"").arg(escaped(style.parent));
    text += QStringLiteral(">\n");
    for (const auto& [item, value] : style.items)
        text += itemLine(indent + QStringLiteral("    "), item, value);
    return text + indent + QStringLiteral("</style>\n");
}

// The base's items with the given ones set: replaced where the base has them, added after.
StyleDefinition merged(StyleDefinition base, const StyleItems& items)
{
    for (const auto& given : items) {
        const auto same = std::find_if(base.items.begin(), base.items.end(),
                                       [&](const auto& item) { return item.first == given.first; });
        if (same != base.items.end())
            same->second = given.second;
        else
            base.items.push_back(given);
    }
    return base;
}

// Where the line of an offset begins, when only spaces and tabs stand before it there; else
// nothing: the offset shares its line.
std::optional<qsizetype> lineStart(const QString& text, qsizetype offset)
{
    qsizetype start = offset;
    while (start > 0 && (text[start - 1] == QLatin1Char(' ') || text[start - 1] == QLatin1Char('\t')))
        --start;
    if (start == 0 || text[start - 1] == QLatin1Char('\n'))
        return start;
    return std::nullopt;
}

// The spaces and tabs that begin the line an offset stands on.
QString indentAt(const QString& text, qsizetype offset)
{
    const qsizetype start = text.lastIndexOf(QLatin1Char('\n'), offset - 1) + 1;
    qsizetype end = start;
    while (end < text.size() && (text[end] == QLatin1Char(' ') || text[end] == QLatin1Char('\t')))
        ++end;
    return text.mid(start, end - start);
}

// An edit of the text: the range [from, to) becomes the replacement.
struct Edit {
    qsizetype from, to;
    QString replacement;
};

} // namespace

std::optional<QString> styleNameProblem(const QString& name)
{
    static const QRegularExpression style(QStringLiteral("^[A-Za-z][A-Za-z0-9_.]*$"));
    if (style.match(name).hasMatch())
        return std::nullopt;
    return QStringLiteral("'%1' is not %2").arg(name, QLatin1String(styleNameText));
}

std::optional<StyleDefinition> styleIn(const QByteArray& xml, const QString& name)
{
    QXmlStreamReader reader(xml);
    std::optional<StyleDefinition> found;
    int count = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != QLatin1String("style")
            || reader.attributes().value(QLatin1String("name")) != name)
            continue;
        ++count;
        StyleDefinition style;
        style.parent = reader.attributes().value(QLatin1String("parent")).toString();
        while (reader.readNextStartElement())
            if (reader.name() == QLatin1String("item")) {
                const QString item = reader.attributes().value(QLatin1String("name")).toString();
                style.items.emplace_back(item,
                                         reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
            } else {
                reader.skipCurrentElement();
            }
        found = style;
    }
    if (reader.hasError() || count != 1)
        return std::nullopt;
    return found;
}

std::optional<QByteArray> withStyleItems(const std::optional<QByteArray>& xml, const QString& name,
                                         const StyleDefinition& base, const StyleItems& items)
{
    if (!xml)
        return (QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n")
                + styleText(QStringLiteral("    "), name, merged(base, items)) + QStringLiteral("</resources>\n"))
            .toUtf8();
    // Edited as text, so that what Quorva doesn't own stays byte for byte: only where the text
    // gives the bytes back exactly.
    const QString text = QString::fromUtf8(*xml);
    if (text.toUtf8() != *xml)
        return std::nullopt;
    QXmlStreamReader reader(text);
    std::vector<Edit> edits;
    int styles = 0, depth = 0;
    bool root = false;
    qsizetype resourcesEnd = -1;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement && --depth == 0)
            resourcesEnd = text.lastIndexOf(QLatin1String("</"), reader.characterOffset() - 1);
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (depth++ == 0) {
            root = reader.name() == QLatin1String("resources");
            if (!root)
                return std::nullopt;
        }
        if (depth != 2 || reader.name() != QLatin1String("style")
            || reader.attributes().value(QLatin1String("name")) != name)
            continue;
        ++styles;
        const QString styleIndent = indentAt(text, reader.characterOffset());
        if (text.mid(reader.characterOffset() - 2, 2) == QLatin1String("/>")) {
            // <style …/>: it gets an end tag, its items inside.
            QString added;
            for (const auto& [item, value] : items)
                added += itemLine(styleIndent + QStringLiteral("    "), item, value);
            const qsizetype at = reader.characterOffset() - 2;
            edits.push_back({at, at + 2, QStringLiteral(">\n") + added + styleIndent + QStringLiteral("</style>")});
            reader.readNext(); // its end
            --depth;
            continue;
        }
        QString itemIndent;
        std::vector<QString> present;
        // Its items, each set where it is one of the given.
        while (reader.readNextStartElement()) {
            if (reader.name() != QLatin1String("item")) {
                reader.skipCurrentElement();
                continue;
            }
            const QString item = reader.attributes().value(QLatin1String("name")).toString();
            const qsizetype start = reader.characterOffset();
            itemIndent = indentAt(text, start);
            const bool empty = text.mid(start - 2, 2) == QLatin1String("/>");
            const auto given
                = std::find_if(items.begin(), items.end(), [&](const auto& each) { return each.first == item; });
            QXmlStreamReader::TokenType inner = QXmlStreamReader::EndElement;
            if (!empty)
                while ((inner = reader.readNext()) == QXmlStreamReader::Characters
                       || inner == QXmlStreamReader::Comment) {}
            else
                reader.readNext();
            if (inner != QXmlStreamReader::EndElement)
                return std::nullopt; // a value of more than text is the project's own
            if (given == items.end())
                continue;
            present.push_back(item);
            if (empty)
                return std::nullopt;
            const qsizetype end = text.lastIndexOf(QLatin1String("</"), reader.characterOffset() - 1);
            edits.push_back({start, end, escaped(given->second)});
        }
        if (reader.hasError())
            return std::nullopt;
        if (itemIndent.isEmpty())
            itemIndent = styleIndent + QStringLiteral("    ");
        const qsizetype close = text.lastIndexOf(QLatin1String("</"), reader.characterOffset() - 1);
        QString added;
        for (const auto& [item, value] : items)
            if (std::find(present.begin(), present.end(), item) == present.end())
                added += itemLine(itemIndent, item, value);
        const std::optional<qsizetype> line = lineStart(text, close);
        const qsizetype at = line.value_or(close);
        if (!line && !added.isEmpty())
            added = QLatin1Char('\n') + added + styleIndent; // </style> shares its line: it gets its own
        edits.push_back({at, at, added});
        --depth; // the style's end element was read with its items
    }
    if (reader.hasError() || !root || styles > 1 || resourcesEnd < 0)
        return std::nullopt;
    if (styles == 0) {
        const std::optional<qsizetype> line = lineStart(text, resourcesEnd);
        const qsizetype at = line.value_or(resourcesEnd);
        QString style = styleText(QStringLiteral("    "), name, merged(base, items));
        if (!line)
            style = QLatin1Char('\n') + style;
        edits.push_back({at, at, style});
    }
    QString out = text;
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.from > b.from; });
    for (const Edit& edit : edits)
        out.replace(edit.from, edit.to - edit.from, edit.replacement);
    return out.toUtf8();
}

} // namespace quorva
