#include "apple/setinstaller.h"

#include "apple/appleplatform.h"
#include "apple/contentsjson.h"
#include "apple/existingset.h"
#include "apple/setcontents.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "target/installer.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

QString failure(const fs::path& path, const QString& what, int error)
{
    return QStringLiteral("%1: %2: %3").arg(displayPath(path), what, QString::fromLocal8Bit(std::strerror(error)));
}

QString slotName(const SetEntry& entry)
{
    return QStringLiteral("%1 %2 %3")
        .arg(entry.idiom, entry.size, entry.scale.isEmpty() ? QStringLiteral("1x") : entry.scale);
}

// Why an existing set folder is not only the set's own files, and what of it the new set would
// drop: every such thing, or nothing when there is none (or no folder); and the files an icon
// tool left there that go with the old set.
struct Blockers {
    QStringList found;
    QStringList othersFiles; // "Icon-App-50x50@1x.png (flutter_launcher_icons)"
};
Blockers blockers(const fs::path& set, const QByteArray& newContents, const QStringList& drop)
{
    Blockers out;
    QStringList& found = out.found;
    struct stat status {};
    if (::lstat(set.c_str(), &status) != 0)
        return out;
    if (S_ISLNK(status.st_mode))
        return {{QStringLiteral("it is a symbolic link")}, {}};
    if (!S_ISDIR(status.st_mode))
        return {{QStringLiteral("it is not a folder")}, {}};
    QFile contentsFile(displayPath(set / "Contents.json"));
    SetContents old;
    if (contentsFile.open(QIODevice::ReadOnly) && contentsFile.size() < (1 << 20))
        old = parseSetContents(contentsFile.readAll());
    const QStringList named = filesNamedIn(old);
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(set, error))
        entries.push_back(entry);
    std::sort(entries.begin(), entries.end());
    for (const fs::directory_entry& entry : entries) {
        const QString name = displayPath(entry.path().filename());
        if (name == QLatin1String("Contents.json") || name == QLatin1String(".DS_Store"))
            continue;
        if (entry.is_directory(error) && !entry.is_symlink(error))
            found << QStringLiteral("it holds the folder \"%1\"").arg(name);
        else if (const auto tool = toolThatWrote(name); tool && !named.contains(name))
            out.othersFiles << QStringLiteral("%1 (%2)").arg(name, *tool);
        else if (!named.contains(name))
            found << QStringLiteral("it holds \"%1\", which its Contents.json does not name").arg(name);
    }
    if (error)
        found << QStringLiteral("it can't be read (%1)").arg(QString::fromLocal8Bit(error.message()));
    // Slots of another platform (a Mac or watch app's icons in a multiplatform set, CarPlay's)
    // would go, unless quorva.toml says they go.
    std::set<QString> kept;
    for (const SetEntry& entry : parseSetContents(newContents).entries)
        kept.insert(slotKind(entry));
    QStringList dropped;
    for (const SetEntry& entry : old.entries)
        if (!entry.filename.isEmpty() && !kept.count(slotKind(entry)) && !drop.contains(slotKind(entry)))
            dropped << QStringLiteral("%1 (%2)").arg(slotName(entry), entry.filename);
    if (!dropped.isEmpty())
        found << QStringLiteral("the new set has no slot for its %1").arg(dropped.join(QStringLiteral(", ")));
    return out;
}

} // namespace

SetPlacement placeSetIntoCatalog(const fs::path& catalog, const QString& folder, const SetFiles& set, bool force,
                                 const QStringList& drop)
{
    SetPlacement placed;
    const fs::path target = catalog / toPath(folder);
    if (!force) {
        const Blockers found = blockers(target, set.contents, drop);
        if (!found.found.isEmpty()) {
            placed.failure = QStringLiteral("%1: not replaced, because %2")
                                 .arg(displayPath(target), found.found.join(QStringLiteral("; ")));
            placed.forcing = QStringLiteral("replaces it anyway");
            return placed;
        }
        placed.othersFiles = found.othersFiles;
    }
    if (!isSingleComponent(folder)) {
        placed.failure = failure(target, QStringLiteral("Couldn't write the new set"), EINVAL);
        return placed;
    }
    // Into the catalog when it is there, a link to it included; else the catalog is made too.
    std::error_code error;
    const bool there = fs::is_directory(catalog, error);
    if (!there && fs::exists(fs::symlink_status(catalog, error))) {
        placed.failure = failure(catalog, QStringLiteral("Couldn't use it as the asset catalog"), ENOTDIR);
        return placed;
    }
    const fs::path root = there ? catalog : (catalog.parent_path().empty() ? fs::path(".") : catalog.parent_path());
    if (!there && !fs::is_directory(root, error)) {
        placed.failure = failure(catalog, QStringLiteral("Couldn't make the asset catalog"), ENOENT);
        return placed;
    }
    const QString prefix = there ? QString() : displayPath(catalog.filename()) + QLatin1Char('/');
    Plan plan;
    if (!there)
        plan.add(prefix + QStringLiteral("Contents.json"), catalogContents());
    plan.wholeFolders << prefix + folder;
    for (const auto& [name, bytes] : set.files) {
        if (!isSingleComponent(name)) {
            placed.failure = failure(target, QStringLiteral("Couldn't write the new set"), EINVAL);
            return placed;
        }
        plan.add(prefix + folder + QLatin1Char('/') + name, bytes);
    }
    plan.add(prefix + folder + QStringLiteral("/Contents.json"), set.contents);
    placed.placement = Placement{root, std::move(plan)};
    return placed;
}

Placement placeWholeFolder(const fs::path& parent, const QString& folder, const std::map<QString, QByteArray>& files)
{
    Plan plan;
    plan.wholeFolders << folder;
    for (const auto& [name, bytes] : files)
        plan.add(folder + QLatin1Char('/') + name, bytes);
    return Placement{parent, std::move(plan)};
}

InstallReport installWholeFolder(const fs::path& parent, const QString& folder,
                                 const std::map<QString, QByteArray>& files)
{
    InstallReport report = install({placeWholeFolder(parent, folder, files)});
    if (!report.failed())
        report.setFolder = parent / toPath(folder);
    return report;
}

} // namespace quorva
