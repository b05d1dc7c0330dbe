#pragma once

#include "project/projecttarget.h"
#include "project/synclock.h"
#include "target/installer.h"

#include <QString>

#include <filesystem>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace quorva {

// An image a target is made from, by the key of quorva.toml that names it: its source, and its
// dark, tinted, monochrome, notification and background images where they are files.
struct TargetImage {
    QString key;
    QString path; // as quorva.toml gives it, relative to the project
};
std::vector<TargetImage> targetImages(const ProjectTarget& target);

// Everywhere a sync writes or removes: each file of its plans, each folder it replaces whole,
// each file it removes, by resolved path, with the target that writes there.
class WrittenPlaces {
public:
    void add(const QString& writer, const std::vector<Placement>& placements);
    // What the lock says a target wrote, for a target a check trusts the lock for.
    void add(const QString& writer, const LockedTarget& locked, const std::filesystem::path& root);
    // All of a folder, for a target whose files are not known (its plan was refused).
    void addFolder(const QString& writer, const std::filesystem::path& folder);
    // The target that would write over or remove the file, when one does.
    std::optional<QString> writerOf(const std::filesystem::path& file) const;

private:
    // A path with its folder's links resolved, each folder once and from the folder above it: a
    // lock names hundreds of files in a few folders, which share all but their last names.
    std::filesystem::path resolved(const std::filesystem::path& path);
    std::filesystem::path resolvedFolder(const std::filesystem::path& folder);

    std::map<std::filesystem::path, std::filesystem::path> m_resolvedFolders;
    std::vector<std::pair<std::filesystem::path, QString>> m_files;
    std::vector<std::pair<std::filesystem::path, QString>> m_folders;
};

// A target's image that lies where a target writes: sync would replace or remove it.
struct ImageInTheWay {
    QString target; // the one made from it: "ios"
    QString key;    // "source", "dark"
    QString path;   // as quorva.toml gives it
    QString writer; // the one that writes there
};
std::vector<ImageInTheWay> imagesInTheWay(const std::vector<ProjectTarget>& targets, const WrittenPlaces& places,
                                          const std::filesystem::path& root);

} // namespace quorva
