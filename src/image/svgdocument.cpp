#include "image/svgdocument.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace quorva {
namespace {

constexpr qsizetype maxDocumentBytes = 32 << 20;
constexpr int maxDepth = 100;
constexpr int maxElements = 250000;
// What drawing costs, bounded before anything is drawn, far beyond what real art holds: a detailed
// illustration has some thousands of path segments, tens of gradient stops, a few filters.
constexpr qsizetype maxPathNumbers = 400000; // coordinates in path data and point lists
constexpr int maxGradientStops = 10000;
constexpr int maxFilterPrimitives = 200;
// Internal entities, as Illustrator declares its namespaces with, may grow the document this much.
constexpr qsizetype maxEntityExpansion = 1 << 20;
constexpr int maxEntityNesting = 16;

bool isGzip(const QByteArray& bytes)
{
    return bytes.startsWith("\x1f\x8b");
}

// The gzip stream inflated, or nothing when it is damaged or unpacks to more than the limit.
std::optional<QByteArray> gunzip(const QByteArray& packed)
{
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return std::nullopt;
    QByteArray out;
    char buffer[64 * 1024];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = static_cast<uInt>(packed.size());
    int status = Z_OK;
    while (status == Z_OK && out.size() <= maxDocumentBytes) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - stream.avail_out));
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)
            status = Z_BUF_ERROR; // cut off
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || out.size() > maxDocumentBytes)
        return std::nullopt;
    return out;
}

bool isExternal(QStringView reference)
{
    return !reference.trimmed().startsWith(QLatin1String("data:"), Qt::CaseInsensitive)
        && !reference.trimmed().startsWith(QLatin1Char('#'));
}

SvgDocument refused(QString why)
{
    SvgDocument svg;
    svg.error = std::move(why);
    return svg;
}

// How many numbers a path's data or a point list holds: about twice its segments.
qsizetype numbersIn(QStringView data)
{
    qsizetype numbers = 0;
    bool inNumber = false;
    for (const QChar c : data) {
        const bool digit = c.isDigit();
        numbers += digit && !inNumber;
        inNumber = digit || (inNumber && (c == QLatin1Char('.') || c == QLatin1Char('e') || c == QLatin1Char('E')));
    }
    return numbers;
}

// The document with its internal entities expanded and its DOCTYPE left out, or why it is refused:
// an external entity, or entities that expand beyond the bound.
std::optional<QString> expandEntities(QString& text)
{
    QXmlStreamReader reader(text);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::Invalid)
            return std::nullopt;
        if (token != QXmlStreamReader::DTD)
            continue;
        const QXmlStreamEntityDeclarations declarations = reader.entityDeclarations();
        if (declarations.isEmpty())
            return std::nullopt;
        std::map<QString, QString> raw;
        for (const QXmlStreamEntityDeclaration& declaration : declarations) {
            if (!declaration.systemId().isEmpty() || !declaration.publicId().isEmpty()
                || !declaration.notationName().isEmpty())
                return QStringLiteral("it declares an external XML entity, which Quorva does not read");
            raw[declaration.name().toString()] = declaration.value().toString();
        }
        static const QRegularExpression reference(QStringLiteral("&([A-Za-z_:][A-Za-z0-9_.:-]*);"));
        std::map<QString, QString> expanded;
        const QString tooLarge
            = QStringLiteral("its XML entities expand to more than %1 MiB").arg(maxEntityExpansion >> 20);
        std::optional<QString> failure;
        // Each entity's text with the entities it names expanded, within the bounds.
        std::function<QString(const QString&, int)> expand = [&](const QString& value, int nesting) -> QString {
            QString out;
            qsizetype from = 0;
            for (auto match = reference.globalMatch(value); match.hasNext() && !failure;) {
                const QRegularExpressionMatch found = match.next();
                const QString name = found.captured(1);
                out += QStringView(value).mid(from, found.capturedStart() - from);
                from = found.capturedEnd();
                if (!raw.count(name)) {
                    out += found.captured(0); // one of XML's own, or left to the parser to refuse
                    continue;
                }
                if (nesting >= maxEntityNesting) {
                    failure = tooLarge;
                    break;
                }
                if (!expanded.count(name))
                    expanded[name] = expand(raw[name], nesting + 1);
                out += expanded[name];
                if (out.size() > maxEntityExpansion)
                    failure = tooLarge;
            }
            out += QStringView(value).mid(from);
            return out;
        };
        const qsizetype start = text.indexOf(QLatin1String("<!DOCTYPE"));
        const qsizetype end = reader.characterOffset();
        if (start < 0 || end <= start)
            return std::nullopt;
        const QString rest = expand(text.mid(end), 0);
        if (failure || rest.size() > text.size() - end + maxEntityExpansion)
            return failure.value_or(tooLarge);
        text = text.left(start) + rest;
        return std::nullopt;
    }
    return std::nullopt;
}

