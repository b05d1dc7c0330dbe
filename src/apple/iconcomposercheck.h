#pragma once

#include "target/finding.h"

#include <filesystem>
#include <vector>

namespace quorva {

// Checks an Icon Composer file (NAME.icon, Xcode 26): its icon.json is valid JSON of the shape
// Icon Composer writes (groups of layers, each layer's image-name a file in Assets/). shown is how
// its path is printed.
std::vector<Finding> checkIconComposerFile(const std::filesystem::path& icon, const QString& shown);

} // namespace quorva
