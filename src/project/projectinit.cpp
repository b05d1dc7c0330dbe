#include "project/projectinit.h"

#include "android/existingicon.h"
#include "android/launchericonname.h"
#include "apple/existingset.h"
#include "apple/iconcomposerdesign.h"
#include "expo/expoconfig.h"
#include "image/imageresizing.h"
#include "project/flutterlaunchericons.h"
#include "project/launchscreenimport.h"
#include "project/projectdetection.h"
#include "project/projecttarget.h"
#include "project/targetplacement.h"
#include "project/writtenplaces.h"
#include "splash/splashkind.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "xcodeproj/xcodeproject.h"

#include <QRegularExpression>

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

// A values file's colour as quorva.toml takes it, its case kept: #RGB and #RRGGBB as they are,
// Android's #ARGB and #AARRGGBB when opaque; nothing for a colour that isn't.
std::optional<QString> opaqueHex(const QString& android)
{
    static const QRegularExpression hex(QStringLiteral("^#([0-9A-Fa-f]{3,4}|[0-9A-Fa-f]{6}|[0-9A-Fa-f]{8})$"));
    if (!hex.match(android).hasMatch())
        return std::nullopt;
    const qsizetype digits = android.size() - 1;
    if (digits == 3 || digits == 6)
        return android;
    const qsizetype alpha = digits / 4;
    if (android.mid(1, alpha).compare(QString(alpha, QLatin1Char('f')), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return QLatin1Char('#') + android.mid(1 + alpha);
}

// The folder or file a target writes in, as a whole.
QString placeFolder(const ProjectTarget& target)
{
    if (isAppleSet(target.kind))
        return target.place() + QStringLiteral(".appiconset");
    if (target.kind == TargetKind::IconComposer)
        return target.place() + QStringLiteral(".icon");
    return target.place();
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
        const auto places = project.proposed.find(TargetKind{splashKind.table});
        const std::optional<ImportedLaunchScreen> screen
            = importLaunchScreen(m_root, places == project.proposed.end() ? ConfigTable{} : places->second,
                                 m_out.config);
        for (const QString& line : project.found)
            m_out.found << QStringLiteral("found %1").arg(line);
        for (const QString& line : project.notFound)
            if (!screen || !line.startsWith(QLatin1String(splashKind.table) + QLatin1Char(':')))
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
        if (screen) {
            m_out.errors += screen->errors;
            m_out.found << QStringLiteral("imported %1 from %2%3")
                               .arg(screen->tool, screen->from,
                                    screen->flavors.isEmpty() ? QString()
                                                              : QStringLiteral(", with the flavors %1")
                                                                    .arg(screen->flavors.join(QStringLiteral(", "))));
            if (!screen->unmatched.isEmpty())
                m_out.found << QStringLiteral("no equal in Quorva for %1's %2")
                                   .arg(screen->tool, screen->unmatched.join(QStringLiteral(", ")));
            m_out.notes += screen->notes;
        }
        if (!chooseSource(source))
            return m_out;
        setsAsTheXcodeProjectSelects(imported ? *imported : ImportedLauncherIcons());
        if (imported)
            m_out.notes += imported->notes;
        if (m_out.config.targets.empty()) {
            m_out.failure = pathLine(m_root,
                                     QStringLiteral("no target found: no catalog, res folder, site, Windows "
                                                    "or macOS icon file, nor Tauri or Expo configuration"));
            return m_out;
        }
        keepWhatTheSetsHave();
        keepWhatTheLauncherIconsHave();
        keepIconComposerDesigns();
        keepExposMonochrome();
        flavorsSayOnlyWhatDiffers();
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
                // Outside any repository the project's own folder is the repository.
                m_out.failure
                    = pathLine(*source,
                               resolvedPath(repository) == resolvedPath(m_root)
                                   ? QStringLiteral("it must lie in this repository")
                                   : QStringLiteral("it must lie in the repository %1").arg(displayPath(repository)));
                return false;
            }
            shared[QStringLiteral("source")] = {displayPath(resolved.lexically_relative(resolvedPath(m_root))), 0};
        } else if (!shared.count(QStringLiteral("source"))) {
            // A project whose icons are all its flavors': the production flavor's image.
            for (const char* name : {"prod", "production", "pro", "release", "live", "main"})
                if (const auto flavor = m_out.config.flavors.find(QLatin1String(name));
                    flavor != m_out.config.flavors.end() && flavor->second.shared.count(QStringLiteral("source"))) {
                    shared[QStringLiteral("source")] = flavor->second.shared.at(QStringLiteral("source"));
                    return true;
                }
            const std::optional<QString> found = likelySource(m_root);
            shared[QStringLiteral("source")] = {found.value_or(QStringLiteral("icon.png")), 0};
            if (!found)
                m_out.notes << QStringLiteral("no source image found: quorva.toml names icon.png, which is not "
                                              "there; put the icon there, or give --source FILE");
        }
        return true;
    }

    // The iOS sets as the Xcode project's configurations select them: each flavor's the set its
    // configurations (Debug-dev, Release-dev) name, the app's the one the others name; none of its
    // own where every configuration is a flavor's, so that sync makes no set nothing selects.
    void setsAsTheXcodeProjectSelects(const ImportedLauncherIcons& imported)
    {
        auto base = m_out.config.targets.find(TargetKind::iOS);
        if (base == m_out.config.targets.end())
            return;
        const QString detected = base->second.count(QStringLiteral("set"))
            ? base->second.at(QStringLiteral("set")).text()
            : QStringLiteral("AppIcon");
        const fs::path catalog = m_root / toPath(base->second.at(QStringLiteral("catalog")).text());
        const std::optional<XcodeProject> project = findXcodeProjectFor(catalog);
        const XcodeTarget* app = nullptr;
        if (project)
            for (const XcodeTarget& target : project->targets)
                if (target.isApplication() && target.copies(catalog) && !app)
                    app = &target;
        const auto said
            = [&](const QString& who, const QString& named, const QString& selected, const QString& configurations) {
                  if (named != selected)
                      m_out.found << QStringLiteral("%1: flutter_launcher_icons names the set %2, and %3 select %4: "
                                                    "quorva.toml names %4")
                                         .arg(who, named, configurations, selected);
              };
        if (m_out.config.flavors.empty()) {
            if (imported.set && app)
                said(QStringLiteral("ios"), *imported.set, detected,
                     QStringLiteral("target %1's configurations").arg(app->name));
            return;
        }
        QStringList flavorConfigurations;
        QStringList flavorSets;
        for (auto& [name, flavor] : m_out.config.flavors) {
            QString set;
            QStringList configurations = app ? app->configurationsOf(name) : QStringList();
            for (const QString& configuration : configurations)
                if (const auto icon = app->appIconOf(configuration); icon && !icon->contains(QLatin1String("$(")))
                    if (set.isEmpty() || configuration.startsWith(QLatin1String("Release")))
                        set = *icon;
            flavorConfigurations += configurations;
            // A name of flutter_launcher_icons' only where a configuration selects it.
            const auto anySelects = [&](const QString& icon) {
                return app
                    && std::any_of(app->configurations.begin(), app->configurations.end(),
                                   [&](const auto& each) { return app->appIconOf(each.first) == icon; });
            };
            if (set.isEmpty())
                set = imported.flavorSets.count(name) && anySelects(imported.flavorSets.at(name))
                    ? imported.flavorSets.at(name)
                    : detected + QLatin1Char('-') + name;
            if (imported.flavorSets.count(name))
                said(QStringLiteral("ios (%1)").arg(name), imported.flavorSets.at(name), set,
                     configurations.isEmpty() ? QStringLiteral("no configurations of the flavor")
                                              : configurations.join(QStringLiteral(", ")));
            flavor.targets[TargetKind::iOS][QStringLiteral("set")] = {set, 0};
            flavorSets << set;
        }
        // The app's own set: the one its other configurations select, unless that is a flavor's.
        std::optional<QString> own;
        if (app)
            for (const auto& [name, settings] : app->configurations)
                if (!flavorConfigurations.contains(name))
                    if (const auto icon = app->appIconOf(name); icon && (!own || name == QLatin1String("Release")))
                        own = *icon;
        if (!app || (own && !flavorSets.contains(*own))) {
            if (own && *own != QLatin1String("AppIcon"))
                base->second[QStringLiteral("set")] = {*own, 0};
            else if (own)
                base->second.erase(QStringLiteral("set"));
            return;
        }
        // Every configuration builds a flavor: the flavors' tables take the app's.
        for (auto& [name, flavor] : m_out.config.flavors)
            for (const auto& [key, value] : base->second)
                flavor.targets[TargetKind::iOS].emplace(key, value);
        m_out.config.targets.erase(base);
        m_out.found << QStringLiteral("ios: every configuration of target %1 builds a flavor, so the app has no set "
                                      "of its own: each flavor's is the one its configurations select")
                           .arg(app->name);
    }

    // A flavor's tables say only what it changes, and hold no table of the app's shared targets.
    void flavorsSayOnlyWhatDiffers()
    {
        ProjectConfig& config = m_out.config;
        for (auto& [name, flavor] : config.flavors) {
            std::erase_if(flavor.shared, [&](const auto& entry) {
                const auto base = config.shared.find(entry.first);
                return base != config.shared.end() && base->second.sameValue(entry.second);
            });
            for (auto& [kind, table] : flavor.targets) {
                ConfigTable inherited = config.shared;
                if (const auto base = config.targets.find(kind); base != config.targets.end())
                    for (const auto& [key, value] : base->second)
                        inherited[key] = value;
                for (const auto& [key, value] : flavor.shared)
                    inherited[key] = value;
                std::erase_if(table, [&](const auto& entry) {
                    const auto had = inherited.find(entry.first);
                    return had != inherited.end() && had->second.sameValue(entry.second);
                });
            }
            std::erase_if(flavor.targets, [](const auto& entry) { return entry.second.empty(); });
        }
        std::erase_if(config.targets, [](const auto& entry) { return entry.second.empty(); });
    }

    // The table a target's own settings go in: the project's, or its flavor's.
    ConfigTable& tableOf(TargetKind kind, const std::optional<QString>& flavor)
    {
        return flavor ? m_out.config.flavors[*flavor].targets[kind] : m_out.config.targets[kind];
    }

    // Each app icon set as the project has it: its platforms' slots filled again, its single
    // size and appearances kept, slots Quorva writes none of named as going; and a background
    // where the App Store or the watch would get a transparent icon, the colour the icon has now.
    void keepWhatTheSetsHave()
    {
        SourceImages images(m_root);
        for (const ProjectTarget& target : projectTargets(m_out.config).targets) {
            if (target.kind != TargetKind::iOS && target.kind != TargetKind::macOS
                && target.kind != TargetKind::watchOS)
                continue;
            const fs::path folder = m_root / toPath(target.text(QStringLiteral("catalog")))
                / toPath(target.text(QStringLiteral("set"), QStringLiteral("AppIcon")) + QStringLiteral(".appiconset"));
            const ExistingSet set = readExistingSet(folder);
            if (!set.present)
                continue;
            ConfigTable& table = tableOf(target.kind, target.flavor);
            const QString label = target.label();
            const auto has = [&](TargetKind platform) {
                return std::find(target.platforms.begin(), target.platforms.end(), platform) != target.platforms.end();
            };
            const auto path = [&](const fs::path& file) {
                return ConfigValue{displayPath(file.lexically_relative(m_root)), 0};
            };
            if (has(TargetKind::iOS) && set.singleSize && !target.settings.count(QStringLiteral("single-size"))) {
                table[QStringLiteral("single-size")] = {true, 0};
                for (const auto& [key, file] : {std::pair("dark", set.dark), std::pair("tinted", set.tinted)})
                    if (file && !target.settings.count(QLatin1String(key)))
                        table[QLatin1String(key)] = path(*file);
            }
            QStringList drop;
            for (const auto& [platform, kind, slot] :
                 {std::tuple(ApplePlatform::iOS, TargetKind::iOS, "ios"),
                  std::tuple(ApplePlatform::macOS, TargetKind::macOS, "mac"),
                  std::tuple(ApplePlatform::watchOS, TargetKind::watchOS, "watch")}) {
                if (!set.platforms.count(platform) || has(kind))
                    continue;
                // The set's other platform joins it, unless that platform's table is another set's.
                ConfigTable& other = tableOf(kind, target.flavor);
                if (other.empty()
                    || (other[QStringLiteral("catalog")].text() == target.text(QStringLiteral("catalog"))
                        && other[QStringLiteral("set")].text() == target.text(QStringLiteral("set")))) {
                    other[QStringLiteral("catalog")] = target.settings.at(QStringLiteral("catalog"));
                    if (target.settings.count(QStringLiteral("set")))
                        other[QStringLiteral("set")] = target.settings.at(QStringLiteral("set"));
                    m_out.found << QStringLiteral("%1: the set %2 has %3 slots too, which it fills again")
                                       .arg(label, displayPath(folder.lexically_relative(m_root)), QLatin1String(slot));
                } else {
                    drop << QLatin1String(slot);
                }
            }
            drop += set.otherSlots;
            if (!drop.isEmpty()) {
                table[QStringLiteral("drop")] = {drop, 0};
                m_out.found << QStringLiteral(
                                   "%1: the set %2 has %3 slots, which Quorva writes none of: drop = [\"%4\"] "
                                   "says they go")
                                   .arg(label, displayPath(folder.lexically_relative(m_root)),
                                        drop.join(QStringLiteral(", ")), drop.join(QStringLiteral("\", \"")));
            }
            opaqueStoreIcon(target, set, table, images);
        }
    }

    // Each launcher icon as the project has it: the application's among its aliases' alternate
    // icons, its themed layer, its background's colour from whichever values file defines it (or
    // its bitmap), the format its files are in.
    void keepWhatTheLauncherIconsHave()
    {
        for (const ProjectTarget& target : projectTargets(m_out.config).targets) {
            if (target.kind != TargetKind::Android)
                continue;
            const fs::path res = m_root / toPath(target.text(QStringLiteral("res")));
            ConfigTable& table = tableOf(TargetKind::Android, target.flavor);
            QString name = target.text(QStringLiteral("name"));
            if (name.isEmpty()) {
                const LauncherIconName names = launcherIconName(res, std::nullopt);
                const LauncherIconName application = launcherIconName(res, std::nullopt, true);
                name = names.name;
                if (names.undecided && !application.undecided && !application.applications.isEmpty()) {
                    name = application.name;
                    table[QStringLiteral("name")] = {name, 0};
                    m_out.found << QStringLiteral("%1: name = \"%2\", the application's icon; %3")
                                       .arg(target.label(), name, *names.undecided);
                }
            }
            const ExistingLauncherIcon icon = readExistingLauncherIcon(res, name);
            if (icon.monochrome && !target.settings.count(QStringLiteral("monochrome"))) {
                if (!opaque(target)) {
                    table[QStringLiteral("monochrome")] = {true, 0};
                    m_out.found << QStringLiteral("%1: monochrome = true, as its adaptive icon has a themed layer")
                                       .arg(target.label());
                } else {
                    // A full-bleed source has no shape for a themed layer to take.
                    table[QStringLiteral("monochrome")] = {false, 0};
                    m_out.found << QStringLiteral(
                                       "%1: monochrome = false: its adaptive icon has a themed layer, and the "
                                       "source has no transparent pixels to give one its shape; "
                                       "monochrome = \"FILE\" makes it from art of its own")
                                       .arg(target.label());
                }
            }
            if (!target.settings.count(QStringLiteral("background"))) {
                if (const auto colour = icon.backgroundColour ? opaqueHex(*icon.backgroundColour) : std::nullopt) {
                    table[QStringLiteral("background")] = {*colour, 0};
                    m_out.found << QStringLiteral("%1: background = \"%2\", the colour its adaptive icon has")
                                       .arg(target.label(), *colour);
                } else if (icon.backgroundImage) {
                    table[QStringLiteral("background")]
                        = {displayPath(icon.backgroundImage->lexically_relative(m_root)), 0};
                    m_out.found << QStringLiteral("%1: background = the bitmap layer its adaptive icon has")
                                       .arg(target.label());
                }
            }
            if (icon.webp && !target.settings.count(QStringLiteral("format"))) {
                table[QStringLiteral("format")] = {QStringLiteral("webp"), 0};
                m_out.found << QStringLiteral("%1: format = \"webp\", as its icon's files are").arg(target.label());
            }
        }
    }

    // Whether a target's source has no transparent pixel: a full-bleed square.
    bool opaque(const ProjectTarget& target)
    {
        const ImageRef& image = m_images.load(target.text(QStringLiteral("source"))).image;
        return image && !hasTransparentPixels(sampleBitmap(*image));
    }

    // An Expo app's monochrome image stays the project's own where the source is a full-bleed
    // square, which has no shape for a themed icon to take.
    void keepExposMonochrome()
    {
        for (const ProjectTarget& target : projectTargets(m_out.config).targets) {
            if (target.kind != TargetKind::Expo || target.settings.count(QStringLiteral("monochrome"))
                || !opaque(target))
                continue;
            const ExpoConfig config
                = readExpoConfig(readSmallFile(m_root / toPath(target.text(QStringLiteral("config"))), 1 << 20)
                                     .value_or(QByteArray()),
                                 !target.text(QStringLiteral("config")).endsWith(QLatin1String(".json")));
            if (std::none_of(config.images.begin(), config.images.end(),
                             [](const ExpoImage& image) { return image.role == ExpoImage::Role::Monochrome; }))
                continue;
            tableOf(TargetKind::Expo, target.flavor)[QStringLiteral("monochrome")] = {false, 0};
            m_out.found << QStringLiteral("expo: monochrome = false: the source has no transparent pixels to give a "
                                          "themed icon its shape, so the monochrome image it names is kept as it is");
        }
    }

    // An Icon Composer file a designer made keeps its design: sync makes its art layer's image
    // alone. One Quorva made (a layer named Art over a fill) is made again from quorva.toml.
    void keepIconComposerDesigns()
    {
        const auto found = m_out.config.targets.find(TargetKind::IconComposer);
        if (found == m_out.config.targets.end() || found->second.count(QStringLiteral("layer")))
            return;
        ConfigTable& table = found->second;
        const QString name = (table.count(QStringLiteral("name")) ? table.at(QStringLiteral("name")).text()
                                                                  : QStringLiteral("AppIcon"))
            + QStringLiteral(".icon");
        const fs::path icon = m_root / toPath(table.at(QStringLiteral("folder")).text()) / toPath(name);
        const std::optional<IconComposerDesign> design = readIconComposerDesign(icon);
        if (!design || design->layerImages.isEmpty())
            return;
        const QStringList own = {QStringLiteral("Art.png"), QStringLiteral("Art.svg")};
        if (own.contains(design->layerImages.front()))
            return;
        table[QStringLiteral("layer")] = {design->layerImages.front(), 0};
        m_out.found << QStringLiteral("icon-composer: %1's design is kept, its groups, glass, fills and their dark and "
                                      "tinted looks: sync makes the image of its layer %2 alone (layer = \"%2\")")
                           .arg(displayPath(icon.lexically_relative(m_root)), design->layerImages.front());
    }

    void opaqueStoreIcon(const ProjectTarget& target, const ExistingSet& set, ConfigTable& table, SourceImages& images)
    {
        const bool ios
            = std::find(target.platforms.begin(), target.platforms.end(), TargetKind::iOS) != target.platforms.end();
        const bool watch = std::find(target.platforms.begin(), target.platforms.end(), TargetKind::watchOS)
            != target.platforms.end();
        if ((!ios && !watch) || target.settings.count(QStringLiteral("background")))
            return;
        const ImageRef& source = images.load(target.text(QStringLiteral("source"))).image;
        if (!source || !hasTransparentPixels(sampleBitmap(*source)))
            return;
        const std::optional<fs::path> icon = ios ? set.storeIcon : set.watchIcon;
        const std::optional<QColor> now = icon ? backgroundOfIcon(*icon) : std::nullopt;
        const QString colour = now.value_or(QColor(Qt::white)).name();
        table[QStringLiteral("background")] = {colour, 0};
        m_out.found << QStringLiteral("%1: background = \"%2\", %3: the source is transparent, and %4 rejects a "
                                      "transparent icon")
                           .arg(target.label(), colour,
                                now ? QStringLiteral("the colour of the icon it has now")
                                    : QStringLiteral("as its icon now is no opaque one to take it from"),
                                ios ? QStringLiteral("App Store Connect") : QStringLiteral("the watch"));
    }

    // An image that lies where a target writes (a 1024 px icon picked from the very set sync
    // replaces, a dark icon beside it) is copied out of the way, and quorva.toml names the copy:
    // sync never touches what the icons are made from.
    void moveImagesOutOfTheWay()
    {
        ProjectTargets targets = projectTargets(m_out.config);
        std::vector<const ProjectTarget*> each;
        for (const ProjectTarget& target : targets.targets)
            each.push_back(&target);
        std::vector<TargetPlacement> made = placeTargets(each, m_root);
        // A target of the app's own that sync would refuse for what it is, not for its source, is
        // left out, written as a comment that says why: sync takes what init writes.
        const auto refused = [&](std::size_t i) {
            const ProjectTarget& target = *each[i];
            // Not the flavors', nor one they are made from.
            const bool flavored = (target.kind == TargetKind::Android || target.kind == TargetKind::iOS)
                && !m_out.config.flavors.empty();
            return made[i].failure && !made[i].sourceFailed && !target.flavor && !flavored;
        };
        std::size_t kept = 0;
        for (std::size_t i = 0; i < each.size(); ++i)
            kept += !refused(i) && !each[i]->flavor;
        for (std::size_t i = each.size(); kept && i-- > 0;) {
            const ProjectTarget& target = *each[i];
            if (!refused(i))
                continue;
            for (const TargetKind kind :
                 target.platforms.empty() ? std::vector<TargetKind>{target.kind} : target.platforms)
                if (const auto table = m_out.config.targets.find(kind); table != m_out.config.targets.end()) {
                    // Paths in quorva.toml are the project's.
                    const QString why
                        = QString(*made[i].failure).replace(displayPath(m_root) + QLatin1Char('/'), QString());
                    m_out.config.leftOut[kind] = {table->second, why};
                    m_out.config.targets.erase(table);
                }
            m_out.notes << QStringLiteral("%1 is left out of quorva.toml, as sync would refuse it: %2")
                               .arg(target.label(), *made[i].failure);
            made.erase(made.begin() + std::ptrdiff_t(i));
            each.erase(each.begin() + std::ptrdiff_t(i));
        }
        std::vector<ProjectTarget> remaining;
        for (const ProjectTarget* target : each)
            remaining.push_back(*target);
        targets.targets = std::move(remaining);
        for (std::size_t i = 0; i < each.size(); ++i)
            each[i] = &targets.targets[i];
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
    SourceImages m_images{m_root};
};

} // namespace

ProjectInit initProject(const fs::path& root, const std::optional<fs::path>& source)
{
    return Init(root).run(source);
}

} // namespace quorva
