#include "generation/pngdata.h"
#include "generation/pngencoder.h"

#include "testsupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorva;

namespace {

QImage decoded(const QByteArray& png)
{
    return QImage::fromData(png, "PNG");
}

} // namespace

TEST(PngEncoder, roundTripsRandomPixelsBitExactly)
{
    // 700 x 400 is past one Huffman block and past a huge page of scratch memory.
    for (const QSize size : {QSize(1, 1), QSize(3, 7), QSize(64, 33), QSize(257, 5), QSize(700, 400)}) {
        for (const bool opaque : {false, true}) {
            const QImage source = test::randomImage(size.width(), size.height(), size.width() * 31u + opaque,
                                                    opaque);
            const std::optional<QByteArray> png = encodePng(source);
            ASSERT_TRUE(png);
            const QImage back = decoded(*png);
            ASSERT_EQ(back.size(), size);
            // Premultiplying the decoded straight samples must give back the very same pixels.
            EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32_Premultiplied), source)
                << size.width() << "x" << size.height() << (opaque ? " opaque" : " with alpha");
        }
    }
}

TEST(PngEncoder, opaqueImagesHaveNoAlphaChannel)
{
    const std::optional<QByteArray> opaque = encodePng(test::solidImage(16, 16, qRgb(1, 2, 3)));
    QImage oneClearPixel = test::solidImage(16, 16, qRgb(1, 2, 3));
    oneClearPixel.setPixel(15, 15, qRgba(0, 0, 0, 0));
    const std::optional<QByteArray> translucent = encodePng(oneClearPixel);
    ASSERT_TRUE(opaque && translucent);
    EXPECT_TRUE(opaque->startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(test::pngColourType(*opaque), 2);
    EXPECT_EQ(test::pngColourType(*translucent), 6);
    EXPECT_FALSE(decoded(*opaque).hasAlphaChannel());
    EXPECT_TRUE(decoded(*translucent).hasAlphaChannel());
}

TEST(PngEncoder, acceptsOtherFormatsAndRefusesNull)
{
    QImage rgb(5, 5, QImage::Format_RGB888);
    rgb.fill(qRgb(9, 8, 7));
    const std::optional<QByteArray> png = encodePng(rgb);
    ASSERT_TRUE(png);
    EXPECT_EQ(decoded(*png).pixel(2, 2), qRgb(9, 8, 7));
    EXPECT_FALSE(encodePng(QImage()));
}

TEST(PngEncoder, passesAnIndependentChecker)
{
    const QString pngcheck = QStandardPaths::findExecutable(QStringLiteral("pngcheck"));
    if (pngcheck.isEmpty())
        GTEST_SKIP() << "pngcheck is not installed";
    QTemporaryDir dir;
    const auto file = std::filesystem::path(dir.path().toStdString()) / "checked.png";
    test::writeBytes(file, *encodePng(test::gradientImage(200, 120, 10)));
    QProcess check;
    check.start(pngcheck, {QString::fromStdString(file.string())});
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
}

TEST(PngData, encodesOnceAndKeepsTheBytes)
{
    const ImageRef image = makeImage(test::gradientImage(40, 40, 4));
    const PngResult first = pngData(*image);
    const PngResult second = pngData(*image);
    ASSERT_TRUE(first.bytes && second.bytes);
    EXPECT_FALSE(first.failure);
    EXPECT_EQ(first.bytes->constData(), second.bytes->constData()) << "the image was encoded a second time";
    EXPECT_EQ(decoded(*first.bytes).size(), QSize(40, 40));
    EXPECT_TRUE(decoded(*first.bytes).hasAlphaChannel());
}

TEST(PngData, imageWithoutBitmap_failsWithNoBitmap)
{
    const Image empty(QSizeF(10, 10), {});
    const PngResult result = pngData(empty);
    EXPECT_FALSE(result.bytes);
    EXPECT_EQ(result.failure, PngFailure::NoBitmap);
}
