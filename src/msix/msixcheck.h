#pragma once

#include "target/finding.h"

#include <filesystem>
#include <vector>

namespace quorva {

// A package's images folder as Windows and the Store take it: every image whole and of the size
// its name gives; the medium tile at scale 100, which the Store asks of every package; and the
// unplated app icons of a qualified set, without which Windows 11 draws the icon on a plate in the
// taskbar and Start.
// shown is how the folder is named in the findings.
std::vector<Finding> checkMsixFolder(const std::filesystem::path& folder, const QString& shown);

// Whether a folder holds a package's images: a logo or an app icon by its default name.
bool isMsixFolder(const std::filesystem::path& folder);
// Whether its images are qualified (.scale-200, .targetsize-48), as Visual Studio writes them.
bool hasQualifiedMsixImages(const std::filesystem::path& folder);

} // namespace quorva
