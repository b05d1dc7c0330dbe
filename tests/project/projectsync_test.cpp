// quorva-cli init and sync on projects of each kind our users have: init finds where each keeps its
// icons, sync writes them, and sync --check passes until a file differs from what sync writes.
#include "projectlayouts.h"

#include <QProcessEnvironment>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

test::ProgramRun cli(const QStringList& arguments)
{
    return test::runCli(arguments);
}

// The first PNG sync wrote for a target, as quorva.lock lists it.
QString lockedPng(const fs::path& root, const QString& target)
{
    const QString lock = QString::fromUtf8(test::readBytes(root / "quorva.lock"));
    const qsizetype files = lock.indexOf(QStringLiteral("[targets.\"%1\".files]").arg(target));
    const qsizetype png = lock.indexOf(QStringLiteral(".png\""), files);
    if (files < 0 || png < 0)
        return {};
    const qsizetype start = lock.lastIndexOf(QLatin1Char('"'), png - 1) + 1;
    return lock.mid(start, png + 4 - start);
}

class ProjectLayouts : public ::testing::TestWithParam<test::ProjectLayout> {};

} // namespace

TEST_P(ProjectLayouts, initFindsEveryTarget_syncWritesThem_andCheckPassesUntilAFileDiffers)
{
    const test::ProjectLayout& layout = GetParam();
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(layout, root);

    const test::ProgramRun init = cli({"init", test::str(root)});
    ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
    for (const QString& target : layout.targets)
        EXPECT_TRUE(init.out.contains(QStringLiteral("found %1: ").arg(target))) << init.out.toStdString();
    EXPECT_EQ(init.out.count(QStringLiteral("\nfound ")), layout.targets.size()) << init.out.toStdString();

    const test::ProgramRun sync = cli({"sync", test::str(root)});
    ASSERT_EQ(sync.exitCode, 0) << sync.out.toStdString() << sync.err.toStdString();
    QStringList written = layout.targets;
    if (!layout.flavor.empty())
        written << QStringLiteral("ios (%1)").arg(QString::fromStdString(layout.flavor))
                << QStringLiteral("android (%1)").arg(QString::fromStdString(layout.flavor));
    for (const QString& target : written)
        EXPECT_TRUE(sync.out.contains(QStringLiteral("\n%1: written, ").arg(target))
                    || sync.out.startsWith(QStringLiteral("%1: written, ").arg(target)))
            << target.toStdString() << " in\n"
            << sync.out.toStdString();
    const test::ProgramRun check = cli({"sync", test::str(root), "--check"});
    EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();

    // One byte of one icon.
    const QString icon = lockedPng(root, layout.targets.front());
    ASSERT_FALSE(icon.isEmpty());
    QByteArray bytes = test::readBytes(root / icon.toStdString());
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
    test::writeBytes(root / icon.toStdString(), bytes);
    const test::ProgramRun changed = cli({"sync", test::str(root), "--check"});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_TRUE(changed.out.contains(QStringLiteral("different %1").arg(icon))) << changed.out.toStdString();
    EXPECT_EQ(changed.out.count(QStringLiteral("  different ")), 1) << changed.out.toStdString();

    if (!layout.flavor.empty()) {
        // A flavor's file gone.
        const QString flavorIcon = lockedPng(root, QStringLiteral("flavors.%1.android").arg(layout.flavor.c_str()));
        ASSERT_FALSE(flavorIcon.isEmpty());
        fs::remove(root / flavorIcon.toStdString());
        const test::ProgramRun removed = cli({"sync", test::str(root), "--check"});
        EXPECT_EQ(removed.exitCode, 1);
        EXPECT_TRUE(removed.out.contains(QStringLiteral("missing %1").arg(flavorIcon))) << removed.out.toStdString();
    }
    // sync puts back what the check found, and then the check passes.
    ASSERT_EQ(cli({"sync", test::str(root)}).exitCode, 0);
    EXPECT_EQ(cli({"sync", test::str(root), "--check"}).exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProjectLayouts, ::testing::ValuesIn(test::projectLayouts()),
                         [](const auto& info) { return info.param.name; });

TEST(ProjectSync, theSameInputsGiveTheSameBytes_onOneCoreOrTwo_inAnotherLocaleAndTimeZone)
{
    if (QStandardPaths::findExecutable(QStringLiteral("taskset")).isEmpty())
        GTEST_SKIP() << "taskset is not installed";
    test::Scratch scratch;
    const test::ProjectLayout& flutter = test::projectLayouts().front();
    for (const char* copy : {"a", "b"}) {
        test::makeProject(flutter, scratch / copy);
        ASSERT_EQ(cli({"init", test::str(scratch / copy)}).exitCode, 0);
    }
    ASSERT_EQ(cli({"sync", test::str(scratch / "a")}).exitCode, 0);
    const test::ProgramRun other = test::runProgram(QStringLiteral("env"),
                                                    {"LC_ALL=C", "LANG=C", "TZ=Pacific/Kiritimati", "taskset", "-c",
                                                     "0", test::cliPath, "sync", test::str(scratch / "b")});
    ASSERT_EQ(other.exitCode, 0) << other.err.toStdString();
    EXPECT_EQ(test::treeOf(scratch / "a"), test::treeOf(scratch / "b"));
    // The lock of one copy vouches for the other's files.
    fs::copy_file(scratch / "a/quorva.lock", scratch / "b/quorva.lock", fs::copy_options::overwrite_existing);
    EXPECT_EQ(cli({"sync", test::str(scratch / "b"), "--check"}).exitCode, 0);
}

TEST(ProjectSync, aFlavorsSyncWritesOnlyItsOwnFiles)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(test::projectLayouts().front(), root);
    ASSERT_EQ(cli({"init", test::str(root)}).exitCode, 0);
    const test::Snapshot before = test::snapshotOf(root);
    const test::ProgramRun dev = cli({"sync", test::str(root), "--flavor", "dev"});
    ASSERT_EQ(dev.exitCode, 0) << dev.err.toStdString();
    EXPECT_EQ(dev.out.count(QStringLiteral(": written, ")), 2) << dev.out.toStdString();
    EXPECT_TRUE(dev.out.contains("ASSETCATALOG_COMPILER_APPICON_NAME = AppIcon-dev")) << dev.out.toStdString();
    for (const QString& change : test::differences(before, test::snapshotOf(root)))
        EXPECT_TRUE(change.startsWith("android/app/src/dev")
                    || change.startsWith("ios/Runner/Assets.xcassets/AppIcon-dev") || change.startsWith("quorva.lock"))
            << change.toStdString();
    EXPECT_EQ(cli({"sync", test::str(root), "--flavor", "nightly"}).exitCode, 2);
}

