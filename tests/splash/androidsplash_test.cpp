// quorva-cli splash on a res folder laid out as Flutter's, React Native's and a native app's keep
// their launch themes: every drawable a theme names is written in the same run, Android 12's
// icon keeps its art inside the circle that shows, the dark screen goes under -night, and what
// the project's themes had beside Quorva's items stays.
#include "android/stylesfile.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

const QByteArray flutterManifest
    = "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" package=\"org.example.app\">\n"
      "  <application android:label=\"app\">\n"
      "    <activity android:name=\".MainActivity\" android:theme=\"@style/LaunchTheme\">\n"
      "      <intent-filter>\n"
      "        <action android:name=\"android.intent.action.MAIN\"/>\n"
      "        <category android:name=\"android.intent.category.LAUNCHER\"/>\n"
      "      </intent-filter>\n"
      "    </activity>\n"
      "  </application>\n"
      "</manifest>\n";

const QByteArray flutterStyles = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                 "<resources>\n"
                                 "    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
                                 "        <item name=\"android:windowBackground\">@drawable/launch_background</item>\n"
                                 "        <item name=\"android:forceDarkAllowed\">false</item>\n"
                                 "    </style>\n"
                                 "    <style name=\"NormalTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
                                 "        <item name=\"android:windowBackground\">?android:colorBackground</item>\n"
                                 "    </style>\n"
                                 "</resources>\n";

// A native app's: the theme in themes.xml, named by the application alone.
const QByteArray nativeManifest = "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                                  "  <application android:theme=\"@style/Theme.App\"/>\n"
                                  "</manifest>\n";
const QByteArray nativeThemes = "<resources>\n"
                                "    <style name=\"Theme.App\" parent=\"Theme.Material3.DayNight\"/>\n"
                                "</resources>\n";

class AndroidSplash : public ::testing::Test {
protected:
    test::Scratch scratch;
    fs::path res = scratch / "app/src/main/res";
    QString art = scratch.savePng("art.png", test::solidImage(600, 600, qRgb(200, 30, 30)));

    static void write(const fs::path& file, const QByteArray& bytes)
    {
        fs::create_directories(file.parent_path());
        test::writeBytes(file, bytes);
    }
    void flutterLayout()
    {
        write(scratch / "app/src/main/AndroidManifest.xml", flutterManifest);
        write(res / "values/styles.xml", flutterStyles);
    }
    test::ProgramRun splash(QStringList more = {})
    {
        return test::runCli(QStringList{"splash", art, test::str(res)} + more);
    }
    // The drawables a file names: "splash_icon" for @drawable/splash_icon.
    static QStringList drawablesNamedIn(const fs::path& file)
    {
        static const QRegularExpression named(QStringLiteral("@drawable/([a-z0-9_]+)"));
        QStringList names;
        for (auto match = named.globalMatch(QString::fromUtf8(test::readBytes(file))); match.hasNext();)
            names << match.next().captured(1);
        return names;
    }
};

struct CircleRow {
    const char* name;
    const char* density;
    int canvas; // px: the icon's canvas at the density, 288 dp (240 dp on an icon background)
    int circle; // px: the diameter of what shows, 192 dp (160 dp)
    bool onBackground;
};

class AndroidSplashCircle : public AndroidSplash, public ::testing::WithParamInterface<CircleRow> {};

const CircleRow circleRows[] = {
    {"mdpi", "mdpi", 288, 192, false},
    {"hdpi", "hdpi", 432, 288, false},
    {"xhdpi", "xhdpi", 576, 384, false},
    {"xxhdpi", "xxhdpi", 864, 576, false},
    {"xxxhdpi", "xxxhdpi", 1152, 768, false},
    {"mdpiOnAnIconBackground", "mdpi", 240, 160, true},
    {"hdpiOnAnIconBackground", "hdpi", 360, 240, true},
    {"xhdpiOnAnIconBackground", "xhdpi", 480, 320, true},
    {"xxhdpiOnAnIconBackground", "xxhdpi", 720, 480, true},
    {"xxxhdpiOnAnIconBackground", "xxxhdpi", 960, 640, true},
};

} // namespace

