#include "project/projectdetection.h"

#include "android/gradleproject.h"
#include "android/launchericonname.h"
#include "expo/expoconfig.h"
#include "image/csscolour.h"
#include "msix/msixkind.h"
#include "project/electronconfig.h"
#include "splash/splashkind.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "web/webcheck.h"
#include "xcodeproj/xcodeproject.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxReadBytes = 4 << 20;

QByteArray readText(const fs::path& path)
{
    return readSmallFile(path, maxReadBytes).value_or(QByteArray());
}

class Detector {
public:
    explicit Detector(const fs::path& root) : m_root(absoluteFolder(root)), m_absolute(resolvedPath(root)) {}

    DetectedProject run()
    {
        kinds();
        apple();
        android();
        web();
        desktop();
        launchScreen();
        for (const TargetKind kind : targetKinds())
            if (!m_project.config.targets.count(kind) && !m_missing.count(kind))
                m_project.notFound << QStringLiteral("%1: none in this project").arg(targetName(kind));
        for (const auto& [kind, why] : m_missing)
            if (!m_project.config.targets.count(kind))
                m_project.notFound << QStringLiteral("%1: %2").arg(targetName(kind), why);
        return m_project;
    }

private:
    QString relative(const fs::path& path) const
    {
        return displayPath(resolvedPath(path).lexically_relative(m_absolute));
    }

    void kinds()
    {
        const QJsonObject package = QJsonDocument::fromJson(readText(m_root / "package.json")).object();
        std::set<QString> dependencies;
        for (const char* list : {"dependencies", "devDependencies"})
            for (const QString& name : package[QLatin1String(list)].toObject().keys())
                dependencies.insert(name);
        QStringList& kinds = m_project.kinds;
        static const QRegularExpression flutterSection(QStringLiteral("^flutter:"),
                                                       QRegularExpression::MultilineOption);
        if (flutterSection.match(QString::fromUtf8(readText(m_root / "pubspec.yaml"))).hasMatch())
            kinds << QStringLiteral("Flutter");
        const bool expo = dependencies.count(QStringLiteral("expo"))
            || QJsonDocument::fromJson(readText(m_root / "app.json")).object().contains(QStringLiteral("expo"))
            || isFile(m_root / "app.config.ts") || isFile(m_root / "app.config.js");
        if (dependencies.count(QStringLiteral("react-native")) && !expo)
            kinds << QStringLiteral("React Native");
        if (expo)
            kinds << QStringLiteral("Expo");
        for (const char* config : {"capacitor.config.json", "capacitor.config.ts", "capacitor.config.js"})
            if (isFile(m_root / config)) {
                kinds << QStringLiteral("Capacitor");
                break;
            }
        if (isFile(m_root / "src-tauri" / "tauri.conf.json"))
            kinds << QStringLiteral("Tauri");
        if (dependencies.count(QStringLiteral("electron")) || dependencies.count(QStringLiteral("electron-builder"))
            || dependencies.count(QStringLiteral("@electron-forge/cli")))
            if ((m_electron = electronIcons(m_root, package)))
                kinds << QStringLiteral("Electron");
        if (kinds.isEmpty()) {
            if (!QDir(displayPath(m_root)).entryList({QStringLiteral("*.xcodeproj")}, QDir::Dirs).isEmpty())
                kinds << QStringLiteral("Xcode");
            if (isFile(m_root / "settings.gradle") || isFile(m_root / "settings.gradle.kts"))
                kinds << QStringLiteral("Gradle");
        }
        if (expo)
            expoImages();
    }

