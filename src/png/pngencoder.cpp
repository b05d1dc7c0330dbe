#include "png/pngencoder.h"

#include "png/huffmandeflate.h"
#include "support/memoryadvice.h"
#include "support/pixelanalysis.h"

#include <QRgb>

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace quorva {
namespace {

void putBigEndian32(std::uint8_t* out, std::uint32_t value)
{
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
}

// Writes a whole chunk (length, type, data, CRC) at out; data may already lie at out + 8.
std::size_t putChunk(std::uint8_t* out, const char type[4], const std::uint8_t* data, std::size_t length)
{
    putBigEndian32(out, static_cast<std::uint32_t>(length));
    std::memcpy(out + 4, type, 4);
    if (length && data != out + 8)
        std::memcpy(out + 8, data, length);
    putBigEndian32(out + 8 + length, libdeflate_crc32(0, out + 4, 4 + length));
    return 12 + length;
}

// How a pixel is stored: its bytes, one grey sample, three colour samples, or those and alpha.
enum class Layout : std::size_t { Grey = 1, Rgb = 3, Rgba = 4 };

// Straight (un-premultiplied) samples of one row, in PNG order.
void unpackRow(const QRgb* source, int width, Layout layout, std::uint8_t* out)
{
    if (layout == Layout::Grey) {
        for (int x = 0; x < width; ++x)
            out[x] = static_cast<std::uint8_t>(qRed(source[x]));
        return;
    }
    if (layout == Layout::Rgba) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = qUnpremultiply(source[x]);
            out[0] = static_cast<std::uint8_t>(qRed(p));
            out[1] = static_cast<std::uint8_t>(qGreen(p));
            out[2] = static_cast<std::uint8_t>(qBlue(p));
            out[3] = static_cast<std::uint8_t>(qAlpha(p));
            out += 4;
        }
    } else {
        for (int x = 0; x < width; ++x) {
            const QRgb p = source[x];
            out[0] = static_cast<std::uint8_t>(qRed(p));
            out[1] = static_cast<std::uint8_t>(qGreen(p));
            out[2] = static_cast<std::uint8_t>(qBlue(p));
            out += 3;
        }
    }
}

