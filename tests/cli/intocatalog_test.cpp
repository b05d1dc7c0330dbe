// quorva-cli writing straight into an asset catalog: whole sets or none, and nothing else touched.
#include "testsupport.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <chrono>
#include <map>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

using test::Tree;
using test::treeOf;

class IntoCatalog : public ::testing::Test {
protected:
    test::Scratch scratch;
    QString icon = scratch.savePng("icon.png", test::gradientImage(256, 256, 12));
    QString logo = scratch.savePng("logo.png", test::solidImage(90, 60, qRgb(200, 100, 0)));
    fs::path catalog = scratch / "App/Assets.xcassets";

    test::ProgramRun cli(QStringList arguments, const fs::path& into)
    {
        return test::runCli(arguments << "--into" << test::str(into));
    }
    QStringList classic() const { return {"appicon", icon}; }
    QStringList single() const
    {
        return {"appicon", icon, "--single-size", "--background", "#203040", "--dark", "--tinted"};
    }
    // A catalog that holds more than Quorva's sets: a group with a set of its own.
    void addNeighbours(const fs::path& at)
    {
        fs::create_directories(at / "Group/Other.imageset");
        test::writeBytes(at / "Group/Contents.json", R"({"info":{"author":"xcode","version":1}})");
        test::writeBytes(at / "Group/Other.imageset/Contents.json", R"({"images":[],"info":{"version":1}})");
    }
};

} // namespace

TEST_F(IntoCatalog, makesTheCatalog_writesExactlyTheNamedFiles_andReplacesSetsWhole)
{
    fs::create_directories(scratch / "App");
    ASSERT_EQ(cli(classic(), catalog).exitCode, 0);
    addNeighbours(catalog);
    const Tree neighbours = treeOf(catalog / "Group");
    const QByteArray catalogContents = test::readBytes(catalog / "Contents.json");
    EXPECT_TRUE(catalogContents.contains("\"xcode\""));
    EXPECT_EQ(test::filesBelow(catalog / "AppIcon.appiconset").size(), 16) << "no artwork without a slot";

    const test::ProgramRun replaced = cli(single(), catalog);
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_EQ(test::filesBelow(catalog / "AppIcon.appiconset"),
              (QStringList{"AppIcon-Dark.png", "AppIcon-Tinted.png", "AppIcon.png", "Contents.json"}))
        << "files only the old set had are gone";
    EXPECT_EQ(treeOf(catalog / "Group"), neighbours);
    EXPECT_EQ(test::readBytes(catalog / "Contents.json"), catalogContents);

    const test::ProgramRun images = cli({"imageset", logo, icon}, catalog);
    ASSERT_EQ(images.exitCode, 0) << images.err.toStdString();
    EXPECT_EQ(test::filesBelow(catalog / "logo.imageset"),
              (QStringList{"Contents.json", "asset@1x.png", "asset@2x.png", "asset@3x.png"}));
    EXPECT_EQ(test::decodeFile(catalog / "icon.imageset/asset@1x.png").size(), QSize(85, 85));
    EXPECT_EQ(cli({"appicon", icon, "--set", "Beta"}, catalog).exitCode, 0);
    EXPECT_TRUE(fs::exists(catalog / "Beta.appiconset/Icon-App-60x60@2x.png"));
    EXPECT_EQ(test::filesBelow(catalog).filter(QStringLiteral(".quorva")), QStringList()) << "no staging left";
}

