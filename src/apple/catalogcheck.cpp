#include "apple/catalogcheck.h"

#include "apple/iconcomposercheck.h"
#include "apple/imagefiles.h"
#include "apple/setcheck.h"
#include "support/paths.h"
#include "xcodeproj/xcodeproject.h"

#include <algorithm>
#include <map>
#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr int maxGroupDepth = 64;

bool isCheckedSet(const fs::path& folder)
{
    return folder.extension() == ".appiconset" || folder.extension() == ".imageset";
}

QString setName(const fs::path& folder)
{
    return displayPath(folder.stem());
}

// A set folder found in a catalog, and how it is shown.
struct FoundSet {
    fs::path path;
    QString shown;
};

// How the app icon sets of one catalog are judged, and the Icon Composer files to check with it.
struct CatalogPlan {
    std::map<QString, IconSetRole> roles; // by set name; a set not here is no app's icon
    std::vector<std::pair<fs::path, QString>> iconFiles;
};

void note(CatalogCheck& check, const QString& text)
{
    if (!check.notes.contains(text))
        check.notes << text;
}

// The set taken as the app's icon when no project tells: the one named AppIcon, else the
// catalog's only app icon set.
std::optional<QString> fallbackIcon(const QStringList& iconSets)
{
    if (iconSets.contains(QStringLiteral("AppIcon")))
        return QStringLiteral("AppIcon");
    if (iconSets.size() == 1)
        return iconSets.front();
    return std::nullopt;
}

void addPlatformsOf(const XcodeTarget& target, IconSetRole& role)
{
    if (const std::optional<QString> sdk = target.setting(QStringLiteral("SDKROOT")))
        if (const std::optional<ApplePlatform> platform = platformOfSdk(*sdk))
            role.platforms.insert(*platform);
    if (const auto supported = target.settings.find(QStringLiteral("SUPPORTED_PLATFORMS"));
        supported != target.settings.end())
        for (const QString& sdk : supported->second)
            if (const std::optional<ApplePlatform> platform = platformOfSdk(sdk);
                platform && !sdk.contains("simulator"))
                role.platforms.insert(*platform);
}

CatalogPlan planFor(const fs::path& catalog, const QString& catalogShown, const QStringList& iconSets,
                    const CheckOptions& options, CatalogCheck& check, std::optional<QString>& failure)
{
    CatalogPlan plan;
    std::optional<XcodeProject> project;
    if (options.project) {
        fs::path bundle = *options.project;
        if (bundle.filename() == "project.pbxproj")
            bundle = bundle.parent_path();
        ReadXcodeProject read = readXcodeProject(bundle);
        if (!read.project) {
            failure = QStringLiteral("%1: %2").arg(displayPath(bundle), read.error);
            return plan;
        }
        project = std::move(read.project);
    } else {
        project = findXcodeProjectFor(catalog);
    }

    bool copied = false;
    if (project) {
        for (const XcodeTarget& target : project->targets) {
            if (!target.copies(catalog))
                continue;
            copied = true;
            std::optional<QString> name = target.setting(QStringLiteral("ASSETCATALOG_COMPILER_APPICON_NAME"));
            if (!target.isApplication() || !name)
                continue;
            if (name->contains(QLatin1String("$("))) {
                const std::optional<QString> fallback = fallbackIcon(iconSets);
                note(check,
                     QStringLiteral("%1: the app icon name of target %2 is %3, which the check can't resolve: "
                                    "took %4 as its icon")
                         .arg(displayPath(project->bundle), target.name, *name, fallback.value_or("none")));
                name = fallback;
                if (!name)
                    continue;
            }
            // An Icon Composer file of that name that the target copies is its icon, not a set.
            const auto icon = std::find_if(target.resources.begin(), target.resources.end(), [&](const fs::path& file) {
                return file.extension() == ".icon" && displayPath(file.stem()) == *name;
            });
            if (icon != target.resources.end()) {
                plan.iconFiles.emplace_back(*icon, displayPath(*icon));
                continue;
            }
            if (!iconSets.contains(*name))
                continue;
            IconSetRole& role = plan.roles[*name];
            const bool first = !role.primary;
            role.primary = true;
            role.iPadFromEntries = false;
            addPlatformsOf(target, role);
            // Xcode builds for the iPhone alone where a target sets no device family.
            const std::optional<QString> family
                = target.setting(QStringLiteral("TARGETED_DEVICE_FAMILY")).value_or(QStringLiteral("1"));
            if (!family->contains(QLatin1String("$("))) {
                const QStringList devices = family->split(QLatin1Char(','), Qt::SkipEmptyParts);
                const bool iPhone = devices.contains(QStringLiteral("1")), iPad = devices.contains(QStringLiteral("2"));
                role.iPhone = first ? iPhone : role.iPhone || iPhone;
                role.iPad = first ? iPad : role.iPad || iPad;
            }
        }
        if (!copied && options.project)
            note(check,
                 QStringLiteral("%1: no target of %2 copies it: took AppIcon as the app's icon")
                     .arg(catalogShown, displayPath(project->bundle)));
    }
    if (!copied) {
        // No project: an icon file of Icon Composer beside the catalog may be the app's icon.
        std::error_code error;
        bool composed = false;
        for (const fs::directory_entry& entry : fs::directory_iterator(catalog.parent_path(), error))
            if (entry.path().extension() == ".icon" && entry.is_directory(error)) {
                plan.iconFiles.emplace_back(entry.path(), displayPath(entry.path()));
                composed = composed || entry.path().stem() == "AppIcon";
            }
        const std::optional<QString> icon = composed ? std::nullopt : fallbackIcon(iconSets);
        if (icon) {
            plan.roles[*icon].primary = true;
            if (!options.project)
                note(check, QStringLiteral("no Xcode project found: took %1 as the app's icon").arg(*icon));
        }
    }
    return plan;
}

