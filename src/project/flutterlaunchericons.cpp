#include "project/flutterlaunchericons.h"

#include "image/csscolour.h"
#include "project/yamlsettings.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// The targets each flavor of a Flutter app has its own of: a source set's res folder, an app
// icon set its configurations select. The others (macOS, web, Windows) are the app's, once.
bool perFlavor(TargetKind kind)
{
    return kind == TargetKind::Android || kind == TargetKind::iOS;
}

// What one section of flutter_launcher_icons' settings says, in quorva.toml's words.
struct Section {
    ConfigTable shared;
    std::map<TargetKind, ConfigTable> targets;
    std::set<TargetKind> writes; // the platforms it writes
    std::optional<QString> set;  // ios: the set's name it gives
    QStringList unmatched;       // keys without an equal
};

Section readSection(const YAML::Node& section, const QString& prefix)
{
    Section out;
    bool removeAlpha = false;
    QString iosBackground = QStringLiteral("#ffffff");
    for (const auto& entry : section) {
        const QString key = yamlScalar(entry.first);
        const YAML::Node& value = entry.second;
        if (key == QLatin1String("image_path"))
            out.shared[QStringLiteral("source")] = textValue(yamlScalar(value));
        else if (key == QLatin1String("image_path_android"))
            out.targets[TargetKind::Android].emplace(QStringLiteral("source"), textValue(yamlScalar(value)));
        else if (key == QLatin1String("image_path_ios"))
            out.targets[TargetKind::iOS][QStringLiteral("source")] = textValue(yamlScalar(value));
        else if (key == QLatin1String("remove_alpha_ios"))
            removeAlpha = yamlBoolean(value).value_or(false);
        else if (key == QLatin1String("background_color_ios"))
            iosBackground = yamlScalar(value);
        else if (key == QLatin1String("adaptive_icon_background"))
            out.targets[TargetKind::Android][QStringLiteral("background")] = textValue(yamlScalar(value));
        else if (key == QLatin1String("adaptive_icon_foreground"))
            out.targets[TargetKind::Android][QStringLiteral("source")]
                = textValue(yamlScalar(value)); // the adaptive art wins
        else if (key == QLatin1String("adaptive_icon_monochrome"))
            out.targets[TargetKind::Android][QStringLiteral("monochrome")] = textValue(yamlScalar(value));
        else if (key == QLatin1String("web") || key == QLatin1String("windows") || key == QLatin1String("macos")) {
            const TargetKind kind = key == QLatin1String("web") ? TargetKind::Web
                : key == QLatin1String("windows")               ? TargetKind::Windows
                                                                : TargetKind::macOS;
            if (!value.IsMap()) {
                if (yamlBoolean(value) != false)
                    out.unmatched << prefix + key;
                continue;
            }
            if (!yamlBoolean(value["generate"]).value_or(false))
                continue;
            out.writes.insert(kind);
            for (const auto& option : value) {
                const QString name = yamlScalar(option.first);
                if (name == QLatin1String("generate"))
                    continue;
                if (name == QLatin1String("image_path"))
                    out.targets[kind][QStringLiteral("source")] = textValue(yamlScalar(option.second));
                else if (name == QLatin1String("background_color") && kind == TargetKind::Web)
                    out.targets[kind][QStringLiteral("background")] = textValue(yamlScalar(option.second));
                else
                    out.unmatched << prefix + key + QLatin1Char('.') + name;
            }
        } else if (key != QLatin1String("android") && key != QLatin1String("ios"))
            out.unmatched << prefix + key;
    }
    // android and ios: true, false, or the name of the icon or set to write.
    for (const auto& [kind, key, nameKey] :
         {std::tuple(TargetKind::Android, "android", "name"), std::tuple(TargetKind::iOS, "ios", "set")}) {
        const YAML::Node node = section[key];
        const std::optional<bool> on = yamlBoolean(node);
        if (!node || on == false)
            continue;
        out.writes.insert(kind);
        if (!on && node.IsScalar()) {
            if (kind == TargetKind::iOS)
                out.set = yamlScalar(node);
            else
                out.targets[kind][QLatin1String(nameKey)] = textValue(yamlScalar(node));
        }
    }
    if (removeAlpha)
        out.targets[TargetKind::iOS][QStringLiteral("background")] = textValue(iosBackground);
    return out;
}

// The flavor a production build is: its settings stand for the app's where flavors differ.
QString productionFlavor(const std::map<QString, Section>& flavors)
{
    for (const char* name : {"prod", "production", "pro", "release", "live", "main"})
        if (flavors.count(QLatin1String(name)))
            return QLatin1String(name);
    return flavors.rbegin()->first;
}

// Only the targets the project has take a section's keys: one found nowhere has no place to write.
void onto(std::map<TargetKind, ConfigTable>& into, const std::map<TargetKind, ConfigTable>& from,
          const ProjectConfig& found, bool perFlavorOnly)
{
    for (const auto& [kind, table] : from)
        if (found.targets.count(kind) && !table.empty() && (!perFlavorOnly || perFlavor(kind)))
            for (const auto& [key, value] : table)
                into[kind][key] = value;
}

