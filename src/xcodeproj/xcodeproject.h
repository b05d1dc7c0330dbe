#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace quorva {

// One target of an Xcode project, as far as its icons are concerned.
struct XcodeTarget {
    QString name;
    QString productType; // "com.apple.product-type.application", "…app-extension", …
    // The build settings that apply (the target's Release configuration over the project's), each
    // value as its words: a list, or a string split at spaces.
    std::map<QString, QStringList> settings;
    // Every build configuration's settings by its name ("Debug-dev", "Release"), each over the
    // project's configuration of the same name.
    std::map<QString, std::map<QString, QStringList>> configurations;
    // What its resources build phase copies (asset catalogs, Icon Composer files), as absolute
    // paths, and the folders Xcode keeps in step with the disk for it, whose contents it copies.
    std::vector<std::filesystem::path> resources;
    std::vector<std::filesystem::path> synchronizedFolders;

    // Whether the target copies the catalog or file at this absolute path.
    bool copies(const std::filesystem::path& path) const;
    // The first word of a setting, or nothing when it is not set.
    std::optional<QString> setting(const QString& key) const;
    // The configurations a flavor builds with: those whose name has the flavor's as one of its
    // words ("Debug-dev", "Release_dev", "dev Release"), as Flutter's flavors name them.
    QStringList configurationsOf(const QString& flavor) const;
    // The app icon a configuration selects (ASSETCATALOG_COMPILER_APPICON_NAME).
    std::optional<QString> appIconOf(const QString& configuration) const;
    // An application that ships with an icon: an iOS, macOS or watchOS app (not an extension,
    // widget, framework or test bundle).
    bool isApplication() const;
};

struct XcodeProject {
    std::filesystem::path bundle; // the .xcodeproj folder
    std::vector<XcodeTarget> targets;
};

// The project in an .xcodeproj folder, or why it can't be read.
struct ReadXcodeProject {
    std::optional<XcodeProject> project;
    QString error;
};
ReadXcodeProject readXcodeProject(const std::filesystem::path& bundle);
// The same from the text of a project.pbxproj, as if it lay in `bundle`.
ReadXcodeProject readXcodeProject(const QByteArray& pbxproj, const std::filesystem::path& bundle);

// The nearest project in a folder above the path whose targets copy it: the project Xcode builds
// the catalog with. Nothing when none is found a few folders up.
std::optional<XcodeProject> findXcodeProjectFor(const std::filesystem::path& path);

} // namespace quorva
