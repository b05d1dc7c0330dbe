#include "png/pngstructure.h"

#include "png/pngchunks.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace quorva {
namespace {

constexpr std::size_t maxProfileBytes = 4 << 20;

QByteArray inflateProfile(const QByteArray& chunk)
{
    // Profile name, NUL, compression method, then the zlib stream.
    const qsizetype nul = chunk.indexOf('\0');
    if (nul < 1 || nul + 2 > chunk.size())
        return {};
    const QByteArray packed = chunk.mid(nul + 2);
    const std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)>
        inflater(libdeflate_alloc_decompressor(), &libdeflate_free_decompressor);
    if (!inflater)
        return {};
    QByteArray profile(static_cast<qsizetype>(maxProfileBytes), Qt::Uninitialized);
    std::size_t size = 0;
    const auto result
        = libdeflate_zlib_decompress(inflater.get(), packed.constData(), static_cast<std::size_t>(packed.size()),
                                     profile.data(), maxProfileBytes, &size);
    if (result != LIBDEFLATE_SUCCESS)
        return {};
    profile.truncate(static_cast<qsizetype>(size));
    return profile;
}

// The bytes of filtered image data a PNG of this header holds: a filter byte and the packed
// samples of each row, of each of the seven passes when interlaced.
std::uint64_t filteredBytes(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType, bool interlaced)
{
    const int channels = colourType == 0 ? 1 : colourType == 2 ? 3 : colourType == 3 ? 1 : colourType == 4 ? 2 : 4;
    const auto rows = [&](std::uint64_t w, std::uint64_t h) -> std::uint64_t {
        return w == 0 || h == 0 ? 0 : h * (1 + (w * std::uint64_t(channels * bitDepth) + 7) / 8);
    };
    if (!interlaced)
        return rows(width, height);
    // Adam7: the first column and row of each pass, and the steps between them.
    static const int passes[7][4]
        = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::uint64_t total = 0;
    for (const auto& [x, y, dx, dy] : passes)
        total += rows((std::uint64_t(width) + dx - 1 - x) / dx, (std::uint64_t(height) + dy - 1 - y) / dy);
    return total;
}

// The zlib stream of the IDAT chunks, inflated piece by piece into a buffer that is overwritten:
// only the count of bytes it gives is kept.
class ImageDataStream {
public:
    ImageDataStream() { m_ready = inflateInit(&m_stream) == Z_OK; }
    ~ImageDataStream()
    {
        if (m_ready)
            inflateEnd(&m_stream);
    }
    ImageDataStream(const ImageDataStream&) = delete;
    ImageDataStream& operator=(const ImageDataStream&) = delete;

    // Feeds a chunk's data; false once the stream is damaged or gives more than `most` bytes.
    bool feed(const unsigned char* data, std::size_t size, std::uint64_t most)
    {
        if (!m_ready || m_failed)
            return false;
        m_stream.next_in = const_cast<unsigned char*>(data);
        m_stream.avail_in = static_cast<uInt>(size);
        while (m_stream.avail_in > 0 && !m_ended) {
            m_stream.next_out = m_buffer;
            m_stream.avail_out = sizeof m_buffer;
            const int status = inflate(&m_stream, Z_NO_FLUSH);
            m_produced += sizeof m_buffer - m_stream.avail_out;
            if (status == Z_STREAM_END)
                m_ended = true;
            else if (status != Z_OK && status != Z_BUF_ERROR)
                m_failed = true;
            if (m_failed || m_produced > most) {
                m_failed = true;
                return false;
            }
            if (status == Z_BUF_ERROR && m_stream.avail_out != 0)
                break; // needs the next chunk
        }
        // Bytes after the stream's end are data no decoder reads: tolerated, as libpng does.
        return true;
    }
    bool ended() const { return m_ended && !m_failed; }
    std::uint64_t produced() const { return m_produced; }
    QString reason() const
    {
        return m_stream.msg ? QString::fromLatin1(m_stream.msg) : QStringLiteral("it gives more than its size holds");
    }

private:
    z_stream m_stream{};
    unsigned char m_buffer[64 * 1024];
    bool m_ready = false, m_ended = false, m_failed = false;
    std::uint64_t m_produced = 0;
};

