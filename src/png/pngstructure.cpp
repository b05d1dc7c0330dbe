#include "png/pngstructure.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace quorva {
namespace {

constexpr std::uint32_t maxChunkLength = 0x7fffffff; // the PNG standard's bound
constexpr std::size_t maxProfileBytes = 4 << 20;

std::uint32_t bigEndian32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

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
    bool sawIdat = false;
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
        // The CRC covers the type and the data. Small chunks are kept to be read; pixel data and
        // the rest only run through the CRC.
        in.startCrc(libdeflate_crc32(0, head + 4, 4));
        const bool keep = type == "IHDR" || (type == "iCCP" && length <= maxProfileBytes);
        QByteArray data(keep ? static_cast<qsizetype>(length) : 0, Qt::Uninitialized);
        if (!in.take(keep ? data.data() : nullptr, length))
            return fail(QStringLiteral("it is cut off in its %1 chunk").arg(name));
        const std::uint32_t computed = in.crc();
        unsigned char stored[4];
        if (!in.take(stored, 4))
            return fail(QStringLiteral("it is cut off in its %1 chunk").arg(name));
        if (bigEndian32(stored) != computed)
            return fail(QStringLiteral("the CRC of its %1 chunk is wrong").arg(name));
        if (type == "IHDR") {
            if (length != 13)
                return fail(QStringLiteral("its IHDR chunk is not 13 bytes long"));
            const auto* h = reinterpret_cast<const unsigned char*>(data.constData());
            png.width = bigEndian32(h);
            png.height = bigEndian32(h + 4);
            png.bitDepth = h[8];
            png.colourType = h[9];
            png.interlaced = h[12] == 1;
            const bool depthFits = png.colourType == 0
                ? QByteArrayView("\x01\x02\x04\x08\x10").contains(char(png.bitDepth))
                : png.colourType == 3 ? QByteArrayView("\x01\x02\x04\x08").contains(char(png.bitDepth))
                                      : (png.colourType == 2 || png.colourType == 4 || png.colourType == 6)
                    && (png.bitDepth == 8 || png.bitDepth == 16);
            if (png.width == 0 || png.height == 0 || png.width > maxChunkLength || png.height > maxChunkLength
                || !depthFits || h[10] != 0 || h[11] != 0 || h[12] > 1)
                return fail(QStringLiteral("its IHDR chunk describes no valid image"));
        } else if (type == "tRNS") {
            png.hasTransparencyChunk = true;
        } else if (type == "sRGB") {
            png.hasSrgbChunk = true;
        } else if (type == "iCCP") {
            png.iccProfile = inflateProfile(data);
        } else if (type == "IDAT") {
            sawIdat = true;
        } else if (type == "IEND") {
            if (!sawIdat)
                return fail(QStringLiteral("it has no image data (IDAT)"));
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

} // namespace quorva