    // The images an Expo app's configuration names: prebuild makes the native icons from them.
    void expoImages()
    {
        for (const char* name : {"app.json", "app.config.ts", "app.config.js", "app.config.mjs", "app.config.cjs"}) {
            if (!isFile(m_root / name))
                continue;
            const ExpoConfig config
                = readExpoConfig(readText(m_root / name), !QLatin1String(name).endsWith(QLatin1String(".json")));
            if (config.images.empty() && config.unread.isEmpty())
                continue;
            ConfigTable& table = m_project.config.targets[TargetKind::Expo];
            table[QStringLiteral("config")] = textValue(QLatin1String(name));
            if (config.backgroundColour && parseCssColour(*config.backgroundColour).isValid())
                table[QStringLiteral("background")] = textValue(*config.backgroundColour);
            QStringList keys;
            for (const ExpoImage& image : config.images) {
                keys << image.key;
                // ios.icon may be an Icon Composer file, which the app's own target writes.
                const fs::path icon = (m_root / toPath(image.path)).lexically_normal();
                if (image.path.endsWith(QLatin1String(".icon")) && isFolder(icon)
                    && !m_project.config.targets.count(TargetKind::IconComposer)) {
                    m_project.config.targets[TargetKind::IconComposer]
                        = {{QStringLiteral("folder"), textValue(relative(icon.parent_path()))},
                           {QStringLiteral("name"), textValue(displayPath(icon.stem()))}};
                    m_project.found << QStringLiteral("icon-composer: %1 (%2 of %3)")
                                           .arg(relative(icon), image.key, QLatin1String(name));
                }
            }
            m_project.found << QStringLiteral("expo: the images %1 names (%2)")
                                   .arg(QLatin1String(name), keys.join(QStringLiteral(", ")));
            if (!config.unread.isEmpty())
                m_project.notFound << QStringLiteral("expo: %1 in %2 is no plain string: not read")
                                          .arg(config.unread.join(QStringLiteral(", ")), QLatin1String(name));
            return;
        }
        m_missing[TargetKind::Expo] = QStringLiteral("app.json and app.config.* name no icon");
    }

    // Each Xcode project's app targets: the catalog each copies that holds the set its icon name
    // names, or the Icon Composer file of that name.
    void apple()
    {
        std::vector<fs::path> bundles;
        for (const char* folder : {".", "ios", "macos", "ios/App", "src-tauri/gen/apple"})
            for (const QString& name :
                 QDir(displayPath(m_root / folder)).entryList({QStringLiteral("*.xcodeproj")}, QDir::Dirs, QDir::Name))
                bundles.push_back(m_root / folder / toPath(name));
        if (bundles.empty()) {
            m_missing[TargetKind::iOS] = QStringLiteral("no Xcode project (.xcodeproj) in this project");
            return;
        }
        for (const fs::path& bundle : bundles) {
            const ReadXcodeProject read = readXcodeProject(bundle);
            if (!read.project) {
                m_project.notFound << QStringLiteral("%1: %2").arg(relative(bundle), read.error);
                continue;
            }
            for (const XcodeTarget& target : read.project->targets) {
                const std::optional<QString> name
                    = target.setting(QStringLiteral("ASSETCATALOG_COMPILER_APPICON_NAME"));
                if (!target.isApplication() || !name || name->contains(QLatin1String("$(")))
                    continue;
                appleTarget(bundle, target, *name);
            }
        }
    }

