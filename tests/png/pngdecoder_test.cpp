// The plain-PNG decoder gives what Qt's reader gives for the files it takes, pixel for pixel and
// format for format, and leaves every other file to Qt: colour chunks, other layouts, damage.
#include "png/pngdecoder.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

using namespace quorva;

namespace {

constexpr std::int64_t anyPixels = std::int64_t{1} << 40;

QByteArray bigEndian(std::uint32_t value)
{
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, 4);
}

QByteArray chunk(const char* type, const QByteArray& data)
{
    const QByteArray body = QByteArray(type, 4) + data;
    const auto crc = std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size())));
    return bigEndian(std::uint32_t(data.size())) + body + bigEndian(crc);
}

QByteArray header(int width, int height, int colourType, int bitDepth = 8, int interlace = 0)
{
    return bigEndian(std::uint32_t(width)) + bigEndian(std::uint32_t(height)) + QByteArray(1, char(bitDepth))
        + QByteArray(1, char(colourType)) + QByteArray(2, 0) + QByteArray(1, char(interlace));
}

QByteArray zlibOf(const QByteArray& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()),
              uLong(raw.size()), 6);
    out.resize(qsizetype(size));
    return out;
}

int predictor(int type, int left, int up, int upLeft)
{
    switch (type) {
    case 1:
        return left;
    case 2:
        return up;
    case 3:
        return (left + up) / 2;
    case 4: {
        const int p = left + up - upLeft;
        const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
        return pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
    }
    default:
        return 0;
    }
}

// Rows of noise over a gradient (so that every filter has something to predict), row y filtered
// with filter y % 5.
QByteArray filteredRows(int width, int height, int bpp, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::vector<int>> pixels(std::size_t(height), std::vector<int>(std::size_t(width * bpp)));
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * bpp; ++i)
            pixels[std::size_t(y)][std::size_t(i)] = (i * 3 + y * 5 + int(random() % 24)) & 0xff;
    QByteArray raw;
    for (int y = 0; y < height; ++y) {
        const int type = y % 5;
        raw.append(char(type));
        for (int i = 0; i < width * bpp; ++i) {
            const auto at = [&](int row, int index) {
                return row < 0 || index < 0 ? 0 : pixels[std::size_t(row)][std::size_t(index)];
            };
            raw.append(char(at(y, i) - predictor(type, at(y, i - bpp), at(y - 1, i), at(y - 1, i - bpp))));
        }
    }
    return raw;
}

QByteArray png(const QByteArray& ihdr, const QList<QByteArray>& chunksBeforeData, const QByteArray& raw,
               const QList<QByteArray>& chunksAfterData = {})
{
    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    file += chunk("IHDR", ihdr);
    for (const QByteArray& extra : chunksBeforeData)
        file += extra;
    file += chunk("IDAT", zlibOf(raw));
    for (const QByteArray& extra : chunksAfterData)
        file += extra;
    return file + chunk("IEND", {});
}

QImage readByQt(QByteArray file)
{
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

} // namespace

struct PlainPngCase {
    const char* name;
    int colourType;
    int width;
    int height;
};

class PlainPngDecoding : public testing::TestWithParam<PlainPngCase> {};

TEST_P(PlainPngDecoding, everyFilter_givesQtsImage)
{
    const PlainPngCase& row = GetParam();
    const int bpp = row.colourType == 6 ? 4 : 3;
    const QByteArray file
        = png(header(row.width, row.height, row.colourType), {}, filteredRows(row.width, row.height, bpp, 11));
    const QImage qt = readByQt(file);
    ASSERT_FALSE(qt.isNull());
    const std::optional<QImage> ours = decodePlainPng(file, anyPixels);
    ASSERT_TRUE(ours);
    EXPECT_EQ(ours->format(), qt.format());
    EXPECT_EQ(*ours, qt);
}

INSTANTIATE_TEST_SUITE_P(PlainPng, PlainPngDecoding,
                         testing::Values(PlainPngCase{"rgba", 6, 37, 23}, PlainPngCase{"rgb", 2, 37, 23},
                                         PlainPngCase{"rgbaOnePixelWide", 6, 1, 12},
                                         PlainPngCase{"rgbOneRow", 2, 40, 1}),
                         [](const testing::TestParamInfo<PlainPngCase>& info) { return info.param.name; });

