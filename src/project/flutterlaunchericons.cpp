#include "project/flutterlaunchericons.h"

#include "image/csscolour.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <yaml-cpp/yaml.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxYamlBytes = 1 << 20;

std::optional<QByteArray> readText(const fs::path& path)
{
    return readSmallFile(path, maxYamlBytes);
}

QString scalar(const YAML::Node& node)
{
    return node && node.IsScalar() ? QString::fromStdString(node.Scalar()) : QString();
}

// A YAML boolean as flutter_launcher_icons takes it; nothing for any other value.
std::optional<bool> boolean(const YAML::Node& node)
{
    const QString text = scalar(node).toLower();
    if (text == QLatin1String("true") || text == QLatin1String("yes"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("no"))
        return false;
    return std::nullopt;
}

ConfigValue text(const QString& value)
{
    return ConfigValue{value, 0};
}

// What one section says, onto the shared keys and the targets' tables; for a flavor, what it
// changes. prefix: how its keys are named in the unmatched list.
class Importer {
public:
    Importer(ProjectConfig& config, QStringList& unmatched) : m_config(config), m_unmatched(unmatched) {}

    void project(const YAML::Node& section) { read(section, m_config.shared, m_config.targets, QString(), true); }

    void flavor(const QString& name, const YAML::Node& section)
    {
        FlavorConfig& flavor = m_config.flavors[name];
        read(section, flavor.shared, flavor.targets, QStringLiteral("flavors.%1.").arg(name), false);
        // A flavor's table only says what it changes.
        std::erase_if(flavor.targets, [](const auto& entry) { return entry.second.empty(); });
    }

private:
    // Only the targets the project has take its keys: one found nowhere has no place to write.
    void read(const YAML::Node& section, ConfigTable& shared, std::map<TargetKind, ConfigTable>& into,
              const QString& prefix, bool decidesPlatforms)
    {
        std::map<TargetKind, ConfigTable> targets;
        bool removeAlpha = false;
        QString iosBackground = QStringLiteral("#ffffff");
        for (const auto& entry : section) {
            const QString key = scalar(entry.first);
            const YAML::Node& value = entry.second;
            if (key == QLatin1String("image_path"))
                shared[QStringLiteral("source")] = text(scalar(value));
            else if (key == QLatin1String("image_path_android"))
                targets[TargetKind::Android][QStringLiteral("source")] = text(scalar(value));
            else if (key == QLatin1String("image_path_ios"))
                targets[TargetKind::iOS][QStringLiteral("source")] = text(scalar(value));
            else if (key == QLatin1String("remove_alpha_ios"))
                removeAlpha = boolean(value).value_or(false);
            else if (key == QLatin1String("background_color_ios"))
                iosBackground = scalar(value);
            else if (key == QLatin1String("adaptive_icon_background"))
                targets[TargetKind::Android][QStringLiteral("background")] = text(scalar(value));
            else if (key == QLatin1String("adaptive_icon_foreground"))
                targets[TargetKind::Android][QStringLiteral("source")] = text(scalar(value));
            else if (key == QLatin1String("adaptive_icon_monochrome"))
                targets[TargetKind::Android][QStringLiteral("monochrome")] = text(scalar(value));
            else if (key == QLatin1String("web") || key == QLatin1String("windows") || key == QLatin1String("macos"))
                desktop(key, value, targets, prefix, decidesPlatforms);
            else if (key != QLatin1String("android") && key != QLatin1String("ios"))
                m_unmatched << prefix + key;
        }
        // android and ios: true, false, or the name of the icon or set to write.
        for (const auto& [kind, key, nameKey] :
             {std::tuple(TargetKind::Android, "android", "name"), std::tuple(TargetKind::iOS, "ios", "set")}) {
            const YAML::Node node = section[key];
            const std::optional<bool> on = boolean(node);
            if (on == false || (!node && decidesPlatforms)) {
                if (decidesPlatforms)
                    drop(kind);
                else if (on == false)
                    m_unmatched << prefix + QLatin1String(key) + QStringLiteral(": false");
            } else if (!on && node && node.IsScalar()) {
                targets[kind][QLatin1String(nameKey)] = text(scalar(node));
            }
        }
        if (decidesPlatforms)
            for (const auto& [kind, key] :
                 {std::pair(TargetKind::Web, "web"), std::pair(TargetKind::Windows, "windows"),
                  std::pair(TargetKind::macOS, "macos")})
                if (!section[key])
                    drop(kind);
        if (removeAlpha)
            targets[TargetKind::iOS][QStringLiteral("background")] = text(iosBackground);
        for (auto& [kind, table] : targets)
            if (m_config.targets.count(kind) && !table.empty())
                for (auto& [key, value] : table)
                    into[kind][key] = value;
    }

    void drop(TargetKind kind)
    {
        if (m_config.targets.erase(kind))
            m_dropped << targetName(kind);
    }

    // web, windows and macos: { generate, image_path, and their own keys }.
    void desktop(const QString& key, const YAML::Node& value, std::map<TargetKind, ConfigTable>& targets,
                 const QString& prefix, bool decidesPlatforms)
    {
        const TargetKind kind = key == QLatin1String("web") ? TargetKind::Web
            : key == QLatin1String("windows")               ? TargetKind::Windows
                                                            : TargetKind::macOS;
        if (!value.IsMap()) {
            if (decidesPlatforms && boolean(value) == false)
                drop(kind);
            else
                m_unmatched << prefix + key;
            return;
        }
        if (decidesPlatforms && !boolean(value["generate"]).value_or(false)) {
            drop(kind);
            return;
        }
        for (const auto& entry : value) {
            const QString name = scalar(entry.first);
            if (name == QLatin1String("generate"))
                continue;
            if (name == QLatin1String("image_path"))
                targets[kind][QStringLiteral("source")] = text(scalar(entry.second));
            else if (name == QLatin1String("background_color") && kind == TargetKind::Web)
                targets[kind][QStringLiteral("background")] = text(scalar(entry.second));
            else
                m_unmatched << prefix + key + QLatin1Char('.') + name;
        }
    }

public:
    QStringList m_dropped;

private:
    ProjectConfig& m_config;
    QStringList& m_unmatched;
};

// The section of a YAML document: flutter_launcher_icons, or its older name flutter_icons.
std::optional<YAML::Node> sectionOf(const QByteArray& text, const QString& file, QStringList& errors)
{
    try {
        const YAML::Node document = YAML::Load(text.toStdString());
        for (const char* name : {"flutter_launcher_icons", "flutter_icons"})
            if (document.IsMap() && document[name] && document[name].IsMap())
                return document[name];
    } catch (const YAML::Exception& error) {
        errors << QStringLiteral("%1:%2: %3").arg(file).arg(error.mark.line + 1).arg(QString::fromStdString(error.msg));
    }
    return std::nullopt;
}

} // namespace

