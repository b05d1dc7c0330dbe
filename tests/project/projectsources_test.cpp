// What a project's icons are made from is never touched: init copies an image out of the way of
// the targets, sync refuses one in their way and writes nothing, a check fails without it; and
// every command works from the project's folder, its images anywhere in its repository.
#include "projectlayouts.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

const test::ProjectLayout& layout(const std::string& name)
{
    for (const test::ProjectLayout& each : test::projectLayouts())
        if (each.name == name)
            return each;
    throw std::invalid_argument(name);
}

} // namespace

TEST(ProjectPaths, everyCommandWorksFromTheProjectsFolder_givenNoProject_aDotOrARelativeOne)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(layout("tauri"), root);
    ASSERT_EQ(test::runCliIn(root, {"init"}).exitCode, 0);
    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    ASSERT_EQ(sync.exitCode, 0) << sync.err.toStdString();
    EXPECT_TRUE(sync.out.contains("tauri: written, 5 files in src-tauri/icons")) << sync.out.toStdString();
    for (const QStringList& arguments : {QStringList{"sync", "--check"}, QStringList{"sync", ".", "--check"}})
        EXPECT_EQ(test::runCliIn(root, arguments).exitCode, 0) << arguments.join(' ').toStdString();
    const test::ProgramRun above = test::runCliIn(scratch.root, {"sync", "app", "--dry-run"});
    EXPECT_TRUE(above.out.contains("tauri: up to date, 5 files in src-tauri/icons")) << above.out.toStdString();
    const test::ProgramRun below = test::runCliIn(root / "src-tauri", {"sync", "..", "--check"});
    EXPECT_EQ(below.exitCode, 0) << below.out.toStdString() << below.err.toStdString();
    // A path in a message is the one the user can type from where they are.
    fs::remove(root / "app-icon.png");
    EXPECT_TRUE(test::runCliIn(scratch.root, {"sync", "app"}).err.contains("app/app-icon.png:"));
}

TEST(ProjectPaths, anImageMayLieAnywhereInTheRepository_butNoOutputOutsideTheProject)
{
    test::Scratch scratch;
    const fs::path root = scratch / "repo/apps/desktop";
    test::makeProject(layout("tauri"), root);
    fs::rename(root / "app-icon.png", scratch / "art.png");
    // Outside any repository the project is all there is.
    const test::ProgramRun outside = test::runCliIn(root, {"init", "--source", "../../../art.png"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_TRUE(outside.err.contains("art.png: it must lie in this repository")) << outside.err.toStdString();

    fs::create_directories(scratch / "repo/.git");
    fs::create_directories(scratch / "repo/data");
    fs::rename(scratch / "art.png", scratch / "repo/data/art.png");
    const test::ProgramRun init = test::runCliIn(root, {"init", "--source", "../../data/art.png"});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(test::readBytes(root / "quorva.toml").contains("source = \"../../data/art.png\""));
    const test::ProgramRun sync = test::runCliIn(root, {"sync"});
    EXPECT_EQ(sync.exitCode, 0) << sync.err.toStdString();

    QByteArray toml = test::readBytes(root / "quorva.toml");
    toml.replace("config = \"src-tauri/tauri.conf.json\"", "config = \"../other/tauri.conf.json\"");
    test::writeBytes(root / "quorva.toml", toml);
    const test::ProgramRun out = test::runCliIn(root, {"sync"});
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_TRUE(out.err.contains("'config' in [tauri] leads out of the project")) << out.err.toStdString();
}

TEST(ProjectSources, anImageInsideASetThatSyncReplaces_isCopiedOutByInit_andStaysAsItWas)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(layout("xcode"), root);
    const fs::path inSet = root / "Demo/Assets.xcassets/AppIcon.appiconset/icon-1024.png";
    fs::rename(root / "icon.png", inSet);
    test::writeBytes(inSet.parent_path() / "Contents.json",
                     "{\"images\":[{\"filename\":\"icon-1024.png\",\"idiom\":\"universal\",\"platform\":\"ios\","
                     "\"size\":\"1024x1024\"}],\"info\":{\"author\":\"xcode\",\"version\":1}}\n");
    const QByteArray bytes = test::readBytes(inSet);
    const test::ProgramRun init = test::runCliIn(root, {"init", "--source", test::str(inSet)});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    EXPECT_TRUE(init.out.contains("copied Demo/Assets.xcassets/AppIcon.appiconset/icon-1024.png to "
                                  "quorva-sources/icon-1024.png"))
        << init.out.toStdString();
    EXPECT_TRUE(test::readBytes(root / "quorva.toml").contains("source = \"quorva-sources/icon-1024.png\""));
    EXPECT_EQ(test::readBytes(root / "quorva-sources/icon-1024.png"), bytes);
    ASSERT_EQ(test::runCliIn(root, {"sync"}).exitCode, 0);
    EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 0);
    EXPECT_EQ(test::readBytes(root / "quorva-sources/icon-1024.png"), bytes);

    // Once the copy is gone, the check can't vouch for anything.
    fs::remove(root / "quorva-sources/icon-1024.png");
    EXPECT_EQ(test::runCliIn(root, {"sync", "--check"}).exitCode, 1);
}

