#include "android/gradleproject.h"

#include "support/fileio.h"
#include "support/paths.h"

#include <QFile>
#include <QRegularExpression>

#include <toml++/toml.h>

#include <algorithm>
#include <set>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxBuildFileBytes = 1 << 20;
constexpr int maxModules = 1000;

QString readText(const fs::path& file)
{
    return QString::fromUtf8(readSmallFile(file, maxBuildFileBytes).value_or(QByteArray()));
}

// The first of a folder's Groovy or Kotlin build script of this name.
QString readScript(const fs::path& folder, const char* name)
{
    for (const char* extension : {"", ".kts"}) {
        std::error_code error;
        const fs::path file = folder / (std::string(name) + extension);
        if (fs::is_regular_file(file, error))
            return readText(file);
    }
    return {};
}

// A Groovy or Kotlin script without its comments, strings kept: "https://" is no comment.
QString withoutComments(const QString& script)
{
    QString out;
    out.reserve(script.size());
    QChar quote;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!quote.isNull()) {
            out += c;
            if (c == QLatin1Char('\\') && i + 1 < script.size())
                out += script[++i];
            else if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            out += c;
        } else if (script.mid(i, 2) == QLatin1String("//")) {
            i = script.indexOf(QLatin1Char('\n'), i) - 1;
            if (i < 0)
                break;
        } else if (script.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                break;
            out += QLatin1Char(' ');
            i = end + 1;
        } else {
            out += c;
        }
    }
    return out;
}

// What a Gradle accessor's name is compared by: "design-system", "design_system" and
// "designSystem" are one.
QString accessorKey(QString name)
{
    return name.remove(QLatin1Char('-')).remove(QLatin1Char('_')).toLower();
}

// The version catalog's versions and plugin IDs, by their accessor keys: "androidsdk.wear.min".
struct VersionCatalog {
    std::map<QString, QString> versions;
    std::map<QString, QString> plugins;
};

VersionCatalog readCatalog(const fs::path& root)
{
    VersionCatalog catalog;
    const QString text = readText(root / "gradle" / "libs.versions.toml");
    if (text.isEmpty())
        return catalog;
    toml::table parsed;
    try {
        parsed = toml::parse(text.toStdString());
    } catch (const toml::parse_error&) {
        return catalog;
    }
    const auto key = [](std::string_view name) {
        return accessorKey(QString::fromUtf8(name.data(), qsizetype(name.size())).replace(QLatin1Char('-'), '.'));
    };
    const auto dotted = [](QString name) { return name.replace(QLatin1Char('_'), QLatin1Char('.')); };
    if (const toml::table* versions = parsed["versions"].as_table())
        for (const auto& [name, value] : *versions)
            if (const auto text = value.value<std::string>())
                catalog.versions[dotted(key(name.str()))] = QString::fromStdString(*text);
    if (const toml::table* plugins = parsed["plugins"].as_table())
        for (const auto& [name, value] : *plugins) {
            std::optional<std::string> id = value.value<std::string>(); // "id:version"
            if (const toml::table* entry = value.as_table())
                id = (*entry)["id"].value<std::string>();
            if (id)
                catalog.plugins[dotted(key(name.str()))] = QString::fromStdString(*id).section(QLatin1Char(':'), 0, 0);
        }
    return catalog;
}

// Plugins whose makers are known not to add project dependencies: Android's, Kotlin's, Google's
// services, Flutter's and React Native's own, and common tooling.
bool isKnownPlugin(const QString& id)
{
    static const QStringList prefixes = {"com.android.",
                                         "org.jetbrains.",
                                         "kotlin",
                                         "com.google.",
                                         "dev.flutter.",
                                         "com.facebook.react",
                                         "androidx.",
                                         "io.sentry.",
                                         "com.github.triplet.",
                                         "org.jlleitschuh.",
                                         "io.gitlab.arturbosch.",
                                         "com.diffplug.",
                                         "app.cash.",
                                         "com.squareup.",
                                         "com.mikepenz.",
                                         "de.mannodermaus.",
                                         "com.huawei.",
                                         "com.bugsnag.",
                                         "com.onesignal.",
                                         "com.mxalbert.",
                                         "com.gradle."};
    static const QStringList names
        = {"java", "java-library", "maven-publish", "application", "idea", "signing", "android", "flutter"};
    return names.contains(id)
        || std::any_of(prefixes.begin(), prefixes.end(), [&](const QString& prefix) { return id.startsWith(prefix); });
}

