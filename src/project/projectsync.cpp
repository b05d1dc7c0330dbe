#include "project/projectsync.h"

#include "project/projecttarget.h"
#include "project/synclock.h"
#include "project/targetplacement.h"
#include "project/writtenplaces.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "target/installer.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <set>

#include <sys/stat.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxConfigBytes = 4 << 20;
constexpr qint64 maxOutputBytes = 256 << 20; // an icon file sync wrote, read back to compare

std::optional<QByteArray> readFileAt(const fs::path& path)
{
    return readSmallFile(path, maxConfigBytes);
}

QString relativeTo(const fs::path& root, const fs::path& path)
{
    return displayPath(path.lexically_normal().lexically_relative(root.lexically_normal()));
}

// The bytes of a regular file, not through a link.
std::optional<QByteArray> regularFile(const fs::path& path)
{
    return readSmallFile(path, maxOutputBytes, false);
}

// What a lock records of the placements, once they are on the disk.
LockedTarget lockedOf(const std::vector<Placement>& placements, const fs::path& root, const QString& inputs)
{
    LockedTarget locked;
    locked.inputs = inputs;
    for (const Placement& placement : placements) {
        for (const PlannedFile& file : placement.plan.files) {
            const fs::path path = placement.root / toPath(file.path);
            if (isBookkeeping(file.path))
                locked.lists << relativeTo(root, path);
            else
                locked.files[relativeTo(root, path)] = digestOf(file.bytes);
        }
        for (const QString& folder : placement.plan.wholeFolders)
            locked.folders << relativeTo(root, placement.root / toPath(folder));
    }
    return locked;
}

// The files that differ from what the lock says sync wrote, read back by digest.
std::vector<FileDifference> differencesFromLock(const LockedTarget& locked, const fs::path& root)
{
    std::vector<FileDifference> found;
    for (const auto& [path, digest] : locked.files) {
        const fs::path file = root / toPath(path);
        const std::optional<QByteArray> bytes = regularFile(file);
        if (!bytes)
            found.push_back({isPresent(file) ? FileDifference::Kind::Different : FileDifference::Kind::Missing, file});
        else if (digestOf(*bytes) != digest)
            found.push_back({FileDifference::Kind::Different, file});
    }
    std::vector<fs::path> stale;
    for (const QString& folder : locked.folders) {
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(root / toPath(folder), error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error))
            if (!(it->is_directory(error) && !it->is_symlink(error)) && !isBookkeeping(relativeTo(root, it->path()))
                && !locked.files.count(relativeTo(root, it->path())))
                stale.push_back(it->path());
    }
    // What an earlier run listed as its own, and this one did not write.
    for (const QString& list : locked.lists) {
        const fs::path file = root / toPath(list);
        const std::optional<QByteArray> names = regularFile(file);
        for (const QByteArray& line : names.value_or(QByteArray()).split('\n')) {
            const QString name = QString::fromUtf8(line.trimmed());
            if (name.isEmpty() || !isSingleComponent(name.section(QLatin1Char('/'), 0, 0))
                || !isSingleComponent(name.section(QLatin1Char('/'), 1)) || name.count(QLatin1Char('/')) != 1)
                continue;
            const fs::path path = file.parent_path() / toPath(name);
            if (!locked.files.count(relativeTo(root, path)) && isPresent(path))
                stale.push_back(path);
        }
    }
    std::sort(stale.begin(), stale.end());
    stale.erase(std::unique(stale.begin(), stale.end()), stale.end());
    for (const fs::path& path : stale)
        found.push_back({FileDifference::Kind::Stale, path});
    return found;
}

std::size_t fileCount(const std::vector<Placement>& placements)
{
    std::size_t count = 0;
    for (const Placement& placement : placements)
        count += std::size_t(std::count_if(placement.plan.files.begin(), placement.plan.files.end(),
                                           [](const PlannedFile& file) { return !isBookkeeping(file.path); }));
    return count;
}

} // namespace

bool SyncReport::failed() const
{
    return !errors.isEmpty() || !refusals.isEmpty()
        || std::any_of(targets.begin(), targets.end(), [](const TargetSync& target) {
               return target.state == TargetSync::State::Failed || target.state == TargetSync::State::Differs;
           });
}

SyncReport syncProject(const fs::path& given, const QStringList& flavors, SyncMode mode)
{
    const fs::path root = absoluteFolder(given);
    SyncReport report;
    const std::optional<QByteArray> text = readFileAt(root / projectConfigName);
    if (!text) {
        report.errors << QStringLiteral("%1: there is no %2 to sync by (quorva-cli init writes one)")
                             .arg(displayPath(root), QLatin1String(projectConfigName));
        return report;
    }
    const ReadProjectConfig read = readProjectConfig(*text, root, displayPath(root / projectConfigName));
    if (!read.config) {
        report.errors = read.errors;
        return report;
    }
    return syncProject(root, *read.config, flavors, mode, true);
}

