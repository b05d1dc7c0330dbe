#include "catalog/setinstaller.h"

#include "catalog/appleplatform.h"
#include "catalog/contentsjson.h"
#include "catalog/setcontents.h"
#include "support/fileio.h"
#include "support/paths.h"

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

// Staging folders are hidden, so Xcode ignores them, and name the process that made them.
const std::string stagingPrefix = ".quorva-staging-";

QString failure(const fs::path& path, const QString& what, int error)
{
    return QStringLiteral("%1: %2: %3").arg(displayPath(path), what, QString::fromLocal8Bit(std::strerror(error)));
}

// Writes a new file in the folder and flushes it to the disk, so that the set is whole on the
// disk before it is swapped in. Gives errno, or 0.
int writeNew(int folder, const fs::path& name, const QByteArray& bytes)
{
    const FileDescriptor file(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.get() < 0)
        return errno;
    if (const int error = writeAll(file.get(), bytes))
        return error;
    return ::fsync(file.get()) == 0 ? 0 : errno;
}

// A staging folder may go when no run holds its lock and the process that made it is gone.
bool isAbandoned(const fs::path& folder)
{
    const std::string name = folder.filename().string();
    const pid_t owner = static_cast<pid_t>(std::atol(name.c_str() + stagingPrefix.size()));
    if (owner > 0 && (::kill(owner, 0) == 0 || errno != ESRCH))
        return false;
    const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0;
}

// The process's umask, read without changing it: threads may be making files meanwhile.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    return 022;
}

// A folder made by mkdtemp is its owner's alone; a set or catalog is made as mkdir would make it.
void openToOthers(int folder)
{
    ::fchmod(folder, 0777 & ~currentUmask());
}

QString slotName(const SetEntry& entry)
{
    return QStringLiteral("%1 %2 %3")
        .arg(entry.idiom, entry.size, entry.scale.isEmpty() ? QStringLiteral("1x") : entry.scale);
}

// Why an existing set folder is not only the set's own files, and what of it the new set would
// drop: every such thing, or nothing when there is none (or no folder).
QStringList blockers(const fs::path& set, const QByteArray& newContents)
{
    struct stat status {};
    if (::lstat(set.c_str(), &status) != 0)
        return {};
    if (S_ISLNK(status.st_mode))
        return {QStringLiteral("it is a symbolic link")};
    if (!S_ISDIR(status.st_mode))
        return {QStringLiteral("it is not a folder")};
    QFile contentsFile(displayPath(set / "Contents.json"));
    SetContents old;
    if (contentsFile.open(QIODevice::ReadOnly) && contentsFile.size() < (1 << 20))
        old = parseSetContents(contentsFile.readAll());
    const QStringList named = filesNamedIn(old);
    QStringList found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(set, error)) {
        const QString name = displayPath(entry.path().filename());
        if (name == QLatin1String("Contents.json") || name == QLatin1String(".DS_Store"))
            continue;
        if (entry.is_directory(error) && !entry.is_symlink(error))
            found << QStringLiteral("it holds the folder \"%1\"").arg(name);
        else if (!named.contains(name))
            found << QStringLiteral("it holds \"%1\", which its Contents.json does not name").arg(name);
    }
    if (error)
        found << QStringLiteral("it can't be read (%1)").arg(QString::fromLocal8Bit(error.message()));
    // Slots of another platform (a Mac or watch app's icons in a multiplatform set) would go.
    std::set<ApplePlatform> kept;
    for (const SetEntry& entry : parseSetContents(newContents).entries)
        if (const auto platform = platformOfEntry(entry.idiom, entry.platform))
            kept.insert(*platform);
    QStringList dropped;
    for (const SetEntry& entry : old.entries) {
        const auto platform = platformOfEntry(entry.idiom, entry.platform);
        if (!entry.filename.isEmpty() && platform && !kept.count(*platform))
            dropped << QStringLiteral("%1 (%2)").arg(slotName(entry), entry.filename);
    }
    if (!dropped.isEmpty())
        found << QStringLiteral("the new set has no slot for its %1").arg(dropped.join(QStringLiteral(", ")));
    return found;
}

} // namespace

std::optional<QString> openCatalog(const fs::path& catalog)
{
    std::error_code error;
    if (fs::is_directory(catalog, error)) {
        removeAbandonedStaging(catalog);
        return std::nullopt;
    }
    if (fs::exists(fs::symlink_status(catalog, error)))
        return failure(catalog, QStringLiteral("Couldn't use it as the asset catalog"), ENOTDIR);
    const fs::path parent = catalog.parent_path().empty() ? fs::path(".") : catalog.parent_path();
    if (!fs::is_directory(parent, error))
        return failure(catalog, QStringLiteral("Couldn't make the asset catalog"), ENOENT);
    // Made whole beside its place and renamed into it, like a set.
    std::string staging = (parent / (stagingPrefix + std::to_string(::getpid()) + "-catalog-XXXXXX")).string();
    if (!::mkdtemp(staging.data()))
        return failure(catalog, QStringLiteral("Couldn't make the asset catalog"), errno);
    const FileDescriptor folder(::open(staging.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.isOpen())
        openToOthers(folder.get());
    int made = folder.get() < 0 ? errno : writeNew(folder.get(), "Contents.json", catalogContents());
    if (!made && ::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, catalog.c_str(), RENAME_NOREPLACE) != 0)
        made = errno == EEXIST ? 0 : errno; // made meanwhile by another run: that one will do
    if (fs::exists(staging, error))
        fs::remove_all(staging, error);
    return made ? std::optional(failure(catalog, QStringLiteral("Couldn't make the asset catalog"), made))
                : std::nullopt;
}

