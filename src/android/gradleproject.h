#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace quorva {

// A module of a Gradle project as its build file reads, without running Gradle: the lines that
// matter for its resources, read with a small parser.
struct GradleModule {
    QString name; // ":app", ":libs:ui"; ":" for a project whose one module is its root
    std::filesystem::path folder;
    QStringList dependencies; // the modules it names: project(":x"), projects.x
    // False when it applies a plugin or script that may add dependencies its build file doesn't
    // name, as a project's own convention plugins do.
    bool dependenciesKnown = true;
    std::optional<int> minSdk; // the lowest any flavor sets; none when it can't be read here
    // Each manifest placeholder whose value is a resource, with every value a flavor gives it:
    // appIcon: "@mipmap/ic_launcher", "@mipmap/ic_launcher_beta".
    std::map<QString, QStringList> resourcePlaceholders;
    QStringList extraRes; // res folders its source sets add, relative to its folder: "../app/src/main/res"

    // Its source sets' res folders (src/main/res, src/debug/res, src/free/res…), main first, then
    // those its build file adds.
    std::vector<std::filesystem::path> resFolders() const;
    // Its source sets' manifests, main first.
    std::vector<std::filesystem::path> manifests() const;
};

class GradleProject {
public:
    // The project of the nearest folder at or above path with settings.gradle(.kts).
    static std::optional<GradleProject> above(const std::filesystem::path& path);
    // The project whose settings file is in root, its paths below root as root is given.
    static GradleProject read(const std::filesystem::path& root);

    const std::filesystem::path& root() const { return m_root; }
    const std::vector<GradleModule>& modules() const { return m_modules; }
    // The module whose folder holds the path, the deepest when they nest.
    const GradleModule* moduleOf(const std::filesystem::path& path) const;

    // The modules whose resources Android's build merges into this one's: itself, then those it
    // depends on, directly or not. complete is false when one of them may depend on more.
    struct Reach {
        std::vector<const GradleModule*> modules;
        bool complete = true;
    };
    Reach reachableFrom(const GradleModule& module) const;

private:
    std::filesystem::path m_root;
    std::vector<GradleModule> m_modules;
};

// Whether a folder is a Gradle project's or module's: it holds a settings or build file, or a
// main source set's manifest.
bool isGradleFolder(const std::filesystem::path& folder);

} // namespace quorva