TEST(ProjectSync, aDryRunListsEachFileItWouldChange_andWritesNothing)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(test::projectLayouts()[3], root); // Tauri
    ASSERT_EQ(cli({"init", test::str(root)}).exitCode, 0);
    const test::Snapshot before = test::snapshotOf(root);
    const test::ProgramRun dry = cli({"sync", test::str(root), "--dry-run"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    for (const char* file : {"32x32.png", "128x128.png", "128x128@2x.png", "icon.icns", "icon.ico"})
        EXPECT_TRUE(dry.out.contains(QStringLiteral("  add src-tauri/icons/%1").arg(file))) << dry.out.toStdString();
    EXPECT_EQ(test::snapshotOf(root), before);
    ASSERT_EQ(cli({"sync", test::str(root)}).exitCode, 0);
    EXPECT_EQ(test::decodeFile(root / "src-tauri/icons/128x128@2x.png").size(), QSize(256, 256));
    EXPECT_TRUE(cli({"sync", test::str(root), "--dry-run"}).out.contains("tauri: up to date, 5 files"));
}

TEST(ProjectSync, aTargetThatFailsLeavesItsPlaceAsItWas_andTheOthersAreWritten)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(test::projectLayouts()[2], root); // Capacitor
    ASSERT_EQ(cli({"init", test::str(root)}).exitCode, 0);
    test::writeBytes(root / "public/manifest.json", "{\"icons\": [");
    const test::Snapshot site = test::snapshotOf(root / "public");
    const test::ProgramRun sync = cli({"sync", test::str(root)});
    EXPECT_EQ(sync.exitCode, 1);
    EXPECT_TRUE(sync.out.contains("web: failed: ")) << sync.out.toStdString();
    EXPECT_TRUE(sync.out.contains("ios: written, ") && sync.out.contains("android: written, "))
        << sync.out.toStdString();
    EXPECT_EQ(test::snapshotOf(root / "public"), site);
}

TEST(ProjectSync, aBadQuorvaTomlNamesItsLine_andNothingIsWritten)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(test::projectLayouts()[1], root); // React Native
    test::writeBytes(root / "quorva.toml",
                     "source = \"assets/icon.png\"\n\n[ios]\ncatalog = \"ios/Demo/Images.xcassets\"\n"
                     "\n[android]\nres = \"android/app/src/main/res\"\ncolour = \"#fff\"\n");
    const test::Snapshot before = test::snapshotOf(root);
    const test::ProgramRun sync = cli({"sync", test::str(root)});
    EXPECT_EQ(sync.exitCode, 2);
    EXPECT_TRUE(sync.err.contains("quorva.toml:8: unknown key 'colour' in [android]")) << sync.err.toStdString();
    EXPECT_EQ(test::snapshotOf(root), before);
}

TEST(ProjectSync, aCheckFindsANewSourceAndAStrayFile_andTrustsTheLockOnlyForTheInputsItRecords)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::makeProject(test::projectLayouts()[4], root); // an Xcode project of two targets
    ASSERT_EQ(cli({"init", test::str(root)}).exitCode, 0);
    ASSERT_EQ(cli({"sync", test::str(root)}).exitCode, 0);
    // A file of the user's in the set, which Xcode would warn of and sync would not have written.
    test::writeBytes(root / "Demo/Assets.xcassets/AppIcon.appiconset/notes.png", "mine");
    const test::ProgramRun stray = cli({"sync", test::str(root), "--check"});
    EXPECT_EQ(stray.exitCode, 1);
    EXPECT_TRUE(stray.out.contains("  stale Demo/Assets.xcassets/AppIcon.appiconset/notes.png"))
        << stray.out.toStdString();
    fs::remove(root / "Demo/Assets.xcassets/AppIcon.appiconset/notes.png");
    // A new source: every icon differs from what the lock recorded for the old one.
    QImage other(512, 512, QImage::Format_ARGB32_Premultiplied);
    other.fill(qRgb(200, 40, 40));
    test::savePngTo(root / "icon.png", other);
    const test::ProgramRun changed = cli({"sync", test::str(root), "--check"});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_GE(changed.out.count("  different "), 20) << changed.out.toStdString();
    ASSERT_EQ(cli({"sync", test::str(root)}).exitCode, 0);
    EXPECT_EQ(cli({"sync", test::str(root), "--check"}).exitCode, 0);
}
