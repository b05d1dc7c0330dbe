// Whatever the source, sync exits 0 only with files that check finds no error in: for every kind
// of target and a transparent, an opaque, a small and a drawn source, the target is written and
// passes, or sync refuses it with exit 1 and leaves its place as it was.
#include "projectlayouts.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

struct SourceRow {
    const char* name;
    const char* file;
};
void PrintTo(const SourceRow& row, std::ostream* out)
{
    *out << row.name;
}

// Each kind's table, and the place sync writes, below the project.
struct KindRow {
    const char* table;
    const char* place;
};
const std::vector<KindRow>& kinds()
{
    static const std::vector<KindRow> rows = {
        {"[ios]\ncatalog = \"App/Assets.xcassets\"\n", "App/Assets.xcassets"},
        {"[ios]\ncatalog = \"App/Assets.xcassets\"\nsingle-size = true\ndark = true\ntinted = true\n",
         "App/Assets.xcassets"},
        {"[macos]\ncatalog = \"Mac/Assets.xcassets\"\n", "Mac/Assets.xcassets"},
        {"[watchos]\ncatalog = \"Watch/Assets.xcassets\"\n", "Watch/Assets.xcassets"},
        {"[icon-composer]\nfolder = \"App\"\n", "App"},
        {"[android]\nres = \"android/app/src/main/res\"\nmonochrome = true\nplay-store = \"store.png\"\n", "android"},
        {"[web]\nfolder = \"web\"\n", "web"},
        {"[windows]\nfile = \"windows/app.ico\"\n", "windows"},
        {"[icns]\nfile = \"mac/app.icns\"\n", "mac"},
        {"[linux]\nfolder = \"linux\"\nid = \"org.example.Demo\"\n", "linux"},
        {"[tauri]\nconfig = \"src-tauri/tauri.conf.json\"\n", "src-tauri"},
    };
    return rows;
}

void sources(const fs::path& root)
{
    test::logo(root / "art/transparent.png", qRgb(30, 136, 229), 1024);
    test::savePngTo(root / "art/opaque.png", test::gradientImage(1024, 1024));
    test::logo(root / "art/small.png", qRgb(229, 57, 53), 64);
    test::writeFile(root / "art/drawn.svg",
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
                    "<circle cx=\"50\" cy=\"50\" r=\"40\" fill=\"#4caf50\"/></svg>");
}

// Every kind of place at once: an Xcode project's three apps, a Gradle app, a site, Tauri.
void project(const fs::path& root)
{
    test::makeXcodeProject(root, "App",
                           {{"App", "iphoneos", "App/Assets.xcassets"},
                            {"Mac", "macosx", "Mac/Assets.xcassets"},
                            {"Watch", "watchos", "Watch/Assets.xcassets"}});
    test::gradleApp(root / "android", "android:icon=\"@mipmap/ic_launcher\"");
    test::writeFile(root / "web/manifest.json",
                    "{\"icons\": [{\"src\": \"icons/192.png\", \"sizes\": \"192x192\", \"type\": \"image/png\"}, "
                    "{\"src\": \"icons/512.png\", \"sizes\": \"512x512\", \"type\": \"image/png\"}, "
                    "{\"src\": \"icons/mask.png\", \"sizes\": \"512x512\", \"purpose\": \"maskable\"}]}\n");
    test::writeFile(root / "src-tauri/tauri.conf.json",
                    "{\"bundle\": {\"icon\": [\"icons/32x32.png\", \"icons/128x128@2x.png\", \"icons/icon.icns\", "
                    "\"icons/icon.ico\"]}}\n");
    fs::create_directories(root / "windows");
    fs::create_directories(root / "mac");
    sources(root);
}

class StoreRules : public ::testing::TestWithParam<SourceRow> {};

} // namespace

TEST_P(StoreRules, everyKindIsWrittenAndChecksClean_orRefusedWithNothingWritten)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    project(root);
    for (const KindRow& kind : kinds()) {
        const QByteArray toml = QByteArray("source = \"art/") + GetParam().file + "\"\n\n" + kind.table;
        test::writeBytes(root / "quorva.toml", toml);
        fs::remove(root / "quorva.lock");
        const test::Snapshot before = test::snapshotOf(root / kind.place);
        const test::ProgramRun sync = test::runCliIn(root, {"sync"});
        const QString what = QString::fromUtf8(toml) + sync.out + sync.err;
        if (sync.exitCode == 0) {
            const test::ProgramRun check = test::runCliIn(root, {"check"});
            EXPECT_EQ(check.exitCode, 0) << what.toStdString() << check.out.toStdString();
            EXPECT_FALSE(check.out.contains("error:")) << what.toStdString() << check.out.toStdString();
            EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0) << what.toStdString();
        } else {
            EXPECT_EQ(sync.exitCode, 1) << what.toStdString();
            EXPECT_EQ(test::snapshotOf(root / kind.place), before) << what.toStdString();
            EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 1) << what.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, StoreRules,
                         ::testing::Values(SourceRow{"transparent", "transparent.png"},
                                           SourceRow{"opaque", "opaque.png"}, SourceRow{"small", "small.png"},
                                           SourceRow{"drawn", "drawn.svg"}),
                         [](const auto& info) { return std::string(info.param.name); });
