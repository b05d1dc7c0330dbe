#pragma once

#include "project/projecttarget.h"
#include "target/outputkind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>

namespace quorva {

// What sync last wrote for a target: a digest of everything its files are made from, and of each
// file, so that sync --check can tell whether the files are what sync would write without making
// them again. Paths are relative to the project's root.
struct LockedTarget {
    QString inputs;                   // the digest of its inputs
    QStringList reads;                // what they are: "file:PATH", "presence:PATH", "listing:PATH"
    QString place;                    // where it writes, as sync says it
    std::map<QString, QString> files; // path: digest
    QStringList folders;              // folders it owns whole: a file in one that it did not write is stale
    QStringList lists;                // the lists of files its earlier runs wrote (Android's), likewise
};
struct SyncLock {
    std::map<QString, LockedTarget> targets; // by ProjectTarget::key()
};

// quorva.lock, kept beside quorva.toml and committed with it. An unreadable lock is an empty one:
// sync --check then makes every file to compare.
SyncLock readSyncLock(const QByteArray& text);
QByteArray writeSyncLock(const SyncLock& lock);
inline constexpr const char* syncLockName = "quorva.lock";

QString digestOf(const QByteArray& bytes);
// The digest of a target's inputs: Quorva's version, the target's settings, and everything its
// planner read.
QString inputsDigest(const ProjectTarget& target, const std::vector<KindInput>& inputs);
// The inputs a lock names, as the disk has them now.
std::vector<KindInput> inputsNow(const QStringList& reads, const std::filesystem::path& root);

} // namespace quorva
