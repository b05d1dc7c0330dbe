#pragma once

#include <QString>

#include <filesystem>
#include <optional>

namespace quorva {

// A launcher icon as a project has it today, for init to ask for one that keeps all of it: read
// from its res folder and the others of its Gradle module (a flavor's icon may take main's
// adaptive icon, and its colour from yet another values file).
struct ExistingLauncherIcon {
    bool adaptive = false;   // an adaptive icon's XML names its layers
    bool monochrome = false; // with a themed layer
    // Its background layer: a colour as the values file that defines it writes it ("#2a4c7d"), or
    // a bitmap's densest file.
    std::optional<QString> backgroundColour;
    std::optional<std::filesystem::path> backgroundImage;
    bool webp = false; // its files in res are WebP, as Android Studio writes them
};
ExistingLauncherIcon readExistingLauncherIcon(const std::filesystem::path& res, const QString& name);

} // namespace quorva
