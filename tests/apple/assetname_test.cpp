#include "apple/assetname.h"

#include <gtest/gtest.h>

TEST(AssetName, dropsOnlyTheLastExtension_aLeadingDotIsNone)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/me/Logo.png", "Logo"}, {"/tmp/app.icon.jpeg", "app.icon"},
        {"/tmp/README", "README"},     {"/tmp/my icon ü.PNG", "my icon ü"},
        {"/tmp/.png", ".png"},         {"/tmp/.hidden.png", ".hidden"},
        {"/tmp/x.png/", "x"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(quorva::assetNameForFile(QString::fromUtf8(path)), QString::fromUtf8(name)) << path;
}
