#pragma once

#include "target/outputkind.h"

#include <filesystem>
#include <vector>

namespace quorva {

// A Tauri app's bundled icons ([tauri], quorva-cli tauri): every file the configuration's
// bundle.icon, and each of its platforms' configurations', lists.
extern const OutputKind tauriKind;

// The configurations of a Tauri app that name its icons: the main one, and those of its platforms
// beside it that are there.
std::vector<std::filesystem::path> tauriConfigs(const std::filesystem::path& config);

} // namespace quorva