// The section of a YAML document: flutter_launcher_icons, or its older name flutter_icons.
std::optional<YAML::Node> sectionOf(const QByteArray& text, const QString& file, QStringList& errors)
{
    return yamlSection(text, file, {QStringLiteral("flutter_launcher_icons"), QStringLiteral("flutter_icons")}, errors);
}

} // namespace

std::optional<ImportedLauncherIcons> importLauncherIcons(const fs::path& root, ProjectConfig& config)
{
    ImportedLauncherIcons imported;
    std::optional<YAML::Node> section;
    for (const char* file : {"flutter_launcher_icons.yaml", "pubspec.yaml"}) {
        if (const auto text = readYamlSettings(root / file))
            if ((section = sectionOf(*text, QLatin1String(file), imported.errors))) {
                imported.from = QLatin1String(file);
                break;
            }
    }
    // One file for each flavor: flutter_launcher_icons-NAME.yaml.
    std::map<QString, YAML::Node> flavors;
    static const QRegularExpression flavorFile(
        QStringLiteral("^flutter_launcher_icons-([A-Za-z][A-Za-z0-9_]*)\\.yaml$"));
    for (const QString& name :
         QDir(displayPath(root))
             .entryList({QStringLiteral("flutter_launcher_icons-*.yaml")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch match = flavorFile.match(name);
        if (!match.hasMatch())
            continue;
        if (const auto text = readYamlSettings(root / toPath(name)))
            if (const auto flavor = sectionOf(*text, name, imported.errors))
                flavors[match.captured(1)] = *flavor;
    }
    if (!section && flavors.empty())
        return imported.errors.isEmpty() ? std::nullopt : std::optional(imported);

    std::map<QString, Section> flavorSections;
    for (const auto& [name, flavor] : flavors) {
        flavorSections[name] = readSection(flavor, QStringLiteral("flavors.%1.").arg(name));
        imported.flavors << name;
        imported.from += (imported.from.isEmpty() ? QString() : QStringLiteral(", "))
            + QStringLiteral("flutter_launcher_icons-%1.yaml").arg(name);
    }
    // The app's own settings: its section's; without one, what its flavors agree on, or the
    // production flavor's where they don't. Its platforms are those written at all.
    Section app;
    if (section) {
        app = readSection(*section, QString());
    } else {
        const QString production = productionFlavor(flavorSections);
        for (const auto& [name, flavor] : flavorSections)
            app.writes.insert(flavor.writes.begin(), flavor.writes.end());
        for (const TargetKind kind : app.writes) {
            if (perFlavor(kind))
                continue;
            const auto tableOf = [kind](const Section& flavor) {
                const auto found = flavor.targets.find(kind);
                return found == flavor.targets.end() ? ConfigTable() : found->second;
            };
            ConfigTable shared = tableOf(flavorSections.at(production));
            const auto same = [](const ConfigTable& a, const ConfigTable& b) {
                return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
                    return x.first == y.first && x.second.sameValue(y.second);
                });
            };
            for (const auto& [name, flavor] : flavorSections)
                if (flavor.writes.count(kind) && !same(tableOf(flavor), shared))
                    imported.notes << QStringLiteral("%1 is the app's, not a flavor's: it takes the %2 flavor's "
                                                     "settings")
                                          .arg(targetName(kind), production);
            app.targets[kind] = shared;
        }
        imported.notes.removeDuplicates();
    }
    imported.unmatched += app.unmatched;
    for (const auto& [name, flavor] : flavorSections)
        for (const QString& key : flavor.unmatched)
            if (!key.contains(QLatin1String(".web")) && !key.contains(QLatin1String(".windows"))
                && !key.contains(QLatin1String(".macos")))
                imported.unmatched << key;
    for (const TargetKind kind : targetKinds())
        if ((kind == TargetKind::Android || kind == TargetKind::iOS || kind == TargetKind::Web
             || kind == TargetKind::Windows || kind == TargetKind::macOS)
            && config.targets.count(kind) && !app.writes.count(kind)) {
            config.targets.erase(kind);
            imported.unmatched << QStringLiteral("%1 (found, but flutter_launcher_icons does not write it: left out)")
                                      .arg(targetName(kind));
        }
    for (const auto& [key, value] : app.shared)
        config.shared[key] = value;
    onto(config.targets, app.targets, config, false);
    imported.set = app.set;
    for (const auto& [name, flavor] : flavorSections) {
        FlavorConfig& into = config.flavors[name];
        into.shared = flavor.shared;
        onto(into.targets, flavor.targets, config, true);
        if (flavor.set)
            imported.flavorSets[name] = *flavor.set;
    }
    return imported;
}

} // namespace quorva