TEST_F(AndroidSplash, everyDrawableATheNamesIsWrittenInTheSameRun)
{
    flutterLayout();
    const test::ProgramRun run = splash({"--dark-background", "#101010", "--branding", art});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    int named = 0;
    for (const char* file : {"values/styles.xml", "values-v31/styles.xml", "values-night-v31/styles.xml",
                             "drawable/launch_background.xml", "drawable-v21/launch_background.xml",
                             "drawable-night/launch_background.xml", "drawable-night-v21/launch_background.xml"})
        for (const QString& name : drawablesNamedIn(res / file)) {
            ++named;
            const bool xml = fs::exists(res / "drawable" / (name.toStdString() + ".xml"));
            if (xml)
                continue;
            for (const char* density : {"mdpi", "hdpi", "xhdpi", "xxhdpi", "xxxhdpi"})
                EXPECT_TRUE(fs::exists(res / ("drawable-" + std::string(density)) / (name.toStdString() + ".png")))
                    << file << " names " << name.toStdString() << ", missing at " << density;
        }
    EXPECT_GE(named, 10);
}

TEST_F(AndroidSplash, theProjectsThemesKeepWhatIsNotQuorvas)
{
    flutterLayout();
    ASSERT_EQ(splash().exitCode, 0);
    // launch_background is named already: the file stays as it was.
    EXPECT_EQ(test::readBytes(res / "values/styles.xml"), flutterStyles);
    const std::optional<StyleDefinition> v31 = styleIn(test::readBytes(res / "values-v31/styles.xml"), "LaunchTheme");
    ASSERT_TRUE(v31);
    EXPECT_EQ(v31->parent, "@android:style/Theme.Light.NoTitleBar");
    const auto has = [&](const char* name, const char* value) {
        return std::find(v31->items.begin(), v31->items.end(), std::pair<QString, QString>(name, value))
            != v31->items.end();
    };
    EXPECT_TRUE(has("android:forceDarkAllowed", "false"));
    EXPECT_TRUE(has("android:windowSplashScreenBackground", "#ffffff"));
    EXPECT_TRUE(has("android:windowSplashScreenAnimatedIcon", "@drawable/splash_icon"));
    EXPECT_FALSE(fs::exists(res / "values-night-v31")) << "no dark screen was asked for";
}

TEST_F(AndroidSplash, aThemeOfValuesNight_getsAndroid12sItemsInValuesNightV31_whichItOutranksInTheDark)
{
    flutterLayout();
    write(res / "values-night/styles.xml", flutterStyles);
    ASSERT_EQ(splash().exitCode, 0);
    const std::optional<StyleDefinition> night
        = styleIn(test::readBytes(res / "values-night-v31/styles.xml"), "LaunchTheme");
    ASSERT_TRUE(night);
    EXPECT_NE(std::find(night->items.begin(), night->items.end(),
                        std::pair<QString, QString>("android:windowSplashScreenAnimatedIcon", "@drawable/splash_icon")),
              night->items.end());
}

TEST_F(AndroidSplash, aDarkScreen_isWrittenUnderNight_andNamedThere)
{
    flutterLayout();
    const QString dark = scratch.savePng("dark.png", test::solidImage(600, 600, qRgb(240, 240, 240)));
    ASSERT_EQ(splash({"--dark", dark, "--dark-background", "#202020"}).exitCode, 0);
    const std::optional<StyleDefinition> night
        = styleIn(test::readBytes(res / "values-night-v31/styles.xml"), "LaunchTheme");
    ASSERT_TRUE(night);
    EXPECT_NE(std::find(night->items.begin(), night->items.end(),
                        std::pair<QString, QString>("android:windowSplashScreenBackground", "#202020")),
              night->items.end());
    EXPECT_TRUE(test::readBytes(res / "drawable-night/launch_background.xml").contains("#202020"));
    const QImage icon = test::decodeFile(res / "drawable-night-xxxhdpi/splash_icon.png");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(qRed(icon.pixel(icon.width() / 2, icon.height() / 2)), 240) << "the dark screen's own art";
}