// Reads exactly size bytes, through a buffer of its own so that small reads stay cheap.
class Stream {
public:
    explicit Stream(const ByteReader& read) : m_read(read), m_buffer(256 * 1024) {}

    bool take(void* out, std::size_t size)
    {
        auto* to = static_cast<char*>(out);
        while (size > 0) {
            if (m_begin == m_end && !refill())
                return false;
            const std::size_t n = std::min(size, m_end - m_begin);
            if (to) {
                std::memcpy(to, m_buffer.data() + m_begin, n);
                to += n;
            }
            m_crc = libdeflate_crc32(m_crc, m_buffer.data() + m_begin, n);
            m_begin += n;
            size -= n;
        }
        return true;
    }
    void startCrc(std::uint32_t crc) { m_crc = crc; }
    std::uint32_t crc() const { return m_crc; }

private:
    bool refill()
    {
        const std::int64_t got = m_read(m_buffer.data(), static_cast<std::int64_t>(m_buffer.size()));
        m_begin = 0;
        m_end = got > 0 ? static_cast<std::size_t>(got) : 0;
        return m_end > 0;
    }

    const ByteReader& m_read;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0, m_end = 0;
    std::uint32_t m_crc = 0;
};

} // namespace

PngStructure readPngStructure(const ByteReader& read)
{
    PngStructure png;
    Stream in(read);
    const auto fail = [&png](QString problem) {
        png.problem = std::move(problem);
        return png;
    };
    unsigned char signature[8];
    if (!in.take(signature, 8) || std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8) != 0)
        return fail(QStringLiteral("it is not a PNG file"));
    bool sawIdat = false, idatEnded = false;
    std::uint64_t expected = 0;
    const auto stream = std::make_unique<ImageDataStream>();
    std::vector<unsigned char> piece(64 * 1024);
    for (int index = 0;; ++index) {
        unsigned char head[8];
        if (!in.take(head, 8))
            return fail(QStringLiteral("it is cut off before its IEND chunk"));
        const std::uint32_t length = bigEndian32(head);
        const QByteArray type(reinterpret_cast<const char*>(head + 4), 4);
        if (length > maxChunkLength)
            return fail(QStringLiteral("a chunk claims more bytes than a PNG chunk may have"));
        if (index == 0 && type != "IHDR")
            return fail(QStringLiteral("its first chunk is not IHDR"));
        const QString name = QString::fromLatin1(type);
        if (type != "IDAT" && sawIdat)
            idatEnded = true;
        if (type == "IDAT" && idatEnded)
            return fail(QStringLiteral("its IDAT chunks are not consecutive"));
        // The CRC covers the type and the data. Small chunks are kept to be read, image data is
        // inflated piece by piece, the rest only runs through the CRC.
        in.startCrc(libdeflate_crc32(0, head + 4, 4));
        const bool keep = type == "IHDR" || (type == "iCCP" && length <= maxProfileBytes);
        QByteArray data(keep ? static_cast<qsizetype>(length) : 0, Qt::Uninitialized);
        if (type == "IDAT") {
            sawIdat = true;
            for (std::uint32_t left = length; left > 0;) {
                const std::size_t n = std::min<std::size_t>(left, piece.size());
                if (!in.take(piece.data(), n))
                    return fail(QStringLiteral("it is cut off in its IDAT chunk"));
                if (!stream->feed(piece.data(), n, expected))
                    return fail(
                        QStringLiteral("its compressed image data does not inflate (%1)").arg(stream->reason()));
                left -= std::uint32_t(n);
            }
        } else if (!in.take(keep ? data.data() : nullptr, length)) {
            return fail(QStringLiteral("it is cut off in its %1 chunk").arg(name));
        }
        const std::uint32_t computed = in.crc();
        unsigned char stored[4];
        if (!in.take(stored, 4))
            return fail(QStringLiteral("it is cut off in its %1 chunk").arg(name));
        if (bigEndian32(stored) != computed)
            return fail(QStringLiteral("the CRC of its %1 chunk is wrong").arg(name));
        const auto* body = reinterpret_cast<const unsigned char*>(data.constData());
        if (type == "IHDR") {
            if (length != 13)
                return fail(QStringLiteral("its IHDR chunk is not 13 bytes long"));
            png.width = bigEndian32(body);
            png.height = bigEndian32(body + 4);
            png.bitDepth = body[8];
            png.colourType = body[9];
            png.interlaced = body[12] == 1;
            const bool depthFits = png.colourType == 0
                ? QByteArrayView("\x01\x02\x04\x08\x10").contains(char(png.bitDepth))
                : png.colourType == 3 ? QByteArrayView("\x01\x02\x04\x08").contains(char(png.bitDepth))
                                      : (png.colourType == 2 || png.colourType == 4 || png.colourType == 6)
                    && (png.bitDepth == 8 || png.bitDepth == 16);
            if (png.width == 0 || png.height == 0 || png.width > maxChunkLength || png.height > maxChunkLength
                || !depthFits || body[10] != 0 || body[11] != 0 || body[12] > 1)
                return fail(QStringLiteral("its IHDR chunk describes no valid image"));
            expected = filteredBytes(png.width, png.height, png.bitDepth, png.colourType, png.interlaced);
        } else if (type == "tRNS") {
            png.hasTransparencyChunk = true;
        } else if (type == "sRGB") {
            png.hasSrgbChunk = true;
        } else if (type == "iCCP") {
            png.iccProfile = inflateProfile(data);
        } else if (type == "IEND") {
            if (!sawIdat)
                return fail(QStringLiteral("it has no image data (IDAT)"));
            if (!stream->ended() || stream->produced() != expected)
                return fail(QStringLiteral("its compressed image data is cut off: it gives %1 of the %2 bytes its "
                                           "size needs")
                                .arg(stream->produced())
                                .arg(expected));
            png.whole = true;
            return png;
        }
    }
}

