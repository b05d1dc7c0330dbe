#include "generation/imageloading.h"

#include "testsupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <libdeflate.h>

using namespace quorva;

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, format == QByteArrayLiteral("JPEG") ? 95 : -1);
    return bytes;
}

// A JPEG with an EXIF block that carries only the orientation tag.
QByteArray jpegWithOrientation(const QImage& image, quint16 orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    QByteArray ifd(2 + 12 + 4, '\0');
    qToLittleEndian<quint16>(1, ifd.data());
    qToLittleEndian<quint16>(0x0112, ifd.data() + 2);
    qToLittleEndian<quint16>(3, ifd.data() + 4);
    qToLittleEndian<quint32>(1, ifd.data() + 6);
    qToLittleEndian<quint16>(orientation, ifd.data() + 10);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff + ifd;
    QByteArray segment("\xff\xe1", 2);
    QByteArray length(2, '\0');
    qToBigEndian<quint16>(static_cast<quint16>(payload.size() + 2), length.data());
    segment += length + payload;
    QByteArray jpeg = encoded(image, "JPEG");
    return jpeg.insert(2, segment);
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(data.size()), chunk.data());
    const QByteArray body = QByteArray(type, 4) + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(libdeflate_crc32(0, body.constData(), static_cast<size_t>(body.size())), crc.data());
    return chunk + body + crc;
}

QRgb pixelOf(const LoadedImage& loaded, int x, int y)
{
    return loaded.image->representations().front().pixel(x, y);
}

} // namespace

TEST(ImageLoading, decidesFormatFromContent_notFromName)
{
    QTemporaryDir dir;
    const auto file = std::filesystem::path(dir.path().toStdString()) / "really-a-png.jpg";
    test::writeBytes(file, encoded(test::gradientImage(30, 20, 2), "PNG"));
    const LoadedImage loaded = loadImage(file);
    ASSERT_TRUE(loaded.image) << loaded.error.toStdString();
    const QImage& bitmap = loaded.image->representations().front();
    EXPECT_EQ(bitmap.size(), QSize(30, 20));
    EXPECT_EQ(bitmap.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(loaded.image->size(), QSizeF(30, 20));
    EXPECT_EQ(qAlpha(bitmap.pixel(0, 0)), 0);
}

TEST(ImageLoading, unreadableFiles_giveNoImageAndAReason)
{
    QTemporaryDir dir;
    const std::filesystem::path folder(dir.path().toStdString());
    test::writeBytes(folder / "empty.png", {});
    test::writeBytes(folder / "notes.png", "just some text, not a picture\n");
    QByteArray truncated = encoded(test::gradientImage(64, 64), "PNG");
    truncated.truncate(truncated.size() / 2);
    test::writeBytes(folder / "truncated.png", truncated);

    for (const char* name : {"empty.png", "notes.png", "truncated.png", "missing.png"}) {
        const LoadedImage loaded = loadImage(folder / name);
        EXPECT_FALSE(loaded.image) << name;
        EXPECT_FALSE(loaded.error.isEmpty()) << name;
    }
    EXPECT_FALSE(loadImage(folder).image) << "a folder is no image";
}

TEST(ImageLoading, decompressionBomb_isRefusedBeforeDecoding)
{
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(100000, header.data());
    qToBigEndian<quint32>(100000, header.data() + 4);
    header[8] = 8;
    header[9] = 6;
    const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
        + pngChunk("IDAT", QByteArray(64, '\0')) + pngChunk("IEND", {});
    const LoadedImage loaded = loadImage(png);
    EXPECT_FALSE(loaded.image);
    EXPECT_FALSE(loaded.error.isEmpty());
}

TEST(ImageLoading, exifOrientation_isApplied)
{
    // Left half red, right half blue, 64 × 32. Orientation 6 means "rotate 90° clockwise to show".
    QImage source(64, 32, QImage::Format_RGB32);
    source.fill(Qt::blue);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            source.setPixel(x, y, qRgb(255, 0, 0));

    const LoadedImage upright = loadImage(jpegWithOrientation(source, 1));
    ASSERT_TRUE(upright.image);
    EXPECT_EQ(upright.image->representations().front().size(), QSize(64, 32));

    const LoadedImage rotated = loadImage(jpegWithOrientation(source, 6));
    ASSERT_TRUE(rotated.image);
    EXPECT_EQ(rotated.image->representations().front().size(), QSize(32, 64));
    EXPECT_GT(qRed(pixelOf(rotated, 16, 8)), 200) << "the red left half is now on top";
    EXPECT_GT(qBlue(pixelOf(rotated, 16, 56)), 200);
}

TEST(ImageLoading, otherPixelLayouts_becomeEightBitPremultiplied)
{
    QImage deep(8, 8, QImage::Format_RGBA64);
    deep.fill(QColor::fromRgba64(65535, 32768, 0, 32768));
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(QColor(100, 100, 100));
    QImage palette(8, 8, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(0, 0, 0, 0), qRgba(255, 0, 0, 255)});
    palette.fill(1);
    palette.setPixel(0, 0, 0);

    const LoadedImage fromDeep = loadImage(encoded(deep, "PNG"));
    const LoadedImage fromGrey = loadImage(encoded(grey, "PNG"));
    const LoadedImage fromPalette = loadImage(encoded(palette, "PNG"));
    for (const auto* loaded : {&fromDeep, &fromGrey, &fromPalette}) {
        ASSERT_TRUE(loaded->image);
        EXPECT_EQ(loaded->image->representations().front().format(), QImage::Format_ARGB32_Premultiplied);
    }
    EXPECT_EQ(qUnpremultiply(pixelOf(fromDeep, 3, 3)), qRgba(255, 128, 0, 128));
    EXPECT_EQ(pixelOf(fromGrey, 3, 3), qRgb(100, 100, 100));
    EXPECT_EQ(pixelOf(fromPalette, 0, 0), 0u);
    EXPECT_EQ(pixelOf(fromPalette, 1, 0), qRgb(255, 0, 0));
}

TEST(ImageLoading, foreignColourProfile_isConvertedToSrgb)
{
    QImage p3(4, 4, QImage::Format_RGB32);
    p3.fill(qRgb(40, 160, 90));
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const LoadedImage loaded = loadImage(encoded(p3, "PNG"));
    ASSERT_TRUE(loaded.image);
    const QRgb expected = QColorSpace(QColorSpace::DisplayP3)
                              .transformationToColorSpace(QColorSpace(QColorSpace::SRgb))
                              .map(qRgb(40, 160, 90));
    const QRgb got = pixelOf(loaded, 1, 1);
    EXPECT_NE(got, qRgb(40, 160, 90)) << "the pixels were taken as sRGB unchanged";
    EXPECT_NEAR(qRed(got), qRed(expected), 1);
    EXPECT_NEAR(qGreen(got), qGreen(expected), 1);
    EXPECT_NEAR(qBlue(got), qBlue(expected), 1);
}
