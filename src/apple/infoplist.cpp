#include "apple/infoplist.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace quorva {
namespace {

// Where things are in a property list's text, as offsets into it.
struct Span {
    qsizetype start = -1, end = -1; // the element's whole text
    qsizetype contentStart = -1, contentEnd = -1;
};

// The text between the markup of a plain element, read whole: its start and end.
struct Entry {
    QString key;
    Span value;
    QString valueName; // "string", "dict"…
};

// A dictionary's entries, read from the reader standing on its start tag; its span filled in.
// False for markup no property list has.
bool readDictionary(QXmlStreamReader& xml, const QString& text, Span& span, std::vector<Entry>& entries)
{
    span.contentStart = xml.characterOffset();
    QString key;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            span.end = xml.characterOffset();
            span.contentEnd = text.lastIndexOf(QLatin1String("</"), span.end - 1);
            if (span.contentEnd < span.contentStart) // <dict/>
                span.contentEnd = span.contentStart;
            return true;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const qsizetype before = text.lastIndexOf(QLatin1Char('<'), xml.characterOffset() - 1);
        if (xml.name() == QLatin1String("key")) {
            key = xml.readElementText();
            continue;
        }
        Entry entry{key, {before, -1, xml.characterOffset(), -1}, xml.name().toString()};
        xml.skipCurrentElement();
        entry.value.end = xml.characterOffset();
        entry.value.contentEnd = text.lastIndexOf(QLatin1String("</"), entry.value.end - 1);
        if (entry.value.contentEnd < entry.value.contentStart)
            entry.value.contentEnd = entry.value.contentStart;
        entries.push_back(entry);
        key.clear();
    }
    return false;
}

// The root dictionary of a property list, its entries, and the text it was read from.
struct RootDictionary {
    QString text;
    Span span;
    std::vector<Entry> entries;
};
std::optional<RootDictionary> rootOf(const QByteArray& plist)
{
    RootDictionary root{QString::fromUtf8(plist), {}, {}};
    if (root.text.toUtf8() != plist)
        return std::nullopt;
    QXmlStreamReader xml(root.text);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("plist") || !xml.readNextStartElement()
        || xml.name() != QLatin1String("dict"))
        return std::nullopt;
    root.span.start = root.text.lastIndexOf(QLatin1Char('<'), xml.characterOffset() - 1);
    if (!readDictionary(xml, root.text, root.span, root.entries) || xml.hasError())
        return std::nullopt;
    return root;
}

// The whitespace a line starts with, at an offset of the text.
QString indentAt(const QString& text, qsizetype offset)
{
    const qsizetype line = text.lastIndexOf(QLatin1Char('\n'), offset - 1) + 1;
    qsizetype end = line;
    while (end < text.size() && (text[end] == QLatin1Char(' ') || text[end] == QLatin1Char('\t')))
        ++end;
    return text.mid(line, end - line);
}

// Where entries go before a closing tag: at the start of its line, where it stands alone there;
// else right before it, on a new line.
void insertBefore(QString& text, qsizetype close, const QString& entries)
{
    const qsizetype line = text.lastIndexOf(QLatin1Char('\n'), close - 1) + 1;
    if (text.mid(line, close - line).trimmed().isEmpty())
        text.insert(line, entries);
    else
        text.insert(close, QLatin1Char('\n') + entries);
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

} // namespace

std::optional<QString> plistString(const QByteArray& plist, const QString& key)
{
    const std::optional<RootDictionary> root = rootOf(plist);
    if (!root)
        return std::nullopt;
    for (const Entry& entry : root->entries)
        if (entry.key == key && entry.valueName == QLatin1String("string")) {
            QXmlStreamReader xml(root->text.mid(entry.value.start, entry.value.end - entry.value.start));
            xml.readNextStartElement();
            return xml.readElementText();
        }
    return std::nullopt;
}

std::optional<QByteArray> withPlistStrings(const QByteArray& plist, const QString& dictionary,
                                           const std::vector<std::pair<QString, QString>>& strings)
{
    std::optional<RootDictionary> root = rootOf(plist);
    if (!root)
        return std::nullopt;
    QString& text = root->text;
    // The root's entries' indent, and one step more.
    const QString outer
        = root->entries.empty() ? QStringLiteral("\t") : indentAt(text, root->entries.front().value.start);
    const QString step = outer.isEmpty() ? QStringLiteral("\t") : outer;
    const QString inner = outer + step;
    const auto entryText = [&](const QString& key, const QString& value, const QString& indent) {
        return QStringLiteral("%1<key>%2</key>\n%1<string>%3</string>\n").arg(indent, escaped(key), escaped(value));
    };
    const auto found = std::find_if(root->entries.begin(), root->entries.end(),
                                    [&](const Entry& entry) { return entry.key == dictionary; });
    if (found == root->entries.end()) {
        QString added = QStringLiteral("%1<key>%2</key>\n%1<dict>\n").arg(outer, escaped(dictionary));
        for (const auto& [key, value] : strings)
            added += entryText(key, value, inner);
        added += outer + QStringLiteral("</dict>\n");
        if (root->span.contentEnd == root->span.contentStart && text[root->span.contentStart - 2] == QLatin1Char('/'))
            return std::nullopt; // <dict/>: no property list of an app
        insertBefore(text, root->span.contentEnd, added);
        return text.toUtf8();
    }
    if (found->valueName != QLatin1String("dict"))
        return std::nullopt;
    // The dictionary's own entries, read again from its text.
    const Span outerSpan = found->value;
    const QString own = text.mid(outerSpan.start, outerSpan.end - outerSpan.start);
    QXmlStreamReader xml(own);
    xml.readNextStartElement();
    Span span;
    span.start = 0;
    std::vector<Entry> entries;
    if (!readDictionary(xml, own, span, entries))
        return std::nullopt;
    QString edited = own;
    if (span.contentEnd == span.contentStart && own.trimmed().endsWith(QLatin1String("/>")))
        edited = QStringLiteral("<dict>\n%1</dict>").arg(outer);
    // From the end, so that earlier offsets hold.
    std::vector<std::pair<QString, QString>> missing;
    std::vector<std::pair<const Entry*, QString>> replaced;
    for (const auto& string : strings) {
        const QString& key = string.first;
        const QString& value = string.second;
        const auto entry
            = std::find_if(entries.begin(), entries.end(), [&](const Entry& each) { return each.key == key; });
        if (entry == entries.end())
            missing.emplace_back(key, value);
        else if (entry->valueName != QLatin1String("string"))
            return std::nullopt;
        else
            replaced.emplace_back(&*entry, value);
    }
    std::sort(replaced.begin(), replaced.end(),
              [](const auto& a, const auto& b) { return a.first->value.start > b.first->value.start; });
    QString added;
    for (const auto& [key, value] : missing)
        added += entryText(key, value, inner);
    if (edited == own) {
        if (!added.isEmpty())
            insertBefore(edited, edited.lastIndexOf(QLatin1String("</")), added);
        for (const auto& [entry, value] : replaced)
            edited.replace(entry->value.contentStart, entry->value.contentEnd - entry->value.contentStart,
                           escaped(value));
    } else {
        edited.insert(edited.lastIndexOf(QLatin1String("</")) - outer.size(), added);
    }
    text.replace(outerSpan.start, outerSpan.end - outerSpan.start, edited);
    return text.toUtf8();
}

} // namespace quorva
