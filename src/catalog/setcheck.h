#pragma once

#include "catalog/finding.h"

#include <filesystem>
#include <vector>

namespace quorva {

// Checks an app icon set or image set folder against the rules Apple's tools apply. Files are
// opened only by the names its Contents.json gives, inside the folder and without following
// links, and PNG files only as headers and chunk lists. shown is how the set's path is printed.
std::vector<Finding> checkSet(const std::filesystem::path& set, const QString& shown);

} // namespace quorva
