#pragma once

#include "target/installer.h"

#include <QString>

#include <filesystem>
#include <vector>

namespace quorva {

// A file in which the disk differs from what installing the placements would make it.
struct FileDifference {
    enum class Kind {
        Missing,   // the plan has it, the disk does not
        Different, // both have it, with other bytes
        Stale,     // the disk has it, and installing would remove it: an earlier run's, or in a folder
                   // the output owns whole
    } kind;
    std::filesystem::path path; // below the placement's root, joined to it
};

// What installing would change, found without writing: every planned file read back (a link in a
// file's place counts as different, and is never followed), every removal that is there, and every
// file of a whole folder that the plan does not name. Hidden files, which the outputs keep for
// their own bookkeeping and every tool passes over, are left out. In the placements' order.
std::vector<FileDifference> differencesFromDisk(const std::vector<Placement>& placements);

QString describe(FileDifference::Kind kind); // "missing", "different", "stale"

// Whether a path below a placement's root names a hidden file, or one in a hidden folder: the
// outputs' bookkeeping (Android's list of the files a run wrote), which no comparison counts.
bool isBookkeeping(const QString& path);

} // namespace quorva
