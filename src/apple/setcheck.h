#pragma once

#include "apple/iconsetrole.h"
#include "target/finding.h"

#include <filesystem>
#include <vector>

namespace quorva {

class ImageFiles;

// What a set is checked within: the catalog it belongs to (links inside it are followed, those
// that lead out are not), the files already read in this run, and, for an app icon set, its role.
struct SetCheckContext {
    std::filesystem::path catalog;
    ImageFiles* files = nullptr;
    IconSetRole role;
};

// Checks an app icon set or image set folder against the rules Apple's tools apply. Files are
// opened only by the names its Contents.json gives, inside the folder, and PNG files are read
// chunk by chunk with their image data inflated but not kept. shown is how the set's path is
// printed.
std::vector<Finding> checkSet(const std::filesystem::path& set, const QString& shown, const SetCheckContext& context);

} // namespace quorva
