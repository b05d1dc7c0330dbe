#include "project/launchscreenimport.h"

#include "expo/expoconfig.h"
#include "image/csscolour.h"
#include "project/yamlsettings.h"
#include "splash/splashkind.h"
#include "splash/splashsizes.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QDir>
#include <QRegularExpression>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// The launch screen's table, read when used: the kind is made at start-up like this file's names.
TargetKind splashTable()
{
    return TargetKind{splashKind.table};
}

// A launch screen's settings in [splash]'s words, and what has no equal there.
struct Settings {
    ConfigTable table;
    QStringList unmatched;
    bool android = true, ios = true; // the platforms it writes
};

// A key's value taken where [splash] has no value for it yet; a value that is no colour, where a
// colour is due, is named instead.
void set(Settings& out, const QString& key, const QString& value, const QString& from, bool colour = false)
{
    if (value.isEmpty())
        return;
    if (colour && !parseCssColour(value).isValid()) {
        out.unmatched << QStringLiteral("%1 ('%2' is no colour)").arg(from, value);
        return;
    }
    if (const auto there = out.table.find(key); there != out.table.end()) {
        if (there->second.text() != value)
            out.unmatched << QStringLiteral("%1 (Android 12 and older screens share %2)").arg(from, key);
        return;
    }
    out.table[key] = textValue(value);
}

// flutter_native_splash's section. Its android_12 keys take the place of the shared ones where
// those are not given: Quorva makes both screens from one art and colour.
Settings readNativeSplash(const YAML::Node& section, const QString& prefix)
{
    Settings out;
    const std::pair<const char*, std::pair<const char*, bool>> shared[] = {
        {"image", {"source", false}},      {"color", {"background", true}},
        {"image_dark", {"dark", false}},   {"color_dark", {"dark-background", true}},
        {"branding", {"branding", false}},
    };
    const auto keyOf = [&](const QString& name) -> const std::pair<const char*, bool>* {
        for (const auto& [from, to] : shared)
            if (name == QLatin1String(from))
                return &to;
        return nullptr;
    };
    for (const auto& entry : section) {
        const QString name = yamlScalar(entry.first);
        const YAML::Node& value = entry.second;
        if (const auto* to = keyOf(name)) {
            set(out, QLatin1String(to->first), yamlScalar(value), prefix + name, to->second);
        } else if (name == QLatin1String("android") || name == QLatin1String("ios")) {
            const bool on = yamlBoolean(value).value_or(true);
            (name == QLatin1String("android") ? out.android : out.ios) = on;
        } else if (name == QLatin1String("web")) {
            if (yamlBoolean(value) != false)
                out.unmatched << prefix + name;
        } else if (name == QLatin1String("android_gravity") || name == QLatin1String("ios_content_mode")) {
            if (yamlScalar(value) != QLatin1String("center")) // Quorva centres the art
                out.unmatched << prefix + name;
        } else if (name == QLatin1String("fullscreen")) {
            if (yamlBoolean(value) != false)
                out.unmatched << prefix + name;
        } else if (name != QLatin1String("android_12")) {
            out.unmatched << prefix + name;
        }
    }
    const YAML::Node android12 = section["android_12"];
    if (android12 && android12.IsMap())
        for (const auto& entry : android12) {
            const QString name = yamlScalar(entry.first);
            const QString value = yamlScalar(entry.second);
            const QString from = prefix + QStringLiteral("android_12.") + name;
            if (name == QLatin1String("icon_background_color"))
                set(out, QStringLiteral("icon-background"), value, from, true);
            else if (const auto* to = keyOf(name))
                set(out, QLatin1String(to->first), value, from, to->second);
            else
                out.unmatched << from;
        }
    return out;
}

// [splash] where the project has a place for it; else left out, with why.
void take(ProjectConfig& config, const ConfigTable& table, const QString& why)
{
    if (table.count(QStringLiteral("res")) || table.count(QStringLiteral("catalog")))
        config.targets[splashTable()] = table;
    else
        config.leftOut[splashTable()] = {table, why};
}

// The places [splash] writes, of the platforms the settings keep.
void placeOnto(ConfigTable& table, const ConfigTable& places, const Settings& settings)
{
    for (const auto& [key, platform] : {std::pair("res", settings.android), std::pair("catalog", settings.ios)})
        if (const auto place = places.find(QLatin1String(key)); place != places.end() && platform)
            table[QLatin1String(key)] = place->second;
}

