#include "android/androidkind.h"

#include "android/androidiconplan.h"
#include "android/androidinstall.h"
#include "android/gradleproject.h"
#include "android/launchericonname.h"
#include "android/rescheck.h"
#include "image/csscolour.h"
#include "support/paths.h"

#include <QRegularExpression>

#include <map>

namespace quorva {
namespace fs = std::filesystem;
namespace {

const char* const resourceNameText
    = "an Android resource name (a lower-case letter, then lower-case letters, digits and '_')";

const OptionSchema& androidOptions()
{
    static const OptionSchema options = withSharedOptions(
        {
            {"res", OptionType::Output, true},
            OptionSpec{"name", OptionType::Name, false, {}, resourceNameProblem, resourceNameText}.described(
                "the icon's name (default: the one the app's manifest names, with a round icon when it names one; "
                "ic_launcher without a manifest)"),
            OptionSpec{"monochrome", OptionType::FlagOrImage}.described(
                "add the themed icon (Android 13): the art's shape, or FILE's"),
            OptionSpec{"play-store", OptionType::Output}.described("write the 512 px Play Store icon to FILE too"),
            OptionSpec{"notification", OptionType::FlagOrImage}.described(
                "add the notification icon, drawable-*/ic_notification.png: white in the art's shape, or FILE's, "
                "inside the central 20 dp"),
            OptionSpec{"notification-name", OptionType::Name, false, {}, resourceNameProblem, resourceNameText}
                .described("its name (default: ic_notification)"),
            OptionSpec{"format", OptionType::Choice, false, {"png", "webp"}}.described(
                "the launcher images' format (default: png)"),
            OptionSpec{"force", OptionType::Flag}.described(
                "write into a RES that is no source set's res folder (every src/*/res is one: src/main/res, "
                "src/debug/res, src/free/res), and replace files that Android's build would take for the same "
                "resource (an ic_launcher.webp beside the ic_launcher.png written)"),
            OptionSpec{"background", OptionType::ColourOrImage}.described(
                "the adaptive icon's background layer: an opaque colour (default: white) or an image"),
        },
        {{"padding", "room inside the 66 dp circle that launchers never mask"}});
    return options;
}

// Files of a res folder in short: "drawable-*/ic_launcher_foreground.png (5 files)".
QString filesInShort(const QStringList& files)
{
    std::map<QString, QStringList> alike; // by their type's folders and name
    for (const QString& file : files) {
        const QString folder = file.section(QLatin1Char('/'), 0, 0);
        alike[(folder.contains(QLatin1Char('-')) ? folder.section(QLatin1Char('-'), 0, 0) + QStringLiteral("-*")
                                                 : folder)
              + QLatin1Char('/') + file.section(QLatin1Char('/'), 1)]
            << file;
    }
    QStringList parts;
    for (const auto& [name, each] : alike)
        parts << (each.size() == 1 ? each.front() : QStringLiteral("%1 (%2 files)").arg(name).arg(each.size()));
    return parts.join(QStringLiteral(", "));
}

// What the icon's placement reads of the Gradle project: the manifests that name it and the
// build files that set their placeholders, the project's modules, each res folder of the module
// (its listing, its values, the XML that may name the icon's layers), an older run's hidden list.
void recordInputs(const KindRequest& request, const fs::path& res, const QString& name)
{
    KindInputs& inputs = request.inputs;
    inputs.read(res.parent_path() / "AndroidManifest.xml");
    std::vector<fs::path> folders = {res};
    if (const std::optional<GradleProject> project = GradleProject::above(res)) {
        for (const char* settings : {"settings.gradle", "settings.gradle.kts"})
            inputs.read(project->root() / settings);
        if (const GradleModule* module = project->moduleOf(res)) {
            for (const fs::path& manifest : module->manifests())
                inputs.read(manifest);
            for (const char* script : {"build.gradle", "build.gradle.kts"})
                inputs.read(module->folder / script);
            for (const fs::path& other : module->resFolders())
                if (resolvedPath(other) != resolvedPath(res))
                    folders.push_back(other);
        }
    }
    for (const fs::path& folder : folders)
        for (const QString& sub : inputs.list(folder))
            for (const QString& file : inputs.list(folder / toPath(sub)))
                if (sub.startsWith(QLatin1String("values")) || file.endsWith(QLatin1String(".xml")))
                    inputs.read(folder / toPath(sub) / toPath(file));
    inputs.read(res / toPath(QLatin1String(ownFilePrefix) + name));
}

KindOutput makeAndroidIcon(const KindRequest& request)
{
    KindOutput out;
    out.where = request.text(QStringLiteral("res"));
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    const fs::path res = request.path(QStringLiteral("res"));
    const bool force = request.flag(QStringLiteral("force"));
    // The names the app's manifest gives its icon; when it names several, forcing writes the
    // application's own.
    const std::optional<QString> given = request.file(QStringLiteral("name"));
    const LauncherIconName names = launcherIconName(res, given, force);
    recordInputs(request, res, names.name);
    if (names.undecided) {
        out = KindOutput::failed(pathLine(res, *names.undecided));
        out.settledBy = QStringLiteral("name");
        if (!names.applications.isEmpty())
            out.forcing = QStringLiteral("writes the application's icon, %1").arg(names.applications);
        return out;
    }
    AndroidIconOptions options;
    options.name = names.name;
    options.roundName = names.roundName;
    options.padding = request.padding();
    options.monochrome = request.wanted(QStringLiteral("monochrome"));
    options.notification = request.wanted(QStringLiteral("notification"));
    options.notificationName = request.text(QStringLiteral("notification-name"), options.notificationName);
    options.webp = request.text(QStringLiteral("format")) == QLatin1String("webp");
    const QString background = request.text(QStringLiteral("background"));
    if (const std::optional<QColor> colour = request.colour()) {
        options.backgroundColour = *colour;
        options.backgroundColourText = background;
    }
    for (const auto& [key, image] : {std::pair(QStringLiteral("background"), &options.backgroundImage),
                                     std::pair(QStringLiteral("monochrome"), &options.monochromeArtwork),
                                     std::pair(QStringLiteral("notification"), &options.notificationArtwork)}) {
        if (!request.file(key) || (key == QLatin1String("background") && request.colour()))
            continue;
        const SourceImages::Source& own = request.image(key);
        if (!own.loaded.image)
            return KindOutput::failed(own.loaded.error);
        *image = own.loaded.image;
    }
    const std::optional<QString> playStore = request.file(QStringLiteral("play-store"));
    options.playStore = playStore.has_value();
    const AndroidIconPlan plan = planAndroidIcons(source.loaded.image, options);
    if (plan.refusal != AndroidRefusal::None) {
        out = KindOutput::failed(pathLine(request.path(QStringLiteral("source")), describe(plan.refusal)));
        out.settledBy = plan.refusal == AndroidRefusal::NoArtworkForMonochrome ? QStringLiteral("monochrome")
            : plan.refusal == AndroidRefusal::NoArtworkForNotification         ? QStringLiteral("notification")
                                                                               : QString();
        return out;
    }
    for (const AndroidNote note : plan.notes)
        if (note == AndroidNote::FullBleed)
            out.notes << pathLine(request.path(QStringLiteral("source")),
                                  QStringLiteral("it has no transparent pixels: it is the icon's background layer, "
                                                 "the foreground is left empty, and launchers show its centre"));
    // What the last sync wrote there, where the project's lock keeps it: no list of its own in res.
    std::optional<QStringList> earlier;
    if (request.earlier) {
        earlier = QStringList();
        const fs::path resBelow = toPath(out.where).lexically_normal();
        for (const QString& file : *request.earlier)
            if (const fs::path within = toPath(file).lexically_relative(resBelow);
                !within.empty() && *within.begin() != "..")
                *earlier << displayPath(within);
    }
    const AndroidPlacement placed
        = placeAndroidIcon(res, plan, options.name, force,
                           playStore ? std::optional(request.path(QStringLiteral("play-store"))) : std::nullopt,
                           earlier);
    if (!placed.failures.isEmpty()) {
        out = KindOutput::failed(placed.failures.join(QStringLiteral("; ")));
        out.forcing = placed.forcing;
        return out;
    }
    out.placements = placed.placements;
    for (const QString& file : placed.replaced)
        out.replaced << displayPath(toPath(out.where) / toPath(file));
    if (!placed.replaced.isEmpty())
        out.notes << QStringLiteral("replaces %1 of the old icon, which the new one's supersede")
                         .arg(filesInShort(placed.replaced));
    return out;
}

// The res folder as Android's build and launchers take it, merged with the Gradle project's.
KindCheck checkLauncherIcon(const KindRequest& request)
{
    KindCheck check;
    ResCheck res;
    check.error = checkAndroidRes(request.path(QStringLiteral("res")), res);
    check.places = res.icons;
    check.findings = res.findings;
    return check;
}

} // namespace

std::optional<QString> resourceNameProblem(const QString& name)
{
    static const QRegularExpression resource(QStringLiteral("^[a-z][a-z0-9_]*$"));
    if (resource.match(name).hasMatch())
        return std::nullopt;
    return QStringLiteral("must be an Android resource name: a lower-case letter, then lower-case letters, digits and "
                          "'_'");
}

const OutputKind androidKind{"android",
                             "android",
                             androidOptions,
                             {"source", "res"},
                             makeAndroidIcon,
                             checkLauncherIcon,
                             "writes the Android launcher icon the app's manifest names into RES, a source set's res "
                             "folder (src/main/res, src/free/res): mipmap-*/NAME.png, the round icon when the "
                             "manifest names one, the adaptive layers, their XML in mipmap-anydpi-v26 and the "
                             "background colour in values (changed in place where another values file, such as "
                             "colors.xml, defines it)",
                             // An app's resources are a folder named res, or a Gradle project's or
                             // module's folder.
                             [](const fs::path& path) -> const char* {
                                 return path.filename() == "res"
                                         || (path.filename().empty() && path.parent_path().filename() == "res")
                                         || (isFolder(path) && isGradleFolder(path))
                                     ? "res"
                                     : nullptr;
                             }};

} // namespace quorva
