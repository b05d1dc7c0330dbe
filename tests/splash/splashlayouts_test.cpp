// quorva-cli splash SOURCE PROJECT on a project's folder, laid out as Flutter's, Capacitor's,
// React Native's and a native Android app's keep their launch screens: each finds its places,
// every drawable a theme names is there, the dark screen is written and named, and aapt packages
// what the platform's own attributes don't need a newer framework for.
#include "../project/projectlayouts.h"

#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

void makeProjectNamed(const char* name, const fs::path& root)
{
    test::makeProject(test::ProjectLayout{name, {}, ""}, root);
}

QByteArray launcherActivity(const char* theme, const char* applicationTheme = "")
{
    return QByteArray("<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" "
                      "package=\"org.example.demo\">\n  <application android:label=\"demo\"")
        + (*applicationTheme ? QByteArray(" android:theme=\"@style/") + applicationTheme + "\"" : QByteArray())
        + ">\n    <activity android:name=\".MainActivity\""
        + (*theme ? QByteArray(" android:theme=\"@style/") + theme + "\"" : QByteArray())
        + ">\n      <intent-filter>\n        <action android:name=\"android.intent.action.MAIN\"/>\n"
          "        <category android:name=\"android.intent.category.LAUNCHER\"/>\n      </intent-filter>\n"
          "    </activity>\n  </application>\n</manifest>\n";
}

QByteArray layoutStoryboard(const char* image)
{
    return QByteArray("<document type=\"com.apple.InterfaceBuilder3.CocoaTouch.Storyboard.XIB\"><scenes><scene>")
        + (*image ? QByteArray("<imageView image=\"") + image + "\" id=\"a\"/>" : QByteArray())
        + "</scene></scenes></document>\n";
}

const QByteArray layoutPlist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                               "\t<key>UILaunchStoryboardName</key>\n\t<string>LaunchScreen</string>\n</dict>\n"
                               "</plist>\n";

void iosTarget(const fs::path& target, const char* shown)
{
    test::writeFile(target / "Info.plist", layoutPlist);
    test::writeFile(target / "Base.lproj/LaunchScreen.storyboard", layoutStoryboard(shown));
}

struct LayoutRow {
    const char* name;
    std::string res;     // below the project
    std::string catalog; // below the project; empty for none
    bool compat;         // its launch theme is the compat library's
    const char* iosSet;  // the set its launch screen shows
    void (*make)(const fs::path&);
};

void flutter(const fs::path& root)
{
    makeProjectNamed("flutter", root);
    const fs::path res = root / "android/app/src/main/res";
    test::writeFile(root / "android/app/src/main/AndroidManifest.xml", launcherActivity("LaunchTheme"));
    const QByteArray styles = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<resources>\n"
                              "    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
                              "        <item name=\"android:windowBackground\">@drawable/launch_background</item>\n"
                              "    </style>\n"
                              "    <style name=\"NormalTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
                              "        <item name=\"android:windowBackground\">?android:colorBackground</item>\n"
                              "    </style>\n</resources>\n";
    test::writeFile(res / "values/styles.xml", styles);
    test::writeFile(res / "values-night/styles.xml",
                    QByteArray(styles).replace("Theme.Light.NoTitleBar", "Theme.Black.NoTitleBar"));
    test::writeFile(res / "drawable/launch_background.xml",
                    "<layer-list xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                    "    <item android:drawable=\"@android:color/white\" />\n</layer-list>\n");
    iosTarget(root / "ios/Runner", "LaunchImage");
}

void capacitor(const fs::path& root)
{
    makeProjectNamed("capacitor", root);
    const fs::path res = root / "android/app/src/main/res";
    test::writeFile(root / "android/app/build.gradle",
                    "plugins {\n    id \"com.android.application\"\n}\ndependencies {\n"
                    "    implementation \"androidx.core:core-splashscreen:1.0.1\"\n}\n");
    test::writeFile(root / "android/app/src/main/AndroidManifest.xml",
                    launcherActivity("AppTheme.NoActionBarLaunch", "AppTheme"));
    test::writeFile(res / "values/styles.xml",
                    "<resources>\n    <style name=\"AppTheme\" parent=\"Theme.AppCompat.Light.DarkActionBar\"/>\n"
                    "    <style name=\"AppTheme.NoActionBarLaunch\" parent=\"Theme.SplashScreen\">\n"
                    "        <item name=\"android:background\">@drawable/splash</item>\n    </style>\n</resources>\n");
    fs::create_directories(res / "drawable");
    test::savePngTo(res / "drawable/splash.png", test::solidImage(320, 480, qRgb(255, 255, 255)));
    iosTarget(root / "ios/App/App", "Splash");
    test::writeFile(root / "ios/App/App/Assets.xcassets/Splash.imageset/Contents.json",
                    "{\"images\":[],\"info\":{\"author\":\"xcode\",\"version\":1}}");
}

void reactNative(const fs::path& root)
{
    makeProjectNamed("reactNative", root);
    test::writeFile(root / "android/app/src/main/AndroidManifest.xml", launcherActivity("", "AppTheme"));
    test::writeFile(root / "android/app/src/main/res/values/styles.xml",
                    "<resources>\n    <style name=\"AppTheme\" parent=\"android:Theme.Material.Light.NoActionBar\">\n"
                    "        <item name=\"android:editTextBackground\">@drawable/rn_edit_text_material</item>\n"
                    "    </style>\n</resources>\n");
    test::writeFile(root / "android/app/src/main/res/drawable/rn_edit_text_material.xml",
                    "<inset xmlns:android=\"http://schemas.android.com/apk/res/android\" "
                    "android:drawable=\"@android:color/transparent\"/>\n");
    iosTarget(root / "ios/Demo", "");
}