TEST_F(IntoCatalog, keepsWhatTheUserHas_unlessForced)
{
    EXPECT_EQ(cli(classic(), scratch / "Missing/Assets.xcassets").exitCode, 1) << "the parent must exist";
    ASSERT_EQ(cli(classic(), scratch / "Assets.xcassets").exitCode, 0);
    const fs::path set = scratch / "Assets.xcassets/AppIcon.appiconset";
    test::writeBytes(set / "notes.txt", "mine");
    const Tree kept = treeOf(set);
    const test::ProgramRun refused = cli(single(), scratch / "Assets.xcassets");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("notes.txt") && refused.err.contains("--force")) << refused.err.toStdString();
    EXPECT_EQ(treeOf(set), kept);
    fs::remove(set / "notes.txt");
    fs::create_directories(set / "Sub");
    EXPECT_EQ(cli(single(), scratch / "Assets.xcassets").exitCode, 1) << "a subfolder is the user's";
    EXPECT_EQ(cli(single() << "--force", scratch / "Assets.xcassets").exitCode, 0);
    EXPECT_FALSE(fs::exists(set / "Sub"));
    EXPECT_EQ(test::runCli({"imageset", icon, icon, "--into", "x.xcassets"}).exitCode, 2) << "two sources of one name";
}

TEST_F(IntoCatalog, refusalNamesEveryFileInTheWayAndEverySlotThatWouldGo)
{
    ASSERT_EQ(cli(classic(), catalog.parent_path() / "Multi.xcassets").exitCode, 1) << "no parent folder yet";
    fs::create_directories(catalog / "AppIcon.appiconset");
    const fs::path set = catalog / "AppIcon.appiconset";
    test::writeBytes(set / "Contents.json",
                     R"({"images":[{"filename":"mac.png","idiom":"mac","size":"512x512","scale":"2x"},)"
                     R"({"filename":"watch.png","idiom":"universal","platform":"watchos","size":"1024x1024"}]})");
    test::savePngTo(set / "mac.png", test::solidImage(8, 8, qRgb(1, 2, 3)));
    test::savePngTo(set / "watch.png", test::solidImage(8, 8, qRgb(1, 2, 3)));
    test::writeBytes(set / "notes.txt", "mine");
    test::writeBytes(set / "extra.png", "mine too");
    const test::ProgramRun refused = cli(single(), catalog);
    EXPECT_EQ(refused.exitCode, 1);
    for (const char* named :
         {"notes.txt", "extra.png", "mac 512x512 2x (mac.png)", "universal 1024x1024 1x (watch.png)"})
        EXPECT_TRUE(refused.err.contains(named)) << named << " in " << refused.err.toStdString();
}

TEST_F(IntoCatalog, foldersAndFilesAreMadeAsMkdirWouldMakeThem)
{
    fs::create_directories(scratch / "App");
    const mode_t before = ::umask(022);
    const test::ProgramRun made = cli(classic(), catalog);
    ::umask(before);
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const auto mode = [](const fs::path& path) { return fs::status(path).permissions() & fs::perms::all; };
    const fs::perms folder = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec
        | fs::perms::others_read | fs::perms::others_exec;
    const fs::perms file
        = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;
    EXPECT_EQ(mode(catalog), folder);
    EXPECT_EQ(mode(catalog / "AppIcon.appiconset"), folder);
    EXPECT_EQ(mode(catalog / "AppIcon.appiconset/Contents.json"), file);
    EXPECT_EQ(mode(catalog / "AppIcon.appiconset/Icon-App-60x60@2x.png"), file);
}

TEST_F(IntoCatalog, anOldSetThatCantBeRemovedIsNotReplaced)
{
    // As a user who may write the catalog but not the old set in it.
    fs::create_directories(scratch / "App");
    ASSERT_EQ(cli(classic(), catalog).exitCode, 0);
    fs::permissions(scratch.root, fs::perms::all);
    fs::permissions(scratch / "App", fs::perms::all);
    fs::permissions(catalog, fs::perms::all);
    fs::permissions(catalog / "AppIcon.appiconset",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
                        | fs::perms::others_exec);
    const Tree old = treeOf(catalog);
    const test::ProgramRun denied
        = test::runProgram(QStringLiteral("setpriv"),
                           QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", test::cliPath} + single()
                               + QStringList{"--into", test::str(catalog)});
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can run the tool as another user";
    EXPECT_EQ(denied.exitCode, 1) << denied.err.toStdString();
    EXPECT_TRUE(denied.err.contains("Couldn't replace the folder")) << denied.err.toStdString();
    EXPECT_TRUE(denied.err.contains("AppIcon.appiconset")) << denied.err.toStdString();
    EXPECT_EQ(treeOf(catalog), old) << "the whole old set, and no staging folder";
}

