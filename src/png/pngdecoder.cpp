#include "png/pngdecoder.h"

#include "png/pngchunks.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace quorva {
namespace {

// Chunks that say nothing of how the pixels look: Qt's reader keeps them beside the image, if at
// all, and Quorva reads none of that.
bool isIgnorable(const unsigned char* type)
{
    static constexpr const char* ignorable[]
        = {"bKGD", "pHYs", "tEXt", "zTXt", "iTXt", "tIME", "sRGB", "sBIT", "sPLT", "hIST"};
    for (const char* name : ignorable)
        if (std::memcmp(type, name, 4) == 0)
            return true;
    return false;
}

int paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return left;
    return toUp <= toUpLeft ? up : upLeft;
}

// One row back from its filter, in place, over the row above it (already unfiltered; zeros above
// the first). False for a filter type the standard doesn't have.
template<int Bpp>
bool unfilter(unsigned char* row, const unsigned char* up, std::size_t size, int type)
{
    switch (type) {
    case 0:
        return true;
    case 1:
        for (std::size_t i = Bpp; i < size; ++i)
            row[i] = static_cast<unsigned char>(row[i] + row[i - Bpp]);
        return true;
    case 2:
        for (std::size_t i = 0; i < size; ++i)
            row[i] = static_cast<unsigned char>(row[i] + up[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < Bpp; ++i)
            row[i] = static_cast<unsigned char>(row[i] + (up[i] >> 1));
        for (std::size_t i = Bpp; i < size; ++i)
            row[i] = static_cast<unsigned char>(row[i] + ((row[i - Bpp] + up[i]) >> 1));
        return true;
    case 4:
        for (std::size_t i = 0; i < Bpp; ++i)
            row[i] = static_cast<unsigned char>(row[i] + up[i]);
        for (std::size_t i = Bpp; i < size; ++i)
            row[i] = static_cast<unsigned char>(row[i] + paeth(row[i - Bpp], up[i], up[i - Bpp]));
        return true;
    default:
        return false;
    }
}

template<int Bpp>
bool unpack(const unsigned char* raw, std::uint32_t width, std::uint32_t height, QImage& image)
{
    const std::size_t rowSize = std::size_t(width) * Bpp;
    const std::vector<unsigned char> zeros(rowSize, 0);
    const unsigned char* up = zeros.data();
    auto* row = const_cast<unsigned char*>(raw);
    for (std::uint32_t y = 0; y < height; ++y, row += rowSize + 1) {
        if (!unfilter<Bpp>(row + 1, up, rowSize, row[0]))
            return false;
        const unsigned char* p = row + 1;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (std::uint32_t x = 0; x < width; ++x, p += Bpp)
            out[x] = Bpp == 4 ? qRgba(p[0], p[1], p[2], p[3]) : qRgb(p[0], p[1], p[2]);
        up = row + 1;
    }
    return true;
}

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

} // namespace

std::optional<QImage> decodePlainPng(const QByteArray& file, std::int64_t maxPixels)
{
    const auto* data = reinterpret_cast<const unsigned char*>(file.constData());
    const std::size_t size = std::size_t(file.size());
    if (size < 8 + 25 || std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) != 0 || bigEndian32(data + 8) != 13
        || std::memcmp(data + 12, "IHDR", 4) != 0)
        return std::nullopt;
    const unsigned char* header = data + 16;
    const std::uint32_t width = bigEndian32(header);
    const std::uint32_t height = bigEndian32(header + 4);
    const int colourType = header[9];
    if (width == 0 || height == 0 || width > maxChunkLength || height > maxChunkLength
        || std::int64_t(width) * height > maxPixels || header[8] != 8 || (colourType != 2 && colourType != 6)
        || header[10] != 0 || header[11] != 0 || header[12] != 0)
        return std::nullopt;

    // The image data, where its chunks are one run, and every chunk whole up to IEND.
    std::vector<std::pair<const unsigned char*, std::size_t>> pieces;
    bool dataEnded = false;
    bool ended = false;
    for (std::size_t at = 8; !ended;) {
        if (size - at < 12)
            return std::nullopt;
        const std::uint32_t length = bigEndian32(data + at);
        if (length > maxChunkLength || length > size - at - 12)
            return std::nullopt;
        const unsigned char* type = data + at + 4;
        if (libdeflate_crc32(0, type, length + 4) != bigEndian32(type + 4 + length))
            return std::nullopt;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            if (dataEnded)
                return std::nullopt;
            pieces.emplace_back(type + 4, length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            ended = true;
        } else if (at == 8 || isIgnorable(type)) {
            dataEnded = !pieces.empty();
        } else {
            return std::nullopt;
        }
        at += 12 + std::size_t(length);
    }
    if (pieces.empty())
        return std::nullopt;

    std::vector<unsigned char> joined;
    const unsigned char* packed = pieces.front().first;
    std::size_t packedSize = pieces.front().second;
    if (pieces.size() > 1) {
        for (const auto& [piece, length] : pieces)
            joined.insert(joined.end(), piece, piece + length);
        packed = joined.data();
        packedSize = joined.size();
    }

    const int bpp = colourType == 6 ? 4 : 3;
    const std::size_t rawSize = (std::size_t(width) * bpp + 1) * height;
    // Not zero-filled: every byte is inflated over.
    const std::unique_ptr<unsigned char[]> raw(new (std::nothrow) unsigned char[rawSize]);
    const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> inflater(libdeflate_alloc_decompressor());
    if (!raw || !inflater)
        return std::nullopt;
    std::size_t inflated = 0;
    if (libdeflate_zlib_decompress(inflater.get(), packed, packedSize, raw.get(), rawSize, &inflated)
            != LIBDEFLATE_SUCCESS
        || inflated != rawSize)
        return std::nullopt;

    QImage image(int(width), int(height), bpp == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    if (!(bpp == 4 ? unpack<4>(raw.get(), width, height, image) : unpack<3>(raw.get(), width, height, image)))
        return std::nullopt;
    return image;
}

} // namespace quorva
