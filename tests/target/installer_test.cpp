// The one installer every output goes through: all of a plan, or the disk as it was.
#include "target/installer.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorva;
namespace fs = std::filesystem;

namespace {

Plan planOf(std::initializer_list<std::pair<const char*, const char*>> files)
{
    Plan plan;
    for (const auto& [path, bytes] : files)
        plan.add(QString::fromUtf8(path), QByteArray(bytes));
    return plan;
}

class Installer : public ::testing::Test {
protected:
    test::Scratch scratch;
    fs::path root = scratch / "dest";
    std::vector<fs::path> staged, swapped; // every file the installer told the fault seam of

    void SetUp() override
    {
        fs::create_directories(root);
        setInstallFaultForTesting([this](const fs::path& file, bool commit) {
            (commit ? swapped : staged).push_back(file);
            return 0;
        });
    }
    void TearDown() override { setInstallFaultForTesting({}); }

    // The installer fails with the error at the nth file it stages or swaps in.
    void failAt(bool commit, std::size_t nth, int error = ENOSPC)
    {
        setInstallFaultForTesting([commit, nth, error, count = std::size_t(0)](const fs::path&, bool now) mutable {
            return now == commit && count++ == nth ? error : 0;
        });
    }
};

} // namespace

TEST_F(Installer, putsEveryFileIn_makingTheFoldersOnTheWay)
{
    const InstallReport report = install(root, planOf({{"a/b/one.png", "1"}, {"two.txt", "2"}}));
    ASSERT_FALSE(report.failed()) << report.failures.join('\n').toStdString();
    EXPECT_EQ(test::treeOf(root), (test::Tree{{"a/b/one.png", "1"}, {"two.txt", "2"}}));
    EXPECT_EQ(report.written, (std::vector<fs::path>{root / "a/b/one.png", root / "two.txt"}));
    EXPECT_TRUE(report.unchanged.empty());
    EXPECT_EQ(test::snapshotOf(root).size(), 4u) << "no staging file is left";
}

TEST_F(Installer, aFileThatHoldsItsBytesAlreadyIsLeftAsItIs)
{
    ASSERT_FALSE(install(root, planOf({{"same.png", "same"}, {"other.png", "old"}})).failed());
    struct stat before {};
    ::stat((root / "same.png").c_str(), &before);
    const ino_t inode = before.st_ino;
    const InstallReport report = install(root, planOf({{"same.png", "same"}, {"other.png", "new"}}));
    struct stat after {};
    ::stat((root / "same.png").c_str(), &after);
    EXPECT_EQ(after.st_ino, inode) << "not rewritten";
    EXPECT_EQ(report.unchanged, std::vector<fs::path>{root / "same.png"});
    EXPECT_EQ(report.written, std::vector<fs::path>{root / "other.png"});
    EXPECT_EQ(report.fileCount(), 2u);
}

TEST_F(Installer, aWholeFolderIsReplacedWhole_andWhatOnlyTheOldOneHeldGoes)
{
    Plan old = planOf({{"Set/a.png", "a"}, {"Set/gone.png", "x"}});
    old.wholeFolders << QStringLiteral("Set");
    ASSERT_FALSE(install(root, old).failed());
    Plan now = planOf({{"Set/a.png", "A"}, {"Set/Assets/b.png", "b"}});
    now.wholeFolders << QStringLiteral("Set");
    ASSERT_FALSE(install(root, now).failed());
    EXPECT_EQ(test::treeOf(root), (test::Tree{{"Set/Assets/b.png", "b"}, {"Set/a.png", "A"}}));
    EXPECT_EQ(test::snapshotOf(root).size(), 4u) << "no staging folder is left";
}

TEST_F(Installer, removalsGoOnceThePlanIsIn)
{
    ASSERT_FALSE(install(root, planOf({{"keep.png", "k"}, {"stale.png", "s"}})).failed());
    Plan plan = planOf({{"keep.png", "k"}});
    plan.removals << QStringLiteral("stale.png") << QStringLiteral("never-there.png");
    const InstallReport report = install(root, plan);
    EXPECT_EQ(report.removed, QStringList{QStringLiteral("stale.png")});
    EXPECT_EQ(test::filesBelow(root), QStringList{QStringLiteral("keep.png")});
}

// Every step that can fail, at the first, a middle and the last file: the disk is as it was.
struct FaultRow {
    const char* name;
    bool commit;
    int at; // 0 the first, 1 a middle, 2 the last
};

class InstallerFault : public Installer, public ::testing::WithParamInterface<FaultRow> {
protected:
    static void writeOld(const fs::path& folder)
    {
        Plan old = planOf({{"Set/a.png", "old a"}, {"Set/b.png", "old b"}});
        old.wholeFolders << QStringLiteral("Set");
        old.add(QStringLiteral("res/x.png"), "old x");
        old.add(QStringLiteral("res/stale.png"), "stale");
        ASSERT_FALSE(install(folder, old).failed());
    }
    static Plan newPlan()
    {
        Plan now = planOf({{"Set/a.png", "new a"}, {"Set/c.png", "new c"}});
        now.wholeFolders << QStringLiteral("Set");
        now.add(QStringLiteral("res/x.png"), "new x");
        now.add(QStringLiteral("res/deeper/y.png"), "new y");
        now.add(QStringLiteral("new/z.png"), "new z");
        now.removals << QStringLiteral("res/stale.png");
        return now;
    }
};

