// A theme's items set in a values file as a project keeps it: what Quorva owns changes, every
// other byte stays, and a file that can't be edited so is refused.
#include "android/stylesfile.h"

#include <gtest/gtest.h>

using namespace quorva;

namespace {

const QByteArray flutterStyles = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                 "<resources>\n"
                                 "    <!-- Theme applied while the process is starting -->\n"
                                 "    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
                                 "        <item name=\"android:windowBackground\">@drawable/old_background</item>\n"
                                 "        <item name=\"android:forceDarkAllowed\">false</item>\n"
                                 "    </style>\n"
                                 "    <style name=\"NormalTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
                                 "        <item name=\"android:windowBackground\">?android:colorBackground</item>\n"
                                 "    </style>\n"
                                 "</resources>\n";

const StyleItems background = {{"android:windowBackground", "@drawable/launch_background"}};

} // namespace

TEST(StylesFile, anItemTheThemeHas_getsItsNewText_andEveryOtherByteStays)
{
    const std::optional<QByteArray> edited = withStyleItems(flutterStyles, "LaunchTheme", {}, background);
    ASSERT_TRUE(edited);
    QByteArray expected = flutterStyles;
    expected.replace("@drawable/old_background", "@drawable/launch_background");
    EXPECT_EQ(*edited, expected);
}

TEST(StylesFile, anItemTheThemeLacks_isAddedBeforeItsEnd_atItsItemsIndent)
{
    const std::optional<QByteArray> edited
        = withStyleItems(flutterStyles, "LaunchTheme", {}, {{"android:windowSplashScreenBackground", "#112233"}});
    ASSERT_TRUE(edited);
    QByteArray expected = flutterStyles;
    expected.replace("<item name=\"android:forceDarkAllowed\">false</item>\n",
                     "<item name=\"android:forceDarkAllowed\">false</item>\n"
                     "        <item name=\"android:windowSplashScreenBackground\">#112233</item>\n");
    EXPECT_EQ(*edited, expected);
}

TEST(StylesFile, settingWhatIsThereAlready_givesTheSameBytes)
{
    const std::optional<QByteArray> once = withStyleItems(flutterStyles, "LaunchTheme", {}, background);
    ASSERT_TRUE(once);
    EXPECT_EQ(withStyleItems(*once, "LaunchTheme", {}, background), once);
}

TEST(StylesFile, aThemeTheFileLacks_isAddedWhole_fromItsBase_beforeTheEndOfResources)
{
    const QByteArray other = "<resources>\n    <color name=\"brand\">#ff0000</color>\n</resources>\n";
    const StyleDefinition base{"@android:style/Theme.Light.NoTitleBar", {{"android:forceDarkAllowed", "false"}}};
    const std::optional<QByteArray> edited
        = withStyleItems(other, "LaunchTheme", base, {{"android:windowSplashScreenBackground", "#112233"}});
    ASSERT_TRUE(edited);
    EXPECT_EQ(*edited,
              "<resources>\n    <color name=\"brand\">#ff0000</color>\n"
              "    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
              "        <item name=\"android:forceDarkAllowed\">false</item>\n"
              "        <item name=\"android:windowSplashScreenBackground\">#112233</item>\n"
              "    </style>\n"
              "</resources>\n");
    const std::optional<StyleDefinition> read = styleIn(*edited, "LaunchTheme");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->parent, base.parent);
    EXPECT_EQ(read->items.size(), 2u);
}

TEST(StylesFile, aThemeOfNoItems_getsItsEndTag_andTheItemsInside)
{
    const QByteArray empty
        = "<resources>\n    <style name=\"Theme.App\" parent=\"Theme.Material3.DayNight\"/>\n</resources>\n";
    const std::optional<QByteArray> edited = withStyleItems(empty, "Theme.App", {}, background);
    ASSERT_TRUE(edited);
    EXPECT_EQ(*edited,
              "<resources>\n    <style name=\"Theme.App\" parent=\"Theme.Material3.DayNight\">\n"
              "        <item name=\"android:windowBackground\">@drawable/launch_background</item>\n"
              "    </style>\n</resources>\n");
}

TEST(StylesFile, withNoFile_theThemeIsAFileOfItsOwn)
{
    const std::optional<QByteArray> made = withStyleItems(std::nullopt, "LaunchTheme", {}, background);
    ASSERT_TRUE(made);
    const std::optional<StyleDefinition> read = styleIn(*made, "LaunchTheme");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->items, background);
}

TEST(StylesFile, aThemeDefinedTwice_orAnItemOfMoreThanText_isRefused)
{
    QByteArray twice = flutterStyles;
    twice.replace("NormalTheme", "LaunchTheme");
    EXPECT_FALSE(withStyleItems(twice, "LaunchTheme", {}, background));
    QByteArray nested = flutterStyles;
    nested.replace("@drawable/old_background", "<xliff:g>x</xliff:g>");
    EXPECT_FALSE(withStyleItems(nested, "LaunchTheme", {}, background));
    EXPECT_FALSE(withStyleItems(QByteArray("<resources><style name=\"LaunchTheme\""), "LaunchTheme", {}, background));
    EXPECT_FALSE(withStyleItems(QByteArray("<other/>"), "LaunchTheme", {}, background));
}
