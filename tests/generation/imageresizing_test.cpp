#include "generation/imageresizing.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace quorva;

namespace {
const QImage& bitmapOf(const ImageRef& image)
{
    return image->representations().front();
}
} // namespace

TEST(ResizedToSide, enlargesASmallSource_pointsEqualPixels)
{
    const ImageRef source = makeImage(test::gradientImage(100, 100));
    const ImageRef icon = resizedToSide(*source, 1536);
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->representations().size(), 1u);
    EXPECT_EQ(bitmapOf(icon).size(), QSize(1536, 1536));
    EXPECT_EQ(icon->size(), QSizeF(1536, 1536));
    EXPECT_EQ(bitmapOf(icon).format(), QImage::Format_ARGB32_Premultiplied);
}

TEST(ResizedToSide, stretchesAWideSourceOverTheWholeSquare)
{
    QImage wide(200, 100, QImage::Format_ARGB32_Premultiplied);
    wide.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            wide.setPixel(x, y, qRgb(255, 0, 0));
    const ImageRef icon = resizedToSide(*makeImage(wide), 40);
    ASSERT_TRUE(icon);
    const QImage& bitmap = bitmapOf(icon);
    EXPECT_EQ(bitmap.pixel(2, 20), qRgb(255, 0, 0));
    EXPECT_EQ(bitmap.pixel(18, 39), qRgb(255, 0, 0)) << "the red half fills the left half, top to bottom";
    EXPECT_EQ(bitmap.pixel(22, 0), qRgb(0, 0, 255));
    EXPECT_EQ(bitmap.pixel(39, 39), qRgb(0, 0, 255));
}

TEST(ResizedToSide, keepsTransparencyWithoutDarkFringes)
{
    // A white disc-like square on a fully transparent ground: shrinking must blend only alpha at
    // the edges, never pull the colour towards the transparent black.
    QImage art(300, 300, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    for (int y = 100; y < 200; ++y)
        for (int x = 100; x < 200; ++x)
            art.setPixel(x, y, qRgb(255, 255, 255));
    const ImageRef icon = resizedToSide(*makeImage(art), 29);
    ASSERT_TRUE(icon);
    const QImage& bitmap = bitmapOf(icon);
    EXPECT_EQ(qAlpha(bitmap.pixel(0, 0)), 0);
    EXPECT_EQ(bitmap.pixel(14, 14), qRgb(255, 255, 255));
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 29; ++x) {
            const QRgb straight = qUnpremultiply(bitmap.pixel(x, y));
            if (qAlpha(straight) > 8) {
                ASSERT_GE(qRed(straight), 240) << "dark fringe at " << x << "," << y;
            }
        }
}

TEST(ResizedToSide, averagesFineDetailInsteadOfAliasing)
{
    QImage checker(512, 512, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const ImageRef icon = resizedToSide(*makeImage(checker), 20);
    ASSERT_TRUE(icon);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_NEAR(qGray(bitmapOf(icon).pixel(x, y)), 128, 12) << x << "," << y;
}

TEST(ResizedToSide, impossibleSides_giveNothing)
{
    const ImageRef source = makeImage(test::gradientImage(10, 10));
    EXPECT_FALSE(resizedToSide(*source, 0));
    EXPECT_FALSE(resizedToSide(*source, -5));
    EXPECT_FALSE(resizedToSide(*source, std::int64_t{1} << 40));
    EXPECT_FALSE(resizedToSide(Image(QSizeF(10, 10), {}), 10)) << "an image with no bitmap";
}

TEST(ResizedToSize, dropsFractionsFromPixelsButKeepsThemInPoints)
{
    const ImageRef source = makeImage(test::solidImage(100, 100, qRgb(10, 200, 30)));
    const double third = 100.0 / 3.0;
    const ImageRef scaled = resizedToSize(*source, third, third);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(bitmapOf(scaled).size(), QSize(33, 33));
    EXPECT_DOUBLE_EQ(scaled->size().width(), third);
    EXPECT_DOUBLE_EQ(scaled->size().height(), third);
    for (int y = 0; y < 33; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(bitmapOf(scaled).pixel(x, y), qRgb(10, 200, 30)) << "uncovered pixel " << x << "," << y;
}

TEST(ResizedToSize, belowOnePixelOrNotFinite_givesNothing)
{
    const ImageRef source = makeImage(test::gradientImage(2, 900));
    EXPECT_FALSE(resizedToSize(*source, 2.0 / 3.0, 300));
    EXPECT_TRUE(resizedToSize(*source, 4.0 / 3.0, 600));
    EXPECT_FALSE(resizedToSize(*source, std::nan(""), 10));
    EXPECT_FALSE(resizedToSize(*source, INFINITY, 10));
    EXPECT_FALSE(resizedToSize(*source, 1e300, 10));
}

TEST(ResizedToSize, sameSize_sharesTheSourcePixels)
{
    const ImageRef source = makeImage(test::gradientImage(64, 48, 3));
    const ImageRef whole = resizedToSize(*source, 64, 48);
    ASSERT_TRUE(whole);
    EXPECT_NE(whole.get(), source.get());
    EXPECT_EQ(bitmapOf(whole), bitmapOf(source));
}

TEST(ResizedToSide, concurrentRescalesOfOneSource_giveTheSameResultAsOne)
{
    const ImageRef source = makeImage(test::gradientImage(300, 200, 5));
    const QImage expected = bitmapOf(resizedToSide(*source, 87));
    std::vector<QImage> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back([&source, &result] { result = bitmapOf(resizedToSide(*source, 87)); });
    for (auto& thread : threads)
        thread.join();
    for (const QImage& result : results)
        EXPECT_EQ(result, expected);
}
