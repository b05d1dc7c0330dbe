#pragma once

#include "android/androidiconplan.h"
#include "android/resfolderwriter.h"

#include <filesystem>
#include <optional>

namespace quorva {

// Puts a launcher icon into a res folder, as quorva-cli android and the window both do. Nothing
// is written, and the one failure says why, when res is no folder, is no source set's res folder
// (src/main/res, src/free/res…) unless forced, or holds what Android's build would take for one of
// the icon's resources twice: its colour defined in another values file, or a file of the same
// name with another extension (replaced when forced).
AndroidWrite installAndroidIcon(const std::filesystem::path& res, const AndroidIconPlan& plan, const QString& name,
                                bool force, const std::optional<std::filesystem::path>& playStore = std::nullopt);
// The same as placements, for the installer or a comparison with the disk.
// earlier: what an earlier run wrote there, where the project's lock keeps it (see placeAndroidIcons).
AndroidPlacement placeAndroidIcon(const std::filesystem::path& res, const AndroidIconPlan& plan, const QString& name,
                                  bool force, const std::optional<std::filesystem::path>& playStore = std::nullopt,
                                  const std::optional<QStringList>& earlier = std::nullopt);

} // namespace quorva
