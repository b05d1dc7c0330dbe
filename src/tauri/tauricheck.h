#pragma once

#include "target/finding.h"

#include <filesystem>
#include <vector>

namespace quorva {

// What a Tauri app's build would refuse of the icons its configurations name (the main one and
// its platforms'): an icon that is not there, or not whole, or an .ico or .icns that Windows or
// macOS would not take; a PNG whose size is not the one its name gives is a warning, as the
// bundler takes it as it is.
std::vector<Finding> checkTauriIcons(const std::filesystem::path& config);

} // namespace quorva
