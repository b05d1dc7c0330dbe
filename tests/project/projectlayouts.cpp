#include "projectlayouts.h"

#include <cmath>

namespace quorva::test {
namespace {

void write(const fs::path& file, const QByteArray& bytes)
{
    writeFile(file, bytes);
}

} // namespace

void writeFile(const fs::path& file, const QByteArray& bytes)
{
    fs::create_directories(file.parent_path());
    writeBytes(file, bytes);
}

void logo(const fs::path& file, QRgb colour, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (std::hypot(x - side / 2.0, y - side / 2.0) < side * 200.0 / 512)
                image.setPixel(x, y, colour);
    fs::create_directories(file.parent_path());
    savePngTo(file, image);
}

void gradleApp(const fs::path& android, const QByteArray& manifestIcons, const QByteArray& buildScript)
{
    write(android / "settings.gradle", "include ':app'\n");
    write(android / "app/build.gradle", "plugins {\n    id \"com.android.application\"\n}\n" + buildScript);
    write(android / "app/src/main/AndroidManifest.xml",
          "<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" package=\"org.example.demo\">\n"
          "    <application android:label=\"demo\" "
              + manifestIcons + "/>\n</manifest>\n");
    fs::create_directories(android / "app/src/main/res/values");
}

namespace {

void site(const fs::path& folder)
{
    write(folder / "manifest.json",
          "{\n  \"name\": \"demo\",\n  \"icons\": [\n"
          "    {\"src\": \"icons/Icon-192.png\", \"sizes\": \"192x192\", \"type\": \"image/png\"},\n"
          "    {\"src\": \"icons/Icon-512.png\", \"sizes\": \"512x512\", \"type\": \"image/png\"},\n"
          "    {\"src\": \"icons/Icon-maskable-192.png\", \"sizes\": \"192x192\", \"type\": \"image/png\", "
          "\"purpose\": \"maskable\"}\n  ]\n}\n");
}

} // namespace

void makeXcodeProject(const fs::path& folder, const std::string& name, const std::vector<XcodeApp>& apps)
{
    QByteArray objects, targets, groups;
    for (std::size_t i = 0; i < apps.size(); ++i) {
        const XcodeApp& app = apps[i];
        const QByteArray n = QByteArray::number(qulonglong(i + 1));
        const fs::path catalog(app.catalogFolder);
        objects += "F" + n + " = {isa = PBXFileReference; path = " + QByteArray::fromStdString(catalog.filename())
            + "; sourceTree = \"<group>\"; };\nB" + n + " = {isa = PBXBuildFile; fileRef = F" + n + "; };\nR" + n
            + " = {isa = PBXResourcesBuildPhase; files = (B" + n + ", ); };\nC" + n
            + " = {isa = XCBuildConfiguration; buildSettings = {ASSETCATALOG_COMPILER_APPICON_NAME = "
            + QByteArray::fromStdString(app.icon) + "; SDKROOT = " + QByteArray::fromStdString(app.sdk)
            + "; }; name = Release; };\nL" + n + " = {isa = XCConfigurationList; buildConfigurations = (C" + n
            + ", ); };\nT" + n + " = {isa = PBXNativeTarget; buildConfigurationList = L" + n + "; buildPhases = (R" + n
            + ", ); name = " + QByteArray::fromStdString(app.name)
            + "; productType = \"com.apple.product-type.application\"; };\nG" + n + " = {isa = PBXGroup; children = (F"
            + n + ", ); path = " + QByteArray::fromStdString(catalog.parent_path())
            + "; sourceTree = \"<group>\"; };\n";
        targets += "T" + n + ", ";
        groups += "G" + n + ", ";
        // The catalog, with the empty set Xcode puts into it.
        const QByteArray entry = app.sdk == "macosx" ? "{\"idiom\":\"mac\",\"scale\":\"1x\",\"size\":\"512x512\"}"
            : app.sdk == "watchos" ? "{\"idiom\":\"universal\",\"platform\":\"watchos\",\"size\":\"1024x1024\"}"
                                   : "{\"idiom\":\"universal\",\"platform\":\"ios\",\"size\":\"1024x1024\"}";
        write(folder / catalog / "Contents.json", "{\"info\":{\"author\":\"xcode\",\"version\":1}}\n");
        write(folder / catalog / (app.icon + ".appiconset") / "Contents.json",
              "{\"images\":[" + entry + "],\"info\":{\"author\":\"xcode\",\"version\":1}}\n");
    }
    write(folder / (name + ".xcodeproj") / "project.pbxproj",
          "// !$*UTF8*$!\n{ archiveVersion = 1; objects = {\n" + objects + "M = {isa = PBXGroup; children = (" + groups
              + "); sourceTree = \"<group>\"; };\nP = {isa = PBXProject; mainGroup = M; projectDirPath = \"\"; "
                "targets = ("
              + targets + "); };\n}; rootObject = P; }\n");
}

const std::vector<ProjectLayout>& projectLayouts()
{
    static const std::vector<ProjectLayout> layouts = {
        {"flutter", {"ios", "macos", "android", "web", "windows"}, "dev"},
        {"reactNative", {"ios", "android"}, ""},
        {"capacitor", {"ios", "android", "web"}, ""},
        {"tauri", {"tauri"}, ""},
        {"xcode", {"ios", "macos"}, ""},
    };
    return layouts;
}

void makeProject(const ProjectLayout& layout, const fs::path& root)
{
    if (layout.name == "flutter") {
        write(root / "pubspec.yaml",
              "name: demo\ndependencies:\n  flutter:\n    sdk: flutter\nflutter:\n  uses-material-design: true\n"
              "flutter_launcher_icons:\n  android: true\n  ios: true\n  image_path: \"assets/icon.png\"\n"
              "  min_sdk_android: 21\n  remove_alpha_ios: true\n  adaptive_icon_background: \"#1E88E5\"\n"
              "  web:\n    generate: true\n    theme_color: \"#000000\"\n  windows:\n    generate: true\n"
              "  macos:\n    generate: true\n");
        write(root / "flutter_launcher_icons-dev.yaml",
              "flutter_launcher_icons:\n  android: true\n  ios: true\n  image_path: \"assets/icon-dev.png\"\n");
        logo(root / "assets/icon.png", qRgb(30, 136, 229));
        logo(root / "assets/icon-dev.png", qRgb(229, 57, 53));
        makeXcodeProject(root / "ios", "Runner", {{"Runner", "iphoneos", "Runner/Assets.xcassets"}});
        makeXcodeProject(root / "macos", "Runner", {{"Runner", "macosx", "Runner/Assets.xcassets"}});
        gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\"",
                  "android {\n    productFlavors {\n        dev {}\n        prod {}\n    }\n}\n");
        site(root / "web");
        fs::create_directories(root / "windows/runner/resources");
    } else if (layout.name == "reactNative") {
        write(root / "package.json", "{\"name\": \"demo\", \"dependencies\": {\"react-native\": \"0.76.0\"}}\n");
        logo(root / "assets/icon.png", qRgb(97, 218, 251));
        makeXcodeProject(root / "ios", "Demo", {{"Demo", "iphoneos", "Demo/Images.xcassets"}});
        gradleApp(root / "android",
                  "android:icon=\"@mipmap/ic_launcher\" android:roundIcon=\"@mipmap/ic_launcher_round\"");
    } else if (layout.name == "capacitor") {
        write(root / "package.json", "{\"name\": \"demo\", \"dependencies\": {\"@capacitor/core\": \"6.1.0\"}}\n");
        write(root / "capacitor.config.json", "{\"appId\": \"org.example.demo\", \"webDir\": \"dist\"}\n");
        logo(root / "resources/icon.png", qRgb(76, 141, 255));
        makeXcodeProject(root / "ios/App", "App", {{"App", "iphoneos", "App/Assets.xcassets"}});
        gradleApp(root / "android",
                  "android:icon=\"@mipmap/ic_launcher\" android:roundIcon=\"@mipmap/ic_launcher_round\"");
        site(root / "public");
    } else if (layout.name == "tauri") {
        write(root / "package.json", "{\"name\": \"demo\", \"devDependencies\": {\"@tauri-apps/cli\": \"2.1.0\"}}\n");
        write(root / "src-tauri/tauri.conf.json",
              "{\n  \"productName\": \"demo\",\n  \"identifier\": \"org.example.demo\",\n  \"bundle\": {\n"
              "    \"active\": true,\n    \"icon\": [\"icons/32x32.png\", \"icons/128x128.png\", "
              "\"icons/128x128@2x.png\", \"icons/icon.icns\", \"icons/icon.ico\"]\n  }\n}\n");
        logo(root / "app-icon.png", qRgb(255, 193, 7));
    } else if (layout.name == "xcode") {
        logo(root / "icon.png", qRgb(52, 199, 89));
        makeXcodeProject(root, "Demo",
                         {{"Demo", "iphoneos", "Demo/Assets.xcassets"},
                          {"DemoMac", "macosx", "DemoMac/Assets.xcassets"}});
    }
}

