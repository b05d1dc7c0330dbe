// quorva.lock vouches for a target only while everything its files were made from is as it was:
// change any input its planner read (a byte of a file, a file there or not, a name in a folder)
// and sync --check makes the files again instead of trusting the lock.
#include "project/projectsync.h"
#include "project/synclock.h"
#include "projectlayouts.h"
#include "support/paths.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

// Changes one input on the disk, and puts it back when it goes.
class ChangedInput {
public:
    ChangedInput(const fs::path& root, const KindInput& input) : m_path(root / toPath(input.path)), m_kind(input.kind)
    {
        std::error_code error;
        m_was = fs::exists(fs::symlink_status(m_path, error));
        switch (m_kind) {
        case KindInput::Kind::File:
            if (m_was) {
                m_bytes = test::readBytes(m_path);
                test::writeBytes(m_path, m_bytes + "\n#");
            } else {
                test::writeFile(m_path, "#");
            }
            break;
        case KindInput::Kind::Presence:
            if (m_was)
                fs::rename(m_path, aside());
            else
                test::writeFile(m_path, "#");
            break;
        case KindInput::Kind::Listing:
            test::writeFile(m_path / "zz-added-by-the-test", "#");
            break;
        }
    }
    ~ChangedInput()
    {
        switch (m_kind) {
        case KindInput::Kind::File:
            if (m_was)
                test::writeBytes(m_path, m_bytes);
            else
                fs::remove(m_path);
            break;
        case KindInput::Kind::Presence:
            if (m_was)
                fs::rename(aside(), m_path);
            else
                fs::remove(m_path);
            break;
        case KindInput::Kind::Listing:
            fs::remove(m_path / "zz-added-by-the-test");
            if (!m_was)
                fs::remove(m_path);
            break;
        }
    }
    ChangedInput(const ChangedInput&) = delete;
    ChangedInput& operator=(const ChangedInput&) = delete;

private:
    fs::path aside() const { return m_path.string() + ".aside"; }

    fs::path m_path;
    KindInput::Kind m_kind;
    bool m_was = false;
    QByteArray m_bytes;
};

class LockInputs : public ::testing::TestWithParam<test::KindRow> {};

} // namespace

TEST_P(LockInputs, aChangeOfAnyInputItsPlannerReadMakesTheCheckMakeTheFilesAgain)
{
    test::Scratch scratch;
    const fs::path root = scratch / "app";
    test::allKindsProject(root);
    test::writeBytes(root / "quorva.toml",
                     QByteArray("source = \"art/transparent.png\"\nbackground = \"#ffffff\"\n\n") + GetParam().table);
    ASSERT_FALSE(syncProject(root, {}, SyncMode::Write).failed());
    // One of its files changed, and the lock made to vouch for the change: only a check that
    // makes the files again can see it.
    SyncLock lock = readSyncLock(test::readBytes(root / "quorva.lock"));
    ASSERT_EQ(lock.targets.size(), 1u);
    LockedTarget& locked = lock.targets.begin()->second;
    for (const QString& input : GetParam().inputs + QStringList{QStringLiteral("file:art/transparent.png")})
        EXPECT_TRUE(locked.reads.contains(input))
            << input.toStdString() << " in " << locked.reads.join(' ').toStdString();
    const auto& [file, digest] = *locked.files.begin();
    const QByteArray changed = test::readBytes(root / file.toStdString()) + "changed";
    test::writeBytes(root / file.toStdString(), changed);
    locked.files[file] = digestOf(changed);
    test::writeBytes(root / "quorva.lock", writeSyncLock(lock));
    ASSERT_FALSE(syncProject(root, {}, SyncMode::Check).failed()) << "the lock vouches for what it records";
    for (const QString& read : locked.reads) {
        const std::optional<KindInput> input = inputNamed(read);
        ASSERT_TRUE(input) << read.toStdString();
        const ChangedInput change(root, *input);
        EXPECT_TRUE(syncProject(root, {}, SyncMode::Check).failed()) << read.toStdString();
    }
    EXPECT_FALSE(syncProject(root, {}, SyncMode::Check).failed()) << "every input is back as it was";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LockInputs, ::testing::ValuesIn(test::kindRows()),
                         [](const auto& info) { return std::to_string(info.index); });