    void appleTarget(const fs::path& bundle, const XcodeTarget& target, const QString& name)
    {
        // The platforms it is built for.
        std::set<TargetKind> platforms;
        QStringList sdks = target.settings.count(QStringLiteral("SUPPORTED_PLATFORMS"))
            ? target.settings.at(QStringLiteral("SUPPORTED_PLATFORMS"))
            : QStringList();
        sdks << target.setting(QStringLiteral("SDKROOT")).value_or(QString());
        for (const QString& sdk : sdks) {
            if (sdk.startsWith(QLatin1String("iphone")))
                platforms.insert(TargetKind::iOS);
            else if (sdk.startsWith(QLatin1String("macosx")))
                platforms.insert(TargetKind::macOS);
            else if (sdk.startsWith(QLatin1String("watch")))
                platforms.insert(TargetKind::watchOS);
        }
        if (platforms.empty())
            platforms.insert(TargetKind::iOS);
        const QString from = QStringLiteral("target %1 of %2").arg(target.name, relative(bundle));
        for (const fs::path& resource : target.resources) {
            if (resource.extension() == ".icon" && displayPath(resource.stem()) == name) {
                if (m_project.config.targets.count(TargetKind::IconComposer))
                    continue;
                m_project.config.targets[TargetKind::IconComposer]
                    = {{QStringLiteral("folder"), textValue(relative(resource.parent_path()))},
                       {QStringLiteral("name"), textValue(name)}};
                m_project.found << QStringLiteral("icon-composer: %1 (%2)").arg(relative(resource), from);
                return;
            }
        }
        // The catalog that holds the set, or a set any of its configurations selects (a flavor's);
        // else the only catalog it copies, where sync makes the set.
        QStringList selected{name};
        for (const auto& [configuration, settings] : target.configurations)
            if (const auto icon = target.appIconOf(configuration); icon && !selected.contains(*icon))
                selected << *icon;
        std::vector<fs::path> catalogs;
        for (const fs::path& resource : target.resources)
            if (resource.extension() == ".xcassets")
                catalogs.push_back(resource);
        std::optional<fs::path> holding;
        for (const QString& set : selected)
            for (const fs::path& catalog : catalogs)
                if (!holding && isFolder(catalog / toPath(set + ".appiconset")))
                    holding = catalog;
        if (!holding && catalogs.size() == 1)
            holding = catalogs.front();
        for (const fs::path& resource : target.resources) {
            if (!holding || resource != *holding)
                continue;
            for (const TargetKind platform : platforms) {
                if (m_project.config.targets.count(platform)) {
                    m_project.notFound << QStringLiteral("%1: also %2 in %3 (%4); quorva.toml names one")
                                              .arg(targetName(platform), name, relative(resource), from);
                    continue;
                }
                ConfigTable& table = m_project.config.targets[platform];
                table[QStringLiteral("catalog")] = textValue(relative(resource));
                if (name != QLatin1String("AppIcon"))
                    table[QStringLiteral("set")] = textValue(name);
                m_project.found
                    << QStringLiteral("%1: %2, set %3 (%4)").arg(targetName(platform), relative(resource), name, from);
            }
            return;
        }
        m_project.notFound << QStringLiteral("%1: %2 names the icon %3, which no catalog it copies holds")
                                  .arg(targetName(*platforms.begin()), from, name);
    }

    // The app module of the Gradle project: the one that applies Android's application plugin.
    void android()
    {
        std::optional<GradleProject> project;
        for (const char* folder : {"android", "src-tauri/gen/android", "."})
            if (isFile(m_root / folder / "settings.gradle") || isFile(m_root / folder / "settings.gradle.kts")) {
                project = GradleProject::read((m_root / folder).lexically_normal());
                break;
            }
        if (!project) {
            m_missing[TargetKind::Android] = QStringLiteral("no Gradle project (settings.gradle) in this project");
            return;
        }
        static const QRegularExpression application(
            QStringLiteral(R"(com\.android\.application|plugins\.android\.application)"));
        const GradleModule* app = nullptr;
        for (const GradleModule& module : project->modules()) {
            QString script;
            for (const char* name : {"build.gradle", "build.gradle.kts"})
                script += QString::fromUtf8(readText(module.folder / name));
            if (application.match(script).hasMatch() || (!app && module.name == QLatin1String(":app")))
                app = &module;
            if (application.match(script).hasMatch())
                break;
        }
        if (!app) {
            m_missing[TargetKind::Android] = QStringLiteral("no app module in %1").arg(relative(project->root()));
            return;
        }
        const fs::path res = app->folder / "src" / "main" / "res";
        if (!isFolder(res)) {
            m_missing[TargetKind::Android] = QStringLiteral("%1 has no src/main/res").arg(relative(app->folder));
            return;
        }
        m_project.config.targets[TargetKind::Android] = {{QStringLiteral("res"), textValue(relative(res))}};
        const LauncherIconName names = launcherIconName(res, std::nullopt);
        m_project.found << QStringLiteral("android: %1 (module %2), %3")
                               .arg(relative(res), app->name,
                                    names.undecided
                                        ? *names.undecided + QStringLiteral(": set name in [android]")
                                        : QStringLiteral("its manifest names @mipmap/%1%2")
                                              .arg(names.name,
                                                   names.roundName.isEmpty()
                                                       ? QStringLiteral(", no round icon")
                                                       : QStringLiteral(" and @mipmap/%1").arg(names.roundName)));
    }