TEST_F(AndroidSplash, theApplicationsTheme_getsAndroid12sItems_andKeepsTheWindowBackgroundEveryWindowShows)
{
    write(scratch / "app/src/main/AndroidManifest.xml", nativeManifest);
    write(res / "values/themes.xml", nativeThemes);
    const test::ProgramRun run = splash();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::readBytes(res / "values/themes.xml"), nativeThemes);
    EXPECT_FALSE(fs::exists(res / "values/styles.xml"));
    EXPECT_TRUE(run.err.contains(QLatin1String("application's theme"))) << run.err.toStdString();
    const std::optional<StyleDefinition> v31 = styleIn(test::readBytes(res / "values-v31/styles.xml"), "Theme.App");
    ASSERT_TRUE(v31);
    EXPECT_EQ(v31->parent, "Theme.Material3.DayNight");
}

TEST_F(AndroidSplash, aThemeGivenByName_isTheLaunchScreensOwn_andItsWindowBackgroundIsSet)
{
    write(scratch / "app/src/main/AndroidManifest.xml", nativeManifest);
    write(res / "values/themes.xml", nativeThemes);
    ASSERT_EQ(splash({"--theme", "Theme.App"}).exitCode, 0);
    const std::optional<StyleDefinition> base = styleIn(test::readBytes(res / "values/themes.xml"), "Theme.App");
    ASSERT_TRUE(base);
    EXPECT_EQ(base->items, (StyleItems{{"android:windowBackground", "@drawable/launch_background"}}));
}

TEST_F(AndroidSplash, aManifestThatNamesNoTheme_isRefused_andNothingIsWritten)
{
    test::writeBytes(
        scratch / "app/src/main/AndroidManifest.xml",
        "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\"><application/></manifest>");
    write(res / "values/styles.xml", flutterStyles);
    const test::ProgramRun run = splash();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QLatin1String("theme"))) << run.err.toStdString();
    EXPECT_FALSE(fs::exists(res / "values-v31"));
    EXPECT_FALSE(fs::exists(res / "drawable-mdpi"));
}

TEST_P(AndroidSplashCircle, noArtPixelLiesOutsideTheCircleThatShows)
{
    const CircleRow& row = GetParam();
    flutterLayout();
    // A full-bleed opaque square: the art that reaches every corner, the worst case for the circle.
    QStringList more;
    if (row.onBackground)
        more << "--icon-background"
             << "#ffffff";
    ASSERT_EQ(splash(more).exitCode, 0);
    const QImage icon = test::decodeFile(res / ("drawable-" + std::string(row.density)) / "splash_icon.png")
                            .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(row.canvas, row.canvas));
    const double radius = row.circle / 2.0, centre = row.canvas / 2.0;
    int outside = 0, art = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(icon.pixel(x, y)) == 0)
                continue;
            ++art;
            // A pixel is outside when its nearest corner is.
            const double dx = std::max(0.0, std::abs(x + 0.5 - centre) - 0.5);
            const double dy = std::max(0.0, std::abs(y + 0.5 - centre) - 0.5);
            if (std::hypot(dx, dy) > radius)
                ++outside;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(art, row.circle * row.circle / 3) << "the art fills the square inside the circle";
}

INSTANTIATE_TEST_SUITE_P(Densities, AndroidSplashCircle, ::testing::ValuesIn(circleRows),
                         [](const ::testing::TestParamInfo<CircleRow>& info) { return info.param.name; });

