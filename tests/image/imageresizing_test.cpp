#include "image/imageresizing.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorva;

namespace {
const QImage& bitmapOf(const ImageRef& image)
{
    return image->representations().front();
}
} // namespace

TEST(ResizedToSide, stretchesOrEnlargesOntoTheWholeSquare_pointsEqualPixels)
{
    const ImageRef large = resizedToSide(*makeImage(test::gradientImage(100, 100)), 1536);
    ASSERT_TRUE(large);
    EXPECT_EQ(bitmapOf(large).size(), QSize(1536, 1536));
    EXPECT_EQ(large->size(), QSizeF(1536, 1536));
    EXPECT_EQ(bitmapOf(large).format(), QImage::Format_ARGB32_Premultiplied);

    QImage wide = test::solidImage(200, 100, qRgb(0, 0, 255)); // left half red, right half blue
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            wide.setPixel(x, y, qRgb(255, 0, 0));
    const QImage icon = bitmapOf(resizedToSide(*makeImage(wide), 40));
    EXPECT_EQ(icon.pixel(2, 20), qRgb(255, 0, 0));
    EXPECT_EQ(icon.pixel(18, 39), qRgb(255, 0, 0));
    EXPECT_EQ(icon.pixel(22, 0), qRgb(0, 0, 255));
    EXPECT_EQ(icon.pixel(39, 39), qRgb(0, 0, 255));
}

TEST(ResizedToSide, shrinksByAveraging_withoutDarkFringesOrAliasing)
{
    QImage art(300, 300, QImage::Format_ARGB32_Premultiplied); // a white square on transparency
    art.fill(Qt::transparent);
    QImage checker(512, 512, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            if (x >= 100 && x < 200 && y >= 100 && y < 200)
                art.setPixel(x, y, qRgb(255, 255, 255));
        }
    const QImage icon = bitmapOf(resizedToSide(*makeImage(art), 29));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(icon.pixel(14, 14), qRgb(255, 255, 255));
    const QImage grey = bitmapOf(resizedToSide(*makeImage(checker), 20));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb straight = qUnpremultiply(icon.pixel(x, y));
            if (qAlpha(straight) > 8) {
                ASSERT_GE(qRed(straight), 240) << "dark fringe at " << x << "," << y;
            }
            ASSERT_NEAR(qGray(grey.pixel(x, y)), 128, 12) << "aliasing at " << x << "," << y;
        }
}

TEST(ResizedToSize, truncatesPixelsKeepsPointsAndCoversEveryPixel)
{
    const ImageRef source = makeImage(test::solidImage(100, 100, qRgb(10, 200, 30)));
    const double third = 100.0 / 3.0;
    const ImageRef scaled = resizedToSize(*source, third, third);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(bitmapOf(scaled).size(), QSize(33, 33));
    EXPECT_EQ(scaled->size(), QSizeF(third, third));
    EXPECT_EQ(bitmapOf(scaled), test::solidImage(33, 33, qRgb(10, 200, 30)));
    EXPECT_EQ(bitmapOf(resizedToSize(*source, 100, 100)), bitmapOf(source)) << "same size, same pixels";
}

TEST(ImageResizing, impossibleSizes_giveNothing)
{
    const ImageRef source = makeImage(test::gradientImage(2, 900));
    for (const std::int64_t side : {std::int64_t{0}, std::int64_t{-5}, std::int64_t{1} << 40})
        EXPECT_FALSE(resizedToSide(*source, side)) << side;
    EXPECT_FALSE(resizedToSide(Image(QSizeF(10, 10), std::vector<QImage>{}), 10)) << "an image with no bitmap";
    EXPECT_FALSE(resizedToSize(*source, 2.0 / 3.0, 300));
    EXPECT_TRUE(resizedToSize(*source, 4.0 / 3.0, 600));
    for (const double bad : {std::nan(""), double(INFINITY), 1e300})
        EXPECT_FALSE(resizedToSize(*source, bad, 10)) << bad;
}
