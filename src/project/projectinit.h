#pragma once

#include "project/projectconfig.h"
#include "target/plan.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace quorva {

// What init makes of a project: the quorva.toml that names every target the project has, as it
// has them today, so that sync keeps what its icons have and writes nothing a store rejects.
struct ProjectInit {
    QStringList kinds;    // "Flutter", "Tauri"
    ProjectConfig config; // the targets found, the settings imported
    QStringList found;    // what was found, where, and how: "found ios: …", "imported …"
    QStringList notes;    // what the user should know or do: a source not found, a setting to make
    QStringList errors;   // a file of the project's own that could not be read, with its line
    // quorva.toml, and the copies of images that lay where a target writes, by their paths below
    // the project: installed together, all or nothing.
    Plan files;
    std::optional<QString> failure; // nothing to write: no target found
};

// root: the project's folder; source: the image the user gave (relative to the current folder),
// which may lie anywhere in the repository that holds the project. Nothing is written.
ProjectInit initProject(const std::filesystem::path& root, const std::optional<std::filesystem::path>& source);

// Where init copies an image that lies where a target writes, below the project.
inline constexpr const char* copiedImagesFolder = "quorva-sources";

} // namespace quorva