PngStructure readPngStructure(const QByteArray& bytes)
{
    std::int64_t at = 0;
    return readPngStructure([&](char* buffer, std::int64_t size) -> std::int64_t {
        const std::int64_t n = std::min<std::int64_t>(size, bytes.size() - at);
        std::memcpy(buffer, bytes.constData() + at, static_cast<std::size_t>(n));
        at += n;
        return n;
    });
}

bool hasWholeChunks(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const std::size_t size = std::size_t(bytes.size());
    if (size < 8 || std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) != 0)
        return false;
    for (std::size_t at = 8; size - at >= 12;) {
        const std::uint32_t length = bigEndian32(data + at);
        if (length > maxChunkLength || length > size - at - 12)
            return false;
        if (libdeflate_crc32(0, data + at + 4, length + 4) != bigEndian32(data + at + 8 + length))
            return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            return true;
        at += 12 + std::size_t(length);
    }
    return false;
}

std::optional<QSize> pngHeaderSize(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (bytes.size() < 24 || std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return std::nullopt;
    const std::uint32_t width = bigEndian32(data + 16), height = bigEndian32(data + 20);
    if (width > maxChunkLength || height > maxChunkLength)
        return std::nullopt;
    return QSize(int(width), int(height));
}

QString otherImageFormat(const QByteArray& head)
{
    const auto at = [&head](qsizetype offset, const char* magic) {
        return head.mid(offset, qsizetype(std::strlen(magic))) == magic;
    };
    if (at(0, "RIFF") && at(8, "WEBP"))
        return QStringLiteral("WebP");
    if (at(0, "\xff\xd8\xff"))
        return QStringLiteral("JPEG");
    if (at(0, "GIF87a") || at(0, "GIF89a"))
        return QStringLiteral("GIF");
    if (at(0, "II*") || at(0, "MM\x00*"))
        return QStringLiteral("TIFF");
    if (at(4, "ftypheic") || at(4, "ftypheix") || at(4, "ftypmif1"))
        return QStringLiteral("HEIF");
    if (at(4, "ftypavif"))
        return QStringLiteral("AVIF");
    if (at(0, "BM"))
        return QStringLiteral("BMP");
    return {};
}

} // namespace quorva
