// init reads a launch screen tool's settings into [splash], each key with an equal, and names the
// keys without one; sync then writes each flavor's screen into its own source set, and check
// finds nothing to refuse in what it wrote.
#include "projectlayouts.h"

#include "project/projectconfig.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

// A Flutter app whose launch theme is its LaunchTheme, as flutter create makes it.
fs::path flutterApp(test::Scratch& scratch, const QByteArray& pubspecSection)
{
    const fs::path root = scratch / "app";
    test::makeProject(test::ProjectLayout{"flutter", {}, ""}, root);
    test::writeFile(root / "pubspec.yaml", test::readBytes(root / "pubspec.yaml") + pubspecSection);
    const fs::path main = root / "android/app/src/main";
    test::writeFile(main / "AndroidManifest.xml",
                    "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                    "  <application android:label=\"demo\" android:icon=\"@mipmap/ic_launcher\">\n"
                    "    <activity android:name=\".MainActivity\" android:theme=\"@style/LaunchTheme\">\n"
                    "      <intent-filter><action android:name=\"android.intent.action.MAIN\"/>\n"
                    "        <category android:name=\"android.intent.category.LAUNCHER\"/></intent-filter>\n"
                    "    </activity>\n  </application>\n</manifest>\n");
    test::writeFile(main / "res/values/styles.xml",
                    "<resources>\n    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
                    "        <item name=\"android:windowBackground\">@drawable/launch_background</item>\n"
                    "    </style>\n</resources>\n");
    test::writeFile(root / "ios/Runner/Base.lproj/LaunchScreen.storyboard",
                    "<document><imageView image=\"LaunchImage\" id=\"a\"/></document>\n");
    test::logo(root / "assets/splash.png", qRgb(200, 30, 30));
    test::logo(root / "assets/splash-dark.png", qRgb(240, 240, 240));
    return root;
}

ConfigTable tableOf(const fs::path& root, const std::optional<QString>& flavor = std::nullopt)
{
    const ReadProjectConfig read = readProjectConfig(test::readBytes(root / "quorva.toml"), root);
    EXPECT_TRUE(read.config) << read.errors.join('\n').toStdString();
    if (!read.config)
        return {};
    const TargetKind splash{"splash"};
    if (flavor) {
        const auto found = read.config->flavors.find(*flavor);
        return found == read.config->flavors.end() || !found->second.targets.count(splash)
            ? ConfigTable{}
            : found->second.targets.at(splash);
    }
    return read.config->targets.count(splash) ? read.config->targets.at(splash) : ConfigTable{};
}

QString text(const ConfigTable& table, const char* key)
{
    const auto found = table.find(QLatin1String(key));
    return found == table.end() ? QString() : found->second.text();
}

} // namespace

TEST(LaunchScreenImport, flutterNativeSplashsKeys_eachTakeTheirEqual_andTheOthersAreNamed)
{
    test::Scratch scratch;
    const fs::path root = flutterApp(scratch,
                                     "flutter_native_splash:\n"
                                     "  color: \"#123456\"\n"
                                     "  image: assets/splash.png\n"
                                     "  color_dark: \"#101010\"\n"
                                     "  image_dark: assets/splash-dark.png\n"
                                     "  android_gravity: center\n"
                                     "  fullscreen: true\n"
                                     "  web: false\n"
                                     "  android_12:\n"
                                     "    image: assets/splash.png\n"
                                     "    icon_background_color: \"#ffffff\"\n"
                                     "    color: \"#654321\"\n");
    const test::ProgramRun init = test::runCliIn(root, {"init", "--source", "assets/icon.png"});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(init.out.contains("imported flutter_native_splash from pubspec.yaml")) << init.out.toStdString();
    EXPECT_TRUE(init.out.contains("no equal in Quorva for flutter_native_splash's fullscreen, android_12.color"))
        << init.out.toStdString();
    const ConfigTable splash = tableOf(root);
    EXPECT_EQ(text(splash, "source"), QStringLiteral("assets/splash.png"));
    EXPECT_EQ(text(splash, "background"), QStringLiteral("#123456"));
    EXPECT_EQ(text(splash, "dark"), QStringLiteral("assets/splash-dark.png"));
    EXPECT_EQ(text(splash, "dark-background"), QStringLiteral("#101010"));
    EXPECT_EQ(text(splash, "icon-background"), QStringLiteral("#ffffff"));
    EXPECT_EQ(text(splash, "res"), QStringLiteral("android/app/src/main/res"));
    EXPECT_EQ(text(splash, "catalog"), QStringLiteral("ios/Runner/Assets.xcassets"));

    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    ASSERT_EQ(sync.exitCode, 0) << sync.out.toStdString() << sync.err.toStdString();
    EXPECT_TRUE(test::readBytes(root / "android/app/src/main/res/values-night-v31/styles.xml").contains("#101010"));
    EXPECT_TRUE(fs::exists(root / "ios/Runner/Assets.xcassets/LaunchImage.imageset/LaunchImageDark@3x.png"));
    EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0);
    const test::ProgramRun check = test::runCliIn(root, {"check"});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
}

