#include "xcodeproj/xcodeproject.h"

#include "support/paths.h"
#include "xcodeproj/openstepplist.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxProjectBytes = 64 << 20;
constexpr int maxFoldersUp = 8;
constexpr int maxGroupDepth = 64;

// The objects of a project by their identifiers.
using Objects = QHash<QString, const PlistValue*>;

QStringList words(const PlistValue& value)
{
    if (value.isArray()) {
        QStringList list;
        for (const PlistValue& item : value.array)
            if (item.isString())
                list << item.string;
        return list;
    }
    return value.isString() ? value.string.split(QLatin1Char(' '), Qt::SkipEmptyParts) : QStringList();
}

QStringList identifiers(const PlistValue& object, QStringView key)
{
    const PlistValue* list = object.find(key);
    return list ? words(*list) : QStringList();
}

// The build settings of a configuration list: the Release configuration's, else the last one's.
std::map<QString, QStringList> settingsOf(const Objects& objects, const QString& listId)
{
    std::map<QString, QStringList> settings;
    const PlistValue* list = objects.value(listId);
    if (!list)
        return settings;
    const PlistValue* chosen = nullptr;
    for (const QString& id : identifiers(*list, u"buildConfigurations")) {
        const PlistValue* configuration = objects.value(id);
        if (!configuration)
            continue;
        if (!chosen || configuration->text(u"name") == QLatin1String("Release"))
            chosen = configuration;
    }
    const PlistValue* build = chosen ? chosen->find(u"buildSettings") : nullptr;
    if (build && build->isDictionary())
        for (const PlistEntry& entry : build->dictionary)
            settings[entry.key] = words(entry.value);
    return settings;
}

// Every configuration's build settings of a configuration list, by name.
std::map<QString, std::map<QString, QStringList>> configurationsOf(const Objects& objects, const QString& listId)
{
    std::map<QString, std::map<QString, QStringList>> out;
    const PlistValue* list = objects.value(listId);
    if (!list)
        return out;
    for (const QString& id : identifiers(*list, u"buildConfigurations")) {
        const PlistValue* configuration = objects.value(id);
        const PlistValue* build = configuration ? configuration->find(u"buildSettings") : nullptr;
        if (!configuration)
            continue;
        std::map<QString, QStringList>& settings = out[configuration->text(u"name")];
        if (build && build->isDictionary())
            for (const PlistEntry& entry : build->dictionary)
                settings[entry.key] = words(entry.value);
    }
    return out;
}

// The path of every file reference and group below the main group, resolved as Xcode does.
void resolve(const Objects& objects, const QString& id, const fs::path& parent, const fs::path& projectFolder,
             int depth, QHash<QString, fs::path>& paths)
{
    const PlistValue* object = objects.value(id);
    if (!object || depth > maxGroupDepth || paths.contains(id))
        return;
    const QString tree = object->text(u"sourceTree");
    const fs::path own = toPath(object->text(u"path"));
    fs::path path;
    if (tree == QLatin1String("<group>") || tree.isEmpty())
        path = parent / own;
    else if (tree == QLatin1String("SOURCE_ROOT"))
        path = projectFolder / own;
    else if (tree == QLatin1String("<absolute>"))
        path = own;
    else
        return; // built products, the SDK: nothing of the project's own
    path = path.lexically_normal();
    paths.insert(id, path);
    for (const QString& child : identifiers(*object, u"children"))
        resolve(objects, child, path, projectFolder, depth + 1, paths);
}

} // namespace

bool XcodeTarget::copies(const fs::path& path) const
{
    const fs::path wanted = resolvedPath(path);
    for (const fs::path& resource : resources)
        if (resolvedPath(resource) == wanted)
            return true;
    for (const fs::path& folder : synchronizedFolders)
        if (isWithin(wanted, resolvedPath(folder)))
            return true;
    return false;
}

std::optional<QString> XcodeTarget::setting(const QString& key) const
{
    const auto found = settings.find(key);
    if (found == settings.end() || found->second.isEmpty())
        return std::nullopt;
    return found->second.front();
}

QStringList XcodeTarget::configurationsOf(const QString& flavor) const
{
    static const QRegularExpression separators(QStringLiteral("[-_ .]"));
    QStringList names;
    for (const auto& [name, settings] : configurations)
        if (name.split(separators, Qt::SkipEmptyParts).contains(flavor, Qt::CaseInsensitive))
            names << name;
    return names;
}

std::optional<QString> XcodeTarget::appIconOf(const QString& configuration) const
{
    const auto found = configurations.find(configuration);
    if (found == configurations.end())
        return std::nullopt;
    const auto icon = found->second.find(QStringLiteral("ASSETCATALOG_COMPILER_APPICON_NAME"));
    if (icon == found->second.end() || icon->second.isEmpty())
        return std::nullopt;
    return icon->second.front();
}

bool XcodeTarget::isApplication() const
{
    return productType == QLatin1String("com.apple.product-type.application")
        || productType == QLatin1String("com.apple.product-type.application.watchapp2")
        || productType == QLatin1String("com.apple.product-type.application.watchapp2-container")
        || productType == QLatin1String("com.apple.product-type.application.watchapp")
        || productType == QLatin1String("com.apple.product-type.application.messages");
}