// A native app: Gradle's project at the root, the theme in themes.xml, named by the application.
void nativeAndroid(const fs::path& root)
{
    test::gradleApp(root, "android:icon=\"@mipmap/ic_launcher\"");
    test::writeFile(root / "app/src/main/AndroidManifest.xml", launcherActivity("", "Theme.Demo"));
    test::writeFile(
        root / "app/src/main/res/values/themes.xml",
        "<resources>\n    <style name=\"Theme.Demo\" parent=\"android:Theme.Material.Light.NoActionBar\" />\n"
        "</resources>\n");
}

const LayoutRow layoutRows[] = {
    {"flutter", "android/app/src/main/res", "ios/Runner/Assets.xcassets", false, "LaunchImage", flutter},
    {"capacitor", "android/app/src/main/res", "ios/App/App/Assets.xcassets", true, "Splash", capacitor},
    {"reactNative", "android/app/src/main/res", "ios/Demo/Images.xcassets", false, "LaunchImage", reactNative},
    {"nativeAndroid", "app/src/main/res", "", false, "", nativeAndroid},
};

void PrintTo(const LayoutRow& row, std::ostream* out)
{
    *out << row.name;
}

class SplashLayouts : public ::testing::TestWithParam<LayoutRow> {
protected:
    test::Scratch scratch;
};

// The drawables the res folder's values and drawable XML name: "splash_icon" for @drawable/splash_icon.
QStringList drawablesNamed(const fs::path& res)
{
    static const QRegularExpression named(QStringLiteral("@drawable/([a-z0-9_]+)"));
    QStringList names;
    for (const auto& entry : fs::recursive_directory_iterator(res))
        if (entry.path().extension() == ".xml")
            for (auto match = named.globalMatch(QString::fromUtf8(test::readBytes(entry.path()))); match.hasNext();)
                names << match.next().captured(1);
    names.removeDuplicates();
    return names;
}

bool drawableExists(const fs::path& res, const QString& name)
{
    for (const auto& folder : fs::directory_iterator(res))
        if (folder.path().filename().string().starts_with("drawable"))
            for (const char* extension : {".png", ".xml", ".webp"})
                if (fs::exists(folder.path() / (name.toStdString() + extension)))
                    return true;
    return false;
}

} // namespace

TEST_P(SplashLayouts, aProjectsFolder_getsEveryLaunchScreen_eachDrawableItsThemesName_andTheDarkOne)
{
    const LayoutRow& row = GetParam();
    row.make(scratch.root);
    test::logo(scratch / "art/splash.png", qRgb(200, 30, 30));
    const test::ProgramRun run
        = test::runCliIn(scratch.root,
                         {"splash", "art/splash.png", ".", "--background", "#fafafa", "--dark-background", "#101010"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const fs::path res = scratch / row.res;
    for (const QString& name : drawablesNamed(res))
        EXPECT_TRUE(drawableExists(res, name)) << name.toStdString();
    // The dark screen, written and named where the dark looks.
    const fs::path night = res / (row.compat ? "values-night" : "values-night-v31");
    ASSERT_TRUE(fs::exists(night)) << night;
    bool named = false;
    for (const auto& file : fs::directory_iterator(night))
        named = named || test::readBytes(file.path()).contains("#101010");
    EXPECT_TRUE(named);
    if (row.catalog.empty())
        return;
    const fs::path set = scratch / row.catalog / (std::string(row.iosSet) + ".imageset");
    const QByteArray contents = test::readBytes(set / "Contents.json");
    EXPECT_TRUE(contents.contains("\"dark\"") == (std::string(row.iosSet) == "Splash"))
        << "a dark image where the screen's art is a full screen's";
    if (std::string(row.iosSet) == "LaunchImage") {
        EXPECT_TRUE(
            test::readBytes(scratch / row.catalog / "LaunchBackground.colorset/Contents.json").contains("\"dark\""));
    }
}

// Debian's aapt knows Android 10's framework: the themes and drawables package, but for Android
// 12's own attributes (values-v31) and the compat library's, whose definitions its library holds.
TEST_P(SplashLayouts, aaptPackagesTheRes_butWhatANewerFrameworkOrTheCompatLibraryDefines)
{
    const char* framework = "/usr/share/android-framework-res/framework-res.apk";
    if (QStandardPaths::findExecutable(QStringLiteral("aapt")).isEmpty() || !fs::exists(framework))
        GTEST_SKIP() << "aapt and android-framework-res are not installed";
    const LayoutRow& row = GetParam();
    if (row.compat)
        GTEST_SKIP() << "the compat library's attributes are its own";
    row.make(scratch.root);
    test::logo(scratch / "art/splash.png", qRgb(200, 30, 30));
    ASSERT_EQ(test::runCliIn(scratch.root, {"splash", "art/splash.png", ".", "--dark-background", "#101010"}).exitCode,
              0);
    const fs::path res = scratch / row.res;
    for (const char* folder : {"values-v31", "values-night-v31"})
        fs::remove_all(res / folder);
    const fs::path manifest = res.parent_path() / "AndroidManifest.xml";
    const test::ProgramRun packaged
        = test::runProgram(QStringLiteral("aapt"),
                           {"package", "-f", "-M", test::str(manifest), "-S", test::str(res), "-I", framework, "-F",
                            test::str(scratch / "app.apk")});
    EXPECT_EQ(packaged.exitCode, 0) << packaged.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Layouts, SplashLayouts, ::testing::ValuesIn(layoutRows),
                         [](const ::testing::TestParamInfo<LayoutRow>& info) { return info.param.name; });
