#pragma once

#include "project/projectconfig.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>

namespace quorva {

// What a project folder is, and where it keeps its icons: the targets quorva.toml would name.
struct DetectedProject {
    QStringList kinds;    // "Flutter", "React Native", "Capacitor", "Tauri", "Electron", "Expo", "Xcode", "Gradle"
    ProjectConfig config; // the targets found; the source when one was found
    QStringList found;    // a line for each target: where, and how it was found
    QStringList notFound; // a line for each kind of target not there, and why
    // Where the kinds that init writes only when the project asks for them would go (the launch
    // screen's res and catalog): the places a command given the project's folder takes.
    std::map<TargetKind, ConfigTable> proposed;
};

// Reads the project's own files: package.json, pubspec.yaml, capacitor.config.*, tauri.conf.json,
// app.json; each Xcode project's app targets, their catalogs and icon names (project.pbxproj);
// the Gradle project's app module, its res folder and the icon its manifest names; a site's
// manifest, the Windows and macOS icon files. Only what is there is named.
DetectedProject detectProject(const std::filesystem::path& root);

// The image a project's icons are most likely made from, among the places projects keep one.
std::optional<QString> likelySource(const std::filesystem::path& root);

} // namespace quorva