// The Paeth filter of one row against the row above (all zero for the first row). It predicts
// flat art and photographs alike well enough: on our icons it gives smaller files than choosing
// a filter per row by the usual sum-of-magnitudes rule, and on photographs files as small as
// libpng's. Branch-free and in 16-bit lanes, so that the loop vectorizes, with AVX2 where the
// processor has it.
#ifndef QUORVA_NO_TARGET_CLONES
__attribute__((target_clones("avx2", "default")))
#endif
void paethRow(const std::uint8_t* row, const std::uint8_t* prev, std::size_t length, std::size_t bpp,
              std::uint8_t* out)
{
    const std::size_t head = std::min(bpp, length);
    for (std::size_t i = 0; i < head; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - prev[i]);
    for (std::size_t i = head; i < length; ++i) {
        const std::int16_t a = row[i - bpp];
        const std::int16_t b = prev[i];
        const std::int16_t c = prev[i - bpp];
        const auto bc = static_cast<std::int16_t>(b - c);
        const auto ac = static_cast<std::int16_t>(a - c);
        const auto abc = static_cast<std::int16_t>(ac + bc);
        const auto pa = static_cast<std::int16_t>(bc < 0 ? -bc : bc);
        const auto pb = static_cast<std::int16_t>(ac < 0 ? -ac : ac);
        const auto pc = static_cast<std::int16_t>(abc < 0 ? -abc : abc);
        const std::int16_t nearer = pb <= pc ? b : c;
        const std::int16_t predicted = (pa <= pb && pa <= pc) ? a : nearer;
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
}

std::size_t zeroBytes(const std::uint8_t* data, std::size_t length)
{
    std::size_t zeros = 0;
    for (std::size_t i = 0; i < length; ++i)
        zeros += data[i] == 0;
    return zeros;
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
using Compressor = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

// A byte buffer that only grows and is never zero-filled: the encoder's working memory is
// reused from one image to the next on the same thread.
class ScratchBuffer {
public:
    std::uint8_t* reserve(std::size_t size)
    {
        if (size > m_capacity) {
            m_data.reset();
            m_capacity = 0;
            const std::size_t rounded = (size + hugePageSize - 1) / hugePageSize * hugePageSize;
            void* memory = size >= hugePageSize ? std::aligned_alloc(hugePageSize, rounded) : std::malloc(size);
            if (!memory)
                throw std::bad_alloc();
            adviseHugePages(memory, rounded);
            m_data.reset(static_cast<std::uint8_t*>(memory));
            m_capacity = size;
        }
        return m_data.get();
    }

private:
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t[], Free> m_data;
    std::size_t m_capacity = 0;
};

// Flat art (most filtered bytes zero) is made of repeated strings, which LZ77 finds quickly
// even at a high level. Photographs have next to none after filtering: coding their bytes with
// Huffman codes alone gives files within a few percent of libdeflate's level 1, and of libpng's
// default, at several times the speed.
constexpr int flatArtLevel = 6;

struct EncoderScratch {
    ScratchBuffer filtered;
    ScratchBuffer rows;
    ScratchBuffer row;
    ScratchBuffer compressed;
    Compressor flatArt;

    // Made on first use: its tables are large, and a thread that sees only photographs needs none.
    libdeflate_compressor* compressor()
    {
        if (!flatArt)
            flatArt.reset(libdeflate_alloc_compressor(flatArtLevel));
        return flatArt.get();
    }
};

EncoderScratch& scratch()
{
    thread_local EncoderScratch perThread;
    return perThread;
}

// The rows of a bitmap as PNG samples, each Paeth-filtered against the one above and led by its
// filter type byte, taken in order.
class FilteredRows {
public:
    FilteredRows(const QImage& image, Layout layout, ScratchBuffer& rowMemory)
        : m_image(image), m_layout(layout), m_bpp(static_cast<std::size_t>(layout)),
          m_rowBytes(m_bpp * static_cast<std::size_t>(image.width()))
    {
        std::uint8_t* rows = rowMemory.reserve(2 * m_rowBytes);
        m_previous = rows;
        m_current = rows + m_rowBytes;
    }

    std::size_t stride() const { return m_rowBytes + 1; }
    std::size_t size() const { return stride() * static_cast<std::size_t>(m_image.height()); }

    // Row y into out, stride() bytes; the row before y must be the last one taken, if any.
    void filter(int y, std::uint8_t* out)
    {
        if (y == 0)
            std::fill(m_previous, m_previous + m_rowBytes, 0);
        unpackRow(reinterpret_cast<const QRgb*>(m_image.constScanLine(y)), m_image.width(), m_layout, m_current);
        out[0] = 4; // Paeth
        paethRow(m_current, m_previous, m_rowBytes, m_bpp, out + 1);
        std::swap(m_previous, m_current);
    }

    // Whether most filtered bytes are zero, judged from a few rows spread over the image.
    bool looksFlat(std::uint8_t* rowOut)
    {
        constexpr int samples = 32;
        const int height = m_image.height();
        std::size_t zeros = 0;
        std::size_t seen = 0;
        for (int i = 0; i < samples; ++i) {
            const int y = static_cast<int>(static_cast<std::int64_t>(height) * i / samples);
            if (y > 0)
                unpackRow(reinterpret_cast<const QRgb*>(m_image.constScanLine(y - 1)), m_image.width(), m_layout,
                          m_previous);
            filter(y, rowOut);
            zeros += zeroBytes(rowOut + 1, m_rowBytes);
            seen += m_rowBytes;
            if (y + 1 >= height)
                break;
        }
        return zeros * 2 >= seen;
    }

private:
    const QImage& m_image;
    Layout m_layout;
    std::size_t m_bpp;
    std::size_t m_rowBytes;
    std::uint8_t* m_previous;
    std::uint8_t* m_current;
};

constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::size_t headerBytes = sizeof signature + 25; // signature and IHDR chunk
constexpr std::size_t trailerBytes = 4 + 12;               // IDAT CRC and IEND chunk

// The signature and IHDR chunk, headerBytes long.
void putHeader(std::uint8_t* out, int width, int height, Layout layout)
{
    std::memcpy(out, signature, sizeof signature);
    std::uint8_t header[13];
    putBigEndian32(header, static_cast<std::uint32_t>(width));
    putBigEndian32(header + 4, static_cast<std::uint32_t>(height));
    header[8] = 8;                                                          // bits per sample
    header[9] = layout == Layout::Grey ? 0 : layout == Layout::Rgb ? 2 : 6; // colour type: grey, RGB or RGBA
    header[10] = 0;                                                         // deflate
    header[11] = 0;                                                         // adaptive filtering
    header[12] = 0;                                                         // not interlaced
    putChunk(out + sizeof signature, "IHDR", header, sizeof header);
}

// Flat art: the whole filtered image at once through libdeflate.
std::optional<QByteArray> encodeFlat(const QImage& image, Layout layout, FilteredRows& rows, EncoderScratch& work)
{
    std::uint8_t* filtered = work.filtered.reserve(rows.size());
    for (int y = 0; y < image.height(); ++y)
        rows.filter(y, filtered + rows.stride() * static_cast<std::size_t>(y));

    libdeflate_compressor* compressor = work.compressor();
    if (!compressor)
        return std::nullopt;
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor, rows.size());
    constexpr std::size_t dataStart = headerBytes + 8;
    std::uint8_t* png = work.compressed.reserve(dataStart + bound + trailerBytes);
    const std::size_t compressedSize
        = libdeflate_zlib_compress(compressor, filtered, rows.size(), png + dataStart, bound);
    if (compressedSize == 0 || compressedSize > 0x7fffffffu)
        return std::nullopt;
    putHeader(png, image.width(), image.height(), layout);
    std::size_t size = headerBytes;
    size += putChunk(png + size, "IDAT", png + dataStart, compressedSize);
    size += putChunk(png + size, "IEND", nullptr, 0);
    return QByteArray(reinterpret_cast<const char*>(png), static_cast<qsizetype>(size));
}

// A PNG whose image data is streamed into it: the signature, IHDR, the IDAT chunk's room and
// the zlib header, the deflate stream to be appended after them.
void startStreamedPng(QByteArray& png, int width, int height, Layout layout)
{
    png.resize(headerBytes + 8);
    putHeader(reinterpret_cast<std::uint8_t*>(png.data()), width, height, layout);
    png.append("\x78\x01", 2); // zlib header: deflate, 32 KiB window, no dictionary
}

// The streamed PNG ended: the zlib checksum of the filtered rows, the IDAT chunk around the
// stream, IEND. Nothing when the stream is too long for one chunk.
std::optional<QByteArray> finishStreamedPng(QByteArray& png, std::uint32_t adler)
{
    std::uint8_t checksum[4];
    putBigEndian32(checksum, adler);
    png.append(reinterpret_cast<const char*>(checksum), 4);
    const std::size_t dataLength = static_cast<std::size_t>(png.size()) - headerBytes - 8;
    if (dataLength > 0x7fffffffu)
        return std::nullopt;
    png.resize(static_cast<qsizetype>(headerBytes + 8 + dataLength + trailerBytes));
    auto* bytes = reinterpret_cast<std::uint8_t*>(png.data());
    const std::size_t idatEnd
        = headerBytes + putChunk(bytes + headerBytes, "IDAT", bytes + headerBytes + 8, dataLength);
    putChunk(bytes + idatEnd, "IEND", nullptr, 0);
    return png;
}

// Photographs: row by row through the Huffman coder, straight into the file's bytes, so that the
// filtered image is never held whole.
std::optional<QByteArray> encodePhotograph(const QImage& image, Layout layout, FilteredRows& rows, std::uint8_t* row)
{
    QByteArray png;
    // Every byte coded in at most 8 bits plus the block tables: the file's size at most.
    png.reserve(static_cast<qsizetype>(headerBytes + 8 + 2 + rows.size() + rows.size() / 256 + 1024 + trailerBytes));
    adviseHugePages(png.data(), static_cast<std::size_t>(png.capacity()));
    startStreamedPng(png, image.width(), image.height(), layout);
    std::uint32_t adler = 1;
    {
        HuffmanDeflate deflate(png);
        for (int y = 0; y < image.height(); ++y) {
            rows.filter(y, row);
            adler = libdeflate_adler32(adler, row, rows.stride());
            deflate.add(row, rows.stride());
        }
        deflate.finish();
    }
    std::optional<QByteArray> done = finishStreamedPng(png, adler);
    if (done)
        done->squeeze();
    return done;
}

// Whether every pixel is an opaque grey.
bool isOpaqueGrey(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0, columns = image.width(); x < columns; ++x)
            if (qAlpha(row[x]) != 255 || qRed(row[x]) != qGreen(row[x]) || qGreen(row[x]) != qBlue(row[x]))
                return false;
    }
    return true;
}

} // namespace

