#pragma once

#include "image/sourceimages.h"
#include "project/projecttarget.h"
#include "project/synclock.h"
#include "target/installer.h"
#include "target/outputkind.h"

#include <QByteArray>

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace quorva {

// What sync puts on the disk for one target: the placements the installer takes, or why it can't.
struct TargetPlacement {
    std::vector<Placement> placements;
    QString where; // the place it writes, as quorva.toml names it: "android/app/src/main/res"
    std::optional<QString> failure;
    bool sourceFailed = false; // the failure is the source's: it can't be read
    QStringList notes;
    std::vector<KindInput> inputs; // what its files were made from
    // Files that go though no run of Quorva's wrote them: the same resources in another format,
    // left by another tool. Paths below the project.
    QStringList replaced;
};
// earlier: what the project's lock says the last sync wrote for the target, if it wrote it.
TargetPlacement placeTarget(const ProjectTarget& target, const std::filesystem::path& root, SourceImages& images,
                            const LockedTarget* earlier = nullptr);

// The targets' files made side by side, each target on a thread of its own: each spreads its
// icons over the pool, and while one waits for the last of its icons another's keep the cores
// busy. In the targets' order.
std::vector<TargetPlacement> placeTargets(const std::vector<const ProjectTarget*>& targets,
                                          const std::filesystem::path& root, const SyncLock& lock = {});

} // namespace quorva