std::optional<ImportedLauncherIcons> importLauncherIcons(const fs::path& root, ProjectConfig& config)
{
    ImportedLauncherIcons imported;
    std::optional<YAML::Node> section;
    for (const char* file : {"flutter_launcher_icons.yaml", "pubspec.yaml"}) {
        if (const auto text = readText(root / file))
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
        if (const auto text = readText(root / toPath(name)))
            if (const auto flavor = sectionOf(*text, name, imported.errors))
                flavors[match.captured(1)] = *flavor;
    }
    if (!section && flavors.empty())
        return imported.errors.isEmpty() ? std::nullopt : std::optional(imported);

    Importer importer(config, imported.unmatched);
    if (section)
        importer.project(*section);
    for (const auto& [name, flavor] : flavors) {
        // With no section of the project's own, the first flavor's is the project's too.
        if (!section && !config.shared.count(QStringLiteral("source")))
            importer.project(flavor);
        importer.flavor(name, flavor);
        imported.flavors << name;
        imported.from += (imported.from.isEmpty() ? QString() : QStringLiteral(", "))
            + QStringLiteral("flutter_launcher_icons-%1.yaml").arg(name);
    }
    for (const QString& dropped : importer.m_dropped)
        imported.unmatched
            << QStringLiteral("%1 (found, but flutter_launcher_icons does not write it: left out)").arg(dropped);
    return imported;
}

} // namespace quorva
