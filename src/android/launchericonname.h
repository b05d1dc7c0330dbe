#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace quorva {

// The names a launcher icon is written under, as the app's manifest names them.
struct LauncherIconName {
    QString name = QStringLiteral("ic_launcher");
    QString roundName = QStringLiteral("ic_launcher_round"); // empty: the app uses no round icon
    // Why the name must be said, with the names the manifest gives: a placeholder, or an alias
    // with an icon of its own. Phrased for the window and the command line alike.
    std::optional<QString> undecided;
    // Which one takeApplications picks, for the choice to be offered: "@mipmap/ic_launcher".
    QString applications;
};

// Reads the manifests of res's source set and module (a flavor's res takes main's manifest): the
// application's icon and round icon, resolving ${placeholders} from the module's build file, and
// every alias's icon. requested: the name given, which wins, the round icon following the
// manifest's. Without a manifest that names one, ic_launcher with its round icon. When the
// manifest names several, the name is undecided unless takeApplication is set.
LauncherIconName launcherIconName(const std::filesystem::path& res, const std::optional<QString>& requested,
                                  bool takeApplication = false);

} // namespace quorva
