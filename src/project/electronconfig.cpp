#include "project/electronconfig.h"

#include "support/fileio.h"
#include "support/paths.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <toml++/toml.h>
#include <yaml-cpp/yaml.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxPackageBytes = 1 << 20;

// The few keys of a configuration that say where its icons are, by their dotted names.
using Keys = std::map<QString, QString>;

void flatten(const YAML::Node& node, const QString& prefix, Keys& keys)
{
    if (node.IsMap()) {
        for (const auto& entry : node)
            flatten(entry.second, prefix + QString::fromStdString(entry.first.as<std::string>("")) + QLatin1Char('.'),
                    keys);
    } else if (node.IsScalar()) {
        keys[prefix.chopped(1)] = QString::fromStdString(node.Scalar());
    }
}

// A JSON or YAML configuration (JSON is YAML); a TOML one.
std::optional<Keys> dataKeys(const QByteArray& text, bool toml)
{
    Keys keys;
    try {
        if (toml) {
            const toml::table table = toml::parse(std::string_view(text.constData(), std::size_t(text.size())));
            for (const char* key : {"icon", "mac.icon", "win.icon", "directories.buildResources"})
                if (const auto value = table.at_path(key).value<std::string>())
                    keys[QLatin1String(key)] = QString::fromStdString(*value);
            return keys;
        }
        flatten(YAML::Load(text.toStdString()), QString(), keys);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return keys;
}

// A JavaScript or TypeScript configuration, read for its literal values: `mac: { icon: "…" }`,
// `directories: { buildResources: "…" }`, `packagerConfig: { icon: "…" }`; a key whose value is
// no string literal is named as unread.
Keys scriptKeys(const QString& text, QStringList& unread)
{
    Keys keys;
    const auto within = [&](const QString& block, const QString& key, const QString& dotted) {
        const QRegularExpression pattern(
            (block.isEmpty() ? QString() : QStringLiteral(R"(\b%1\s*:\s*\{[^{}]*?)").arg(block))
            + QStringLiteral(R"(\b%1\s*:\s*(?:(["'`])([^"'`]*)\1|([^,}\s]+)))").arg(key));
        const QRegularExpressionMatch match = pattern.match(text);
        if (!match.hasMatch())
            return;
        if (!match.captured(3).isEmpty())
            unread << dotted;
        else
            keys[dotted] = match.captured(2);
    };
    within(QStringLiteral("mac"), QStringLiteral("icon"), QStringLiteral("mac.icon"));
    within(QStringLiteral("win"), QStringLiteral("icon"), QStringLiteral("win.icon"));
    within(QStringLiteral("directories"), QStringLiteral("buildResources"),
           QStringLiteral("directories.buildResources"));
    within(QStringLiteral("packagerConfig"), QStringLiteral("icon"), QStringLiteral("packagerConfig.icon"));
    return keys;
}

Keys fromJson(const QJsonObject& object, const QString& prefix = {})
{
    Keys keys;
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it->isObject())
            keys.merge(fromJson(it->toObject(), prefix + it.key() + QLatin1Char('.')));
        else if (it->isString())
            keys[prefix + it.key()] = it->toString();
    }
    return keys;
}

// The file a package.json script hands electron-builder with --config (-c).
std::optional<QString> configFromScripts(const QJsonObject& package)
{
    static const QRegularExpression config(
        QStringLiteral(R"(electron-builder\b[^&|;]*?\s(?:--config|-c)(?:\s+|=)["']?([^\s"'&|;]+))"));
    const QJsonObject scripts = package.value(QLatin1String("scripts")).toObject();
    for (auto it = scripts.begin(); it != scripts.end(); ++it)
        if (const QRegularExpressionMatch match = config.match(it->toString()); match.hasMatch())
            return match.captured(1);
    return std::nullopt;
}

// A configuration file's keys, by its kind.
std::optional<Keys> keysOfFile(const fs::path& file, QStringList& unread)
{
    const std::optional<QByteArray> text = readSmallFile(file, maxPackageBytes);
    if (!text)
        return std::nullopt;
    const QString name = displayPath(file.filename());
    if (name.endsWith(QLatin1String(".js")) || name.endsWith(QLatin1String(".cjs"))
        || name.endsWith(QLatin1String(".mjs")) || name.endsWith(QLatin1String(".ts")))
        return scriptKeys(QString::fromUtf8(*text), unread);
    return dataKeys(*text, name.endsWith(QLatin1String(".toml")));
}

// A packager's icon path without its extension, for the one each platform takes.
QString withoutExtension(const QString& path)
{
    static const QRegularExpression extension(QStringLiteral(R"(\.(icns|ico|png|icon)$)"));
    return QString(path).remove(extension);
}

QString normal(const QString& path)
{
    return displayPath(toPath(path).lexically_normal());
}

} // namespace

std::optional<ElectronIcons> electronIcons(const fs::path& root, const QJsonObject& package)
{
    ElectronIcons icons;
    std::optional<Keys> keys;
    // electron-builder.
    if (const std::optional<QString> given = configFromScripts(package); given && isFile(root / toPath(*given))) {
        keys = keysOfFile(root / toPath(*given), icons.unread);
        icons.from = *given;
    }
    for (const char* name :
         {"electron-builder.yml", "electron-builder.yaml", "electron-builder.json", "electron-builder.json5",
          "electron-builder.toml", "electron-builder.config.js", "electron-builder.config.cjs",
          "electron-builder.config.mjs", "electron-builder.config.ts"})
        if (!keys && isFile(root / name)) {
            keys = keysOfFile(root / name, icons.unread);
            icons.from = QLatin1String(name);
        }
    if (!keys && package.value(QLatin1String("build")).isObject()) {
        keys = fromJson(package.value(QLatin1String("build")).toObject());
        icons.from = QStringLiteral("package.json's build");
    }
    if (keys) {
        icons.tool = QStringLiteral("electron-builder");
        const QString resources = keys->count(QStringLiteral("directories.buildResources"))
            ? keys->at(QStringLiteral("directories.buildResources"))
            : QStringLiteral("build");
        // A path electron-builder takes relative to its build resources, else to the project.
        // As electron-builder resolves an icon: in its build resources where it is there, else
        // from the project's folder.
        const auto resolve = [&](const QString& value) {
            const fs::path inResources = root / toPath(resources) / toPath(value);
            return isFile(inResources) || isFolder(inResources) ? normal(resources + QLatin1Char('/') + value)
                                                                : normal(value);
        };
        for (const char* key : {"mac.icon", "icon"})
            if (const auto value = keys->find(QLatin1String(key));
                value != keys->end() && !icons.icns && !icons.iconComposer) {
                if (value->second.endsWith(QLatin1String(".icns")))
                    icons.icns = resolve(value->second);
                else if (value->second.endsWith(QLatin1String(".icon")))
                    icons.iconComposer = resolve(value->second);
            }
        for (const char* key : {"win.icon", "icon"})
            if (const auto value = keys->find(QLatin1String(key));
                value != keys->end() && !icons.ico && value->second.endsWith(QLatin1String(".ico")))
                icons.ico = resolve(value->second);
        if (!icons.icns && !icons.iconComposer) {
            if (isFolder(root / toPath(resources) / "icon.icon"))
                icons.iconComposer = normal(resources + QStringLiteral("/icon.icon"));
            icons.icns = normal(resources + QStringLiteral("/icon.icns"));
        }
        if (!icons.ico)
            icons.ico = normal(resources + QStringLiteral("/icon.ico"));
        // The appx target takes its package's images from its build resources' appx folder.
        if (isFolder(root / toPath(resources) / "appx"))
            icons.appx = normal(resources + QStringLiteral("/appx"));
        return icons;
    }
    // electron-forge.
    std::optional<Keys> forge;
    for (const char* name : {"forge.config.js", "forge.config.cjs", "forge.config.mjs", "forge.config.ts"})
        if (!forge && isFile(root / name)) {
            forge = keysOfFile(root / name, icons.unread);
            icons.from = QLatin1String(name);
        }
    const QJsonValue inPackage = package.value(QLatin1String("config")).toObject().value(QLatin1String("forge"));
    if (!forge && inPackage.isObject()) {
        forge = fromJson(inPackage.toObject());
        icons.from = QStringLiteral("package.json's config.forge");
    } else if (!forge && inPackage.isString() && isFile(root / toPath(inPackage.toString()))) {
        forge = keysOfFile(root / toPath(inPackage.toString()), icons.unread);
        icons.from = inPackage.toString();
    }
    if (!forge)
        return std::nullopt;
    icons.tool = QStringLiteral("electron-forge");
    const auto icon = forge->find(QStringLiteral("packagerConfig.icon"));
    if (icon == forge->end())
        return icons;
    const QString base = normal(withoutExtension(icon->second));
    icons.icns = base + QStringLiteral(".icns");
    icons.ico = base + QStringLiteral(".ico");
    if (isFolder(root / toPath(base + QStringLiteral(".icon"))))
        icons.iconComposer = base + QStringLiteral(".icon");
    return icons;
}

} // namespace quorva