TEST_F(IntoCatalog, failedRuns_leaveTheOldSet)
{
    fs::create_directories(scratch / "App");
    ASSERT_EQ(cli(single(), catalog).exitCode, 0);
    const Tree old = treeOf(catalog);
    test::writeBytes(scratch / "broken.png", "not an image");
    EXPECT_EQ(cli({"appicon", test::str(scratch / "broken.png")}, catalog).exitCode, 1);
    EXPECT_EQ(treeOf(catalog), old);

    // A file system with room for the old set and little more.
    std::uintmax_t used = 0;
    for (const auto& [file, bytes] : old)
        used += (bytes.size() + 4095) / 4096 * 4096 + 4096;
    const fs::path small = scratch / "small";
    fs::create_directories(small);
    const std::string size = "size=" + std::to_string(used + (64 << 10));
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, size.c_str()) != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here to fill up";
    fs::copy(catalog, small / "Assets.xcassets", fs::copy_options::recursive);
    const QString noise = scratch.savePng("noise.png", test::randomImage(256, 256, 9, true)); // a large set
    const test::ProgramRun full = cli({"appicon", noise}, small / "Assets.xcassets");
    const Tree afterFull = treeOf(small / "Assets.xcassets");
    // The same catalog where nothing can be written.
    const bool locked = ::mount("tmpfs", small.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, size.c_str()) == 0;
    const test::ProgramRun unwritable = cli(classic(), small / "Assets.xcassets");
    const Tree afterUnwritable = treeOf(small / "Assets.xcassets");
    ::umount(small.c_str());
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains("No space left on device")) << full.err.toStdString();
    EXPECT_EQ(afterFull, old) << "the old set, and no staging folder";
    ASSERT_TRUE(locked);
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("Read-only file system")) << unwritable.err.toStdString();
    EXPECT_EQ(afterUnwritable, old);
}

TEST_F(IntoCatalog, killedAtAnyInstant_leavesTheWholeOldOrTheWholeNewSet)
{
    // The two sets the runs swap between, as whole runs make them.
    fs::create_directories(scratch / "App");
    ASSERT_EQ(cli(classic(), scratch / "a.xcassets").exitCode, 0);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(cli(single(), scratch / "b.xcassets").exitCode, 0);
    const auto wholeRun
        = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    const Tree a = treeOf(scratch / "a.xcassets/AppIcon.appiconset");
    const Tree b = treeOf(scratch / "b.xcassets/AppIcon.appiconset");
    ASSERT_EQ(cli(classic(), catalog).exitCode, 0);
    addNeighbours(catalog);
    const Tree neighbours = treeOf(catalog / "Group");
    const quint32 seed = 20261208;
    SCOPED_TRACE(testing::Message() << "kill times drawn with seed " << seed);
    QRandomGenerator random(seed);
    bool isA = true;
    int swapped = 0;
    for (int run = 0; run < test::killRuns; ++run) {
        test::runCliKilledAtRandom((isA ? single() : classic()) << "--into" << test::str(catalog), run, wholeRun,
                                   random);
        const Tree now = treeOf(catalog / "AppIcon.appiconset");
        ASSERT_TRUE(now == a || now == b) << "a half-written set after a kill in run " << run;
        ASSERT_EQ(treeOf(catalog / "Group"), neighbours);
        swapped += (now == a) != isA;
        isA = now == a;
    }
    EXPECT_GE(swapped, test::killRuns / 10) << "every run let finish swaps the set";
    EXPECT_EQ(cli(classic(), catalog).exitCode, 0);
    EXPECT_EQ(test::filesBelow(catalog).filter(QStringLiteral(".quorva")), QStringList())
        << "the next run removes what killed runs left";
}