std::optional<QString> installFolder(const fs::path& parent, const QString& folder,
                                     const std::map<QString, QByteArray>& files, const QString& what)
{
    const fs::path target = parent / toPath(folder);
    // The old one must go once the new one is in: were it left, half removed, in a hidden folder,
    // the run would not have done what it says.
    struct stat old {};
    const bool replacing = ::lstat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) {
        std::error_code error;
        if (::access(target.c_str(), W_OK | X_OK) != 0)
            return failure(target, QStringLiteral("Couldn't replace the old %1").arg(what), errno);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(target, error))
            if (entry.is_directory(error) && !entry.is_symlink(error)
                && ::access(entry.path().c_str(), W_OK | X_OK) != 0)
                return failure(entry.path(), QStringLiteral("Couldn't replace the old %1").arg(what), errno);
    }

    std::string staging
        = (parent / (stagingPrefix + std::to_string(::getpid()) + "-" + toPath(folder).string() + "-XXXXXX")).string();
    if (!::mkdtemp(staging.data()))
        return failure(target, QStringLiteral("Couldn't write the new %1").arg(what), errno);
    std::error_code ignored;
    const auto abandon = [&](int error) {
        fs::remove_all(staging, ignored);
        return failure(target, QStringLiteral("Couldn't write the new %1").arg(what), error);
    };
    const FileDescriptor stage(::open(staging.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (stage.get() < 0 || ::flock(stage.get(), LOCK_EX) != 0)
        return abandon(errno);
    openToOthers(stage.get());
    for (const auto& [name, bytes] : files) {
        // A file of the folder, or of one folder in it (an Icon Composer file's Assets/).
        const QStringList parts = name.split(QLatin1Char('/'));
        if (parts.size() > 2 || !std::all_of(parts.begin(), parts.end(), isSingleComponent))
            return abandon(EINVAL);
        FileDescriptor inner;
        if (parts.size() == 2) {
            if (::mkdirat(stage.get(), toPath(parts[0]).c_str(), 0777) != 0 && errno != EEXIST)
                return abandon(errno);
            inner = FileDescriptor(::openat(stage.get(), toPath(parts[0]).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (!inner.isOpen())
                return abandon(errno);
        }
        if (int error = writeNew(parts.size() == 2 ? inner.get() : stage.get(), toPath(parts.back()), bytes))
            return abandon(error);
        if (inner.isOpen() && ::fsync(inner.get()) != 0)
            return abandon(errno);
    }
    if (::fsync(stage.get()) != 0)
        return abandon(errno);

    if (replacing && ::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            return abandon(errno);
        // A file system that cannot exchange: the old one steps aside for a moment.
        const std::string aside = staging + "-old";
        if (::rename(target.c_str(), aside.c_str()) != 0)
            return abandon(errno);
        if (::rename(staging.c_str(), target.c_str()) != 0) {
            const int error = errno;
            ::rename(aside.c_str(), target.c_str());
            return abandon(error);
        }
        staging = aside;
    } else if (!replacing && ::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        return abandon(errno);
    }
    const FileDescriptor parentFolder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parentFolder.get() >= 0)
        ::fsync(parentFolder.get());
    std::error_code removed;
    fs::remove_all(staging, removed);            // the old one, now under the staging name
    if (removed && fs::exists(staging, ignored)) // past every check above: the new one stays, whole
        return QStringLiteral("%1: the new %2 is in, but what is left of the old one could not be removed from %3: %4")
            .arg(displayPath(target), what, QString::fromStdString(staging), QString::fromLocal8Bit(removed.message()));
    return std::nullopt;
}

std::optional<QString> installSet(const fs::path& catalog, const QString& folder, const SetFiles& set, bool force)
{
    const fs::path target = catalog / toPath(folder);
    if (!force) {
        if (const QStringList found = blockers(target, set.contents); !found.isEmpty())
            return QStringLiteral("%1: not replaced, because %2; --force replaces it anyway")
                .arg(displayPath(target), found.join(QStringLiteral("; ")));
    }
    for (const auto& [name, bytes] : set.files)
        if (!isSingleComponent(name))
            return failure(target, QStringLiteral("Couldn't write the new set"), EINVAL);
    std::map<QString, QByteArray> files = set.files;
    files[QStringLiteral("Contents.json")] = set.contents;
    return installFolder(catalog, folder, files, QStringLiteral("set"));
}

void removeAbandonedStaging(const fs::path& folder)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.path().filename().string().rfind(stagingPrefix, 0) == 0 && isAbandoned(entry.path()))
            fs::remove_all(entry.path(), error);
}

} // namespace quorva