TEST_P(InstallerFault, leavesTheDestinationAsItWas)
{
    // How many steps of the kind there are, counted on a copy.
    const fs::path copy = scratch / "copy";
    fs::create_directories(copy);
    writeOld(copy);
    writeOld(root);
    staged.clear();
    swapped.clear();
    ASSERT_FALSE(install(copy, newPlan()).failed());
    const std::size_t steps = (GetParam().commit ? swapped : staged).size();
    ASSERT_GE(steps, 5u);
    const std::size_t nth = GetParam().at == 0 ? 0 : GetParam().at == 1 ? steps / 2 : steps - 1;

    const test::Snapshot before = test::snapshotOf(root);
    failAt(GetParam().commit, nth);
    const InstallReport report = install(root, newPlan());
    ASSERT_EQ(report.failures.size(), 1) << report.failures.join('\n').toStdString();
    EXPECT_TRUE(report.failures[0].contains("No space left on device")) << report.failures[0].toStdString();
    EXPECT_EQ(test::differences(before, test::snapshotOf(root)), QStringList{});
}

INSTANTIATE_TEST_SUITE_P(AtEachStep, InstallerFault,
                         ::testing::Values(FaultRow{"firstStaged", false, 0}, FaultRow{"middleStaged", false, 1},
                                           FaultRow{"lastStaged", false, 2}, FaultRow{"firstSwapped", true, 0},
                                           FaultRow{"middleSwapped", true, 1}, FaultRow{"lastSwapped", true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Installer, aMissingRootIsMadeAsMkdirWould_andGoesAgainWhenTheRunFails)
{
    const fs::path deep = scratch / "made/on/the/way";
    failAt(true, 1);
    EXPECT_TRUE(install(deep, planOf({{"a", "1"}, {"b", "2"}}), true).failed());
    EXPECT_FALSE(fs::exists(scratch / "made"));
    setInstallFaultForTesting({});
    EXPECT_FALSE(install(deep, planOf({{"a", "1"}, {"b", "2"}}), true).failed());
    EXPECT_EQ(test::filesBelow(deep), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(install(scratch / "absent", planOf({{"a", "1"}})).failed()) << "made only when asked";
}

TEST_F(Installer, refusesWhatLiesInTheWay_beforeWritingAnything)
{
    const fs::path outside = scratch / "outside";
    fs::create_directories(outside);
    test::writeBytes(outside / "victim.png", "the user's");
    fs::create_directories(root / "inside");
    fs::create_directories(root / "folder.png");
    fs::create_symlink(outside / "victim.png", root / "linked.png");
    fs::create_symlink(outside, root / "out");
    fs::create_symlink(root / "inside", root / "in");
    test::writeBytes(root / "readonly.png", "mine");
    fs::permissions(root / "readonly.png", fs::perms::owner_read | fs::perms::group_read);
    const test::Snapshot before = test::snapshotOf(root);

    const struct {
        const char* path;
        const char* says;
    } rows[] = {
        {"linked.png", "symbolic link"}, {"out/escaped.png", "leads out of"},     {"folder.png", "Is a directory"},
        {"readonly.png", "read-only"},   {"folder.png/../x", "Invalid argument"},
    };
    for (const auto& row : rows) {
        const InstallReport report = install(root, planOf({{"first.png", "1"}, {row.path, "2"}}));
        ASSERT_EQ(report.failures.size(), 1) << row.path;
        EXPECT_TRUE(report.failures[0].contains(row.says)) << report.failures[0].toStdString();
        EXPECT_EQ(test::differences(before, test::snapshotOf(root)), QStringList{}) << row.path;
    }
    EXPECT_EQ(test::readBytes(outside / "victim.png"), "the user's");
    EXPECT_TRUE(staged.empty()) << "found before a byte was written";

    // A link to a folder inside the destination is followed.
    EXPECT_FALSE(install(root, planOf({{"in/followed.png", "1"}})).failed());
    EXPECT_EQ(test::readBytes(root / "inside/followed.png"), "1");
}

TEST_F(Installer, aFullDiskIsFoundBeforeAByteIsWritten)
{
    const test::SmallDisk disk(scratch / "disk", 1 << 20);
    if (!disk.mounted)
        GTEST_SKIP() << "no tmpfs can be mounted here to fill up";
    ASSERT_FALSE(install(disk.folder, planOf({{"a.png", "old"}})).failed());
    disk.fill(64 << 10);
    const test::Snapshot before = test::snapshotOf(disk.folder);
    Plan large;
    large.add(QStringLiteral("a.png"), QByteArray(256 << 10, 'n'));
    staged.clear();
    const InstallReport report = install(disk.folder, large);
    ASSERT_EQ(report.failures.size(), 1);
    EXPECT_TRUE(report.failures[0].contains("No space left on device")) << report.failures[0].toStdString();
    EXPECT_TRUE(staged.empty());
    EXPECT_EQ(test::differences(before, test::snapshotOf(disk.folder)), QStringList{});
}

TEST_F(Installer, whatAKilledRunLeftUnderStagingNamesGoes_evenFromAFolderThisRunLeavesAsItIs)
{
    ASSERT_FALSE(install(root, planOf({{"a.png", "1"}})).failed());
    // A process that has ended: its pid is free.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(gone, &status, 0);
    const std::string leftover = ".quorva-staging-" + std::to_string(gone) + "-7";
    test::writeBytes(root / leftover, "half");
    fs::create_directories(root / (leftover + "-folder"));
    const std::string running = ".quorva-staging-" + std::to_string(::getppid()) + "-1"; // a live process's
    test::writeBytes(root / running, "busy");
    const InstallReport again = install(root, planOf({{"a.png", "1"}}));
    ASSERT_FALSE(again.failed());
    EXPECT_TRUE(again.written.empty()) << "nothing to write";
    EXPECT_FALSE(fs::exists(root / leftover));
    EXPECT_FALSE(fs::exists(root / (leftover + "-folder")));
    EXPECT_TRUE(fs::exists(root / running));
}
