#include "desktop/icofile.h"

#include "png/pngencoder.h"

#include <QtEndian>

namespace quorva {
namespace {

constexpr int directoryBytes = 6, entryBytes = 16, dibHeaderBytes = 40;
constexpr int largestDib = 255; // a 256 px image goes in as PNG, as Windows' tools write it

void put16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void putLittleEndian32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

quint16 get16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 get32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// BITMAPINFOHEADER, the colour rows bottom-up, then the AND mask, each row padded to 32 bits.
QByteArray dib(const QImage& premultiplied)
{
    const QImage image = premultiplied.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width(), height = image.height();
    const int maskRow = (width + 31) / 32 * 4;
    QByteArray out;
    out.reserve(dibHeaderBytes + width * height * 4 + maskRow * height);
    putLittleEndian32(out, dibHeaderBytes);
    putLittleEndian32(out, quint32(width));
    putLittleEndian32(out, quint32(height * 2)); // the colour rows and the mask's
    put16(out, 1);                               // planes
    put16(out, 32);                              // bits per pixel
    putLittleEndian32(out, 0);                   // BI_RGB
    putLittleEndian32(out, quint32(width * height * 4 + maskRow * height));
    putLittleEndian32(out, 0);
    putLittleEndian32(out, 0);
    putLittleEndian32(out, 0);
    putLittleEndian32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const char bgra[4] = {char(qBlue(row[x])), char(qGreen(row[x])), char(qRed(row[x])), char(qAlpha(row[x]))};
            out.append(bgra, 4);
        }
    }
    // The mask: set where the pixel is transparent, for readers that know no alpha channel.
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray bits(maskRow, '\0');
        for (int x = 0; x < width; ++x)
            if (qAlpha(row[x]) == 0)
                bits[x / 8] = char(bits[x / 8] | (0x80 >> (x % 8)));
        out.append(bits);
    }
    return out;
}

} // namespace

QByteArray encodeIco(const std::vector<QImage>& images)
{
    std::vector<QByteArray> data;
    for (const QImage& image : images)
        data.push_back(image.width() > largestDib ? encodeRgbaPng(image).value_or(QByteArray()) : dib(image));
    QByteArray out;
    put16(out, 0);
    put16(out, 1); // an icon, not a cursor
    put16(out, quint16(images.size()));
    quint32 offset = directoryBytes + entryBytes * quint32(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.append(char(images[i].width() >= 256 ? 0 : images[i].width()));
        out.append(char(images[i].height() >= 256 ? 0 : images[i].height()));
        out.append('\0'); // no palette
        out.append('\0');
        put16(out, 1);
        put16(out, 32);
        putLittleEndian32(out, quint32(data[i].size()));
        putLittleEndian32(out, offset);
        offset += quint32(data[i].size());
    }
    for (const QByteArray& bytes : data)
        out.append(bytes);
    return out;
}

IcoFile readIco(const QByteArray& bytes)
{
    IcoFile file;
    if (bytes.size() < directoryBytes || get16(bytes, 0) != 0 || get16(bytes, 2) != 1) {
        file.error = QStringLiteral("it is not an .ico file");
        return file;
    }
    const int count = get16(bytes, 4);
    if (count == 0 || bytes.size() < directoryBytes + qsizetype(count) * entryBytes) {
        file.error = count == 0 ? QStringLiteral("it holds no image") : QStringLiteral("its directory is cut short");
        return file;
    }
    for (int i = 0; i < count; ++i) {
        const qsizetype at = directoryBytes + qsizetype(i) * entryBytes;
        IcoEntry entry;
        entry.width = quint8(bytes[at]) ? quint8(bytes[at]) : 256;
        entry.height = quint8(bytes[at + 1]) ? quint8(bytes[at + 1]) : 256;
        entry.bitCount = get16(bytes, at + 6);
        const quint32 size = get32(bytes, at + 8), offset = get32(bytes, at + 12);
        if (qint64(offset) + qint64(size) > bytes.size() || size < 8) {
            file.entries.clear(); // a broken file is none: no image of it is taken
            file.error = QStringLiteral("image %1 lies past the end of the file").arg(i + 1);
            return file;
        }
        entry.data = bytes.mid(offset, size);
        entry.png = entry.data.startsWith("\x89PNG\r\n\x1a\n");
        if (!entry.png && entry.data.size() >= dibHeaderBytes) {
            // A DIB says its own size and depth; the directory's may be 0.
            entry.width = int(get32(entry.data, 4));
            entry.height = int(qint32(get32(entry.data, 8)) / 2);
            entry.bitCount = get16(entry.data, 14);
        }
        file.entries.push_back(entry);
    }
    return file;
}

QImage decodeIcoDib(const IcoEntry& entry)
{
    const QByteArray& data = entry.data;
    if (entry.png || data.size() < dibHeaderBytes || get16(data, 14) != 32 || get32(data, 16) != 0)
        return {};
    const int width = int(get32(data, 4)), height = int(qint32(get32(data, 8)) / 2);
    if (width <= 0 || height <= 0 || width > 256 || height > 256
        || data.size() < dibHeaderBytes + qsizetype(width) * height * 4)
        return {};
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const char* row = data.constData() + dibHeaderBytes + qsizetype(height - 1 - y) * width * 4;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = qRgba(quint8(row[x * 4 + 2]), quint8(row[x * 4 + 1]), quint8(row[x * 4]), quint8(row[x * 4 + 3]));
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace quorva