TEST_F(AndroidSplash, checkPassesWhatSplashWrote_andFindsADrawableTheThemeNamesGone_andABrokenPng)
{
    flutterLayout();
    ASSERT_EQ(splash({"--dark-background", "#101010"}).exitCode, 0);
    // The launcher icon's target checks the same res folder: each finding is still said once.
    test::writeBytes(scratch / "quorva.toml",
                     "source = \"art.png\"\n\n[splash]\nres = \"app/src/main/res\"\n\n"
                     "[android]\nres = \"app/src/main/res\"\n");
    const test::ProgramRun clean = test::runCliIn(scratch.root, {"check"});
    EXPECT_EQ(clean.exitCode, 0) << clean.out.toStdString() << clean.err.toStdString();

    test::writeBytes(res / "drawable-hdpi/splash_image.png", "not a png");
    for (const char* density : {"mdpi", "hdpi", "xhdpi", "xxhdpi", "xxxhdpi"})
        fs::remove(res / ("drawable-" + std::string(density)) / "splash_icon.png");
    const test::ProgramRun spoilt = test::runCliIn(scratch.root, {"check"});
    EXPECT_EQ(spoilt.exitCode, 1);
    EXPECT_TRUE(spoilt.out.contains(QLatin1String("values-v31/styles.xml"))
                && spoilt.out.contains(QLatin1String("@drawable/splash_icon")))
        << spoilt.out.toStdString();
    EXPECT_EQ(spoilt.out.count(QLatin1String("drawable-hdpi/splash_image.png")), 1) << spoilt.out.toStdString();
}

// aapt of Debian's Android 10 framework: the Android 12 attributes are unknown to it, and are all
// it refuses; without the values-v31 folders the same res packages whole.
TEST_F(AndroidSplash, aaptPackagesIt_butForAndroid12sAttributes_whichItsAndroid10FrameworkLacks)
{
    const char* framework = "/usr/share/android-framework-res/framework-res.apk";
    if (QStandardPaths::findExecutable(QStringLiteral("aapt")).isEmpty() || !fs::exists(framework))
        GTEST_SKIP() << "aapt and android-framework-res are not installed";
    flutterLayout();
    const QString dark = scratch.savePng("dark.png", test::solidImage(600, 600, qRgb(240, 240, 240)));
    ASSERT_EQ(splash(
                  {"--dark", dark, "--dark-background", "#202020", "--icon-background", "#ffffff", "--branding", art})
                  .exitCode,
              0);
    const auto package = [&](const fs::path& folder) {
        return test::runProgram(QStringLiteral("aapt"),
                                {"package", "-f", "-M", test::str(scratch / "app/src/main/AndroidManifest.xml"), "-S",
                                 test::str(folder), "-I", framework, "-F", test::str(scratch / "app.apk")});
    };
    const test::ProgramRun whole = package(res);
    int refused = 0;
    for (const QString& line : whole.err.split(QLatin1Char('\n'))) {
        if (!line.contains(QLatin1String("error")))
            continue;
        ++refused;
        EXPECT_TRUE(line.contains(QLatin1String("attr 'android:windowSplashScreen"))) << line.toStdString();
    }
    EXPECT_GT(refused, 0) << "Android 10's framework has no windowSplashScreen attributes";
    const fs::path older = scratch / "older-res";
    fs::copy(res, older, fs::copy_options::recursive);
    fs::remove_all(older / "values-v31");
    fs::remove_all(older / "values-night-v31");
    const test::ProgramRun rest = package(older);
    EXPECT_EQ(rest.exitCode, 0) << rest.err.toStdString();
}

// Capacitor's: the launch theme the compat library's, and its full-screen splash.png.
const QByteArray capacitorStyles = "<resources>\n"
                                   "    <style name=\"AppTheme.NoActionBarLaunch\" parent=\"Theme.SplashScreen\">\n"
                                   "        <item name=\"android:background\">@drawable/splash</item>\n"
                                   "    </style>\n"
                                   "</resources>\n";