ReadXcodeProject readXcodeProject(const QByteArray& pbxproj, const fs::path& bundle)
{
    ReadXcodeProject read;
    const ParsedPlist parsed = parseOpenStepPlist(pbxproj);
    if (!parsed.value) {
        read.error = QStringLiteral("its project.pbxproj is not a property list (%1)").arg(parsed.error);
        return read;
    }
    const PlistValue* objectList = parsed.value->find(u"objects");
    const PlistValue* rootId = parsed.value->find(u"rootObject");
    if (!objectList || !objectList->isDictionary() || !rootId || !rootId->isString()) {
        read.error = QStringLiteral("its project.pbxproj has no objects or root object");
        return read;
    }
    Objects objects;
    for (const PlistEntry& entry : objectList->dictionary)
        if (entry.value.isDictionary())
            objects.insert(entry.key, &entry.value);
    const PlistValue* root = objects.value(rootId->string);
    if (!root) {
        read.error = QStringLiteral("its project.pbxproj names a root object it does not hold");
        return read;
    }
    const fs::path projectFolder = (bundle.parent_path() / toPath(root->text(u"projectDirPath"))).lexically_normal();
    QHash<QString, fs::path> paths;
    if (const QString mainGroup = root->text(u"mainGroup"); !mainGroup.isEmpty()) {
        // The main group stands for the project's folder itself.
        paths.insert(mainGroup, projectFolder);
        if (const PlistValue* group = objects.value(mainGroup))
            for (const QString& child : identifiers(*group, u"children"))
                resolve(objects, child, projectFolder, projectFolder, 1, paths);
    }
    const std::map<QString, QStringList> projectSettings = settingsOf(objects, root->text(u"buildConfigurationList"));
    const auto projectConfigurations = configurationsOf(objects, root->text(u"buildConfigurationList"));

    XcodeProject project;
    project.bundle = bundle;
    for (const QString& id : identifiers(*root, u"targets")) {
        const PlistValue* object = objects.value(id);
        if (!object || object->text(u"isa") != QLatin1String("PBXNativeTarget"))
            continue;
        XcodeTarget target;
        target.name = object->text(u"name");
        target.productType = object->text(u"productType");
        target.settings = projectSettings;
        for (auto& [key, value] : settingsOf(objects, object->text(u"buildConfigurationList")))
            target.settings[key] = value;
        for (auto& [name, settings] : configurationsOf(objects, object->text(u"buildConfigurationList"))) {
            std::map<QString, QStringList>& merged = target.configurations[name];
            if (const auto project = projectConfigurations.find(name); project != projectConfigurations.end())
                merged = project->second;
            for (auto& [key, value] : settings)
                merged[key] = value;
        }
        for (const QString& phaseId : identifiers(*object, u"buildPhases")) {
            const PlistValue* phase = objects.value(phaseId);
            if (!phase || phase->text(u"isa") != QLatin1String("PBXResourcesBuildPhase"))
                continue;
            for (const QString& fileId : identifiers(*phase, u"files"))
                if (const PlistValue* file = objects.value(fileId))
                    if (const auto path = paths.find(file->text(u"fileRef")); path != paths.end())
                        target.resources.push_back(*path);
        }
        for (const QString& groupId : identifiers(*object, u"fileSystemSynchronizedGroups"))
            if (const auto path = paths.find(groupId); path != paths.end())
                target.synchronizedFolders.push_back(*path);
        project.targets.push_back(std::move(target));
    }
    read.project = std::move(project);
    return read;
}

ReadXcodeProject readXcodeProject(const fs::path& bundle)
{
    QFile file(displayPath(bundle / "project.pbxproj"));
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("its project.pbxproj can't be read (%1)").arg(file.errorString())};
    if (file.size() > maxProjectBytes)
        return {std::nullopt, QStringLiteral("its project.pbxproj is larger than %1 MiB").arg(maxProjectBytes >> 20)};
    // Its size, not the bound: a read of the bound would take (and touch) that much memory first.
    return readXcodeProject(file.read(file.size()), fs::absolute(bundle).lexically_normal());
}

std::optional<XcodeProject> findXcodeProjectFor(const fs::path& path)
{
    const fs::path wanted = resolvedPath(fs::absolute(path));
    fs::path folder = wanted.parent_path();
    for (int up = 0; up < maxFoldersUp && !folder.empty(); ++up) {
        std::error_code error;
        std::vector<fs::path> bundles;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
            if (entry.path().extension() == ".xcodeproj" && entry.is_directory(error))
                bundles.push_back(entry.path());
        std::sort(bundles.begin(), bundles.end());
        for (const fs::path& bundle : bundles) {
            ReadXcodeProject read = readXcodeProject(bundle);
            if (!read.project)
                continue;
            for (const XcodeTarget& target : read.project->targets)
                if (target.copies(wanted))
                    return std::move(read.project);
        }
        if (folder == folder.parent_path())
            break;
        folder = folder.parent_path();
    }
    return std::nullopt;
}

} // namespace quorva
