#include "splash/splashkind.h"

#include "android/androidmanifest.h"
#include "android/gradleproject.h"
#include "android/resfolder.h"
#include "android/stylesfile.h"
#include "apple/infoplist.h"
#include "splash/androidsplash.h"
#include "splash/iossplash.h"
#include "splash/splashcheck.h"
#include "splash/splashsizes.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;
namespace {

const OptionSchema& splashOptions()
{
    static const OptionSchema options = withSharedOptions(
        {
            OptionSpec{"res", OptionType::Output}.described("the Android app's res folder"),
            OptionSpec{"catalog", OptionType::Output}.described(
                "the iOS app's asset catalog: LaunchImage.imageset (1x, 2x, 3x and dark) and the "
                "LaunchBackground colour set go in it, as Flutter's storyboard shows them"),
            OptionSpec{"theme", OptionType::Name, false, {}, styleNameProblem, styleNameText}.described(
                "the launch theme to edit (default: the one the manifest gives the launcher activity, else the "
                "application)"),
            OptionSpec{"dark", OptionType::Image}.described("the dark screen's art (default: the source's)"),
            OptionSpec{"dark-background", OptionType::Colour}.described("the dark screen's colour"),
            OptionSpec{"icon-background", OptionType::Colour}.described(
                "Android 12's circle behind the icon (the icon is then 240 dp, 160 dp of it showing)"),
            OptionSpec{"branding", OptionType::Image}.described("Android 12's image at the bottom of the screen, "
                                                                "200 × 80 dp"),
            OptionSpec{"size", OptionType::Dp, false, {}, nullptr, nullptr, int(splashIconCircleDp)}.described(
                "the art's side in dp (default: the square that Android 12's circle never cuts, about 136 dp, or 113 "
                "dp "
                "on an icon background); larger art may be cut at its corners"),
            OptionSpec{"platform", OptionType::Choices, false, {"android", "ios"}}.described(
                "the platforms of the places given whose launch screens are written (default: all)"),
        },
        {{"background", "the screen's colour (default: white)"},
         {"padding", "room inside the square of the icon that Android 12's circle never cuts"}});
    return options;
}

// The manifests of the app that res is a source set's folder of: the module's, where a Gradle
// project holds it (its settings and build script say where), else the one beside res.
std::vector<fs::path> manifestsOf(const KindRequest& request, const fs::path& res)
{
    if (const std::optional<GradleProject> project = GradleProject::above(res)) {
        for (const char* settings : {"settings.gradle", "settings.gradle.kts"})
            request.inputs.read(project->root() / settings);
        if (const GradleModule* module = project->moduleOf(res)) {
            for (const char* script : {"build.gradle", "build.gradle.kts"})
                request.inputs.read(module->folder / script);
            return module->manifests();
        }
    }
    return {res.parent_path() / "AndroidManifest.xml"};
}

// The module's other res folders, main first, where a Gradle project holds res.
std::vector<fs::path> otherResOf(const KindRequest& request, const fs::path& res)
{
    std::vector<fs::path> others;
    if (const std::optional<GradleProject> project = GradleProject::above(res))
        if (const GradleModule* module = project->moduleOf(res))
            for (const fs::path& folder : module->resFolders())
                if (folder.lexically_normal() != res.lexically_normal() && request.inputs.exists(folder))
                    others.push_back(folder);
    return others;
}

// The theme the app launches in, as its manifests name it, and whether it is the launcher
// activity's own rather than the application's.
struct LaunchTheme {
    QString name;
    bool activitysOwn = false;
};
std::optional<LaunchTheme> launchThemeOf(const KindRequest& request, const fs::path& res)
{
    for (const fs::path& manifest : manifestsOf(request, res)) {
        request.inputs.read(manifest);
        if (const std::optional<AndroidManifest> read = readAndroidManifest(manifest))
            if (const std::optional<QString> theme = read->launchTheme())
                return LaunchTheme{*theme,
                                   !read->launcherTheme.isEmpty() && read->launcherTheme != read->applicationTheme};
    }
    return std::nullopt;
}

// Whether a theme's window background is a drawable of the app's already: a launch screen.
bool namesDrawableBackground(const StyleDefinition& style)
{
    return std::any_of(style.items.begin(), style.items.end(), [](const auto& item) {
        return item.first == QLatin1String("android:windowBackground")
            && item.second.startsWith(QLatin1String("@drawable/"));
    });
}

// Whether the theme is the compat library's: Theme.SplashScreen, or a theme of the file's that
// inherits it, by its parent or its dotted name.
bool isCompatTheme(const QByteArray& values, QString theme)
{
    for (int depth = 0; depth < 16 && !theme.isEmpty(); ++depth) {
        if (theme.startsWith(QLatin1String("Theme.SplashScreen")))
            return true;
        const std::optional<StyleDefinition> style = styleIn(values, theme);
        if (!style)
            return false;
        const QString parent
            = style->parent.startsWith(QLatin1String("@style/")) ? style->parent.mid(7) : style->parent;
        theme = !parent.isEmpty()              ? parent
            : theme.contains(QLatin1Char('.')) ? theme.section(QLatin1Char('.'), 0, -2)
                                               : QString();
    }
    return false;
}

// Whether the project shows Capacitor's full-screen splash.png: drawable/ or an orientation's
// density folder has one.
bool showsFullScreen(const KindRequest& request, const fs::path& res)
{
    const QString file = QLatin1String(fullScreenSplashName) + QStringLiteral(".png");
    for (const QString& folder : request.inputs.list(res))
        if ((folder == QLatin1String("drawable") || folder.startsWith(QLatin1String("drawable-port-"))
             || folder.startsWith(QLatin1String("drawable-land-")))
            && request.inputs.exists(res / toPath(folder) / toPath(file)))
            return true;
    return false;
}

// The art's side in dp, where it is given.
std::optional<double> artSize(const KindRequest& request)
{
    const auto found = request.options.find(QStringLiteral("size"));
    const double* dp = found == request.options.end() ? nullptr : std::get_if<double>(&found->second.value);
    return dp ? std::optional(*dp) : std::nullopt;
}

// Each values folder's file that defines the theme, else its styles.xml where it has one.
StylesFiles stylesOf(const KindRequest& request, const fs::path& res, const QString& theme)
{
    StylesFiles files;
    for (const char* folder : {"values", "values-night", "values-v31", "values-night-v31"}) {
        const QString name = QLatin1String(folder);
        std::optional<StylesFile> styles;
        for (const QString& file : request.inputs.list(res / folder)) {
            if (!file.endsWith(QLatin1String(".xml")))
                continue;
            const std::optional<QByteArray> bytes = request.inputs.read(res / folder / toPath(file), maxResXmlBytes);
            if (!bytes)
                continue;
            if (styleIn(*bytes, theme)) {
                styles = StylesFile{file, bytes};
                break;
            }
            if (file == QLatin1String("styles.xml"))
                styles = StylesFile{file, bytes};
        }
        if (styles)
            files[name] = *styles;
    }
    return files;
}

// The dark screen's art and Android 12's branding image, where they are given; why not, when one
// can't be read.
std::optional<QString> ownImages(const KindRequest& request, ImageRef& dark, ImageRef& branding)
{
    for (const auto& [key, image] :
         {std::pair(QStringLiteral("dark"), &dark), std::pair(QStringLiteral("branding"), &branding)}) {
        if (!request.file(key))
            continue;
        const SourceImages::Source& own = request.image(key);
        if (!own.loaded.image)
            return own.loaded.error;
        *image = own.loaded.image;
    }
    return std::nullopt;
}

// Android's launch screen into the res folder: a placement, or why not.
KindOutput androidScreen(const KindRequest& request, const ImageRef& art)
{
    KindOutput out;
    const fs::path res = request.path(QStringLiteral("res"));
    AndroidSplashOptions options;
    const std::optional<QString> given = request.file(QStringLiteral("theme"));
    const std::optional<LaunchTheme> theme = given ? LaunchTheme{*given, true} : launchThemeOf(request, res);
    if (!theme) {
        out = KindOutput::failed(
            pathLine(res, QStringLiteral("the app's manifest gives its launcher activity no theme of the app's own")));
        out.settledBy = QStringLiteral("theme");
        return out;
    }
    options.theme = theme->name;
    options.background = request.colour().value_or(QColor(Qt::white));
    options.darkBackground = request.colour(QStringLiteral("dark-background"));
    options.iconBackground = request.colour(QStringLiteral("icon-background"));
    options.padding = request.padding();
    if (const std::optional<QString> unreadable = ownImages(request, options.darkArt, options.branding))
        return KindOutput::failed(*unreadable);
    const StylesFiles styles = stylesOf(request, res, options.theme);
    // A flavor's source set inherits the theme from the module's other res folders, main first.
    StylesFiles inherited;
    const auto definesTheme = [&](const StylesFiles& files) {
        const auto values = files.find(QStringLiteral("values"));
        return values != files.end() && values->second.bytes && styleIn(*values->second.bytes, options.theme);
    };
    if (!definesTheme(styles))
        for (const fs::path& other : otherResOf(request, res))
            if (definesTheme(inherited = stylesOf(request, other, options.theme)))
                break;
    const StylesFiles& defining = definesTheme(styles) ? styles : inherited;
    const auto values = defining.find(QStringLiteral("values"));
    if (!definesTheme(defining)) {
        out = KindOutput::failed(
            pathLine(res, QStringLiteral("no values file here defines the launch theme %1").arg(options.theme)));
        out.settledBy = QStringLiteral("theme");
        return out;
    }
    options.compat = isCompatTheme(*values->second.bytes, options.theme);
    options.fullScreen = showsFullScreen(request, res);
    options.artDp = artSize(request);
    const double circle = options.iconBackground ? splashIconOnBackgroundCircleDp : splashIconCircleDp;
    if (options.artDp && *options.artDp > circle)
        return KindOutput::failed(
            pathLine(res,
                     QStringLiteral("art of %1 dp passes Android 12's %2 dp circle: it would be cut")
                         .arg(*options.artDp)
                         .arg(circle)));
    if (options.compat && options.iconBackground)
        out.notes << pathLine(res,
                              QStringLiteral("%1's icon background shows where its parent is "
                                             "Theme.SplashScreen.IconBackground")
                                  .arg(options.theme));
    options.windowBackground = !options.compat
        && (theme->activitysOwn || namesDrawableBackground(*styleIn(*values->second.bytes, options.theme)));
    if (!options.compat && !options.windowBackground)
        out.notes << pathLine(res,
                              QStringLiteral("%1 is the application's theme, whose window background every "
                                             "window shows: it stays, and before Android 12 the launch screen "
                                             "is that background. A launch theme of the launcher activity's own "
                                             "(--theme) shows launch_background.xml")
                                  .arg(options.theme));
    const Plan plan = planAndroidSplash(art, options, styles, inherited);
    if (plan.refusal)
        return KindOutput::failed(pathLine(res, *plan.refusal));
    out.placements.push_back({res, plan, false});
    return out;
}

// The dark entries of a set of the catalog whose files are there (a colour set's need none).
QJsonArray darkEntriesOf(const KindRequest& request, const fs::path& set, const char* list)
{
    QJsonArray kept;
    const std::optional<QByteArray> contents = request.inputs.read(set / "Contents.json", 1 << 20);
    if (!contents)
        return kept;
    const QJsonArray entries = QJsonDocument::fromJson(*contents)[QLatin1String(list)].toArray();
    for (const QJsonValue& value : entries) {
        const QJsonObject entry = value.toObject();
        const QJsonArray appearances = entry[QLatin1String("appearances")].toArray();
        const bool dark = std::any_of(appearances.begin(), appearances.end(), [](const QJsonValue& each) {
            return each.toObject()[QLatin1String("value")].toString() == QLatin1String("dark");
        });
        const QString file = entry[QLatin1String("filename")].toString();
        if (dark
            && (file.isEmpty() ? entry.contains(QLatin1String("color")) : request.inputs.exists(set / toPath(file))))
            kept.append(entry);
    }
    return kept;
}

// iOS's launch screen into the asset catalog: its image set and its colour set.
KindOutput iosScreen(const KindRequest& request, const ImageRef& art)
{
    const fs::path catalog = request.path(QStringLiteral("catalog"));
    IosSplashOptions options;
    options.background = request.colour().value_or(QColor(Qt::white));
    options.darkBackground = request.colour(QStringLiteral("dark-background"));
    options.padding = request.padding();
    const fs::path backgroundSet
        = catalog / (QLatin1String(launchColourName) + QStringLiteral(".imageset")).toStdString();
    options.backgroundImageSet = request.inputs.exists(backgroundSet);
    options.darkImages
        = darkEntriesOf(request, catalog / (QLatin1String(launchImageName) + QStringLiteral(".imageset")).toStdString(),
                        "images");
    options.darkBackgrounds = options.backgroundImageSet
        ? darkEntriesOf(request, backgroundSet, "images")
        : darkEntriesOf(request,
                        catalog / (QLatin1String(launchColourName) + QStringLiteral(".colorset")).toStdString(),
                        "colors");
    ImageRef branding;
    if (const std::optional<QString> unreadable = ownImages(request, options.darkArt, branding))
        return KindOutput::failed(*unreadable);
    options.artPt = artSize(request);

    // What the app's target shows: its storyboard's images, else UILaunchScreen's, in the
    // Info.plist beside the catalog.
    KindOutput out;
    const fs::path target = catalog.parent_path();
    const std::optional<QByteArray> plist = request.inputs.read(target / "Info.plist", 1 << 20);
    const std::optional<QString> storyboardName
        = plist ? plistString(*plist, QStringLiteral("UILaunchStoryboardName")) : std::nullopt;
    QStringList shown;
    for (const fs::path& storyboard :
         {target / "Base.lproj" / toPath(storyboardName.value_or(QStringLiteral("LaunchScreen")) + ".storyboard"),
          target / toPath(storyboardName.value_or(QStringLiteral("LaunchScreen")) + ".storyboard")})
        if (const std::optional<QByteArray> bytes = request.inputs.read(storyboard, 4 << 20))
            shown += imagesShownBy(*bytes);
    options.fullScreenSet = request.inputs.exists(
        catalog / (QLatin1String(fullScreenSetName) + QStringLiteral(".imageset")).toStdString());
    const bool showsLaunchImage = shown.contains(QLatin1String(launchImageName));
    options.launchImage
        = showsLaunchImage || !(options.fullScreenSet && shown.contains(QLatin1String(fullScreenSetName)));
    const Plan plan = planIosSplash(art, options);
    if (plan.refusal)
        return KindOutput::failed(pathLine(catalog, *plan.refusal));
    out.placements.push_back({catalog, plan, false});
    if (!options.launchImage || showsLaunchImage)
        return out;
    if (!plist) {
        out.notes << pathLine(catalog,
                              QStringLiteral("no Info.plist beside the catalog: the app's launch screen "
                                             "names %1 and %2 itself")
                                  .arg(QLatin1String(launchImageName), QLatin1String(launchColourName)));
        return out;
    }
    std::vector<std::pair<QString, QString>> strings;
    if (!options.backgroundImageSet)
        strings.emplace_back(QStringLiteral("UIColorName"), QLatin1String(launchColourName));
    strings.emplace_back(QStringLiteral("UIImageName"), QLatin1String(launchImageName));
    const std::optional<QByteArray> edited = withPlistStrings(*plist, QStringLiteral("UILaunchScreen"), strings);
    if (!edited)
        return KindOutput::failed(pathLine(target / "Info.plist",
                                           QStringLiteral("can't be edited in place (no XML property list, or its "
                                                          "UILaunchScreen holds more than names)")));
    if (*edited != *plist) {
        Plan info;
        info.add(QStringLiteral("Info.plist"), *edited);
        out.placements.push_back({target, info, false});
    }
    if (storyboardName)
        out.notes << pathLine(target / "Info.plist",
                              QStringLiteral("UILaunchScreen names %1 and %2; the storyboard UILaunchStoryboardName "
                                             "names (%3) stays, and where both are given iOS may show it: remove "
                                             "UILaunchStoryboardName to show this launch screen")
                                  .arg(QLatin1String(launchImageName), QLatin1String(launchColourName),
                                       *storyboardName));
    return out;
}

// Whether a place's platform is among those asked for: res is Android's, catalog iOS's.
bool forPlatform(const KindRequest& request, const QString& key)
{
    const auto found = request.options.find(QStringLiteral("platform"));
    if (found == request.options.end())
        return true;
    return found->second.words().contains(key == QLatin1String("res") ? QStringLiteral("android")
                                                                      : QStringLiteral("ios"));
}

KindOutput makeSplash(const KindRequest& request)
{
    const SourceImages::Source& source = request.image();
    if (!source.loaded.image)
        return KindOutput::unreadable(source.loaded.error);
    QStringList places;
    KindOutput out;
    for (const auto& [key, screen] :
         {std::pair(QStringLiteral("res"), &androidScreen), std::pair(QStringLiteral("catalog"), &iosScreen)}) {
        if (!request.file(key) || !forPlatform(request, key))
            continue;
        KindOutput made = screen(request, source.loaded.image);
        if (made.failure)
            return made;
        places << request.text(key);
        out.placements.insert(out.placements.end(), made.placements.begin(), made.placements.end());
        out.notes += made.notes;
    }
    if (places.isEmpty())
        return KindOutput::failed(QStringLiteral("a launch screen needs res (Android), catalog (iOS) or both, of the "
                                                 "platforms asked for"));
    out.where = places.join(QStringLiteral(", "));
    return out;
}

// The launch screen's files as Android's build takes them.
KindCheck checkSplash(const KindRequest& request)
{
    KindCheck check;
    if (request.file(QStringLiteral("catalog"))) {
        const SplashCheck ios = checkIosSplash(request.path(QStringLiteral("catalog")));
        check.places += ios.places;
        check.findings = ios.findings;
    }
    if (!request.file(QStringLiteral("res")))
        return check;
    const fs::path res = request.path(QStringLiteral("res"));
    const std::optional<QString> given = request.file(QStringLiteral("theme"));
    const std::optional<LaunchTheme> theme = given ? LaunchTheme{*given, true} : launchThemeOf(request, res);
    if (!theme) {
        check.error = pathLine(res, QStringLiteral("the app's manifest gives its launcher activity no theme"));
        return check;
    }
    const SplashCheck found = checkAndroidSplash(res, theme->name);
    check.places += found.places;
    check.findings.insert(check.findings.end(), found.findings.begin(), found.findings.end());
    return check;
}

} // namespace

const OutputKind splashKind{"splash",
                            "splash",
                            splashOptions,
                            {"source"},
                            makeSplash,
                            checkSplash,
                            "writes the Android launch screen into RES: the launch theme's Android 12 items in "
                            "values-v31 (the icon on its 288 dp canvas, the art inside the square that the circle "
                            "never cuts) and, before Android 12, launch_background.xml's colour and centred art, "
                            "named by the theme's window background; the dark screen under -night with --dark or "
                            "--dark-background. The themes are edited in place. With --catalog, the iOS launch "
                            "screen too: LaunchImage.imageset and the LaunchBackground colour set. PROJECT_OR_RES: res "
                            "folders, asset catalogs, "
                            "or a project's folder, for its app's res and iOS catalog",
                            nullptr,
                            nullptr,
                            "PROJECT_OR_RES",
                            // A res folder, for its themes; an asset catalog, for its sets.
                            [](const fs::path& path) -> const char* {
                                const fs::path name
                                    = path.filename().empty() ? path.parent_path().filename() : path.filename();
                                if (name == "res")
                                    return "res";
                                return name.extension() == ".xcassets" ? "catalog" : nullptr;
                            }};

} // namespace quorva