TEST_F(AndroidSplash, aCompatLibraryTheme_getsItsUnprefixedItemsInValues_andNoWindowBackgroundOfItsOwn)
{
    write(scratch / "app/src/main/AndroidManifest.xml",
          QByteArray(flutterManifest).replace("@style/LaunchTheme", "@style/AppTheme.NoActionBarLaunch"));
    write(res / "values/styles.xml", capacitorStyles);
    ASSERT_EQ(splash({"--background", "#102030"}).exitCode, 0);
    const QByteArray values = test::readBytes(res / "values/styles.xml");
    const std::optional<StyleDefinition> theme = styleIn(values, "AppTheme.NoActionBarLaunch");
    ASSERT_TRUE(theme);
    const StyleItems expected = {{"android:background", "@drawable/splash"},
                                 {"windowSplashScreenBackground", "#102030"},
                                 {"windowSplashScreenAnimatedIcon", "@drawable/splash_icon"}};
    EXPECT_EQ(theme->items, expected);
    EXPECT_EQ(theme->parent, QStringLiteral("Theme.SplashScreen"));
    EXPECT_FALSE(fs::exists(res / "values-v31")) << "the compat library gives Android 12 the same items";
    EXPECT_FALSE(fs::exists(res / "drawable/launch_background.xml"));
    EXPECT_FALSE(fs::exists(res / "drawable-mdpi/splash_image.png"));
    EXPECT_TRUE(fs::exists(res / "drawable-xxxhdpi/splash_icon.png"));
}

TEST_F(AndroidSplash, aCompatThemesBrandingImage_isThePlatformsItemInValuesV31_withTheCompatItemsThere)
{
    write(scratch / "app/src/main/AndroidManifest.xml",
          QByteArray(flutterManifest).replace("@style/LaunchTheme", "@style/Theme.App.Starting"));
    // Inherited by its dotted name, from a theme of the compat library's.
    write(res / "values/styles.xml",
          "<resources>\n    <style name=\"Theme.App\" parent=\"Theme.SplashScreen\"/>\n"
          "    <style name=\"Theme.App.Starting\"/>\n</resources>\n");
    const QString branding = scratch.savePng("brand.png", test::solidImage(400, 100, qRgb(1, 2, 3)));
    ASSERT_EQ(splash({"--branding", branding}).exitCode, 0);
    const std::optional<StyleDefinition> v31
        = styleIn(test::readBytes(res / "values-v31/styles.xml"), "Theme.App.Starting");
    ASSERT_TRUE(v31);
    const StyleItems expected = {{"windowSplashScreenBackground", "#ffffff"},
                                 {"windowSplashScreenAnimatedIcon", "@drawable/splash_icon"},
                                 {"android:windowSplashScreenBrandingImage", "@drawable/splash_branding"}};
    EXPECT_EQ(v31->items, expected);
    const std::optional<StyleDefinition> values
        = styleIn(test::readBytes(res / "values/styles.xml"), "Theme.App.Starting");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->items.size(), 2u) << "the compat library has no branding item";
}

TEST_F(AndroidSplash, capacitorsFullScreenSplash_isWrittenAtEachOfItsSizes_withNightTwinsForTheDark)
{
    write(scratch / "app/src/main/AndroidManifest.xml",
          QByteArray(flutterManifest).replace("@style/LaunchTheme", "@style/AppTheme.NoActionBarLaunch"));
    write(res / "values/styles.xml", capacitorStyles);
    fs::create_directories(res / "drawable");
    test::savePngTo(res / "drawable/splash.png", test::solidImage(320, 480, qRgb(0, 0, 0)));
    ASSERT_EQ(splash({"--background", "#0000ff", "--dark-background", "#000000"}).exitCode, 0);
    // Capacitor's assets tool's sizes: portrait, and landscape turned a quarter.
    const std::pair<const char*, QSize> sizes[] = {
        {"drawable", {320, 480}},
        {"drawable-port-ldpi", {240, 320}},
        {"drawable-port-mdpi", {320, 480}},
        {"drawable-port-hdpi", {480, 800}},
        {"drawable-port-xhdpi", {720, 1280}},
        {"drawable-port-xxhdpi", {960, 1600}},
        {"drawable-port-xxxhdpi", {1280, 1920}},
        {"drawable-land-ldpi", {320, 240}},
        {"drawable-land-xxxhdpi", {1920, 1280}},
        {"drawable-night", {320, 480}},
        {"drawable-port-night-xhdpi", {720, 1280}},
        {"drawable-land-night-hdpi", {800, 480}},
    };
    for (const auto& [folder, size] : sizes) {
        const QImage splash = test::decodeFile(res / folder / "splash.png");
        ASSERT_EQ(splash.size(), size) << folder;
        const bool night = std::string(folder).find("night") != std::string::npos;
        EXPECT_EQ(splash.pixel(0, 0), night ? qRgb(0, 0, 0) : qRgb(0, 0, 255)) << folder;
        EXPECT_EQ(splash.pixel(size.width() / 2, size.height() / 2), qRgb(200, 30, 30))
            << folder << ": the art centred";
    }
}

