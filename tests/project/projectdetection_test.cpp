// init finds the icons every kind of JavaScript project keeps where its own tools look for them,
// and sync writes them: electron-builder's and electron-forge's, a Vite PWA's, Tauri's platform
// configurations', Expo's, and flutter_launcher_icons' older section's.
#include "projectlayouts.h"

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

struct DetectionRow {
    const char* name;
    std::function<void(const fs::path&)> make;
    QStringList found;   // what init says it found
    QStringList written; // files sync writes, below the project
};
void PrintTo(const DetectionRow& row, std::ostream* out)
{
    *out << row.name;
}

class Detection : public ::testing::TestWithParam<DetectionRow> {};

const QByteArray electron = "\"devDependencies\": {\"electron\": \"33.0.0\", \"electron-builder\": \"25.0.0\"}";

} // namespace

TEST_P(Detection, initFindsWhereTheProjectsToolsLook_andSyncWritesThere)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    GetParam().make(root);
    test::logo(root / "logo.png", qRgb(0, 120, 200), 1024);
    const test::ProgramRun init = test::runCliIn(root, {"init", "--source", "logo.png"});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    for (const QString& line : GetParam().found)
        EXPECT_TRUE(init.out.contains(line)) << line.toStdString() << " in\n" << init.out.toStdString();
    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    ASSERT_EQ(sync.exitCode, 0) << sync.out.toStdString() << sync.err.toStdString();
    for (const QString& file : GetParam().written)
        EXPECT_TRUE(fs::is_regular_file(root / file.toStdString())) << file.toStdString() << "\n"
                                                                    << sync.out.toStdString();
    EXPECT_EQ(test::runCliIn(root, {"check"}).exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Projects, Detection,
    ::testing::Values(
        DetectionRow{"electronBuilderConfigGivenInAScript",
                     [](const fs::path& root) {
                         test::writeFile(root / "package.json",
                                         "{\"scripts\": {\"dist\": \"electron-builder --config config/builder.yml\"}, "
                                             + electron + "}");
                         test::writeFile(root / "config/builder.yml",
                                         "appId: org.example.demo\ndirectories:\n  buildResources: resources\n"
                                         "win:\n  icon: app.ico\n");
                         test::writeFile(root / "resources/app.ico", "an icon of an earlier build");
                     },
                     {"found windows: resources/app.ico (electron-builder, from config/builder.yml)",
                      "found icns: resources/icon.icns"},
                     {"resources/app.ico", "resources/icon.icns"}},
        DetectionRow{"electronForgeWithAnIconComposerFile",
                     [](const fs::path& root) {
                         test::writeFile(root / "package.json",
                                         "{\"devDependencies\": {\"electron\": \"33.0.0\", \"@electron-forge/cli\": "
                                         "\"7.0.0\"}}");
                         test::writeFile(root / "forge.config.js",
                                         "module.exports = {\n  packagerConfig: {\n    asar: true,\n    icon: "
                                         "'./assets/icon',\n  },\n  makers: [],\n};\n");
                         test::writeFile(
                             root / "assets/icon.icon/icon.json",
                             "{\"groups\":[{\"layers\":[{\"image-name\":\"front.png\",\"name\":\"front\"}]}]}");
                         test::logo(root / "assets/icon.icon/Assets/front.png", qRgb(9, 9, 9));
                     },
                     {"found icns: assets/icon.icns (electron-forge, from forge.config.js)",
                      "found icon-composer: assets/icon.icon", "sync makes the image of its layer front.png alone"},
                     {"assets/icon.icns", "assets/icon.ico", "assets/icon.icon/Assets/front.png"}},
        DetectionRow{"aVitePwaWhoseManifestTheConfigImports",
                     [](const fs::path& root) {
                         test::writeFile(root / "package.json", "{\"devDependencies\": {\"vite\": \"6.0.0\"}}");
                         test::writeFile(root / "vite.config.ts",
                                         "import { VitePWA } from \"vite-plugin-pwa\";\nimport manifest from "
                                         "\"./manifest.json\";\nexport default { plugins: [VitePWA({ manifest: "
                                         "manifest })] };\n");
                         test::writeFile(root / "manifest.json",
                                         "{\"icons\": [{\"src\": \"/favicons/192.png\", \"sizes\": \"192x192\", "
                                         "\"purpose\": \"any maskable\"}, {\"src\": \"/favicons/512.png\", \"sizes\": "
                                         "\"512x512\"}]}\n");
                         fs::create_directories(root / "public");
                     },
                     {"found web: public, its icons as manifest.json names them (vite-plugin-pwa in vite.config.ts)"},
                     {"public/favicons/192.png", "public/favicons/512.png"}},
        DetectionRow{"tauriWithAMacConfigurationOfItsOwn",
                     [](const fs::path& root) {
                         test::writeFile(root / "src-tauri/tauri.conf.json",
                                         "{\"bundle\": {\"icon\": [\"icons/32x32.png\", \"icons/icon.ico\"]}}\n");
                         test::writeFile(root / "src-tauri/tauri.macos.conf.json",
                                         "{\"bundle\": {\"icon\": [\"icons_mac/128x128.png\", "
                                         "\"icons_mac/icon.icns\"]}}\n");
                     },
                     {"found tauri"},
                     {"src-tauri/icons/32x32.png", "src-tauri/icons_mac/icon.icns", "src-tauri/icons_mac/128x128.png"}},
        DetectionRow{"tauriWithTheStoreImagesTauriIconWrote",
                     [](const fs::path& root) {
                         test::writeFile(root / "src-tauri/tauri.conf.json",
                                         "{\"bundle\": {\"icon\": [\"icons/32x32.png\"]}}\n");
                         test::logo(root / "src-tauri/icons/StoreLogo.png", qRgb(200, 0, 0), 50);
                     },
                     {"found msix: src-tauri/icons"},
                     {"src-tauri/icons/Square30x30Logo.png", "src-tauri/icons/Square310x310Logo.png"}},
        DetectionRow{"electronBuilderWithAnAppxFolderOfQualifiedImages",
                     [](const fs::path& root) {
                         test::writeFile(root / "package.json",
                                         "{\"build\": {\"appId\": \"org.example.demo\"}, " + electron + "}");
                         test::logo(root / "build/appx/StoreLogo.scale-100.png", qRgb(200, 0, 0), 50);
                     },
                     {"found msix: build/appx (electron-builder's appx target)"},
                     {"build/appx/Wide310x150Logo.scale-400.png",
                      "build/appx/Square44x44Logo.targetsize-24_altform-lightunplated.png"}},
        DetectionRow{
            "expoByItsAppJson",
            [](const fs::path& root) {
                test::writeFile(root / "app.json",
                                "{\"expo\": {\"icon\": \"./assets/icon.png\", \"android\": {\"adaptiveIcon\": "
                                "{\"foregroundImage\": \"./assets/fore.png\", \"backgroundColor\": "
                                "\"#123456\"}}, \"web\": {\"favicon\": \"./node_modules/pkg/f.png\"}}}\n");
            },
            {"found expo: the images app.json names (android.adaptiveIcon.foregroundImage, icon, web.favicon)"},
            {"assets/icon.png", "assets/fore.png"}},
        DetectionRow{"expoByAnAppConfigOfLiteralsAndOthers",
                     [](const fs::path& root) {
                         test::writeFile(root / "package.json", "{\"dependencies\": {\"expo\": \"52.0.0\"}}");
                         test::writeFile(
                             root / "app.config.ts",
                             "export default ({ config }) => ({\n  ...config,\n  icon: './assets/icon.png', "
                             "// the icon\n  ios: { icon: process.env.DARK ? './a.png' : './b.png' },\n"
                             "  android: { adaptiveIcon: { monochromeImage: \"./assets/mono.png\" } },\n});\n");
                     },
                     {"found expo: the images app.config.ts names (icon, android.adaptiveIcon.monochromeImage)",
                      "ios.icon in app.config.ts is no plain string: not read"},
                     {"assets/icon.png", "assets/mono.png"}},
        DetectionRow{
            "flutterLauncherIconsOlderSection",
            [](const fs::path& root) {
                test::writeFile(root / "pubspec.yaml",
                                "name: demo\nflutter:\n  uses-material-design: true\nflutter_icons:\n"
                                "  android: true\n  ios: false\n  adaptive_icon_background: \"#00AA00\"\n");
                test::gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\"");
                test::makeXcodeProject(root / "ios", "Runner", {{"Runner", "iphoneos", "Runner/Assets.xcassets"}});
            },
            {"imported flutter_launcher_icons from pubspec.yaml",
             "ios (found, but flutter_launcher_icons does "
             "not write it: left out)"},
            {"android/app/src/main/res/values/ic_launcher_background.xml"}}),
    [](const auto& info) { return std::string(info.param.name); });