const std::vector<KindRow>& kindRows()
{
    static const std::vector<KindRow> rows = {
        {"[ios]\ncatalog = \"App/Assets.xcassets\"\n", "App/Assets.xcassets", {"presence:App/Assets.xcassets"}},
        {"[ios]\ncatalog = \"App/Assets.xcassets\"\nsingle-size = true\ndark = true\ntinted = true\n",
         "App/Assets.xcassets",
         {"presence:App/Assets.xcassets"}},
        {"[macos]\ncatalog = \"Mac/Assets.xcassets\"\n", "Mac/Assets.xcassets", {"presence:Mac/Assets.xcassets"}},
        {"[watchos]\ncatalog = \"Watch/Assets.xcassets\"\n",
         "Watch/Assets.xcassets",
         {"presence:Watch/Assets.xcassets"}},
        {"[icon-composer]\nfolder = \"App\"\n", "App", {}},
        {"[android]\nres = \"android/app/src/main/res\"\nmonochrome = true\nplay-store = \"store.png\"\n",
         "android",
         {"file:android/app/src/main/AndroidManifest.xml", "file:android/app/build.gradle",
          "file:android/settings.gradle", "listing:android/app/src/main/res",
          "listing:android/app/src/main/res/values"}},
        {"[web]\nfolder = \"web\"\n", "web", {"file:web/manifest.json", "file:web/favicon.png"}},
        {"[windows]\nfile = \"windows/app.ico\"\n", "windows", {}},
        {"[icns]\nfile = \"mac/app.icns\"\n", "mac", {}},
        {"[linux]\nfolder = \"linux\"\nid = \"org.example.Demo\"\n", "linux", {}},
        {"[tauri]\nconfig = \"src-tauri/tauri.conf.json\"\n",
         "src-tauri",
         {"file:src-tauri/tauri.conf.json", "file:src-tauri/tauri.macos.conf.json"}},
        {"[expo]\nconfig = \"app.json\"\nbackground = \"#123456\"\n", "assets", {"file:app.json"}},
        {"[splash]\nres = \"android/app/src/main/res\"\ndark-background = \"#202020\"\n",
         "android",
         {"file:android/app/src/main/AndroidManifest.xml", "file:android/settings.gradle",
          "file:android/app/build.gradle", "listing:android/app/src/main/res/values",
          "file:android/app/src/main/res/values/styles.xml", "listing:android/app/src/main/res/values-v31"}},
    };
    return rows;
}