    // A Vite app's PWA plugin: its manifest a JSON file the config imports (served from public/
    // at the site's root), or written in the config itself, which Quorva does not edit.
    bool vitePwa()
    {
        for (const char* name : {"vite.config.ts", "vite.config.js", "vite.config.mts", "vite.config.mjs"}) {
            const QString config = QString::fromUtf8(readText(m_root / name));
            if (!config.contains(QLatin1String("VitePWA")))
                continue;
            static const QRegularExpression imported(
                QStringLiteral(R"(import\s+(\w+)\s+from\s+["'](\.\/[^"']+\.(?:json|webmanifest))["'])"));
            static const QRegularExpression publicDir(QStringLiteral(R"(publicDir\s*:\s*["']([^"']+)["'])"));
            const QString folder
                = publicDir.match(config).hasMatch() ? publicDir.match(config).captured(1) : QStringLiteral("public");
            for (auto match = imported.globalMatch(config); match.hasNext();) {
                const QRegularExpressionMatch each = match.next();
                const QRegularExpression used(QStringLiteral(R"(manifest\s*:\s*%1\b)").arg(each.captured(1)));
                const fs::path manifest = (m_root / toPath(each.captured(2))).lexically_normal();
                if (!used.match(config).hasMatch() || !isFile(manifest) || !isFolder(m_root / toPath(folder)))
                    continue;
                m_project.config.targets[TargetKind::Web]
                    = {{QStringLiteral("folder"), textValue(folder)},
                       {QStringLiteral("manifest"), textValue(relative(manifest))}};
                m_project.found << QStringLiteral("web: %1, its icons as %2 names them (vite-plugin-pwa in %3)")
                                       .arg(folder, relative(manifest), QLatin1String(name));
                return true;
            }
            m_missing[TargetKind::Web] = QStringLiteral("%1 writes its web app manifest itself (vite-plugin-pwa): "
                                                        "add [web] with the folder its icons are served from")
                                             .arg(QLatin1String(name));
            return true;
        }
        return false;
    }

    void web()
    {
        if (vitePwa())
            return;
        for (const char* folder : {"web", "public", "static", "src"})
            if (const auto manifest = siteManifest(m_root / folder)) {
                m_project.config.targets[TargetKind::Web]
                    = {{QStringLiteral("folder"), textValue(QLatin1String(folder))}};
                m_project.found << QStringLiteral("web: %1, its icons as %2 names them")
                                       .arg(QLatin1String(folder), relative(*manifest));
                return;
            }
        m_missing[TargetKind::Web] = QStringLiteral("no web app manifest in web/, public/, static/ or src/");
    }

    // Where the app's launch screen goes: its res folder and its iOS catalog, as found for its icons.
    void launchScreen()
    {
        ConfigTable places;
        const auto take = [&](TargetKind kind, const char* key) {
            if (const auto found = m_project.config.targets.find(kind); found != m_project.config.targets.end())
                if (const auto place = found->second.find(QLatin1String(key)); place != found->second.end())
                    places[QLatin1String(key)] = place->second;
        };
        take(TargetKind::Android, "res");
        take(TargetKind::iOS, "catalog");
        const TargetKind splash{splashKind.table};
        if (!places.empty())
            m_project.proposed[splash] = places;
        m_missing[splash] = places.empty()
            ? QStringLiteral("no res folder or iOS catalog in this project")
            : QStringLiteral("no launch screen tool's settings here (flutter_native_splash, Expo's splash, the "
                             "Capacitor assets tool's logo): add [splash] to write the launch screens");
    }

    // A kind's files found in a folder, to be made again as they were made.
    void foundFolder(const OutputKind& kind, const QString& folder, const QString& how)
    {
        ConfigTable table = kind.madeWith ? kind.madeWith(m_root / toPath(folder)) : ConfigTable{};
        table[QStringLiteral("folder")] = textValue(folder);
        m_project.config.targets[TargetKind{kind.table}] = table;
        m_project.found << QStringLiteral("%1: %2 (%3)").arg(QLatin1String(kind.table), folder, how);
    }

    void desktop()
    {
        const auto file = [&](TargetKind kind, const QString& path, const QString& how) {
            m_project.config.targets[kind] = {{QStringLiteral("file"), textValue(path)}};
            m_project.found << QStringLiteral("%1: %2 (%3)").arg(targetName(kind), path, how);
        };
        if (isFolder(m_root / "windows/runner/resources"))
            file(TargetKind::Windows, QStringLiteral("windows/runner/resources/app_icon.ico"),
                 QStringLiteral("Flutter's Windows runner"));
        if (m_electron) {
            const QString how = QStringLiteral("%1, from %2").arg(m_electron->tool, m_electron->from);
            if (m_electron->ico && !m_project.config.targets.count(TargetKind::Windows))
                file(TargetKind::Windows, *m_electron->ico, how);
            if (m_electron->icns)
                file(TargetKind::Icns, *m_electron->icns, how);
            if (m_electron->iconComposer && !m_project.config.targets.count(TargetKind::IconComposer)) {
                const fs::path icon = toPath(*m_electron->iconComposer);
                m_project.config.targets[TargetKind::IconComposer]
                    = {{QStringLiteral("folder"),
                        textValue(icon.parent_path().empty() ? QStringLiteral(".") : displayPath(icon.parent_path()))},
                       {QStringLiteral("name"), textValue(displayPath(icon.stem()))}};
                m_project.found << QStringLiteral("icon-composer: %1 (%2)").arg(*m_electron->iconComposer, how);
            }
            if (!m_electron->unread.isEmpty())
                m_project.notFound << QStringLiteral("%1: %2 in %3 is no plain string: not read")
                                          .arg(m_electron->tool, m_electron->unread.join(QStringLiteral(", ")),
                                               m_electron->from);
        }
        if (isFile(m_root / "src-tauri/tauri.conf.json")) {
            m_project.config.targets[TargetKind::Tauri]
                = {{QStringLiteral("config"), textValue(QStringLiteral("src-tauri/tauri.conf.json"))}};
            m_project.found << QStringLiteral("tauri: the icons src-tauri/tauri.conf.json bundles (bundle.icon)");
            if (msixKind.heldAt(m_root / "src-tauri/icons"))
                foundFolder(msixKind, QStringLiteral("src-tauri/icons"),
                            QStringLiteral("the Windows Store images tauri icon wrote"));
        }
        if (m_electron && m_electron->appx)
            foundFolder(msixKind, *m_electron->appx, QStringLiteral("electron-builder's appx target"));
        if (!m_project.config.targets.count(TargetKind::Linux))
            m_missing[TargetKind::Linux] = QStringLiteral("no hicolor icon theme in this project; add [linux] with "
                                                          "folder and id to write one");
    }

    fs::path m_root;
    fs::path m_absolute;
    DetectedProject m_project;
    std::map<TargetKind, QString> m_missing;
    std::optional<ElectronIcons> m_electron;
};

} // namespace

DetectedProject detectProject(const fs::path& root)
{
    return Detector(root).run();
}

std::optional<QString> likelySource(const fs::path& root)
{
    for (const char* path :
         {"assets/icon.svg", "assets/icon.png", "assets/icon/icon.svg", "assets/icon/icon.png", "assets/icon-only.png",
          "assets/images/icon.png", "resources/icon.svg", "resources/icon.png", "app-icon.svg", "app-icon.png",
          "src-tauri/app-icon.png", "icon.svg", "icon.png", "assets/logo.svg", "assets/logo.png", "build/icon.png"})
        if (isFile(root / path))
            return QLatin1String(path);
    return std::nullopt;
}

} // namespace quorva
