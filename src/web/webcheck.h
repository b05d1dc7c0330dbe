#pragma once

#include "target/finding.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

// The manifest of a site folder (manifest.webmanifest, else manifest.json), when it has one.
std::optional<std::filesystem::path> siteManifest(const std::filesystem::path& folder);

// A site as browsers read it: the manifest that is no JSON, an icon it names that is not there or
// not of its size, no 192 and 512 px icons to install the app from, a maskable icon that a mask
// would show transparent, a transparent touch icon (iOS fills it with black), a broken favicon.
std::vector<Finding> checkSite(const std::filesystem::path& folder, const std::filesystem::path& manifest);

} // namespace quorva
