#pragma once

#include "android/androidmanifest.h"
#include "android/resfolder.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quorva {

struct GradleModule;
class GradleProject;

// A module's resources as Android's build merges them, and where else the project defines any.
struct ModuleView {
    QString name;                                 // ":app"; empty for a res folder outside any Gradle project
    std::vector<std::filesystem::path> res;       // its source sets' res folders, main first
    std::vector<std::filesystem::path> manifests; // its source sets' manifests
    std::optional<int> minSdk;
    std::map<QString, QStringList> placeholders;
    std::vector<std::filesystem::path> reachable; // the res folders of the modules it depends on
    bool reachComplete = true;
    bool inProject = false;
    std::vector<std::pair<QString, std::filesystem::path>> others; // every other module's res folders
};

// A file that defines a resource, in one of a module's res folders.
struct ResDefinition {
    std::filesystem::path res;
    QString folder;
    QString file;
};

// The res folders one check reads, each read once.
class ResFolders {
public:
    const ResFolder& at(const std::filesystem::path& res);
    std::vector<ResDefinition> definitionsIn(const std::vector<std::filesystem::path>& folders, const ResourceRef& ref);
    bool definesAny(const std::vector<std::filesystem::path>& folders, const ResourceRef& ref);

private:
    std::map<std::filesystem::path, std::unique_ptr<ResFolder>> m_folders;
};

// The modules a path asks to check: a res folder's (with its source set, to which the findings
// are kept), a Gradle module's, or a Gradle project's every module; why not, for a path that is
// none of them.
struct AskedModules {
    std::vector<ModuleView> views;
    std::optional<std::filesystem::path> scope; // the source set asked for, when a res folder was
    std::optional<QString> refusal;
};
AskedModules modulesAsked(const std::filesystem::path& asked, ResFolders& folders);

} // namespace quorva
