#include "project/projectinit.h"

#include "project/flutterlaunchericons.h"
#include "project/projectdetection.h"
#include "project/projecttarget.h"
#include "project/targetplacement.h"
#include "project/writtenplaces.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxImageBytes = 256 << 20;

// Every value of the config that names this image, in every table, flavors' too, renamed.
void renameImage(ProjectConfig& config, const QString& from, const QString& to)
{
    const auto rename = [&](ConfigTable& table) {
        for (auto& [key, value] : table)
            if (value.text() == from)
                value.value = to;
    };
    rename(config.shared);
    for (auto& [kind, table] : config.targets)
        rename(table);
    for (auto& [name, flavor] : config.flavors) {
        rename(flavor.shared);
        for (auto& [kind, table] : flavor.targets)
            rename(table);
    }
}

// The folder or file a target writes in, as a whole.
QString placeFolder(const ProjectTarget& target)
{
    switch (target.kind) {
    case TargetKind::iOS:
    case TargetKind::macOS:
    case TargetKind::watchOS:
        return target.place() + QStringLiteral(".appiconset");
    case TargetKind::IconComposer:
        return target.place() + QStringLiteral(".icon");
    case TargetKind::Tauri:
        return displayPath(toPath(target.place()).parent_path());
    default:
        return target.place();
    }
}

class Init {
public:
    explicit Init(const fs::path& root) : m_root(absoluteFolder(root)) {}

    ProjectInit run(const std::optional<fs::path>& source)
    {
        DetectedProject project = detectProject(m_root);
        m_out.kinds = project.kinds;
        m_out.config = std::move(project.config);
        const std::optional<ImportedLauncherIcons> imported = importLauncherIcons(m_root, m_out.config);
        for (const QString& line : project.found)
            m_out.found << QStringLiteral("found %1").arg(line);
        for (const QString& line : project.notFound)
            m_out.found << QStringLiteral("not found %1").arg(line);
        if (imported) {
            m_out.errors += imported->errors;
            m_out.found << QStringLiteral("imported flutter_launcher_icons from %1%2")
                               .arg(imported->from,
                                    imported->flavors.isEmpty()
                                        ? QString()
                                        : QStringLiteral(", with the flavors %1")
                                              .arg(imported->flavors.join(QStringLiteral(", "))));
            if (!imported->unmatched.isEmpty())
                m_out.found
                    << QStringLiteral("no equal in Quorva for %1").arg(imported->unmatched.join(QStringLiteral(", ")));
        }
        if (!chooseSource(source))
            return m_out;
        if (m_out.config.targets.empty()) {
            m_out.failure = pathLine(m_root,
                                     QStringLiteral("no target found: no catalog, res folder, site, Windows "
                                                    "or macOS icon file, nor Tauri configuration"));
            return m_out;
        }
        moveImagesOutOfTheWay();
        m_out.files.add(QLatin1String(projectConfigName), writeProjectConfig(m_out.config));
        std::sort(m_out.files.files.begin(), m_out.files.files.end(),
                  [](const PlannedFile& a, const PlannedFile& b) { return a.path < b.path; });
        return m_out;
    }

private:
    // The source: the one given, the one imported, or one in the usual places.
    bool chooseSource(const std::optional<fs::path>& source)
    {
        ConfigTable& shared = m_out.config.shared;
        if (source) {
            // Anywhere in the repository: a monorepo keeps its artwork beside its apps.
            const fs::path resolved = resolvedPath(*source);
            const fs::path repository = repositoryOf(m_root);
            if (!isWithin(resolved, resolvedPath(repository))) {
                m_out.failure
                    = pathLine(*source,
                               QStringLiteral("it must lie in the repository %1").arg(displayPath(repository)));
                return false;
            }
            shared[QStringLiteral("source")] = {displayPath(resolved.lexically_relative(resolvedPath(m_root))), 0};
        } else if (!shared.count(QStringLiteral("source"))) {
            const std::optional<QString> found = likelySource(m_root);
            shared[QStringLiteral("source")] = {found.value_or(QStringLiteral("icon.png")), 0};
            if (!found)
                m_out.notes << QStringLiteral("no source image found: quorva.toml names icon.png, which is not "
                                              "there; put the icon there, or give --source FILE");
        }
        return true;
    }

    // An image that lies where a target writes (a 1024 px icon picked from the very set sync
    // replaces, a dark icon beside it) is copied out of the way, and quorva.toml names the copy:
    // sync never touches what the icons are made from.
    void moveImagesOutOfTheWay()
    {
        const ProjectTargets targets = projectTargets(m_out.config);
        std::vector<const ProjectTarget*> each;
        for (const ProjectTarget& target : targets.targets)
            each.push_back(&target);
        const std::vector<TargetPlacement> made = placeTargets(each, m_root);
        WrittenPlaces places;
        for (std::size_t i = 0; i < each.size(); ++i) {
            places.add(each[i]->label(), made[i].placements);
            // A refused target's files are not known: all of its place is in the way.
            if (made[i].failure)
                places.addFolder(each[i]->label(), m_root / toPath(placeFolder(*each[i])));
        }
        std::set<QString> names;
        std::map<QString, QString> copied;
        for (const ImageInTheWay& image : imagesInTheWay(targets.targets, places, m_root)) {
            if (copied.count(image.path))
                continue;
            const std::optional<QByteArray> bytes = readSmallFile(m_root / toPath(image.path), maxImageBytes);
            if (!bytes) {
                m_out.notes << pathLine(m_root / toPath(image.path),
                                        QStringLiteral("the %1 of %2 lies where %3 writes, and can't be read to be "
                                                       "copied out of the way: sync will refuse it")
                                            .arg(image.key, image.target, image.writer));
                continue;
            }
            QString name = lastComponent(image.path);
            for (int n = 2; names.count(name); ++n)
                name = QStringLiteral("%1-%2").arg(n).arg(lastComponent(image.path));
            names.insert(name);
            const QString copy = QStringLiteral("%1/%2").arg(QLatin1String(copiedImagesFolder), name);
            m_out.files.add(copy, *bytes);
            copied[image.path] = copy;
            renameImage(m_out.config, image.path, copy);
            m_out.found << QStringLiteral("copied %1 to %2: it lies where %3 writes, which would replace it; "
                                          "quorva.toml names the copy")
                               .arg(image.path, copy, image.writer);
        }
    }

    fs::path m_root;
    ProjectInit m_out;
};

} // namespace

ProjectInit initProject(const fs::path& root, const std::optional<fs::path>& source)
{
    return Init(root).run(source);
}

} // namespace quorva
