#pragma once

#include "target/finding.h"

#include <QStringList>

#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

// What checking an app's Android resources found.
struct ResCheck {
    QStringList icons; // each launcher icon checked, as "res/@mipmap/ic_launcher"
    std::vector<Finding> findings;
};

// Checks the launcher icons of a res folder, of a Gradle module's folder (each of its source sets'
// res) or of a Gradle project's (each module's), as Android's build merges them: a module's source
// sets together, with the modules it depends on. The icons are those the module's manifests name
// for the application and its aliases (else every mipmap that is no adaptive icon's layer), judged
// for the versions its minSdk reaches. Errors are what the build refuses: a resource that nothing
// it merges defines, a PNG that is not whole. Warnings are what launchers show badly: a density
// missing, a wrong pixel size, no themed layer, art outside the 66 dp circle that no launcher
// masks. Each finding is made once per file and rule. A reason when the path can't be checked.
std::optional<QString> checkAndroidRes(const std::filesystem::path& path, ResCheck& check);

} // namespace quorva