using Cut = std::pair<qsizetype, qsizetype>; // a range of the text to leave out

// The document's bytes: the file itself, or the SVGZ's unpacked; why not, when it is too large
// or its compressed data is damaged.
std::optional<QString> unpacked(const QByteArray& file, QByteArray& bytes)
{
    if (file.size() > maxDocumentBytes)
        return QStringLiteral("as an SVG document it is larger than the %1 MiB Quorva takes")
            .arg(maxDocumentBytes >> 20);
    bytes = file;
    if (!isGzip(file))
        return std::nullopt;
    std::optional<QByteArray> inflated = gunzip(file);
    if (!inflated)
        return QStringLiteral("its compressed data is damaged, or unpacks to more than the %1 MiB Quorva takes")
            .arg(maxDocumentBytes >> 20);
    bytes = std::move(*inflated);
    if (!looksLikeSvg(bytes.left(4096)) || isGzip(bytes))
        return QStringLiteral("its content is not a known image format");
    return std::nullopt;
}

// The document as text, decoded as its byte order mark or declaration says, so that the parts to
// cut out are known by their offsets; why not, for an encoding Quorva doesn't know.
std::optional<QString> decoded(const QByteArray& bytes, QString& text)
{
    QXmlStreamReader probe(bytes);
    probe.readNext(); // StartDocument: the reader has found the encoding
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    const QString encoding = probe.documentEncoding().toString();
    if (marked) {
        text = QStringDecoder(*marked)(bytes);
    } else if (encoding.isEmpty() || encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0) {
        text = QString::fromUtf8(bytes);
    } else {
        QStringDecoder decode(encoding.toUtf8().constData());
        if (!decode.isValid())
            return QStringLiteral("its text encoding %1 is not one Quorva knows").arg(encoding);
        text = decode(bytes);
    }
    return std::nullopt;
}

// What the document holds so far, against the bounds of what drawing it may cost.
struct DocumentCost {
    int elements = 0;
    qsizetype pathNumbers = 0;
    int stops = 0;
    int filterPrimitives = 0;

    // One more element; why the document is refused, once it holds more than the bounds allow.
    std::optional<QString> add(const QXmlStreamReader& reader)
    {
        const QStringView name = reader.name();
        for (const QXmlStreamAttribute& attribute : reader.attributes())
            if (attribute.name() == QLatin1String("d") || attribute.name() == QLatin1String("points"))
                pathNumbers += numbersIn(attribute.value());
        stops += name == QLatin1String("stop");
        filterPrimitives += name.startsWith(QLatin1String("fe"));
        if (++elements > maxElements)
            return QStringLiteral("it holds more than %1 elements").arg(maxElements);
        if (pathNumbers > maxPathNumbers)
            return QStringLiteral("its paths hold more than %1 coordinates, more than any artwork Quorva draws")
                .arg(maxPathNumbers);
        if (stops > maxGradientStops)
            return QStringLiteral("its gradients hold more than %1 stops").arg(maxGradientStops);
        if (filterPrimitives > maxFilterPrimitives)
            return QStringLiteral("it holds more than %1 filter steps").arg(maxFilterPrimitives);
        return std::nullopt;
    }
};

// Whether an element would load another file: an image, a use or a style that names one.
bool refersOutside(const QXmlStreamReader& reader)
{
    const QStringView name = reader.name();
    if (name != QLatin1String("image") && name != QLatin1String("style") && name != QLatin1String("use"))
        return false;
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        if (attribute.name() == QLatin1String("href") && isExternal(attribute.value()))
            return true;
    return false;
}