TEST(LaunchScreenImport, eachFlavorsOwnSettings_areItsOwnScreen_inItsOwnSourceSet)
{
    test::Scratch scratch;
    const fs::path root = flutterApp(scratch,
                                     "flutter_native_splash:\n  color: \"#123456\"\n"
                                     "  image: assets/splash.png\n");
    test::writeFile(root / "flutter_native_splash-dev.yaml",
                    "flutter_native_splash:\n  color: \"#00ff00\"\n  image: assets/splash.png\n");
    ASSERT_EQ(test::runCliIn(root, {"init", "--source", "assets/icon.png"}).exitCode, 0);
    EXPECT_EQ(text(tableOf(root, QStringLiteral("dev")), "background"), QStringLiteral("#00ff00"));
    EXPECT_FALSE(tableOf(root, QStringLiteral("dev")).count(QStringLiteral("source"))) << "only what differs";
    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    ASSERT_EQ(sync.exitCode, 0) << sync.out.toStdString() << sync.err.toStdString();
    const fs::path android = root / "android/app/src";
    EXPECT_TRUE(test::readBytes(android / "main/res/values-v31/styles.xml").contains("#123456"));
    const QByteArray dev = test::readBytes(android / "dev/res/values-v31/styles.xml");
    EXPECT_TRUE(dev.contains("#00ff00")) << dev.toStdString();
    // The flavor's own theme, whole: its parent and window background as main's, so that it stands
    // in main's place in the dev build.
    const QByteArray devValues = test::readBytes(android / "dev/res/values/styles.xml");
    EXPECT_TRUE(devValues.contains("parent=\"@android:style/Theme.Light.NoTitleBar\"")) << devValues.toStdString();
    EXPECT_TRUE(fs::exists(android / "dev/res/drawable-xxxhdpi/splash_icon.png"));
    EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0);
}

TEST(LaunchScreenImport, exposSplash_andItsPluginsOptions_takeTheirEqual_andWithoutNativeFoldersAreLeftOut)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::writeFile(root / "package.json", "{\"name\": \"demo\", \"dependencies\": {\"expo\": \"52.0.0\"}}\n");
    test::writeFile(root / "app.json",
                    "{\"expo\": {\"icon\": \"./assets/icon.png\",\n"
                    "  \"splash\": {\"image\": \"./assets/splash.png\", \"backgroundColor\": \"#224466\",\n"
                    "             \"resizeMode\": \"cover\"},\n"
                    "  \"plugins\": [[\"expo-splash-screen\", {\"imageWidth\": 120,\n"
                    "                 \"dark\": {\"image\": \"./assets/splash-dark.png\", \"backgroundColor\": "
                    "\"#000000\"}}]]}}\n");
    test::logo(root / "assets/icon.png", qRgb(1, 2, 3));
    test::logo(root / "assets/splash.png", qRgb(200, 30, 30));
    test::logo(root / "assets/splash-dark.png", qRgb(240, 240, 240));
    const test::ProgramRun init = test::runCliIn(root, {"init", "--source", "assets/icon.png"});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_FALSE(init.out.contains("not found splash")) << init.out.toStdString();
    EXPECT_TRUE(init.out.contains("no equal in Quorva for Expo's splash's splash.resizeMode"))
        << init.out.toStdString();
    const QByteArray toml = test::readBytes(root / "quorva.toml");
    EXPECT_TRUE(toml.contains("# [splash]")) << toml.toStdString();
    EXPECT_TRUE(toml.contains("expo prebuild makes the launch screens")) << toml.toStdString();

    // Where prebuild's output is kept, the launch screen goes into it.
    test::gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\"");
    test::writeFile(root / "android/app/src/main/AndroidManifest.xml",
                    "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                    "  <application android:theme=\"@style/AppTheme\"/>\n</manifest>\n");
    test::writeFile(root / "android/app/src/main/res/values/styles.xml",
                    "<resources>\n  <style name=\"AppTheme\" parent=\"Theme.SplashScreen\"/>\n</resources>\n");
    fs::remove(root / "quorva.toml");
    ASSERT_EQ(test::runCliIn(root, {"init", "--source", "assets/icon.png"}).exitCode, 0);
    const ConfigTable splash = tableOf(root);
    EXPECT_EQ(text(splash, "source"), QStringLiteral("./assets/splash.png"));
    EXPECT_EQ(text(splash, "background"), QStringLiteral("#224466"));
    EXPECT_EQ(text(splash, "dark"), QStringLiteral("./assets/splash-dark.png"));
    EXPECT_EQ(text(splash, "dark-background"), QStringLiteral("#000000"));
    ASSERT_TRUE(splash.count(QStringLiteral("size")));
    EXPECT_TRUE(splash.at(QStringLiteral("size")).sameValue(ConfigValue{120.0, 0}));
    EXPECT_EQ(text(splash, "res"), QStringLiteral("android/app/src/main/res"));
}
