#pragma once

#include "target/finding.h"

#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

// What checking an Android res folder found.
struct ResCheck {
    QStringList icons; // each launcher icon checked, as "res/@mipmap/ic_launcher"
    std::vector<Finding> findings;
};

// Checks the launcher icons of an app's res folder: those its AndroidManifest.xml (beside res)
// names, else every mipmap that is no adaptive icon's layer. Errors are what Android's build
// refuses: an adaptive icon naming a resource that is nowhere, a PNG that is not whole. Warnings
// are what launchers show badly: a density missing (scaled from another), a wrong pixel size, no
// themed layer, art outside the 66 dp circle that no launcher masks. A reason when it is no folder.
std::optional<QString> checkAndroidRes(const std::filesystem::path& res, ResCheck& check);

} // namespace quorva
