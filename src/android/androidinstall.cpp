#include "android/androidinstall.h"

#include "android/gradleproject.h"
#include "android/resfolder.h"
#include "android/valuesfile.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QRegularExpression>

#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxValuesFileBytes = 4 << 20;

// Gradle's source sets each have their res folder: src/main/res, src/debug/res, src/free/res.
bool isSourceSetRes(const fs::path& res)
{
    const fs::path resolved = resolvedPath(res);
    const fs::path set = resolved.parent_path();
    return resolved.filename() == "res" && set.parent_path().filename() == "src" && !set.filename().empty();
}

// The files of res that Android's build would take for the same resource as one of the plan's:
// the same name with another extension in the same folder, as the ic_launcher.webp that Android
// Studio writes beside the ic_launcher.png written here. aapt2 refuses a resource defined twice.
QStringList clashingFiles(const ResFolder& folder, const AndroidIconPlan& plan)
{
    std::map<QString, std::set<QString>> written; // folder: file names
    for (const auto& [path, image] : plan.images)
        written[path.section(QLatin1Char('/'), 0, 0)].insert(path.section(QLatin1Char('/'), 1));
    for (const auto& [path, text] : plan.texts)
        written[path.section(QLatin1Char('/'), 0, 0)].insert(path.section(QLatin1Char('/'), 1));
    QStringList clashes;
    for (const auto& [sub, names] : written) {
        const auto there = folder.files().find(sub);
        if (there == folder.files().end())
            continue;
        std::set<QString> resources;
        for (const QString& name : names)
            resources.insert(resourceName(name));
        for (const QString& name : there->second)
            if (!names.count(name) && resources.count(resourceName(name)))
                clashes << sub + QLatin1Char('/') + name;
    }
    clashes.sort();
    return clashes;
}

// Where the project keeps the icon's adaptive XML (mipmap-anydpi, or mipmap for a minSdk 26 app):
// Quorva's goes in its place, so that no second definition is left behind for the build to
// prefer. mipmap-anydpi-v26 where it keeps none, or keeps it there.
QString adaptiveFolder(const ResFolder& folder, const QString& name)
{
    QString found;
    for (const auto& [sub, files] : folder.files()) {
        const bool mipmap = sub == QLatin1String("mipmap") || sub.startsWith(QLatin1String("mipmap-anydpi"))
            || sub == QLatin1String("mipmap-v26");
        if (!mipmap || !files.count(name + QStringLiteral(".xml")))
            continue;
        if (sub == QLatin1String("mipmap-anydpi-v26"))
            return sub;
        if (found.isEmpty())
            found = sub;
    }
    return found.isEmpty() ? QStringLiteral("mipmap-anydpi-v26") : found;
}

// The icon's layers that an icon tool left where Quorva writes none (flutter_launcher_icons' in
// drawable-hdpi…, the Capacitor assets tool's in mipmap-ldpi): the icon Quorva writes supersedes
// them, and nothing else of the module names them, so they go with the old icon.
QStringList supersededFiles(const fs::path& res, const ResFolder& folder, const Plan& plan)
{
    static const QRegularExpression density(QStringLiteral("^(drawable-(l|m|h|xh|xxh|xxxh)dpi|mipmap-ldpi)(-v\\d+)?$"));
    std::set<QString> resources;
    QStringList replaced; // the XML files the plan puts in the place of the old ones
    for (const PlannedFile& file : plan.files) {
        if (file.path.startsWith(QLatin1String("values")))
            continue;
        resources.insert(resourceName(file.path.section(QLatin1Char('/'), 1)));
        if (file.path.endsWith(QLatin1String(".xml")))
            replaced << file.path;
    }
    QStringList candidates;
    for (const auto& [sub, files] : folder.files())
        if (density.match(sub).hasMatch())
            for (const QString& file : files)
                if (resources.count(resourceName(file)) && !plan.find(sub + QLatin1Char('/') + file))
                    candidates << sub + QLatin1Char('/') + file;
    if (candidates.isEmpty())
        return {};
    // What else names them: any XML of the module's res folders, and its manifests.
    std::vector<fs::path> places = {res};
    std::vector<fs::path> manifests;
    if (const std::optional<GradleProject> project = GradleProject::above(res))
        if (const GradleModule* module = project->moduleOf(res)) {
            for (const fs::path& other : module->resFolders())
                if (resolvedPath(other) != resolvedPath(res))
                    places.push_back(other);
            manifests = module->manifests();
        }
    QByteArray named;
    for (const fs::path& place : places) {
        const ResFolder other(place);
        for (const auto& [sub, files] : other.files())
            for (const QString& file : files)
                // The plan's XML files take the place of those at their paths, here and, as the
                // build merges a module's source sets, in its other res folders.
                if (file.endsWith(QLatin1String(".xml")) && !replaced.contains(sub + QLatin1Char('/') + file))
                    named += other.read(sub, file, maxValuesFileBytes);
    }
    for (const fs::path& manifest : manifests)
        named += readSmallFile(manifest, maxValuesFileBytes).value_or(QByteArray());
    QStringList superseded;
    for (const QString& candidate : candidates) {
        const QString resource = resourceName(candidate.section(QLatin1Char('/'), 1));
        const QString type = candidate.section(QLatin1Char('-'), 0, 0);
        if (!named.contains((QLatin1Char('@') + type + QLatin1Char('/') + resource).toUtf8()))
            superseded << candidate;
    }
    return superseded;
}

