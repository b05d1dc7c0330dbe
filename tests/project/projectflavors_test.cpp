// A Flutter app's flavors, as its flutter_launcher_icons files and its Xcode project's
// configurations have them: each flavor's set is the one its configurations select, the app makes
// no set nothing selects, the shared targets are written once, each flavor says only what differs.
#include "projectlayouts.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

// An Xcode app target whose configurations select a set each: name, then the set.
void flavoredXcodeProject(const fs::path& ios, const std::vector<std::pair<QByteArray, QByteArray>>& configurations)
{
    test::makeXcodeProject(ios, "Runner", {{"Runner", "iphoneos", "Runner/Assets.xcassets"}});
    QByteArray objects, ids;
    int n = 0;
    for (const auto& [name, set] : configurations) {
        const QByteArray id = "X" + QByteArray::number(++n);
        objects += id + " = {isa = XCBuildConfiguration; buildSettings = {ASSETCATALOG_COMPILER_APPICON_NAME = \"" + set
            + "\"; SDKROOT = iphoneos; }; name = \"" + name + "\"; };\n";
        ids += id + ", ";
    }
    QByteArray pbxproj = test::readBytes(ios / "Runner.xcodeproj/project.pbxproj");
    pbxproj.replace("buildConfigurations = (C1, );", "buildConfigurations = (" + ids + ");");
    pbxproj.replace("objects = {\n", "objects = {\n" + objects);
    test::writeBytes(ios / "Runner.xcodeproj/project.pbxproj", pbxproj);
}

void flutterWithFlavors(const fs::path& root, const QByteArray& iosKey = "true")
{
    test::writeFile(root / "pubspec.yaml", "name: demo\nflutter:\n  uses-material-design: true\n");
    for (const char* flavor : {"dev", "prod"})
        test::writeFile(root / (std::string("flutter_launcher_icons-") + flavor + ".yaml"),
                        "flutter_launcher_icons:\n  image_path: \"icons/" + QByteArray(flavor)
                            + ".png\"\n  android: true\n"
                              "  ios: "
                            + iosKey
                            + "\n  remove_alpha_ios: true\n  web:\n    generate: true\n"
                              "    background_color: \"#ffffff\"\n  windows:\n    generate: false\n");
    test::logo(root / "icons/dev.png", qRgb(229, 57, 53));
    test::logo(root / "icons/prod.png", qRgb(30, 136, 229));
    test::gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\"",
                    "android {\n    productFlavors {\n        dev {}\n        prod {}\n    }\n}\n");
    test::writeFile(root / "web/manifest.json",
                    "{\"icons\": [{\"src\": \"icons/Icon-192.png\", \"sizes\": \"192x192\"}, "
                    "{\"src\": \"icons/Icon-512.png\", \"sizes\": \"512x512\"}]}\n");
    fs::create_directories(root / "windows/runner/resources");
}

// The colour at the centre of a set's App Store icon.
QRgb storeIconCentre(const fs::path& set)
{
    const QImage icon = test::decodeFile(set / "ItunesArtwork@2x.png");
    return icon.pixel(icon.width() / 2, icon.height() / 2) & 0xffffff;
}

} // namespace

TEST(ProjectFlavors, eachFlavorsSetIsTheOneItsConfigurationsSelect_andNoSetIsMadeThatNothingSelects)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    flutterWithFlavors(root);
    flavoredXcodeProject(root / "ios",
                         {{"Debug-dev", "AppIcon-dev"},
                          {"Release-dev", "AppIcon-dev"},
                          {"Debug-prod", "AppIcon-prod"},
                          {"Release-prod", "AppIcon-prod"},
                          {"Profile", "AppIcon-dev"}});
    const test::ProgramRun init = test::runCliIn(root, {"init"});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    const QString toml = QString::fromUtf8(test::readBytes(root / "quorva.toml"));
    EXPECT_FALSE(toml.contains("\n[ios]")) << toml.toStdString();
    EXPECT_TRUE(toml.contains("set = \"AppIcon-dev\"") && toml.contains("set = \"AppIcon-prod\""))
        << toml.toStdString();
    EXPECT_FALSE(toml.contains(".web]") || toml.contains("[windows]")) << toml.toStdString();
    EXPECT_EQ(toml.count("[web]"), 1) << toml.toStdString();

    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    ASSERT_EQ(sync.exitCode, 0) << sync.out.toStdString() << sync.err.toStdString();
    EXPECT_FALSE(sync.out.contains("ASSETCATALOG_COMPILER_APPICON_NAME")) << sync.out.toStdString();
    const fs::path catalog = root / "ios/Runner/Assets.xcassets";
    EXPECT_EQ(storeIconCentre(catalog / "AppIcon-prod.appiconset"), qRgb(30, 136, 229) & 0xffffff);
    EXPECT_EQ(storeIconCentre(catalog / "AppIcon-dev.appiconset"), qRgb(229, 57, 53) & 0xffffff);
    for (const char* unselected : {"AppIcon-prod-prod.appiconset", "AppIcon-dev-dev.appiconset"})
        EXPECT_FALSE(fs::exists(catalog / unselected));
    EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0);
}

TEST(ProjectFlavors, aSetNameThatNoConfigurationSelects_isSaid_andWhatToSetWhere)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    flutterWithFlavors(root, "\"LaunchImage\"");
    flavoredXcodeProject(root / "ios",
                         {{"Debug", "AppIcon"}, {"Release", "AppIcon"}, {"Release-prod", "AppIcon-prod"}});
    const test::ProgramRun init = test::runCliIn(root, {"init"});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(init.out.contains("flutter_launcher_icons names the set LaunchImage, and Release-prod select "
                                  "AppIcon-prod"))
        << init.out.toStdString();
    const QString toml = QString::fromUtf8(test::readBytes(root / "quorva.toml"));
    EXPECT_TRUE(toml.contains("[ios]") && !toml.contains("LaunchImage")) << toml.toStdString();
    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    ASSERT_EQ(sync.exitCode, 0) << sync.err.toStdString();
    // The dev flavor has no configurations of its own.
    EXPECT_TRUE(sync.out.contains("target Runner has no configurations of the dev flavor")) << sync.out.toStdString();
}
