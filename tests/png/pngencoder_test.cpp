#include "png/pngencoder.h"

#include "testsupport.h"

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
