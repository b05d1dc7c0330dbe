#include "generation/pngencoder.h"

#include "generation/pixelanalysis.h"

#include <QRgb>

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace quorva {
namespace {

enum Filter : std::uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

void putBigEndian32(std::uint8_t* out, std::uint32_t value)
{
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

void appendChunk(QByteArray& png, const char type[4], const std::uint8_t* data, std::size_t length)
{
    std::uint8_t header[8];
    putBigEndian32(header, static_cast<std::uint32_t>(length));
    std::copy(type, type + 4, header + 4);
    png.append(reinterpret_cast<const char*>(header), 8);
    if (length)
        png.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
    std::uint32_t crc = libdeflate_crc32(0, header + 4, 4);
    if (length)
        crc = libdeflate_crc32(crc, data, length); // a null buffer would restart the sum
    std::uint8_t trailer[4];
    putBigEndian32(trailer, crc);
    png.append(reinterpret_cast<const char*>(trailer), 4);
}

// Straight (un-premultiplied) samples of one row, in PNG order.
void unpackRow(const QRgb* source, int width, bool withAlpha, std::uint8_t* out)
{
    if (withAlpha) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = qUnpremultiply(source[x]);
            *out++ = static_cast<std::uint8_t>(qRed(p));
            *out++ = static_cast<std::uint8_t>(qGreen(p));
            *out++ = static_cast<std::uint8_t>(qBlue(p));
            *out++ = static_cast<std::uint8_t>(qAlpha(p));
        }
    } else {
        for (int x = 0; x < width; ++x) {
            const QRgb p = source[x];
            *out++ = static_cast<std::uint8_t>(qRed(p));
            *out++ = static_cast<std::uint8_t>(qGreen(p));
            *out++ = static_cast<std::uint8_t>(qBlue(p));
        }
    }
}

// Applies one filter to a row; prev is the unfiltered previous row (all zero for the first).
// The first pixel has no left neighbour and is done apart, so the loops over the rest vectorize.
void filterRow(Filter filter, const std::uint8_t* row, const std::uint8_t* prev, std::size_t length,
               std::size_t bpp, std::uint8_t* out)
{
    const std::size_t head = std::min(bpp, length);
    switch (filter) {
    case None:
        std::copy(row, row + length, out);
        break;
    case Sub:
        std::copy(row, row + head, out);
        for (std::size_t i = head; i < length; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - row[i - bpp]);
        break;
    case Up:
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - prev[i]);
        break;
    case Average:
        for (std::size_t i = 0; i < head; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - (prev[i] >> 1));
        for (std::size_t i = head; i < length; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - ((row[i - bpp] + prev[i]) >> 1));
        break;
    case Paeth:
        for (std::size_t i = 0; i < head; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - prev[i]);
        for (std::size_t i = head; i < length; ++i) {
            const int a = row[i - bpp];
            const int b = prev[i];
            const int c = prev[i - bpp];
            const int pa = std::abs(b - c);
            const int pb = std::abs(a - c);
            const int pc = std::abs(a + b - 2 * c);
            const int predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
            out[i] = static_cast<std::uint8_t>(row[i] - predicted);
        }
        break;
    }
}

// The usual heuristic: the filter whose output, read as signed bytes, has the smallest sum of
// magnitudes tends to compress best.
std::uint64_t costOf(const std::uint8_t* filtered, std::size_t length)
{
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const int v = static_cast<std::int8_t>(filtered[i]);
        sum += static_cast<std::uint32_t>(v < 0 ? -v : v);
    }
    return sum;
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

constexpr int compressionLevel = 6;

} // namespace

std::optional<QByteArray> encodePng(const QImage& bitmap)
{
    if (bitmap.isNull())
        return std::nullopt;
    const QImage image = bitmap.format() == QImage::Format_ARGB32_Premultiplied
        ? bitmap
        : bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;

    try {
        const int width = image.width();
        const int height = image.height();
        const bool withAlpha = hasTransparentPixels(image);
        const std::size_t bpp = withAlpha ? 4 : 3;
        const std::size_t rowBytes = bpp * static_cast<std::size_t>(width);
        const std::size_t stride = rowBytes + 1;

        std::vector<std::uint8_t> filtered(stride * static_cast<std::size_t>(height));
        std::vector<std::uint8_t> previous(rowBytes, 0);
        std::vector<std::uint8_t> current(rowBytes);
        std::array<std::vector<std::uint8_t>, 5> candidates;
        for (auto& c : candidates)
            c.resize(rowBytes);

        for (int y = 0; y < height; ++y) {
            unpackRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), width, withAlpha, current.data());
            Filter best = None;
            std::uint64_t bestCost = UINT64_MAX;
            for (Filter f : {None, Sub, Up, Average, Paeth}) {
                filterRow(f, current.data(), previous.data(), rowBytes, bpp, candidates[f].data());
                const std::uint64_t cost = costOf(candidates[f].data(), rowBytes);
                if (cost < bestCost) {
                    bestCost = cost;
                    best = f;
                }
            }
            std::uint8_t* out = filtered.data() + stride * static_cast<std::size_t>(y);
            out[0] = best;
            std::copy(candidates[best].begin(), candidates[best].end(), out + 1);
            std::swap(previous, current);
        }

        std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
            libdeflate_alloc_compressor(compressionLevel));
        if (!compressor)
            return std::nullopt;
        std::vector<std::uint8_t> compressed(libdeflate_zlib_compress_bound(compressor.get(), filtered.size()));
        const std::size_t compressedSize = libdeflate_zlib_compress(
            compressor.get(), filtered.data(), filtered.size(), compressed.data(), compressed.size());
        if (compressedSize == 0 || compressedSize > 0x7fffffffu)
            return std::nullopt;

        QByteArray png;
        png.reserve(static_cast<qsizetype>(compressedSize + 64));
        static constexpr char signature[] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
        png.append(signature, sizeof signature);

        std::uint8_t header[13];
        putBigEndian32(header, static_cast<std::uint32_t>(width));
        putBigEndian32(header + 4, static_cast<std::uint32_t>(height));
        header[8] = 8;                      // bits per sample
        header[9] = withAlpha ? 6 : 2;      // colour type
        header[10] = 0;                     // deflate
        header[11] = 0;                     // adaptive filtering
        header[12] = 0;                     // not interlaced
        appendChunk(png, "IHDR", header, sizeof header);
        appendChunk(png, "IDAT", compressed.data(), compressedSize);
        appendChunk(png, "IEND", nullptr, 0);
        return png;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace quorva
