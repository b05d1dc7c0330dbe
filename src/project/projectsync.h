#pragma once

#include "project/projectconfig.h"
#include "target/plancomparison.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace quorva {

enum class SyncMode {
    Write,  // every target put in whole through the installer, quorva.lock brought up to date
    DryRun, // nothing written: what would change, file by file
    Check,  // nothing written: whether the files are what sync would write
};

// What sync did, or found, for one target.
struct TargetSync {
    QString label; // "ios", "android (dev)"
    QString where; // the place it writes, relative to the project
    enum class State {
        Written,   // some of its files were new or changed
        Unchanged, // every file held its bytes already
        Failed,    // nothing of it was written
        UpToDate,  // dry run or check: nothing would change
        Differs,   // dry run or check: these files would
    } state
        = State::Failed;
    std::size_t files = 0;                   // its files on the disk now, or that it would have
    std::size_t removed = 0;                 // files of earlier runs removed
    QString failure;                         // why it failed
    QStringList notes;                       // what the user should know (a flavor's build setting)
    std::vector<FileDifference> differences; // dry run and check, paths relative to the project
};

struct SyncReport {
    std::vector<TargetSync> targets;
    QStringList errors; // quorva.toml could not be read, or a flavor asked for is not in it: nothing was done
    // Why no target was written, though quorva.toml is sound: an image the icons are made from
    // lies where a target writes, and syncing would replace it.
    QStringList refusals;
    bool failed() const;
};

// Syncs the project at root by its quorva.toml. Each target goes in whole or not at all, and a
// target that fails leaves the others to go on. flavors: only their targets (never another
// flavor's files, nor the project's own); empty: every target. A check trusts quorva.lock for a
// target whose inputs are those the lock records, comparing the files' digests; for another it
// makes the files and compares them.
SyncReport syncProject(const std::filesystem::path& root, const QStringList& flavors, SyncMode mode);
// The same by a config of the caller's (the window's, its changes not saved yet): quorva.lock is
// brought up to date only when lock is set, as it vouches for quorva.toml's targets.
SyncReport syncProject(const std::filesystem::path& root, const ProjectConfig& config, const QStringList& flavors,
                       SyncMode mode, bool lock);

} // namespace quorva