// The rectangle of an image's pixels that are not wholly transparent.
QRect artBounds(const QImage& image)
{
    QRect bounds;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST_F(AndroidSplash, theArtsSizeInDp_isItsSideAtEveryDensity_andArtPastTheCircleIsRefused)
{
    flutterLayout();
    ASSERT_EQ(splash({"--size", "96"}).exitCode, 0);
    const QImage icon = test::decodeFile(res / "drawable-xhdpi/splash_icon.png");
    ASSERT_EQ(icon.size(), QSize(576, 576));
    // 96 dp at twice mdpi, 192 px, less the pixel each way that resampling spreads the edge into.
    const QRect art = artBounds(icon);
    EXPECT_TRUE(art.width() >= 189 && art.width() <= 192 && art.height() == art.width()) << art.width();
    EXPECT_NEAR(art.center().x(), 288, 1);
    EXPECT_NEAR(art.center().y(), 288, 1);
    EXPECT_EQ(test::decodeFile(res / "drawable-hdpi/splash_image.png").size(), QSize(144, 144));

    const test::ProgramRun past = splash({"--size", "180", "--icon-background", "#ffffff"});
    EXPECT_NE(past.exitCode, 0);
    EXPECT_TRUE(past.err.contains("160 dp circle")) << past.err.toStdString();
}

TEST_F(AndroidSplash, checkWarnsOfAnIconTheDeviceStretchesOrCuts_andADarkDrawableNothingNames_andFailsAMissingColour)
{
    flutterLayout();
    ASSERT_EQ(splash().exitCode, 0);
    test::writeBytes(scratch / "quorva.toml", "source = \"art.png\"\n\n[splash]\nres = \"app/src/main/res\"\n");
    ASSERT_EQ(test::runCliIn(scratch.root, {"check", "--strict"}).exitCode, 0);

    test::savePngTo(res / "drawable-xxhdpi/splash_icon.png", test::solidImage(864, 600, qRgb(1, 2, 3)));
    // Opaque to its corners: past the 192 dp circle of the 288 dp icon.
    test::savePngTo(res / "drawable-xhdpi/splash_icon.png", test::solidImage(576, 576, qRgb(1, 2, 3)));
    write(res / "drawable-night-mdpi/splash_branding.png", test::readBytes(res / "drawable-mdpi/splash_icon.png"));
    const test::ProgramRun warned = test::runCliIn(scratch.root, {"check"});
    EXPECT_EQ(warned.exitCode, 0) << "the build takes them: " << warned.out.toStdString();
    for (const char* rule : {"splash-icon-square", "splash-icon-circle", "unused-dark-variant"})
        EXPECT_EQ(warned.out.count(QLatin1String(rule)), 1) << rule << "\n" << warned.out.toStdString();
    EXPECT_TRUE(warned.out.contains("drawable-xhdpi/splash_icon.png")) << warned.out.toStdString();

    const fs::path v31 = res / "values-v31/styles.xml";
    QByteArray styles = test::readBytes(v31);
    styles.replace("#ffffff", "@color/splash_background");
    test::writeBytes(v31, styles);
    const test::ProgramRun failed = test::runCliIn(scratch.root, {"check"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.out.contains("@color/splash_background")) << failed.out.toStdString();
}