class Walk {
public:
    Walk(const fs::path& catalog, std::vector<FoundSet>& sets, CatalogCheck& check)
        : m_catalog(catalog), m_sets(sets), m_check(check)
    {
    }

    void folder(const fs::path& folder, const QString& shown, int depth)
    {
        if (!m_visited.insert(resolvedPath(folder)).second)
            return; // a link back to a folder already walked
        std::error_code error;
        std::vector<fs::path> children;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().filename().string()[0] == '.')
                continue;
            if (entry.is_symlink(error)) {
                const fs::path target = resolvedPath(entry.path());
                if (!isWithin(target, m_catalog)) {
                    if (fs::is_directory(target, error))
                        m_check.findings.push_back(
                            {Finding::Severity::Warning,
                             shown + QLatin1Char('/') + displayPath(entry.path().filename()),
                             QStringLiteral("link-outside"),
                             QStringLiteral("it is a symbolic link to %1, outside the catalog; the check does not "
                                            "follow it")
                                 .arg(displayPath(target))});
                    continue;
                }
            }
            if (entry.is_directory(error))
                children.push_back(entry.path());
        }
        std::sort(children.begin(), children.end());
        for (const fs::path& child : children) {
            const QString childShown = shown + QLatin1Char('/') + displayPath(child.filename());
            if (isCheckedSet(child))
                m_sets.push_back({child, childShown});
            else if (depth < maxGroupDepth) // a group, or a kind of set whose insides may hold image sets
                this->folder(child, childShown, depth + 1);
        }
    }

private:
    fs::path m_catalog;
    std::vector<FoundSet>& m_sets;
    CatalogCheck& m_check;
    std::set<fs::path> m_visited;
};

void append(CatalogCheck& check, std::vector<Finding> found)
{
    check.findings.insert(check.findings.end(), std::make_move_iterator(found.begin()),
                          std::make_move_iterator(found.end()));
}

} // namespace

std::optional<QString> checkCatalog(const fs::path& path, CatalogCheck& check, const CheckOptions& options)
{
    QString shown = displayPath(path);
    while (shown.size() > 1 && shown.endsWith(QLatin1Char('/')))
        shown.chop(1);
    // Judged by what the path names, links and "." resolved: `check .` inside a catalog works.
    const fs::path resolved = resolvedPath(path);
    std::error_code error;
    if (!fs::is_directory(resolved, error))
        return QStringLiteral("%1: it is no asset catalog or set folder").arg(shown);

    if (resolved.extension() == ".icon") {
        append(check, checkIconComposerFile(resolved, shown));
        return std::nullopt;
    }
    fs::path catalog;
    std::vector<FoundSet> sets;
    if (isCheckedSet(resolved)) {
        sets.push_back({resolved, shown});
        for (fs::path up = resolved.parent_path(); !up.empty() && up != up.parent_path(); up = up.parent_path())
            if (up.extension() == ".xcassets") {
                catalog = up;
                break;
            }
        if (catalog.empty())
            catalog = resolved.parent_path();
    } else if (resolved.extension() == ".xcassets") {
        catalog = resolved;
        Walk(catalog, sets, check).folder(resolved, shown, 0);
    } else {
        return QStringLiteral("%1: it is no asset catalog (.xcassets) or set folder (.appiconset, .imageset)")
            .arg(shown);
    }

    QStringList iconSets;
    if (isCheckedSet(resolved)) {
        // A set checked alone is judged with its catalog's other app icon sets in view.
        for (const fs::directory_entry& entry : fs::directory_iterator(catalog, error))
            if (entry.path().extension() == ".appiconset")
                iconSets << setName(entry.path());
    } else {
        for (const FoundSet& set : sets)
            if (set.path.extension() == ".appiconset")
                iconSets << setName(set.path);
    }
    std::optional<QString> failure;
    const CatalogPlan plan = planFor(catalog, shown, iconSets, options, check, failure);
    if (failure)
        return failure;

    if (!check.files)
        check.files = std::make_shared<ImageFiles>();
    for (const FoundSet& set : sets) {
        check.sets << set.shown;
        SetCheckContext context{catalog, check.files.get(), {}};
        if (set.path.extension() == ".appiconset")
            if (const auto role = plan.roles.find(setName(set.path)); role != plan.roles.end())
                context.role = role->second;
        append(check, checkSet(set.path, set.shown, context));
    }
    for (const auto& [icon, iconShown] : plan.iconFiles)
        append(check, checkIconComposerFile(icon, iconShown));
    return std::nullopt;
}

} // namespace quorva
