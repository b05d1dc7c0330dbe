// init reads what a project's icons have, and sync keeps it: the themed layer, the background
// colour from whichever values file defines it, WebP files, the application's icon among its
// aliases', an icon tool's leftovers replaced; an app icon set's single size with its dark and
// tinted icons, its other platforms' slots, CarPlay's said to go; an Icon Composer design.
#include "projectlayouts.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

const QByteArray adaptive = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<adaptive-icon "
                            "xmlns:android=\"http://schemas.android.com/apk/res/android\">\n"
                            "  <background android:drawable=\"@color/ic_launcher_background\"/>\n"
                            "  <foreground android:drawable=\"@drawable/ic_launcher_foreground\"/>\n"
                            "  <monochrome android:drawable=\"@drawable/ic_launcher_foreground\"/>\n"
                            "</adaptive-icon>\n";

// init and sync as a user types them, then the checks a CI runs; what init and sync said.
struct Synced {
    test::ProgramRun init, sync;
};
Synced initAndSync(const fs::path& root)
{
    const test::ProgramRun init = test::runCliIn(root, {"init", "--source", "logo.png"});
    EXPECT_EQ(init.exitCode, 0) << init.err.toStdString();
    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    EXPECT_EQ(sync.exitCode, 0) << init.out.toStdString() << sync.out.toStdString() << sync.err.toStdString();
    EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0);
    const test::ProgramRun check = test::runCliIn(root, {"check"});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
    return {init, sync};
}

QByteArray contentsOf(const QByteArray& entries)
{
    return "{\"images\":[" + entries + "],\"info\":{\"author\":\"xcode\",\"version\":1}}\n";
}

} // namespace

TEST(InitImports, aLauncherIconsThemedLayerAndColour_areKept_theColourAsItIsWritten)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app", res = root / "android/app/src/main/res";
    test::gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\"");
    test::logo(root / "logo.png", qRgb(42, 76, 125));
    test::writeFile(res / "mipmap-anydpi-v26/ic_launcher.xml", adaptive);
    test::writeFile(res / "drawable/ic_launcher_foreground.xml", "<vector/>\n");
    const QByteArray colours = "<resources>\n  <color name=\"brand\">#000000</color>\n"
                               "  <color name=\"ic_launcher_background\">#2a4c7d</color>\n</resources>";
    test::writeFile(res / "values/colors.xml", colours);
    const test::ProgramRun init = initAndSync(root).init;
    EXPECT_TRUE(init.out.contains("android: monochrome = true")) << init.out.toStdString();
    EXPECT_TRUE(test::readBytes(root / "quorva.toml").contains("background = \"#2a4c7d\""));
    EXPECT_EQ(test::readBytes(res / "values/colors.xml"), colours);
    EXPECT_TRUE(test::readBytes(res / "mipmap-anydpi-v26/ic_launcher.xml").contains("<monochrome"));
    EXPECT_TRUE(fs::exists(res / "mipmap-xxxhdpi/ic_launcher_monochrome.png"));
    // The project's lock keeps the list of what sync wrote: nothing hidden in res.
    for (const QString& file : test::filesBelow(res))
        EXPECT_FALSE(file.section('/', -1).startsWith('.')) << file.toStdString();
}