TEST(ProjectSources, syncRefusesAnImageLyingWhereATargetWrites_andWritesNoTarget)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(layout("flutter"), root);
    ASSERT_EQ(test::runCliIn(root, {"init"}).exitCode, 0);
    ASSERT_EQ(test::runCliIn(root, {"sync"}).exitCode, 0);
    QByteArray toml = test::readBytes(root / "quorva.toml");
    toml.replace("source = \"assets/icon-dev.png\"", "source = \"web/icons/Icon-512.png\"");
    test::writeBytes(root / "quorva.toml", toml);
    fs::remove_all(root / "ios/Runner/Assets.xcassets/AppIcon.appiconset");
    const test::Snapshot before = test::snapshotOf(root);
    for (const QStringList& arguments : {QStringList{"sync"}, QStringList{"sync", "--check"}}) {
        const test::ProgramRun sync = test::runCliIn(root, arguments);
        EXPECT_EQ(sync.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(sync.err.contains("web/icons/Icon-512.png: the source of ios (dev) lies where web writes"))
            << sync.err.toStdString();
        EXPECT_EQ(test::snapshotOf(root), before) << arguments.join(' ').toStdString();
    }
}

TEST(ProjectSources, anImageReachedThroughALinkToWhereATargetWrites_isRefusedAsWell)
{
    // The image named through a link to the folder web writes; then web's folder itself a link,
    // the image named by the folder it leads to.
    for (const bool webIsTheLink : {false, true}) {
        test::Scratch scratch;
        const fs::path root = scratch / "app";
        test::makeProject(layout("flutter"), root);
        ASSERT_EQ(test::runCliIn(root, {"init"}).exitCode, 0);
        ASSERT_EQ(test::runCliIn(root, {"sync"}).exitCode, 0);
        QByteArray source = "linked/Icon-512.png";
        if (webIsTheLink) {
            fs::rename(root / "web", root / "site");
            fs::create_directory_symlink("site", root / "web");
            source = "site/icons/Icon-512.png";
        } else {
            fs::create_directory_symlink("web/icons", root / "linked");
        }
        QByteArray toml = test::readBytes(root / "quorva.toml");
        toml.replace("source = \"assets/icon-dev.png\"", "source = \"" + source + "\"");
        test::writeBytes(root / "quorva.toml", toml);
        const test::Snapshot before = test::snapshotOf(root);
        const test::ProgramRun sync = test::runCliIn(root, {"sync"});
        EXPECT_EQ(sync.exitCode, 1) << webIsTheLink;
        EXPECT_TRUE(sync.err.contains("the source of ios (dev) lies where web writes")) << sync.err.toStdString();
        EXPECT_EQ(test::snapshotOf(root), before) << webIsTheLink;
    }
}