TEST(PlainPng, dataSplitOverChunksAndAmongIgnoredOnes_isDecoded)
{
    const QByteArray raw = filteredRows(9, 7, 4, 3);
    const QByteArray packed = zlibOf(raw);
    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    file += chunk("IHDR", header(9, 7, 6)) + chunk("pHYs", QByteArray(9, '\1')) + chunk("sRGB", QByteArray(1, 0));
    for (qsizetype at = 0; at < packed.size(); at += 5)
        file += chunk("IDAT", packed.mid(at, 5));
    file += chunk("tEXt", "Comment\0x") + chunk("IEND", {});
    const std::optional<QImage> ours = decodePlainPng(file, anyPixels);
    ASSERT_TRUE(ours);
    // Qt's says sRGB, as an image without a colour space is taken to be.
    QImage qt = readByQt(file);
    EXPECT_EQ(qt.colorSpace(), QColorSpace(QColorSpace::SRgb));
    qt.setColorSpace(QColorSpace());
    EXPECT_EQ(*ours, qt);
}

struct LeftToQtCase {
    const char* name;
    QByteArray file;
};

class PlainPngLeftToQt : public testing::TestWithParam<LeftToQtCase> {};

TEST_P(PlainPngLeftToQt, isNotDecoded)
{
    EXPECT_FALSE(decodePlainPng(GetParam().file, anyPixels));
}

std::vector<LeftToQtCase> leftToQt_data()
{
    const QByteArray rgba = filteredRows(4, 4, 4, 5);
    const QByteArray ihdr = header(4, 4, 6);
    QByteArray badCrc = png(ihdr, {}, rgba);
    badCrc[badCrc.size() - 20] = char(badCrc[badCrc.size() - 20] ^ 1);
    QByteArray badFilter = rgba;
    badFilter[0] = 5;
    const QByteArray idat = chunk("IDAT", zlibOf(rgba));
    QByteArray dataApart("\x89PNG\r\n\x1a\n", 8);
    dataApart += chunk("IHDR", ihdr) + idat.left(idat.size()) + chunk("tEXt", "a\0b") + chunk("IDAT", zlibOf({}))
        + chunk("IEND", {});
    const QByteArray whole = png(ihdr, {}, rgba);
    return {
        {"gamma", png(ihdr, {chunk("gAMA", bigEndian(45455))}, rgba)},
        {"colourProfile", png(ihdr, {chunk("iCCP", QByteArray("p\0\0", 3) + zlibOf("x"))}, rgba)},
        {"chromaticities", png(ihdr, {chunk("cHRM", QByteArray(32, '\1'))}, rgba)},
        {"transparentColour", png(header(4, 4, 2), {chunk("tRNS", QByteArray(6, 0))}, filteredRows(4, 4, 3, 5))},
        {"orientation", png(ihdr, {chunk("eXIf", "MM\0*")}, rgba)},
        {"animation", png(ihdr, {chunk("acTL", QByteArray(8, 0))}, rgba)},
        {"unknownCriticalChunk", png(ihdr, {chunk("ABCD", "x")}, rgba)},
        {"sixteenBit", png(header(4, 4, 6, 16), {}, filteredRows(8, 4, 4, 5))},
        {"palette", png(header(4, 4, 3), {chunk("PLTE", QByteArray(3, 0))}, QByteArray(20, 0))},
        {"grey", png(header(4, 4, 0), {}, QByteArray(20, 0))},
        {"interlaced", png(header(4, 4, 6, 8, 1), {}, rgba)},
        {"badCrc", badCrc},
        {"badFilterType", png(ihdr, {}, badFilter)},
        {"tooLittleData", png(ihdr, {}, rgba.left(rgba.size() - 1))},
        {"tooMuchData", png(ihdr, {}, rgba + QByteArray(1, 0))},
        {"dataChunksApart", dataApart},
        {"noEnd", whole.left(whole.size() - 12)},
        {"noData", QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IEND", {})},
        {"zeroWidth", png(header(0, 4, 6), {}, {})},
    };
}

INSTANTIATE_TEST_SUITE_P(PlainPng, PlainPngLeftToQt, testing::ValuesIn(leftToQt_data()),
                         [](const testing::TestParamInfo<LeftToQtCase>& info) { return info.param.name; });

TEST(PlainPng, moreThanTheLimitsPixels_isNotDecoded)
{
    const QByteArray file = png(header(4, 4, 6), {}, filteredRows(4, 4, 4, 5));
    EXPECT_FALSE(decodePlainPng(file, 15));
    EXPECT_TRUE(decodePlainPng(file, 16));
}