// Whether a build script applies a plugin or script that may add dependencies it doesn't name.
bool mayAddDependencies(const QString& script, const VersionCatalog& catalog)
{
    static const QRegularExpression applyFrom(QStringLiteral(R"(\bapply\s*(?:\(\s*from\s*=|from\s*:))"));
    if (applyFrom.match(script).hasMatch())
        return true;
    static const QRegularExpression id(QStringLiteral(R"(\bid\s*\(?\s*['"]([\w.\-]+)['"])"));
    static const QRegularExpression applied(
        QStringLiteral(R"(\bapply\s*(?:\(\s*plugin\s*=|plugin\s*:)\s*['"]([\w.\-]+)['"])"));
    for (const QRegularExpression* pattern : {&id, &applied})
        for (const QRegularExpressionMatch& match : pattern->globalMatch(script))
            if (!isKnownPlugin(match.captured(1)))
                return true;
    static const QRegularExpression alias(QStringLiteral(R"(\balias\s*\(\s*libs\.plugins\.([\w.]+)\s*\))"));
    for (const QRegularExpressionMatch& match : alias.globalMatch(script)) {
        const auto plugin = catalog.plugins.find(accessorKey(match.captured(1)));
        if (plugin == catalog.plugins.end() || !isKnownPlugin(plugin->second))
            return true;
    }
    return false;
}

// The lowest minSdk a build script sets: a number, a version catalog's version or the root
// project's extra property (React Native's rootProject.ext.minSdkVersion).
std::optional<int> minSdkOf(const QString& script, const VersionCatalog& catalog, const QString& rootScript)
{
    static const QRegularExpression setting(QStringLiteral(
        R"(\bminSdk(?:Version)?\s*(?:=|\()?\s*(?:(\d+)|libs\.versions\.([\w.]+?)\.get\(\)|rootProject\.(?:ext\.|extra\[\s*"|ext\[\s*['"])(\w+)))"));
    std::optional<int> lowest;
    for (const QRegularExpressionMatch& match : setting.globalMatch(script)) {
        bool ok = false;
        int value = 0;
        if (!match.captured(1).isEmpty()) {
            value = match.captured(1).toInt(&ok);
        } else if (!match.captured(2).isEmpty()) {
            if (const auto version = catalog.versions.find(accessorKey(match.captured(2)));
                version != catalog.versions.end())
                value = version->second.toInt(&ok);
        } else {
            const QRegularExpression extra(QStringLiteral(R"(\b%1\s*=\s*(\d+))").arg(match.captured(3)));
            if (const QRegularExpressionMatch found = extra.match(rootScript); found.hasMatch())
                value = found.captured(1).toInt(&ok);
        }
        if (!ok)
            return std::nullopt; // one flavor's minSdk unknown: the lowest is too
        lowest = std::min(lowest.value_or(value), value);
    }
    return lowest;
}

// Manifest placeholders whose values are resources, in the ways build scripts write them:
// [appIcon: "@mipmap/x"], mapOf("appIcon" to "@mipmap/x"), manifestPlaceholders["appIcon"] = "…".
std::map<QString, QStringList> resourcePlaceholdersOf(const QString& script)
{
    std::map<QString, QStringList> placeholders;
    if (!script.contains(QLatin1String("anifestPlaceholders")))
        return placeholders;
    static const QRegularExpression pair(QStringLiteral(
        R"((?:\[\s*['"](\w+)['"]\s*\]\s*=|put\(\s*['"](\w+)['"]\s*,|['"]?(\w+)['"]?\s*(?::|\bto\b))\s*['"](@[\w/.+]+)['"])"));
    for (const QRegularExpressionMatch& match : pair.globalMatch(script)) {
        const QString key = match.captured(1) + match.captured(2) + match.captured(3);
        QStringList& values = placeholders[key];
        if (!values.contains(match.captured(4)))
            values << match.captured(4);
    }
    return placeholders;
}

// The module paths a settings script includes, and the folders some are moved to.
struct Settings {
    QStringList modules;
    std::map<QString, QString> folders; // ":x": "../libs/x"
};

// The string literals of a list that starts at a place of a script: ':a', ':b' or
// listOf("a", "b").
QStringList literalsAt(const QString& script, qsizetype at)
{
    static const QRegularExpression literal(
        QStringLiteral(R"(^[\s,()\[\]]*(?:(?:listOf|setOf|arrayOf|files|file)\s*\(\s*)?['"]([^'"]+)['"])"));
    QStringList found;
    for (QRegularExpressionMatch match; (match = literal.match(QStringView(script).mid(at))).hasMatch();
         at += match.capturedEnd())
        found << match.captured(1);
    return found;
}

Settings readSettings(const QString& script)
{
    Settings settings;
    static const QRegularExpression include(QStringLiteral(R"(\binclude\b\s*\(?)"));
    for (const QRegularExpressionMatch& match : include.globalMatch(script))
        for (QString module : literalsAt(script, match.capturedEnd())) {
            if (!module.startsWith(QLatin1Char(':')))
                module.prepend(QLatin1Char(':'));
            if (!settings.modules.contains(module))
                settings.modules << module;
        }
    static const QRegularExpression moved(QStringLiteral(
        R"(project\(\s*['"]([^'"]+)['"]\s*\)\.projectDir\s*=\s*(?:new\s+)?(?:file|File)\(\s*(?:(?:rootDir|settingsDir|rootProject\.projectDir)\s*,\s*)?['"]([^'"]+)['"]\s*\))"));
    for (const QRegularExpressionMatch& match : moved.globalMatch(script))
        settings.folders[match.captured(1).startsWith(QLatin1Char(':')) ? match.captured(1)
                                                                        : QLatin1Char(':') + match.captured(1)]
            = match.captured(2);
    return settings;
}

QStringList dependenciesOf(const QString& script, const QStringList& modules)
{
    QStringList found;
    static const QRegularExpression project(QStringLiteral(R"(\bproject\(\s*(?:path\s*[:=]\s*)?['"](:[^'"]*)['"])"));
    for (const QRegularExpressionMatch& match : project.globalMatch(script))
        found << match.captured(1);
    // Type-safe accessors: projects.designSystem is :design-system, projects.libs.ui :libs:ui.
    static const QRegularExpression accessor(QStringLiteral(R"(\bprojects\.([\w.]+))"));
    for (const QRegularExpressionMatch& match : accessor.globalMatch(script)) {
        const QString key = accessorKey(match.captured(1));
        QString best;
        for (const QString& module : modules) {
            const QString moduleKey = accessorKey(module.mid(1)).replace(QLatin1Char(':'), QLatin1Char('.'));
            if ((key == moduleKey || key.startsWith(moduleKey + QLatin1Char('.'))) && module.size() > best.size())
                best = module;
        }
        if (!best.isEmpty())
            found << best;
    }
    found.removeDuplicates();
    return found;
}

// The res folders a build script adds to its source sets: res.srcDirs += ['…'],
// res { directories += "…" }, res.srcDir("…").
QStringList extraResFoldersOf(const QString& script)
{
    static const QRegularExpression res(QStringLiteral(
        R"(\bres\s*(?:\.\s*|\{\s*)(?:srcDirs?|setSrcDirs|directories)\s*(?:\+?=|\.addAll\s*\(|\.add\s*\(|\()?)"));
    QStringList found;
    for (const QRegularExpressionMatch& match : res.globalMatch(script))
        found += literalsAt(script, match.capturedEnd());
    found.removeDuplicates();
    return found;
}

std::vector<fs::path> sourceSetFiles(const fs::path& module, const char* name, bool folder)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const fs::directory_entry& set : fs::directory_iterator(module / "src", error)) {
        const fs::path file = set.path() / name;
        if (!set.is_symlink(error) && (folder ? fs::is_directory(file, error) : fs::is_regular_file(file, error)))
            found.push_back(file);
    }
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        const bool aMain = a.parent_path().filename() == "main", bMain = b.parent_path().filename() == "main";
        return aMain != bMain ? aMain : a < b;
    });
    return found;
}

} // namespace

std::vector<fs::path> GradleModule::resFolders() const
{
    std::vector<fs::path> found = sourceSetFiles(folder, "res", true);
    for (const QString& extra : extraRes) {
        std::error_code error;
        const fs::path res = (folder / toPath(extra)).lexically_normal();
        if (fs::is_directory(res, error) && std::find(found.begin(), found.end(), res) == found.end())
            found.push_back(res);
    }
    return found;
}

std::vector<fs::path> GradleModule::manifests() const
{
    return sourceSetFiles(folder, "AndroidManifest.xml", false);
}

bool isGradleFolder(const fs::path& folder)
{
    std::error_code error;
    for (const char* file :
         {"settings.gradle", "settings.gradle.kts", "build.gradle", "build.gradle.kts", "src/main/AndroidManifest.xml"})
        if (fs::is_regular_file(folder / file, error))
            return true;
    return false;
}

std::optional<GradleProject> GradleProject::above(const fs::path& path)
{
    std::error_code error;
    const fs::path given = path.lexically_normal();
    fs::path up = given.filename().empty() ? given.parent_path() : given;
    fs::path folder = fs::absolute(up, error);
    for (int levels = 0; !folder.empty(); ++levels) {
        if (fs::is_regular_file(folder / "settings.gradle", error)
            || fs::is_regular_file(folder / "settings.gradle.kts", error)) {
            fs::path root = up;
            for (int i = 0; i < levels; ++i)
                root /= "..";
            root = root.lexically_normal();
            return read(root.empty() ? fs::path(".") : root);
        }
        if (folder == folder.parent_path())
            break;
        folder = folder.parent_path();
    }
    return std::nullopt;
}

GradleProject GradleProject::read(const fs::path& root)
{
    GradleProject project;
    project.m_root = root;
    const VersionCatalog catalog = readCatalog(root);
    const QString rootScript = withoutComments(readScript(root, "build.gradle"));
    Settings settings = readSettings(withoutComments(readScript(root, "settings.gradle")));
    // The root project is a module of its own when it has sources, as a project of one module does.
    std::error_code error;
    if (settings.modules.isEmpty() || fs::is_directory(root / "src", error))
        settings.modules.prepend(QStringLiteral(":"));
    if (settings.modules.size() > maxModules)
        settings.modules.erase(settings.modules.begin() + maxModules, settings.modules.end());
    for (const QString& name : settings.modules) {
        GradleModule module;
        module.name = name;
        const auto moved = settings.folders.find(name);
        module.folder = moved != settings.folders.end()
            ? (root / toPath(moved->second)).lexically_normal()
            : (root / toPath(name.mid(1).replace(QLatin1Char(':'), QLatin1Char('/')))).lexically_normal();
        const QString script
            = name == QLatin1String(":") ? rootScript : withoutComments(readScript(module.folder, "build.gradle"));
        module.dependencies = dependenciesOf(script, settings.modules);
        module.dependencies.removeAll(name);
        module.dependenciesKnown = !mayAddDependencies(script, catalog);
        module.minSdk = minSdkOf(script, catalog, rootScript);
        module.resourcePlaceholders = resourcePlaceholdersOf(script);
        module.extraRes = extraResFoldersOf(script);
        project.m_modules.push_back(std::move(module));
    }
    return project;
}

const GradleModule* GradleProject::moduleOf(const fs::path& path) const
{
    const fs::path resolved = resolvedPath(path);
    const GradleModule* deepest = nullptr;
    std::size_t depth = 0;
    for (const GradleModule& module : m_modules) {
        const fs::path folder = resolvedPath(module.folder);
        const std::size_t parts = std::distance(folder.begin(), folder.end());
        if (isWithin(resolved, folder) && (!deepest || parts > depth)) {
            deepest = &module;
            depth = parts;
        }
    }
    return deepest;
}

GradleProject::Reach GradleProject::reachableFrom(const GradleModule& module) const
{
    Reach reach;
    std::vector<const GradleModule*> queue{&module};
    std::set<const GradleModule*> seen{&module};
    while (!queue.empty()) {
        const GradleModule* next = queue.back();
        queue.pop_back();
        reach.modules.push_back(next);
        reach.complete = reach.complete && next->dependenciesKnown;
        for (const QString& name : next->dependencies) {
            const auto found = std::find_if(m_modules.begin(), m_modules.end(),
                                            [&](const GradleModule& other) { return other.name == name; });
            if (found == m_modules.end())
                reach.complete = false; // a dependency outside what settings includes
            else if (seen.insert(&*found).second)
                queue.push_back(&*found);
        }
    }
    return reach;
}

} // namespace quorva
