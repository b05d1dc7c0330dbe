// A project's images, read once by whichever output asks first, or taken as the window has them.
#include "image/sourceimages.h"

#include "testsupport.h"

#include <gtest/gtest.h>

using namespace quorva;

TEST(SourceImages, aFileIsReadOnce_andItsDigestIsOfItsBytes)
{
    test::Scratch scratch;
    scratch.savePng("art.png", test::gradientImage(64, 64, 10));
    SourceImages images(scratch.root);
    const SourceImages::Source& first = images.source(QStringLiteral("art.png"));
    ASSERT_TRUE(first.loaded.image) << first.loaded.error.toStdString();
    EXPECT_EQ(first.digest.size(), 32); // SHA-256
    test::writeBytes(scratch / "art.png", "no longer an image");
    EXPECT_EQ(images.source(QStringLiteral("art.png")).loaded.image, first.loaded.image) << "read once";
}

TEST(SourceImages, aFileThatIsNoImage_isNamedInWhyItCantBeRead)
{
    test::Scratch scratch;
    SourceImages images(scratch.root);
    const SourceImages::Source& missing = images.source(QStringLiteral("missing.png"));
    EXPECT_FALSE(missing.loaded.image);
    EXPECT_TRUE(missing.loaded.error.contains(QStringLiteral("missing.png"))) << missing.loaded.error.toStdString();
}

TEST(SourceImages, anImageProvidedForAPath_isTakenAsItIs_withoutReadingTheFile)
{
    test::Scratch scratch;
    const ImageRef shown = makeImage(test::gradientImage(32, 32, 5));
    SourceImages images(scratch.root);
    images.provide(QStringLiteral("dropped.png"), shown); // no such file on the disk
    EXPECT_EQ(images.source(QStringLiteral("dropped.png")).loaded.image, shown);
}