SyncReport syncProject(const fs::path& given, const ProjectConfig& config, const QStringList& flavors, SyncMode mode,
                       bool keepLock)
{
    const fs::path root = absoluteFolder(given);
    SyncReport report;
    const ProjectTargets targets = projectTargets(config, flavors);
    if (!targets.errors.isEmpty()) {
        report.errors = targets.errors;
        return report;
    }

    SyncLock lock = readSyncLock(readFileAt(root / syncLockName).value_or(QByteArray()));
    // A check trusts the lock where the inputs are those it records; every other target is made.
    std::vector<const ProjectTarget*> toMake;
    std::map<QString, std::vector<FileDifference>> fromLock;
    const auto imagesThere = [&](const ProjectTarget& target) {
        const std::vector<TargetImage> images = targetImages(target);
        return std::all_of(images.begin(), images.end(),
                           [&](const TargetImage& image) { return isPresent(root / toPath(image.path)); });
    };
    for (const ProjectTarget& target : targets.targets) {
        const auto locked = lock.targets.find(target.key());
        if (mode == SyncMode::Check && locked != lock.targets.end() && imagesThere(target)
            && !locked->second.reads.isEmpty()
            && locked->second.inputs == inputsDigest(target, inputsNow(locked->second.reads, root)))
            fromLock[target.key()] = differencesFromLock(locked->second, root);
        else
            toMake.push_back(&target);
    }
    const std::vector<TargetPlacement> made = placeTargets(toMake, root, lock);

    // No image the icons are made from may lie where a target writes: a source picked from inside
    // the set it makes would be replaced by the first sync and be gone for the next.
    WrittenPlaces places;
    for (std::size_t i = 0; i < toMake.size(); ++i)
        places.add(toMake[i]->label(), made[i].placements);
    for (const ProjectTarget& target : targets.targets)
        if (fromLock.count(target.key()))
            places.add(target.label(), lock.targets.at(target.key()), root);
    for (const ImageInTheWay& image : imagesInTheWay(targets.targets, places, root))
        report.refusals << pathLine(root / toPath(image.path),
                                    QStringLiteral("the %1 of %2 lies where %3 writes, and syncing would replace it: "
                                                   "nothing was written; keep it outside every target's files "
                                                   "(quorva-cli init --force copies it out) and name it in %4")
                                        .arg(image.key, image.target, image.writer, QLatin1String(projectConfigName)));
    if (!report.refusals.isEmpty())
        return report;

    auto next = made.begin();
    for (const ProjectTarget& target : targets.targets) {
        TargetSync sync;
        sync.label = target.label();
        if (const auto compared = fromLock.find(target.key()); compared != fromLock.end()) {
            const LockedTarget& locked = lock.targets.at(target.key());
            sync.differences = compared->second;
            sync.files = locked.files.size();
            sync.where = locked.place;
            sync.state = sync.differences.empty() ? TargetSync::State::UpToDate : TargetSync::State::Differs;
            report.targets.push_back(std::move(sync));
            continue;
        }
        const TargetPlacement& placed = *next++;
        sync.where = placed.where;
        sync.notes = placed.notes;
        if (placed.failure) {
            sync.failure = *placed.failure;
            report.targets.push_back(std::move(sync));
            continue;
        }
        sync.files = fileCount(placed.placements);
        if (mode != SyncMode::Write) {
            sync.differences = differencesFromDisk(placed.placements);
            sync.state = sync.differences.empty() ? TargetSync::State::UpToDate : TargetSync::State::Differs;
            report.targets.push_back(std::move(sync));
            continue;
        }
        const InstallReport installed = install(placed.placements);
        if (installed.failed()) {
            sync.failure = installed.failures.join(QStringLiteral("; "));
            report.targets.push_back(std::move(sync));
            continue;
        }
        // Only what an earlier run of Quorva's wrote counts as removed; another tool's files are
        // said apart.
        sync.removed = std::size_t(installed.removed.size())
            - std::min(std::size_t(installed.removed.size()), std::size_t(placed.replaced.size()));
        const bool changed
            = std::any_of(installed.written.begin(), installed.written.end(),
                          [](const fs::path& file) { return !isBookkeeping(displayPath(file.filename())); })
            || sync.removed;
        sync.state = changed ? TargetSync::State::Written : TargetSync::State::Unchanged;
        // The inputs as they are now: sync may have changed some (a colour in colors.xml).
        QStringList reads;
        for (const KindInput& input : placed.inputs)
            if (!reads.contains(inputName(input)))
                reads << inputName(input);
        lock.targets[target.key()] = lockedOf(placed.placements, root, inputsDigest(target, inputsNow(reads, root)));
        lock.targets[target.key()].reads = reads;
        lock.targets[target.key()].place = placed.where;
        report.targets.push_back(std::move(sync));
    }

    if (mode == SyncMode::Write && keepLock) {
        // Targets no longer in quorva.toml leave the lock; a flavor's sync keeps every other's.
        if (flavors.isEmpty()) {
            std::set<QString> keys;
            for (const ProjectTarget& target : targets.targets)
                keys.insert(target.key());
            std::erase_if(lock.targets, [&](const auto& entry) { return !keys.count(entry.first); });
        }
        Plan plan;
        plan.add(QLatin1String(syncLockName), writeSyncLock(lock));
        const InstallReport locked = install(root, plan);
        if (locked.failed())
            report.errors += locked.failures;
    }
    for (TargetSync& sync : report.targets)
        for (FileDifference& difference : sync.differences)
            difference.path = toPath(relativeTo(root, difference.path));
    return report;
}

} // namespace quorva
