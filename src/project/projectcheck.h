#pragma once

#include "target/outputkind.h"

#include <QStringList>

#include <filesystem>
#include <vector>

namespace quorva {

// A place of a project that check reads: an app icon set or Icon Composer file, which Apple's
// rules judge, or an output of a kind, which its own check judges by its options (its res folder,
// its site and manifest, its icon file, its Tauri configuration); paths below base.
struct CheckedPlace {
    std::filesystem::path path;       // a set or Icon Composer file, for Apple's rules
    const OutputKind* kind = nullptr; // else the kind whose check judges its files
    ConfigTable options;
    std::filesystem::path base;
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