static void sources(const fs::path& root)
{
    logo(root / "art/transparent.png", qRgb(30, 136, 229), 1024);
    savePngTo(root / "art/opaque.png", gradientImage(1024, 1024));
    logo(root / "art/small.png", qRgb(229, 57, 53), 64);
    writeFile(root / "art/drawn.svg",
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
              "<circle cx=\"50\" cy=\"50\" r=\"40\" fill=\"#4caf50\"/></svg>");
}

// Every kind of place at once: an Xcode project's three apps, a Gradle app, a site, Tauri.
void allKindsProject(const fs::path& root)
{
    makeXcodeProject(root, "App",
                     {{"App", "iphoneos", "App/Assets.xcassets"},
                      {"Mac", "macosx", "Mac/Assets.xcassets"},
                      {"Watch", "watchos", "Watch/Assets.xcassets"}});
    gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\" android:theme=\"@style/LaunchTheme\"");
    writeFile(root / "android/app/src/main/res/values/styles.xml",
              "<resources>\n    <style name=\"LaunchTheme\" parent=\"@android:style/Theme.Light.NoTitleBar\">\n"
              "        <item name=\"android:windowBackground\">@drawable/launch_background</item>\n"
              "    </style>\n</resources>\n");
    writeFile(root / "web/manifest.json",
              "{\"icons\": [{\"src\": \"icons/192.png\", \"sizes\": \"192x192\", \"type\": \"image/png\"}, "
              "{\"src\": \"icons/512.png\", \"sizes\": \"512x512\", \"type\": \"image/png\"}, "
              "{\"src\": \"icons/mask.png\", \"sizes\": \"512x512\", \"purpose\": \"maskable\"}]}\n");
    writeFile(root / "src-tauri/tauri.conf.json",
              "{\"bundle\": {\"icon\": [\"icons/32x32.png\", \"icons/128x128@2x.png\", \"icons/icon.icns\", "
              "\"icons/icon.ico\"]}}\n");
    writeFile(root / "app.json",
              "{\"expo\": {\"icon\": \"./assets/icon.png\", \"android\": {\"adaptiveIcon\": {\"foregroundImage\": "
              "\"./assets/fore.png\"}}}}\n");
    fs::create_directories(root / "windows");
    fs::create_directories(root / "mac");
    sources(root);
}

} // namespace quorva::test
