// Info.plist's launch screen set in place, as an app's target keeps its other settings there:
// what Quorva owns changes, every other byte stays, and a file that can't be edited so is refused.
#include "apple/infoplist.h"

#include <gtest/gtest.h>

using namespace quorva;

namespace {

const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                        "<plist version=\"1.0\">\n"
                        "<dict>\n"
                        "\t<key>CFBundleName</key>\n"
                        "\t<string>Runner &amp; Co</string>\n"
                        "\t<key>UILaunchStoryboardName</key>\n"
                        "\t<string>LaunchScreen</string>\n";
const QByteArray tail = "</dict>\n</plist>\n";

const std::vector<std::pair<QString, QString>> launchStrings
    = {{"UIColorName", "LaunchBackground"}, {"UIImageName", "LaunchImage"}};

} // namespace

TEST(InfoPlist, aTopLevelString_isReadWithItsEntitiesResolved)
{
    EXPECT_EQ(plistString(head + tail, "CFBundleName"), QStringLiteral("Runner & Co"));
    EXPECT_EQ(plistString(head + tail, "UILaunchStoryboardName"), QStringLiteral("LaunchScreen"));
    EXPECT_FALSE(plistString(head + tail, "UILaunchScreen"));
}

TEST(InfoPlist, aDictionaryTheFileLacks_isAddedBeforeTheRootsEnd_atItsIndent)
{
    const std::optional<QByteArray> edited = withPlistStrings(head + tail, "UILaunchScreen", launchStrings);
    ASSERT_TRUE(edited);
    EXPECT_EQ(*edited,
              head
                  + "\t<key>UILaunchScreen</key>\n\t<dict>\n"
                    "\t\t<key>UIColorName</key>\n\t\t<string>LaunchBackground</string>\n"
                    "\t\t<key>UIImageName</key>\n\t\t<string>LaunchImage</string>\n"
                    "\t</dict>\n"
                  + tail);
    EXPECT_EQ(withPlistStrings(*edited, "UILaunchScreen", launchStrings), edited) << "a second run changes nothing";
}

TEST(InfoPlist, aDictionaryTheFileHas_getsItsStringsReplaced_andKeepsItsOtherKeys)
{
    const QByteArray own = "\t<key>UILaunchScreen</key>\n\t<dict>\n"
                           "\t\t<key>UIImageName</key>\n\t\t<string>OldImage</string>\n"
                           "\t\t<key>UIImageRespectsSafeAreaInsets</key>\n\t\t<true/>\n"
                           "\t</dict>\n";
    const std::optional<QByteArray> edited = withPlistStrings(head + own + tail, "UILaunchScreen", launchStrings);
    ASSERT_TRUE(edited);
    QByteArray expected = own;
    expected.replace("OldImage", "LaunchImage");
    expected.replace("\t</dict>\n", "\t\t<key>UIColorName</key>\n\t\t<string>LaunchBackground</string>\n\t</dict>\n");
    EXPECT_EQ(*edited, head + expected + tail);
}

TEST(InfoPlist, anEmptyDictionary_asXcodeWritesIt_isFilledIn)
{
    const std::optional<QByteArray> edited
        = withPlistStrings(head + "\t<key>UILaunchScreen</key>\n\t<dict/>\n" + tail, "UILaunchScreen", launchStrings);
    ASSERT_TRUE(edited);
    EXPECT_EQ(plistString(*edited, "UILaunchStoryboardName"), QStringLiteral("LaunchScreen"));
    EXPECT_TRUE(edited->contains("\t<dict>\n\t\t<key>UIColorName</key>\n\t\t<string>LaunchBackground</string>\n"
                                 "\t\t<key>UIImageName</key>\n\t\t<string>LaunchImage</string>\n\t</dict>\n"))
        << edited->toStdString();
}

TEST(InfoPlist, aRootOnOneLine_getsTheDictionaryBeforeItsEnd)
{
    const QByteArray oneLine = "<plist version=\"1.0\"><dict><key>CFBundleName</key><string>A</string></dict></plist>";
    const std::optional<QByteArray> edited = withPlistStrings(oneLine, "UILaunchScreen", launchStrings);
    ASSERT_TRUE(edited);
    EXPECT_EQ(plistString(*edited, "CFBundleName"), QStringLiteral("A"));
    EXPECT_TRUE(edited->startsWith("<plist version=\"1.0\"><dict><key>CFBundleName</key><string>A</string>\n"));
    EXPECT_TRUE(edited->endsWith("</dict>\n</dict></plist>"));
}

TEST(InfoPlist, whatCantBeEditedInPlace_isRefused_data)
{
    const std::vector<std::pair<const char*, QByteArray>> rows = {
        {"a binary property list", QByteArray("bplist00\xd1\x01\x02", 11)},
        {"the key holding no dictionary", head + "\t<key>UILaunchScreen</key>\n\t<string>x</string>\n" + tail},
        {"a string key holding no string",
         head + "\t<key>UILaunchScreen</key>\n\t<dict><key>UIImageName</key><true/></dict>\n" + tail},
        {"no dictionary at the root", "<plist version=\"1.0\"><array/></plist>"},
        {"broken XML", head},
    };
    for (const auto& [name, plist] : rows)
        EXPECT_FALSE(withPlistStrings(plist, "UILaunchScreen", launchStrings)) << name;
}