AndroidPlacement refused(const QString& failure)
{
    AndroidPlacement placed;
    placed.failures << failure;
    return placed;
}

} // namespace

AndroidWrite installAndroidIcon(const fs::path& res, const AndroidIconPlan& plan, const QString& name, bool force,
                                const std::optional<fs::path>& playStore)
{
    return installAndroidPlacement(placeAndroidIcon(res, plan, name, force, playStore));
}

AndroidPlacement placeAndroidIcon(const fs::path& res, const AndroidIconPlan& plan, const QString& name, bool force,
                                  const std::optional<fs::path>& playStore, const std::optional<QStringList>& earlier)
{
    std::error_code error;
    if (fs::exists(res, error) && !fs::is_directory(res, error))
        return refused(pathLine(res, QStringLiteral("Couldn't write the icon: it is a file, not a res folder")));
    // A source set's res folder that is not there yet (a new flavor's) is made with the icon.
    if (!fs::is_directory(res, error)
        && !(isSourceSetRes(res) && fs::is_directory(res.lexically_normal().parent_path().parent_path(), error)))
        return refused(pathLine(res,
                                QStringLiteral("Couldn't write the icon: there is no such folder (give the "
                                               "app's src/main/res)")));
    if (!force && !isSourceSetRes(res)) {
        AndroidPlacement write = refused(pathLine(res, QStringLiteral("it is not an app's src/main/res folder")));
        write.forcing = QStringLiteral("writes into it anyway");
        return write;
    }

    // Android's build refuses a resource defined twice: say where, and write nothing.
    const ResFolder folder(res);
    const QString colourName = name + QStringLiteral("_background");
    const QString colourFile = QStringLiteral("values/%1.xml").arg(colourName);
    QStringList elsewhere; // the colour's other definitions for the same configuration
    for (const QString& file : folder.filesDefiningColour(colourName))
        if (file.startsWith(QLatin1String("values/")) && file != colourFile)
            elsewhere << file;
    // Where another values file defines the colour alone (colors.xml, as Flutter projects have it),
    // its value changes there, in place.
    std::optional<std::pair<QString, QByteArray>> edited;
    if (plan.colour && !elsewhere.isEmpty()) {
        const QByteArray old
            = folder.read(QStringLiteral("values"), elsewhere.front().section(QLatin1Char('/'), 1), maxValuesFileBytes);
        const auto changed = elsewhere.size() == 1 && !folder.fileOf(QStringLiteral("values"), colourName)
            ? withColourValue(old, colourName, *plan.colour)
            : std::nullopt;
        if (!changed)
            return refused(pathLine(res / toPath(elsewhere.front()),
                                    QStringLiteral("defines the colour %1 already, where Quorva can't change it in "
                                                   "place%2; remove it there, or give the icon another name")
                                        .arg(colourName,
                                             elsewhere.size() > 1 ? QStringLiteral(" (so does %1)").arg(elsewhere[1])
                                                                  : QString())));
        edited.emplace(elsewhere.front(), *changed);
    }
    // The adaptive icon in the place the project keeps it.
    AndroidIconPlan placedPlan = plan;
    const QString adaptive = adaptiveFolder(folder, name);
    if (adaptive != QLatin1String("mipmap-anydpi-v26")) {
        std::map<QString, QByteArray> texts;
        for (auto& [path, text] : placedPlan.texts)
            texts[path.startsWith(QLatin1String("mipmap-anydpi-v26/")) ? adaptive + path.mid(17) : path] = text;
        placedPlan.texts = std::move(texts);
    }
    const QStringList clashes = clashingFiles(folder, placedPlan);
    if (!clashes.isEmpty() && !force) {
        AndroidPlacement write = refused(pathLine(res / toPath(clashes.front()),
                                                  QStringLiteral("is the same resource as a file Quorva writes beside "
                                                                 "it, which Android's build refuses")));
        write.forcing = QStringLiteral("replaces %1")
                            .arg(clashes.size() == 1 ? QStringLiteral("it")
                                                     : QStringLiteral("it and %1 more").arg(clashes.size() - 1));
        return write;
    }
    AndroidFiles files = planAndroidFiles(placedPlan, playStore.has_value());
    if (edited) {
        std::erase_if(files.plan.files, [&](const PlannedFile& file) { return file.path == colourFile; });
        files.plan.add(edited->first, edited->second);
    }
    return placeAndroidIcons(res, files, name, playStore, clashes + supersededFiles(res, folder, files.plan), earlier);
}

} // namespace quorva
