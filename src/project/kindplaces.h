#pragma once

#include "target/outputkind.h"

#include <filesystem>

namespace quorva {

// The places of a kind's options a path given to it holds, as the command line and the window
// take one: the folder or file of one of its options (a res folder, an asset catalog), else a
// project's folder, for the places init finds there; each as the path joined to the place. Empty
// where the path is neither.
ConfigTable placesAt(const OutputKind& kind, const std::filesystem::path& path);

} // namespace quorva
