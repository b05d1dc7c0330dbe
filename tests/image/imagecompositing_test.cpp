#include "image/imagecompositing.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;

TEST(ImageCompositing, blendsPremultipliedEdgesIntoTheBackground_andTakesLuminanceOnBlack)
{
    QImage art(4, 1, QImage::Format_ARGB32_Premultiplied);
    art.setPixel(0, 0, qPremultiply(qRgba(255, 255, 255, 128))); // a half-covered white edge
    art.setPixel(1, 0, qPremultiply(qRgba(255, 0, 0, 128)));
    art.setPixel(2, 0, 0);
    art.setPixel(3, 0, qRgb(0, 255, 0));
    const ImageRef image = makeImage(art);

    const QImage onWhite = onBackground(*image, Qt::white)->representations().front();
    EXPECT_EQ(onWhite.pixel(0, 0), qRgb(255, 255, 255)) << "no dark fringe";
    EXPECT_EQ(onWhite.pixel(1, 0), qRgb(255, 127, 127));
    EXPECT_EQ(onWhite.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(onBackground(*image, QColor(0, 0, 255))->representations().front().pixel(1, 0), qRgb(128, 0, 127));

    const QImage grey = luminanceOnBlack(*image)->representations().front();
    EXPECT_EQ(grey.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(grey.pixel(3, 0), qRgb(182, 182, 182));
    EXPECT_EQ(qRed(grey.pixel(0, 0)), 128);
    EXPECT_EQ(onBackground(Image(QSizeF(1, 1), std::vector<QImage>{}), Qt::white), nullptr);
}
