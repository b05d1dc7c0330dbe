#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace quorva {

// Where an Electron app's packager takes its icons from, as electron-builder or electron-forge
// read their configuration: paths relative to the project.
struct ElectronIcons {
    QString tool;                        // "electron-builder", "electron-forge"
    QString from;                        // where it was read: "electron-builder.yml", "package.json's build"
    std::optional<QString> ico;          // Windows
    std::optional<QString> icns;         // macOS
    std::optional<QString> iconComposer; // macOS 26: an Icon Composer file (NAME.icon) it compiles
    std::optional<QString> appx;         // the images folder of its appx target, where there is one
    QStringList unread;                  // values the configuration gives in a way Quorva can't read
};

// electron-builder: its configuration from the file a package.json script passes with --config,
// an electron-builder.* file, or package.json's build key; the icons its mac, win and top-level
// icon keys name, else those of its buildResources folder (build/ by default). electron-forge:
// packagerConfig.icon, to which the packager adds .icns, .ico (and takes .icon beside them).
// Nothing for a project that uses neither.
std::optional<ElectronIcons> electronIcons(const std::filesystem::path& root, const QJsonObject& package);

} // namespace quorva