std::optional<ImportedLaunchScreen> nativeSplash(const fs::path& root, const ConfigTable& places, ProjectConfig& config)
{
    ImportedLaunchScreen imported{QStringLiteral("flutter_native_splash"), {}, {}, {}, {}, {}};
    const QStringList names = {QStringLiteral("flutter_native_splash")};
    std::optional<YAML::Node> section;
    for (const char* file : {"flutter_native_splash.yaml", "pubspec.yaml"})
        if (const auto text = readYamlSettings(root / file))
            if ((section = yamlSection(*text, QLatin1String(file), names, imported.errors))) {
                imported.from = QLatin1String(file);
                break;
            }
    std::map<QString, Settings> flavors;
    static const QRegularExpression flavorFile(
        QStringLiteral("^flutter_native_splash-([A-Za-z][A-Za-z0-9_]*)\\.yaml$"));
    for (const QString& name :
         QDir(displayPath(root)).entryList({QStringLiteral("flutter_native_splash-*.yaml")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = flavorFile.match(name);
        if (!match.hasMatch())
            continue;
        if (const auto text = readYamlSettings(root / toPath(name)))
            if (const auto flavor = yamlSection(*text, name, names, imported.errors)) {
                flavors[match.captured(1)]
                    = readNativeSplash(*flavor, QStringLiteral("flavors.%1.").arg(match.captured(1)));
                imported.flavors << match.captured(1);
                imported.from += (imported.from.isEmpty() ? QString() : QStringLiteral(", ")) + name;
            }
    }
    if (!section && flavors.empty())
        return imported.errors.isEmpty() ? std::nullopt : std::optional(imported);
    // The app's own screen: its section's, else the first flavor's, which each flavor's table
    // then overrides where it differs.
    const Settings app = section ? readNativeSplash(*section, QString()) : flavors.begin()->second;
    imported.unmatched += app.unmatched;
    ConfigTable table = app.table;
    placeOnto(table, places, app);
    take(config, table, QStringLiteral("no res folder or iOS catalog of the platforms it writes in this project"));
    for (const auto& [name, flavor] : flavors) {
        imported.unmatched += flavor.unmatched;
        ConfigTable own;
        for (const auto& [key, value] : flavor.table)
            if (!table.count(key) || !table.at(key).sameValue(value))
                own[key] = value;
        // A flavor's own screen goes in its own source set: written even where it says nothing of
        // its own, so that it is never the main screen by mistake.
        config.flavors[name].targets[splashTable()] = own;
    }
    return imported;
}

// Expo's splash, or its plugin's options: prebuild makes the native screens from them.
std::optional<ImportedLaunchScreen> expoSplash(const fs::path& root, const ConfigTable& places, ProjectConfig& config)
{
    for (const char* name : {"app.json", "app.config.ts", "app.config.js", "app.config.mjs", "app.config.cjs"}) {
        const std::optional<QByteArray> text = readSmallFile(root / name, 1 << 20);
        if (!text)
            continue;
        const ExpoConfig expo = readExpoConfig(*text, !QLatin1String(name).endsWith(QLatin1String(".json")));
        if (expo.splash.empty())
            continue;
        ImportedLaunchScreen imported{QStringLiteral("Expo's splash"), QLatin1String(name), {}, {}, {}, {}};
        Settings settings;
        for (const auto& [key, value] : expo.splash) {
            if (key == QLatin1String("image"))
                set(settings, QStringLiteral("source"), value, key);
            else if (key == QLatin1String("backgroundColor"))
                set(settings, QStringLiteral("background"), value, key, true);
            else if (key == QLatin1String("dark.image"))
                set(settings, QStringLiteral("dark"), value, key);
            else if (key == QLatin1String("dark.backgroundColor"))
                set(settings, QStringLiteral("dark-background"), value, key, true);
            else if (key == QLatin1String("imageWidth") && value.toDouble() > 0
                     && value.toDouble() <= splashIconCircleDp)
                set(settings, QStringLiteral("size"), value, key);
            else if (key != QLatin1String("resizeMode") || value != QLatin1String("contain"))
                imported.unmatched << QStringLiteral("splash.") + key;
        }
        if (const auto size = settings.table.find(QStringLiteral("size")); size != settings.table.end())
            size->second = ConfigValue{size->second.text().toDouble(), 0};
        ConfigTable table = settings.table;
        placeOnto(table, places, settings);
        take(config, table,
             QStringLiteral("no android/ or ios/ folder: expo prebuild makes the launch screens from %1's splash")
                 .arg(QLatin1String(name)));
        imported.unmatched += settings.unmatched;
        return imported;
    }
    return std::nullopt;
}

// The Capacitor assets tool's logo, which it makes the launch screens from with colours.
std::optional<ImportedLaunchScreen> capacitorAssets(const fs::path& root, const ConfigTable& places,
                                                    ProjectConfig& config)
{
    if (!isFile(root / "capacitor.config.json") && !isFile(root / "capacitor.config.ts")
        && !isFile(root / "capacitor.config.js"))
        return std::nullopt;
    for (const char* folder : {"assets", "resources"}) {
        const fs::path logo = root / folder / "logo.png";
        const fs::path screen = root / folder / "splash.png";
        if (!isFile(logo) && !isFile(screen))
            continue;
        ImportedLaunchScreen imported{QStringLiteral("the Capacitor assets tool's images"),
                                      QLatin1String(folder),
                                      {},
                                      {},
                                      {},
                                      {}};
        if (!isFile(logo)) {
            imported.notes << QStringLiteral("%1/splash.png is a whole screen, and Quorva makes launch screens from "
                                             "the art alone: give [splash] its source")
                                  .arg(QLatin1String(folder));
            return imported;
        }
        ConfigTable table{{QStringLiteral("source"), textValue(QLatin1String(folder) + QStringLiteral("/logo.png"))}};
        if (isFile(root / folder / "logo-dark.png"))
            table[QStringLiteral("dark")] = textValue(QLatin1String(folder) + QStringLiteral("/logo-dark.png"));
        placeOnto(table, places, Settings{});
        take(config, table, QStringLiteral("no res folder or iOS catalog in this project"));
        return imported;
    }
    return std::nullopt;
}

} // namespace

std::optional<ImportedLaunchScreen> importLaunchScreen(const fs::path& root, const ConfigTable& places,
                                                       ProjectConfig& config)
{
    for (const auto tool : {nativeSplash, expoSplash, capacitorAssets})
        if (std::optional<ImportedLaunchScreen> imported = tool(root, places, config))
            return imported;
    return std::nullopt;
}

} // namespace quorva