TEST(InitImports, anIconInWebp_amongItsAliasesAlternates_isWrittenAsWebp_andTheAliasesLeftAlone)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app", res = root / "android/app/src/main/res";
    test::gradleApp(root / "android",
                    "android:icon=\"@mipmap/ic_launcher\">\n<activity-alias android:name=\".Dark\" "
                    "android:icon=\"@mipmap/dark\" android:targetActivity=\".Main\"/></application><application");
    test::logo(root / "logo.png", qRgb(30, 30, 200));
    QImage old(192, 192, QImage::Format_ARGB32);
    old.fill(qRgb(90, 90, 90));
    fs::create_directories(res / "mipmap-xxxhdpi");
    for (const char* name : {"ic_launcher", "dark"})
        ASSERT_TRUE(old.save(test::str(res / "mipmap-xxxhdpi" / (std::string(name) + ".webp")), "webp", 100));
    const QByteArray alias = test::readBytes(res / "mipmap-xxxhdpi/dark.webp");
    initAndSync(root);
    const QByteArray toml = test::readBytes(root / "quorva.toml");
    EXPECT_TRUE(toml.contains("name = \"ic_launcher\"") && toml.contains("format = \"webp\"")) << toml.toStdString();
    EXPECT_EQ(test::decodeFile(res / "mipmap-xxxhdpi/ic_launcher.webp").size(), QSize(192, 192));
    EXPECT_FALSE(fs::exists(res / "mipmap-xxxhdpi/ic_launcher.png"));
    EXPECT_EQ(test::readBytes(res / "mipmap-xxxhdpi/dark.webp"), alias);
    if (QStandardPaths::findExecutable(QStringLiteral("aapt")).isEmpty())
        return;
    const test::ProgramRun aapt
        = test::runProgram(QStringLiteral("aapt"),
                           {"package", "-f", "-M", test::str(root / "android/app/src/main/AndroidManifest.xml"), "-S",
                            test::str(res), "-I", "/usr/share/android-framework-res/framework-res.apk", "-F",
                            test::str(scratch / "app.apk")});
    EXPECT_EQ(aapt.exitCode, 0) << aapt.err.toStdString();
}

TEST(InitImports, whatFlutterLauncherIconsLeftInResAndASet_isReplacedWithoutForce_andSaid)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app", res = root / "android/app/src/main/res";
    test::gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\"");
    test::makeXcodeProject(root / "ios", "Runner", {{"Runner", "iphoneos", "Runner/Assets.xcassets"}});
    test::logo(root / "logo.png", qRgb(20, 160, 90));
    // The adaptive icon where flutter_launcher_icons put it for minSdk 26, its layer in drawable-*.
    test::writeFile(res / "mipmap/ic_launcher.xml", adaptive);
    test::logo(res / "drawable-xxxhdpi/ic_launcher_foreground.png", qRgb(1, 2, 3), 432);
    test::logo(root / "ios/Runner/Assets.xcassets/AppIcon.appiconset/Icon-App-50x50@1x.png", qRgb(1, 2, 3), 50);
    const test::ProgramRun sync = initAndSync(root).sync;
    EXPECT_TRUE(sync.out.contains("replaces drawable-xxxhdpi/ic_launcher_foreground.png")) << sync.out.toStdString();
    EXPECT_TRUE(sync.out.contains("Icon-App-50x50@1x.png (flutter_launcher_icons)")) << sync.out.toStdString();
    EXPECT_FALSE(sync.out.contains("removed")) << sync.out.toStdString(); // no run of Quorva's wrote them
    EXPECT_FALSE(fs::exists(res / "drawable-xxxhdpi/ic_launcher_foreground.png"));
    EXPECT_FALSE(fs::exists(res / "mipmap-anydpi-v26/ic_launcher.xml")); // the old one's place is kept
    EXPECT_TRUE(test::readBytes(res / "mipmap/ic_launcher.xml").contains("@mipmap/ic_launcher_foreground"));
    EXPECT_FALSE(fs::exists(root / "ios/Runner/Assets.xcassets/AppIcon.appiconset/Icon-App-50x50@1x.png"));
}