// The document read through once: the ranges to leave out (the declaration, processing
// instructions, whatever would load another file), or why it is refused (beyond the bounds, not
// well-formed, not an SVG document).
std::optional<QString> scanned(const QString& text, std::vector<Cut>& cuts)
{
    DocumentCost cost;
    QXmlStreamReader reader(text);
    int depth = 0;
    qsizetype tokenStart = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        // The reader may have read the '<' of a markup token along with the text before it.
        if (token != QXmlStreamReader::Characters)
            tokenStart = std::max<qsizetype>(0, text.lastIndexOf(QLatin1Char('<'), tokenStart));
        switch (token) {
        case QXmlStreamReader::StartDocument:
            // The declaration names the file's encoding; the text handed on is UTF-8 without one.
            if (!reader.documentVersion().isEmpty())
                cuts.emplace_back(tokenStart, text.indexOf(QLatin1String("?>")) + 2);
            break;
        case QXmlStreamReader::DTD:
            if (!reader.entityDeclarations().isEmpty())
                return QStringLiteral("it declares XML entities Quorva could not expand");
            break;
        case QXmlStreamReader::EntityReference:
            return QStringLiteral("it refers to an XML entity, which Quorva does not expand");
        case QXmlStreamReader::ProcessingInstruction: // xml-stylesheet would load another file
            cuts.emplace_back(tokenStart, reader.characterOffset());
            break;
        case QXmlStreamReader::StartElement: {
            if (std::optional<QString> why = cost.add(reader))
                return why;
            if (++depth > maxDepth)
                return QStringLiteral("its elements nest deeper than %1 levels").arg(maxDepth);
            if (depth == 1 && reader.name() != QLatin1String("svg"))
                return QStringLiteral("its content is not a known image format");
            const bool outside = refersOutside(reader);
            if (reader.name() == QLatin1String("style")) {
                // A style sheet may import another; read its text to see.
                const qsizetype start = tokenStart;
                const QString css = reader.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
                if (outside || css.contains(QLatin1String("@import"), Qt::CaseInsensitive))
                    cuts.emplace_back(start, reader.characterOffset());
                break;
            }
            if (outside) {
                reader.skipCurrentElement();
                --depth;
                cuts.emplace_back(tokenStart, reader.characterOffset());
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
        tokenStart = reader.characterOffset();
    }
    if (reader.hasError())
        return QStringLiteral("it is not a well-formed SVG document (%1 on line %2)")
            .arg(reader.errorString())
            .arg(reader.lineNumber());
    if (cost.elements == 0)
        return QStringLiteral("its content is not a known image format");
    return std::nullopt;
}

QString withoutCuts(const QString& text, const std::vector<Cut>& cuts)
{
    QString kept;
    kept.reserve(text.size());
    qsizetype from = 0;
    for (const auto& [start, end] : cuts) {
        if (start > from)
            kept += QStringView(text).mid(from, start - from);
        from = std::max(from, end);
    }
    kept += QStringView(text).mid(from);
    return kept;
}

} // namespace

bool looksLikeSvg(const QByteArray& head)
{
    if (isGzip(head))
        return true; // an SVGZ, or no image at all; readSvg tells which
    QByteArray text = head.startsWith("\xef\xbb\xbf") ? head.mid(3) : head;
    text = text.trimmed();
    return text.startsWith('<') && text.contains("<svg");
}

SvgDocument readSvg(const QByteArray& file)
{
    QByteArray bytes;
    QString text;
    std::vector<Cut> cuts;
    if (std::optional<QString> why = unpacked(file, bytes))
        return refused(*why);
    if (std::optional<QString> why = decoded(bytes, text))
        return refused(*why);
    if (std::optional<QString> why = expandEntities(text))
        return refused(*why);
    if (std::optional<QString> why = scanned(text, cuts))
        return refused(*why);
    SvgDocument svg;
    svg.document = withoutCuts(text, cuts).toUtf8();
    return svg;
}

} // namespace quorva