namespace {

std::optional<QByteArray> encodeAs(const QImage& bitmap, const std::optional<Layout>& forced, bool greyscale)
{
    if (bitmap.isNull())
        return std::nullopt;
    const QImage image = bitmap.format() == QImage::Format_ARGB32_Premultiplied
        ? bitmap
        : bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;

    try {
        EncoderScratch& work = scratch();
        const Layout layout = forced           ? *forced
            : greyscale && isOpaqueGrey(image) ? Layout::Grey
            : hasTransparentPixels(image)      ? Layout::Rgba
                                               : Layout::Rgb;
        FilteredRows rows(image, layout, work.rows);
        std::uint8_t* row = work.row.reserve(rows.stride());
        if (rows.looksFlat(row))
            return encodeFlat(image, layout, rows, work);
        return encodePhotograph(image, layout, rows, row);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<QByteArray> encodePng(const QImage& bitmap, bool greyscale)
{
    return encodeAs(bitmap, std::nullopt, greyscale);
}

std::optional<QByteArray> encodeRgbaPng(const QImage& bitmap)
{
    return encodeAs(bitmap, Layout::Rgba, false);
}

std::optional<QByteArray> encodePngOnGround(QRgb ground, QSize size, const QImage& art, QPoint at)
{
    if (size.isEmpty())
        return std::nullopt;
    const QImage layer = art.isNull() || art.format() == QImage::Format_ARGB32_Premultiplied
        ? art
        : art.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    try {
        const QRgb groundPixel = qPremultiply(ground);
        const Layout layout = qAlpha(groundPixel) == 255 ? Layout::Rgb : Layout::Rgba;
        const std::size_t bpp = static_cast<std::size_t>(layout);
        const std::size_t width = static_cast<std::size_t>(size.width());
        const std::size_t rowBytes = bpp * width;
        // The rows of the colour alone, filtered: Sub after a row of art (or at the top), its
        // first pixel then zeros; Up after a row of the colour, all zeros.
        std::vector<QRgb> pixels(width, groundPixel);
        std::vector<std::uint8_t> groundRow(rowBytes), previous(rowBytes), current(rowBytes), filtered(rowBytes + 1);
        unpackRow(pixels.data(), size.width(), layout, groundRow.data());
        current = groundRow;
        filtered[0] = 4; // Paeth, for every row of art
        std::vector<std::uint8_t> subRow(rowBytes + 1, 0), upRow(rowBytes + 1, 0);
        subRow[0] = 1;
        std::copy(groundRow.begin(), groundRow.begin() + static_cast<std::ptrdiff_t>(bpp), subRow.begin() + 1);
        upRow[0] = 2;
        // The art's rows and columns on the screen.
        const int top = std::max(0, at.y()), bottom = std::min(size.height(), at.y() + layer.height());
        const int left = std::max(0, at.x()), right = std::min(size.width(), at.x() + layer.width());

        QByteArray png;
        startStreamedPng(png, size.width(), size.height(), layout);
        std::uint32_t adler = 1;
        {
            RunDeflate deflate(png);
            bool afterArt = true; // the first row is filtered as one after art: Sub
            bool afterGround = true;
            for (int y = 0; y < size.height(); ++y) {
                if (y < top || y >= bottom || left >= right) {
                    const std::vector<std::uint8_t>& row = afterArt ? subRow : upRow;
                    adler = libdeflate_adler32(adler, row.data(), row.size());
                    const std::size_t head = afterArt ? 1 + bpp : 1;
                    deflate.add(row.data(), head);
                    deflate.addZeros(row.size() - head);
                    afterArt = false;
                    afterGround = true;
                    continue;
                }
                if (afterGround)
                    previous = groundRow;
                afterGround = false;
                // The colour, with the art's row laid over it: premultiplied source over. Only
                // the art's columns change; beside them the row is the colour, as the row above
                // is, and filtered to zeros.
                const auto* source = reinterpret_cast<const QRgb*>(layer.constScanLine(y - at.y()));
                for (int x = left; x < right; ++x) {
                    const QRgb pixel = source[x - at.x()];
                    const unsigned rest = 255 - qAlpha(pixel);
                    const auto over = [rest](int upper, int below) { return upper + (below * rest + 127) / 255; };
                    pixels[static_cast<std::size_t>(x - left)]
                        = qRgba(over(qRed(pixel), qRed(groundPixel)), over(qGreen(pixel), qGreen(groundPixel)),
                                over(qBlue(pixel), qBlue(groundPixel)), over(qAlpha(pixel), qAlpha(groundPixel)));
                }
                unpackRow(pixels.data(), right - left, layout, current.data() + static_cast<std::size_t>(left) * bpp);
                // From a pixel of the colour before the art to one after it: Paeth gives zero there
                // as it does across the whole row.
                const std::size_t from = static_cast<std::size_t>(std::max(0, left - 1)) * bpp;
                const std::size_t to = static_cast<std::size_t>(std::min(size.width(), right + 1)) * bpp;
                paethRow(current.data() + from, previous.data() + from, to - from, bpp, filtered.data() + 1 + from);
                adler = libdeflate_adler32(adler, filtered.data(), filtered.size());
                deflate.add(filtered.data(), filtered.size());
                std::swap(previous, current);
                afterArt = true;
            }
            deflate.finish();
        }
        return finishStreamedPng(png, adler);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace quorva
