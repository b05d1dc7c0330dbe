#include "generation/assetname.h"

#include <gtest/gtest.h>

using quorva::assetNameForFile;

TEST(AssetName, dropsOnlyTheLastExtension)
{
    EXPECT_EQ(assetNameForFile(QStringLiteral("/home/me/Logo.png")), QStringLiteral("Logo"));
    EXPECT_EQ(assetNameForFile(QStringLiteral("/tmp/app.icon.jpeg")), QStringLiteral("app.icon"));
    EXPECT_EQ(assetNameForFile(QStringLiteral("photo.final.jpeg")), QStringLiteral("photo.final"));
    EXPECT_EQ(assetNameForFile(QStringLiteral("/tmp/README")), QStringLiteral("README"));
    EXPECT_EQ(assetNameForFile(QStringLiteral("/tmp/my icon ü.PNG")), QStringLiteral("my icon ü"));
}

TEST(AssetName, leadingDotIsNoExtension)
{
    EXPECT_EQ(assetNameForFile(QStringLiteral("/tmp/.png")), QStringLiteral(".png"));
    EXPECT_EQ(assetNameForFile(QStringLiteral("/tmp/.hidden.png")), QStringLiteral(".hidden"));
}
