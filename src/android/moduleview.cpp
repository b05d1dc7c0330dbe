#include "android/moduleview.h"

#include "android/gradleproject.h"
#include "support/paths.h"

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;
namespace {

ModuleView standalone(const fs::path& res)
{
    ModuleView view;
    view.res = {res};
    std::error_code error;
    if (fs::is_regular_file(res.parent_path() / "AndroidManifest.xml", error))
        view.manifests = {res.parent_path() / "AndroidManifest.xml"};
    return view;
}

ModuleView viewOf(const GradleProject& project, const GradleModule& module, const std::optional<fs::path>& asked)
{
    ModuleView view;
    view.name = module.name;
    view.inProject = true;
    view.res = module.resFolders();
    if (asked && std::none_of(view.res.begin(), view.res.end(), [&](const fs::path& res) {
            return resolvedPath(res) == resolvedPath(*asked);
        }))
        view.res.push_back(*asked); // a res folder outside the usual src/*/res
    view.manifests = module.manifests();
    if (asked && view.manifests.empty())
        view.manifests = standalone(*asked).manifests;
    view.minSdk = module.minSdk;
    view.placeholders = module.resourcePlaceholders;
    const GradleProject::Reach reach = project.reachableFrom(module);
    view.reachComplete = reach.complete;
    for (const GradleModule* other : reach.modules)
        if (other != &module)
            for (const fs::path& res : other->resFolders())
                view.reachable.push_back(res);
    for (const GradleModule& other : project.modules())
        if (std::find(reach.modules.begin(), reach.modules.end(), &other) == reach.modules.end())
            for (const fs::path& res : other.resFolders())
                view.others.emplace_back(other.name, res);
    return view;
}

} // namespace

const ResFolder& ResFolders::at(const fs::path& res)
{
    std::unique_ptr<ResFolder>& read = m_folders[res];
    if (!read)
        read = std::make_unique<ResFolder>(res);
    return *read;
}

std::vector<ResDefinition> ResFolders::definitionsIn(const std::vector<fs::path>& folders, const ResourceRef& ref)
{
    std::vector<ResDefinition> found;
    for (const fs::path& res : folders)
        for (const auto& [sub, file] : at(res).definitionsOf(ref.type, ref.name))
            found.push_back({res, sub, file});
    return found;
}

bool ResFolders::definesAny(const std::vector<fs::path>& folders, const ResourceRef& ref)
{
    return std::any_of(folders.begin(), folders.end(),
                       [&](const fs::path& res) { return at(res).defines(ref.type, ref.name); });
}

AskedModules modulesAsked(const fs::path& asked, ResFolders& folders)
{
    AskedModules out;
    fs::path given = asked.lexically_normal();
    if (given.filename().empty() && given.has_parent_path())
        given = given.parent_path();
    std::error_code error;
    if (fs::is_regular_file(given, error)) {
        out.refusal = QStringLiteral("%1 is a file, not a res folder or a Gradle project").arg(displayPath(asked));
        return out;
    }
    if (!fs::is_directory(given, error)) {
        out.refusal = QStringLiteral("%1 is no folder that can be read").arg(displayPath(asked));
        return out;
    }
    const std::optional<GradleProject> project = GradleProject::above(given);
    if (given.filename() == "res") {
        if (!folders.at(given).isOpen()) {
            out.refusal = QStringLiteral("%1 is no folder that can be read").arg(displayPath(asked));
            return out;
        }
        out.scope = given.parent_path();
        const GradleModule* module = project ? project->moduleOf(given) : nullptr;
        out.views.push_back(module ? viewOf(*project, *module, given) : standalone(given));
    } else if (project) {
        // The project's every module, or the one asked for.
        const bool whole = resolvedPath(given) == resolvedPath(project->root());
        const GradleModule* only = whole ? nullptr : project->moduleOf(given);
        for (const GradleModule& module : project->modules())
            if (whole || &module == only)
                out.views.push_back(viewOf(*project, module, std::nullopt));
    } else {
        out.refusal = QStringLiteral("%1 is no res folder and lies in no Gradle project").arg(displayPath(asked));
    }
    return out;
}

} // namespace quorva
