#pragma once

#include "project/projectconfig.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>

namespace quorva {

// flutter_launcher_icons' settings, as a Flutter project keeps them: a flutter_launcher_icons
// section of pubspec.yaml, or flutter_launcher_icons.yaml, and one flutter_launcher_icons-NAME.yaml
// for each flavor. Read into what quorva.toml says with the same effect, over the targets found:
// the source and background, the platforms it writes (those it turns off are dropped), each
// platform's own image and colours.
struct ImportedLauncherIcons {
    QString from;          // the files it was read from, for the user: "pubspec.yaml"
    QStringList flavors;   // the flavors found
    QStringList unmatched; // keys that have no equal in Quorva: "min_sdk_android", "web.theme_color"
    QStringList notes;     // what the import decided for the user to know
    QStringList errors;    // a file that is no YAML, named with its line
    // The app icon set names it gives (ios: 'AppIcon-dev'): init holds them against the names
    // the Xcode project's configurations select.
    std::optional<QString> set;
    std::map<QString, QString> flavorSets;
};
// config: the targets found, changed in place. Nothing when the project has no such settings.
std::optional<ImportedLauncherIcons> importLauncherIcons(const std::filesystem::path& root, ProjectConfig& config);

} // namespace quorva
