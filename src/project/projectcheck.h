#pragma once

#include <QStringList>

#include <filesystem>
#include <vector>

namespace quorva {

// A place of a project that check reads, and how: an app icon set or Icon Composer file, a res
// folder, a site (its folder and its manifest, which may lie outside it), a desktop icon file, a
// Tauri configuration.
struct CheckedPlace {
    enum class Kind { Catalog, Res, Site, IconFile, Tauri } kind;
    std::filesystem::path path;
    std::filesystem::path manifest;
};

// Every place the targets of the project's quorva.toml write, flavors' too; without a
// quorva.toml, every place init would find. errors: a quorva.toml that can't be read.
struct ProjectPlaces {
    std::vector<CheckedPlace> places;
    QStringList errors;
    bool configured = false; // the places are quorva.toml's
};
ProjectPlaces placesToCheck(const std::filesystem::path& root);

} // namespace quorva
