// The loader's pixel conversions; what it gives for each odd file is checked over the bad-input
// corpus (tests/corpus).
#include "image/imageloading.h"

#include "testsupport.h"

#include <QBuffer>
#include <QColorSpace>

#include <gtest/gtest.h>

using namespace quorva;

namespace {

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QRgb pixelOf(const QImage& image)
{
    const LoadedImage loaded = loadImage(png(image));
    EXPECT_TRUE(loaded.image) << loaded.error.toStdString();
    if (!loaded.image)
        return 0;
    EXPECT_EQ(loaded.image->representations().front().format(), QImage::Format_ARGB32_Premultiplied);
    return loaded.image->representations().front().pixel(0, 0);
}

} // namespace

TEST(ImageLoading, otherLayoutsAndProfiles_becomeEightBitPremultipliedSrgb)
{
    EXPECT_EQ(loadImage(std::filesystem::path(".")).error, QStringLiteral("it is a folder"));
    QImage deep(8, 8, QImage::Format_RGBA64);
    deep.fill(QColor::fromRgba64(65535, 32768, 0, 32768));
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(QColor(100, 100, 100));
    QImage palette(8, 8, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(0, 0, 0, 0), qRgba(255, 0, 0, 255)});
    palette.fill(0);
    QImage p3(4, 4, QImage::Format_RGB32);
    p3.fill(qRgb(40, 160, 90));
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));

    EXPECT_EQ(qUnpremultiply(pixelOf(deep)), qRgba(255, 128, 0, 128));
    EXPECT_EQ(pixelOf(grey), qRgb(100, 100, 100));
    EXPECT_EQ(pixelOf(palette), 0u);
    const QRgb expected = p3.convertedToColorSpace(QColorSpace(QColorSpace::SRgb)).pixel(0, 0);
    const QRgb got = pixelOf(p3);
    EXPECT_NE(got, qRgb(40, 160, 90)) << "the pixels were taken as sRGB unchanged";
    EXPECT_NEAR(qRed(got), qRed(expected), 1);
    EXPECT_NEAR(qGreen(got), qGreen(expected), 1);
    EXPECT_NEAR(qBlue(got), qBlue(expected), 1);
}
