#pragma once

#include "target/installreport.h"
#include "target/plan.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace quorva {

// A plan and the folder its paths lie below.
// How the names of the files Quorva keeps for itself begin (a file being staged, the list of what
// a run wrote): hidden, so that Xcode, Android's build and the checks pass over them, and no file of
// an output.
inline constexpr const char* ownFilePrefix = ".quorva-";

struct Placement {
    std::filesystem::path root;
    Plan plan;
    bool makeRoot = false; // a missing root is made as mkdir -p makes it, and goes again on failure
};

// Puts plans onto the disk all or nothing: afterwards every file of every plan is in, or the disk
// is as it was, and the report says which in one line per failure.
//  1. Before a byte is written it finds what would stop the run: a link anywhere in the way that
//     leads out of its root (a link to a folder inside the root is followed, a link in a file's
//     place never), a file where a folder must be or a folder where a file must be, a read-only
//     file or a folder that can't be written, too little free space for the new bytes.
//  2. Every new file is written and flushed beside its place under a hidden staging name, which
//     Xcode, Android's build and the checks pass over; a whole folder is staged as a folder.
//  3. They are swapped in one by one with renames that exchange old and new, so that no file or
//     whole folder is ever missing or half written; the files to remove step aside the same way.
//     Should any step fail, what was swapped goes back, in reverse.
//  4. Only then is what was replaced deleted.
// A file that holds its bytes already is left as it is, so that a later run changes no time.
// What killed runs left under staging names in the folders it uses is removed first.
InstallReport install(const std::vector<Placement>& placements);
InstallReport install(const std::filesystem::path& root, const Plan& plan, bool makeRoot = false);

// For fault tests: called before each file is staged (commit false) and before each is swapped
// in (commit true), with the file's path; a non-zero errno makes that step fail as the system
// would. Unset, as it is outside tests, it costs one check a file.
using InstallFault = std::function<int(const std::filesystem::path& file, bool commit)>;
void setInstallFaultForTesting(InstallFault fault);

} // namespace quorva
