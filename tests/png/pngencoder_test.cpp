#include "png/pngencoder.h"

#include "testsupport.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace quorva;

TEST(PngEncoder, roundTripsBitExactly_withAlphaExactlyWhenAPixelIsNotOpaque)
{
    // 700 x 400 is past one Huffman block and past a huge page of scratch memory.
    for (const QSize size : {QSize(1, 1), QSize(3, 7), QSize(64, 33), QSize(257, 5), QSize(700, 400)}) {
        for (const bool opaque : {false, true}) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << (opaque ? " opaque" : ""));
            const QImage source = test::randomImage(size.width(), size.height(), size.width() * 31u + opaque, opaque);
            const std::optional<QByteArray> png = encodePng(source);
            ASSERT_TRUE(png);
            EXPECT_TRUE(png->startsWith("\x89PNG\r\n\x1a\n"));
            EXPECT_EQ(test::pngColourType(*png), opaque ? 2 : 6);
            // Premultiplying the decoded straight samples must give back the very same pixels.
            EXPECT_EQ(QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied), source);
        }
    }
}

TEST(PngEncoder, takesOtherFormats_refusesNull_passesPngcheck)
{
    QImage rgb(5, 5, QImage::Format_RGB888);
    rgb.fill(qRgb(9, 8, 7));
    const std::optional<QByteArray> png = encodePng(rgb);
    ASSERT_TRUE(png);
    EXPECT_EQ(QImage::fromData(*png, "PNG").pixel(2, 2), qRgb(9, 8, 7));
    EXPECT_FALSE(encodePng(QImage()));

    test::Scratch scratch;
    test::writeBytes(scratch / "checked.png", *encodePng(test::gradientImage(200, 120, 10)));
    const test::ProgramRun check = test::runProgram(QStringLiteral("pngcheck"), {test::str(scratch / "checked.png")});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
}

// A screen of one colour with art over it, as a launch screen is written without being drawn
// whole: decoded, it is the art laid on the colour by QPainter, within a step of rounding.
TEST(PngOnGround, isTheArtLaidOnTheColour_opaqueAsRgb_transparentAsRgba_data)
{
    QImage art(70, 50, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            art.setPixel(x, y, qPremultiply(qRgba(x * 3, y * 5, 200, (x * 7 + y * 3) % 256)));
    struct Row {
        const char* name;
        QRgb ground;
        QSize size;
        QPoint at;
    };
    const Row rows[] = {
        {"centred on a colour", qRgb(30, 60, 90), {320, 480}, {125, 215}},
        {"on transparency", qRgba(0, 0, 0, 0), {200, 200}, {65, 75}},
        {"partly off the screen", qRgb(250, 250, 250), {100, 60}, {-20, 30}},
        {"wholly off the screen", qRgb(1, 2, 3), {40, 40}, {100, 100}},
    };
    for (const Row& row : rows) {
        const std::optional<QByteArray> png = encodePngOnGround(row.ground, row.size, art, row.at);
        ASSERT_TRUE(png) << row.name;
        const QImage decoded = QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(decoded.size(), row.size) << row.name;
        EXPECT_EQ(test::pngColourType(*png), qAlpha(row.ground) == 255 ? 2 : 6) << row.name;
        QImage expected(row.size, QImage::Format_ARGB32_Premultiplied);
        expected.fill(qPremultiply(row.ground));
        QPainter(&expected).drawImage(row.at, art);
        int worst = 0;
        for (int y = 0; y < row.size.height(); ++y)
            for (int x = 0; x < row.size.width(); ++x) {
                const QRgb a = decoded.pixel(x, y), b = expected.pixel(x, y);
                for (const int shift : {0, 8, 16, 24})
                    worst = std::max(worst, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
            }
        EXPECT_LE(worst, 2) << row.name;
    }
}