TEST(InitImports, aSingleSizeSetsDarkAndTintedIcons_andItsWatchAndCarPlaySlots_areKept)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeXcodeProject(root, "App", {{"App", "iphoneos", "App/Assets.xcassets"}});
    test::logo(root / "logo.png", qRgb(240, 120, 0), 1024);
    const fs::path set = root / "App/Assets.xcassets/AppIcon.appiconset";
    test::savePngTo(set / "icon.png", test::solidImage(1024, 1024, qRgb(12, 34, 56)));
    test::logo(set / "dark.png", qRgb(250, 250, 250), 1024);
    test::savePngTo(set / "tinted.png", test::solidImage(1024, 1024, qRgb(0, 0, 0)));
    test::savePngTo(set / "watch.png", test::solidImage(1024, 1024, qRgb(12, 34, 56)));
    test::savePngTo(set / "car.png", test::solidImage(120, 120, qRgb(12, 34, 56)));
    const QByteArray entry = "\"idiom\":\"universal\",\"platform\":\"ios\",\"size\":\"1024x1024\"";
    test::writeBytes(set / "Contents.json",
                     contentsOf(
                         "{\"filename\":\"icon.png\"," + entry
                         + "},{\"appearances\":[{\"appearance\":\"luminosity\",\"value\":\"dark\"}],"
                           "\"filename\":\"dark.png\","
                         + entry
                         + "},{\"appearances\":[{\"appearance\":\"luminosity\",\"value\":\"tinted\"}],"
                           "\"filename\":\"tinted.png\","
                         + entry
                         + "},{\"filename\":\"watch.png\",\"idiom\":\"universal\",\"platform\":\"watchos\","
                           "\"size\":\"1024x1024\"},{\"filename\":\"car.png\",\"idiom\":\"car\",\"scale\":\"2x\","
                           "\"size\":\"60x60\"}"));
    const QImage dark = test::decodeFile(set / "dark.png");
    initAndSync(root);
    const QByteArray toml = test::readBytes(root / "quorva.toml");
    EXPECT_TRUE(toml.contains("single-size = true") && toml.contains("dark = \"quorva-sources/dark.png\"")
                && toml.contains("drop = [\"car\"]") && toml.contains("[watchos]"))
        << toml.toStdString();
    // The transparent source lies on the colour the App Store icon has now.
    EXPECT_TRUE(toml.contains("background = \"#0c2238\"")) << toml.toStdString();
    const QByteArray contents = test::readBytes(set / "Contents.json");
    EXPECT_TRUE(contents.contains("\"dark\"") && contents.contains("\"tinted\"") && contents.contains("watchos"));
    EXPECT_EQ(test::decodeFile(set / "AppIcon-Dark.png").convertToFormat(QImage::Format_ARGB32),
              dark.convertToFormat(QImage::Format_ARGB32));
}

TEST(InitImports, anIconComposerDesignIsKept_andOnlyItsArtLayersImageMadeAnew)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeXcodeProject(root, "App", {{"App", "iphoneos", "App/Assets.xcassets"}});
    test::logo(root / "logo.png", qRgb(200, 0, 100), 1024);
    // The app's icon is the Icon Composer file beside the catalog.
    QByteArray pbxproj = test::readBytes(root / "App.xcodeproj/project.pbxproj");
    pbxproj.replace("ASSETCATALOG_COMPILER_APPICON_NAME = AppIcon", "ASSETCATALOG_COMPILER_APPICON_NAME = Glass");
    pbxproj.replace("path = Assets.xcassets", "path = Glass.icon");
    test::writeBytes(root / "App.xcodeproj/project.pbxproj", pbxproj);
    const QByteArray design
        = "{\n  \"fill\" : \"automatic\",\n  \"groups\" : [\n    {\n      \"layers\" : [\n        {\n          "
          "\"glass\" : true,\n          \"image-name\" : \"mark.svg\",\n          \"name\" : \"mark\"\n        }\n"
          "      ],\n      \"shadow\" : {\n        \"kind\" : \"neutral\",\n        \"opacity\" : 0.5\n      }\n"
          "    },\n    {\n      \"layers\" : [\n        {\n          \"image-name\" : \"ground.png\",\n"
          "          \"name\" : \"ground\"\n        }\n      ]\n    }\n  ]\n}\n";
    test::writeFile(root / "App/Glass.icon/icon.json", design);
    test::writeFile(root / "App/Glass.icon/Assets/mark.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    test::savePngTo(root / "App/Glass.icon/Assets/ground.png", test::solidImage(64, 64, qRgb(5, 5, 5)));
    const QByteArray ground = test::readBytes(root / "App/Glass.icon/Assets/ground.png");
    initAndSync(root);
    EXPECT_TRUE(test::readBytes(root / "quorva.toml").contains("layer = \"mark.svg\""));
    QByteArray renamed = design;
    renamed.replace("mark.svg", "mark.png");
    EXPECT_EQ(test::readBytes(root / "App/Glass.icon/icon.json"), renamed);
    EXPECT_EQ(test::readBytes(root / "App/Glass.icon/Assets/ground.png"), ground);
    EXPECT_EQ(test::decodeFile(root / "App/Glass.icon/Assets/mark.png").size(), QSize(1024, 1024));
    EXPECT_FALSE(fs::exists(root / "App/Glass.icon/Assets/mark.svg"));
}
