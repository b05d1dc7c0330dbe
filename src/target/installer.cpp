#include "target/installer.h"

#include "support/fileio.h"
#include "support/paths.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <future>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// Hidden, so that Xcode, Android's build and the checks pass over them, and naming the process that
// made them, so that a later run knows what a killed one left.
const std::string stagingPrefix = std::string(ownFilePrefix) + "staging-";
// Files this large are written on a thread of their own while the rest are written.
constexpr qsizetype writtenAsideBytes = 4 << 20;

InstallFault& faultHook()
{
    static InstallFault hook;
    return hook;
}

int injected(const fs::path& file, bool commit)
{
    const InstallFault& hook = faultHook();
    return hook ? hook(file, commit) : 0;
}

std::string newStagingName()
{
    static std::atomic<unsigned> serial{0};
    return stagingPrefix + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1));
}

QString line(const QString& action, const fs::path& path, int error)
{
    return QStringLiteral("%1 \"%2\": %3").arg(action, displayPath(path), QString::fromLocal8Bit(std::strerror(error)));
}

// The process's umask, read without changing it: threads may be making files meanwhile.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& text : status.readAll().split('\n'))
            if (text.startsWith("Umask:"))
                return mode_t(text.mid(6).trimmed().toUInt(nullptr, 8));
    return 022;
}

// Gives errno when the folder can't be written, or 0. The owner's write bit is the user's word
// that a thing is not to change, even for root.
int writable(const struct stat& status, int folder)
{
    if (::faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return errno;
    return status.st_mode & S_IWUSR ? 0 : EACCES;
}

// Exchanges two entries of a folder; where the file system can't, the old one steps aside for a
// moment. Afterwards `staged` names what `name` named. Gives errno, or 0.
int exchange(int folder, const std::string& staged, const std::string& name)
{
    if (::renameat2(folder, staged.c_str(), folder, name.c_str(), RENAME_EXCHANGE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    const std::string aside = newStagingName();
    if (::renameat(folder, name.c_str(), folder, aside.c_str()) != 0)
        return errno;
    if (::renameat(folder, staged.c_str(), folder, name.c_str()) != 0) {
        const int error = errno;
        ::renameat(folder, aside.c_str(), folder, name.c_str());
        return error;
    }
    return ::renameat(folder, aside.c_str(), folder, staged.c_str()) == 0 ? 0 : errno;
}

// Moves an entry to a name nothing holds yet. Gives errno, or 0.
int moveToFree(int folder, const std::string& from, const std::string& to)
{
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    struct stat status {};
    if (::fstatat(folder, to.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
}

void removeEntry(int folder, const fs::path& folderPath, const std::string& name)
{
    struct stat status {};
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (S_ISDIR(status.st_mode)) {
        std::error_code ignored;
        fs::remove_all(folderPath / name, ignored);
    } else {
        ::unlinkat(folder, name.c_str(), 0);
    }
}

// Each on disk, a few at once: the disk takes them together, where one by one each waits for the
// one before.
constexpr std::size_t maxFlushedTogether = 256;

// The first error, if one fails.
int syncSideBySide(const std::vector<int>& descriptors)
{
    std::atomic<std::size_t> next{0};
    std::atomic<int> failure{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < descriptors.size(); i = next++)
            if (::fsync(descriptors[i]) != 0) {
                int none = 0;
                failure.compare_exchange_strong(none, errno);
            }
    };
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < std::min<std::size_t>(descriptors.size(), 4); ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return failure;
}

// What a killed run left: its process is gone, and no run holds a staged folder's lock.
void removeAbandoned(int folder, const fs::path& folderPath)
{
    for (const std::string& name : namesIn(FileDescriptor(::dup(folder)))) {
        if (name.rfind(stagingPrefix, 0) != 0)
            continue;
        const pid_t owner = static_cast<pid_t>(std::atol(name.c_str() + stagingPrefix.size()));
        if (owner > 0 && (::kill(owner, 0) == 0 || errno != ESRCH))
            continue;
        const FileDescriptor entry(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (entry.isOpen() && ::flock(entry.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        removeEntry(folder, folderPath, name);
    }
}

// kept: where the written file stays open, to be flushed with others; closed otherwise.
int writeStaged(int folder, const std::string& name, const QByteArray& bytes, FileDescriptor* kept = nullptr)
{
    FileDescriptor file(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.isOpen())
        return errno;
    if (const int error = writeAll(file.get(), bytes))
        return error;
    if (kept) {
        *kept = std::move(file);
        return 0;
    }
    return file.close() ? 0 : errno;
}

// Whether the folder, not followed, holds exactly these files (paths inside it) with these bytes.
bool folderHolds(int parent, const std::string& name, const std::map<QString, const QByteArray*>& files)
{
    const FileDescriptor top(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!top.isOpen())
        return false;
    std::size_t seen = 0;
    std::function<bool(const FileDescriptor&, const QString&)> walk
        = [&](const FileDescriptor& at, const QString& prefix) {
              for (const std::string& entry : namesIn(at)) {
                  const QString path = prefix + displayPath(entry);
                  struct stat status {};
                  if (::fstatat(at.get(), entry.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
                      return false;
                  if (S_ISDIR(status.st_mode)) {
                      const FileDescriptor inner(
                          ::openat(at.get(), entry.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                      if (!inner.isOpen() || !walk(inner, path + QLatin1Char('/')))
                          return false;
                      continue;
                  }
                  const auto wanted = files.find(path);
                  if (wanted == files.end() || !holdsBytes(at, entry, *wanted->second))
                      return false;
                  ++seen;
              }
              return true;
          };
    return walk(top, {}) && seen == files.size();
}

// Why a folder about to be replaced whole can't go: a folder in it that can't be written, or a
// file in it that is read-only.
std::optional<QString> cantReplace(const fs::path& folder)
{
    struct stat top {};
    if (::lstat(folder.c_str(), &top) == 0 && (::access(folder.c_str(), W_OK | X_OK) != 0 || !(top.st_mode & S_IWUSR)))
        return line(QStringLiteral("Couldn't replace the folder"), folder, errno ? errno : EACCES);
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        struct stat status {};
        if (::lstat(it->path().c_str(), &status) != 0)
            continue;
        if (S_ISLNK(status.st_mode)) // put there by someone, for a reason Quorva can't know
            return QStringLiteral("Couldn't replace the folder \"%1\": it holds a symbolic link, %2")
                .arg(displayPath(folder), displayPath(it->path()));
        const bool isFolder = S_ISDIR(status.st_mode);
        if (isFolder ? ::access(it->path().c_str(), W_OK | X_OK) != 0 || !(status.st_mode & S_IWUSR)
                     : S_ISREG(status.st_mode) && !(status.st_mode & S_IWUSR))
            return line(isFolder ? QStringLiteral("Couldn't replace the folder") : QStringLiteral("Couldn't replace"),
                        it->path(), EACCES);
    }
    return std::nullopt;
}

struct Entry {
    enum class Kind { File, Whole, Removal } kind = Kind::File;
    std::size_t placement = 0;
    QString path;   // below the root
    QString parent; // the folder it lies in, below the root; empty for the root
    std::string name;
    const PlannedFile* file = nullptr;
    std::map<QString, const QByteArray*> inner; // a whole folder's files, by their paths inside it
    bool existed = false, unchanged = false, swapped = false;
    std::string staged; // the staging name in the parent: the new one, then the old one once swapped
};

struct FolderState {
    FileDescriptor fd;
    fs::path path;
    bool missing = false;
};

class Transaction {
public:
    explicit Transaction(const std::vector<Placement>& placements) : m_placements(placements) {}

    InstallReport run()
    {
        if (!survey() || !checkRoom() || !stage() || !commit()) {
            rollBack();
            return m_report;
        }
        finish();
        return m_report;
    }

private:
    const std::vector<Placement>& m_placements;
    std::vector<fs::path> m_roots;
    std::vector<FileDescriptor> m_rootFds;
    std::vector<std::vector<fs::path>> m_missingRoots; // by placement: what this run must make, outermost first
    std::vector<fs::path> m_madeRoots;
    std::map<std::pair<std::size_t, QString>, FolderState> m_folders;
    std::vector<std::pair<std::size_t, QString>> m_created; // folders below a root made by this run
    std::vector<Entry> m_entries;
    InstallReport m_report;

    bool fail(const QString& failure)
    {
        m_report.failures << failure;
        return false;
    }

    fs::path full(std::size_t placement, const QString& path) const
    {
        return path.isEmpty() ? m_roots[placement] : m_roots[placement] / toPath(path);
    }

    bool openRoots()
    {
        for (const Placement& placement : m_placements) {
            const fs::path root = placement.root.empty() ? fs::path(".") : placement.root;
            m_roots.push_back(root);
            m_missingRoots.emplace_back();
            std::error_code error;
            if (!fs::exists(root, error) && placement.makeRoot) {
                fs::path existing = root;
                std::vector<fs::path> missing;
                while (!existing.empty() && !fs::exists(existing, error)) {
                    missing.insert(missing.begin(), existing);
                    existing = existing.has_parent_path() && existing.parent_path() != existing ? existing.parent_path()
                                                                                                : fs::path();
                }
                if (!existing.empty() && !fs::is_directory(existing, error))
                    return fail(line(QStringLiteral("Couldn't create the folder"), existing, ENOTDIR));
                m_missingRoots.back() = missing;
                m_rootFds.emplace_back();
                continue;
            }
            FileDescriptor fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (!fd.isOpen())
                return fail(line(QStringLiteral("Couldn't create the folder"), root, errno));
            m_rootFds.push_back(std::move(fd));
        }
        return true;
    }

    // Opens a folder below a root, not making anything; a folder of it that is missing is noted
    // as to be made.
    FolderState* folder(std::size_t placement, const QString& relative)
    {
        const auto key = std::pair(placement, relative);
        if (auto found = m_folders.find(key); found != m_folders.end())
            return &found->second;
        FolderState state;
        state.path = full(placement, relative);
        if (relative.isEmpty()) {
            state.missing = !m_rootFds[placement].isOpen();
            if (!state.missing)
                state.fd = FileDescriptor(::dup(m_rootFds[placement].get()));
        } else {
            const int slash = relative.lastIndexOf(QLatin1Char('/'));
            FolderState* parent = folder(placement, slash < 0 ? QString() : relative.left(slash));
            if (!parent)
                return nullptr;
            const std::string name = toPath(relative.mid(slash + 1)).string();
            if (parent->missing) {
                state.missing = true;
            } else {
                struct stat status {};
                if (::fstatat(parent->fd.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                    if (errno != ENOENT) {
                        fail(line(QStringLiteral("Couldn't create the folder"), state.path, errno));
                        return nullptr;
                    }
                    state.missing = true;
                } else if (auto error
                           = openFolderIn(parent->fd, parent->path, name, m_roots[placement], false, state.fd)) {
                    fail(*error);
                    return nullptr;
                }
            }
        }
        return &m_folders.emplace(key, std::move(state)).first->second;
    }

    bool addEntries()
    {
        for (std::size_t p = 0; p < m_placements.size(); ++p) {
            const Plan& plan = m_placements[p].plan;
            std::set<QString> named;
            const auto valid = [&](const QString& path) {
                const QStringList parts = path.split(QLatin1Char('/'));
                return !path.isEmpty() && std::all_of(parts.begin(), parts.end(), isSingleComponent)
                    && !toPath(parts.back()).string().starts_with(stagingPrefix);
            };
            const auto entryFor = [&](Entry::Kind kind, const QString& path) {
                Entry entry;
                entry.kind = kind;
                entry.placement = p;
                entry.path = path;
                const int slash = path.lastIndexOf(QLatin1Char('/'));
                entry.parent = slash < 0 ? QString() : path.left(slash);
                entry.name = toPath(path.mid(slash + 1)).string();
                return entry;
            };
            std::map<QString, std::size_t> wholes;
            for (const QString& whole : plan.wholeFolders) {
                if (!valid(whole))
                    return fail(line(QStringLiteral("Couldn't write"), full(p, whole), EINVAL));
                wholes[whole] = m_entries.size();
                m_entries.push_back(entryFor(Entry::Kind::Whole, whole));
            }
            for (const PlannedFile& file : plan.files) {
                if (!valid(file.path) || !named.insert(file.path).second)
                    return fail(line(QStringLiteral("Couldn't write"), full(p, file.path), EINVAL));
                bool inWhole = false;
                for (const auto& [whole, index] : wholes)
                    if (file.path.startsWith(whole + QLatin1Char('/'))) {
                        m_entries[index].inner[file.path.mid(whole.size() + 1)] = &file.bytes;
                        inWhole = true;
                    }
                if (inWhole)
                    continue;
                Entry entry = entryFor(Entry::Kind::File, file.path);
                entry.file = &file;
                m_entries.push_back(std::move(entry));
            }
            for (const QString& removal : plan.removals)
                if (valid(removal) && !named.count(removal))
                    m_entries.push_back(entryFor(Entry::Kind::Removal, removal));
        }
        return true;
    }

    // Step 1: what is in the way, before anything is written.
    bool survey()
    {
        if (!openRoots() || !addEntries())
            return false;
        for (Entry& entry : m_entries) {
            FolderState* parent = folder(entry.placement, entry.parent);
            if (!parent)
                return false;
            const fs::path path = full(entry.placement, entry.path);
            struct stat status {};
            entry.existed = !parent->missing
                && ::fstatat(parent->fd.get(), entry.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
            if (!entry.existed) {
                if (!parent->missing && errno != ENOENT)
                    return fail(line(QStringLiteral("Couldn't write"), path, errno));
                entry.unchanged = entry.kind == Entry::Kind::Removal;
                continue;
            }
            switch (entry.kind) {
            case Entry::Kind::File:
                if (S_ISLNK(status.st_mode))
                    return fail(QStringLiteral("Couldn't write \"%1\": it is a symbolic link, which Quorva does not "
                                               "write through")
                                    .arg(displayPath(path)));
                if (S_ISDIR(status.st_mode))
                    return fail(line(QStringLiteral("Couldn't write"), path, EISDIR));
                if (!S_ISREG(status.st_mode))
                    return fail(
                        QStringLiteral("Couldn't write \"%1\": it is not a regular file").arg(displayPath(path)));
                if (entry.file->keepExisting || holdsBytes(parent->fd, entry.name, entry.file->bytes)) {
                    entry.unchanged = true;
                    continue;
                }
                if (!(status.st_mode & S_IWUSR))
                    return fail(QStringLiteral("Couldn't replace \"%1\": it is read-only").arg(displayPath(path)));
                break;
            case Entry::Kind::Whole:
                if (S_ISLNK(status.st_mode))
                    return fail(QStringLiteral("Couldn't replace \"%1\": it is a symbolic link, which Quorva does not "
                                               "write through")
                                    .arg(displayPath(path)));
                if (!S_ISDIR(status.st_mode))
                    return fail(line(QStringLiteral("Couldn't replace"), path, ENOTDIR));
                if (folderHolds(parent->fd.get(), entry.name, entry.inner)) {
                    entry.unchanged = true;
                    continue;
                }
                if (auto error = cantReplace(path))
                    return fail(*error);
                break;
            case Entry::Kind::Removal:
                if (S_ISDIR(status.st_mode)) { // not a file an earlier run wrote
                    entry.unchanged = true;
                    continue;
                }
                break;
            }
        }
        // Every folder that changes must be one that can be written.
        std::set<std::pair<std::size_t, QString>> checked;
        for (const Entry& entry : m_entries) {
            if (entry.unchanged || !checked.insert({entry.placement, entry.parent}).second)
                continue;
            FolderState* parent = folder(entry.placement, entry.parent);
            if (parent->missing)
                continue;
            struct stat status {};
            const int error = ::fstat(parent->fd.get(), &status) != 0 ? errno : writable(status, parent->fd.get());
            if (error)
                return fail(line(QStringLiteral("Couldn't write into the folder"), parent->path, error));
        }
        return true;
    }

    bool checkRoom()
    {
        std::map<std::size_t, std::size_t> needed; // by placement
        for (const Entry& entry : m_entries) {
            if (entry.unchanged)
                continue;
            std::size_t bytes = 0;
            if (entry.kind == Entry::Kind::File)
                bytes = std::size_t(entry.file->bytes.size());
            for (const auto& [path, inner] : entry.inner)
                bytes += std::size_t(inner->size()) + 4096;
            needed[entry.placement] += bytes + 4096;
        }
        for (const auto& [placement, bytes] : needed) {
            fs::path probe = m_roots[placement];
            std::error_code error;
            while (!probe.empty() && !fs::exists(probe, error))
                probe = probe.parent_path();
            struct statvfs room {};
            if (probe.empty() || ::statvfs(probe.c_str(), &room) != 0)
                continue;
            const auto free = std::size_t(room.f_bavail) * std::size_t(room.f_frsize);
            if (free < bytes)
                return fail(QStringLiteral("Couldn't write into \"%1\": %2 (%3 KB are needed, %4 KB are free)")
                                .arg(displayPath(m_roots[placement]), QString::fromLocal8Bit(std::strerror(ENOSPC)))
                                .arg((bytes + 1023) / 1024)
                                .arg(free / 1024));
        }
        return true;
    }

    // Makes a missing folder below a root, and those above it.
    bool make(std::size_t placement, const QString& relative)
    {
        FolderState& state = m_folders.at({placement, relative});
        if (!state.missing)
            return true;
        if (relative.isEmpty()) {
            for (const fs::path& missing : m_missingRoots[placement]) {
                if (const int error = injected(missing, false))
                    return fail(line(QStringLiteral("Couldn't create the folder"), missing, error));
                if (::mkdir(missing.c_str(), 0777) == 0)
                    m_madeRoots.push_back(missing);
                else if (errno != EEXIST)
                    return fail(line(QStringLiteral("Couldn't create the folder"), missing, errno));
            }
            m_rootFds[placement]
                = FileDescriptor(::open(m_roots[placement].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            state.fd = FileDescriptor(::dup(m_rootFds[placement].get()));
            if (!state.fd.isOpen())
                return fail(line(QStringLiteral("Couldn't create the folder"), m_roots[placement], errno));
            state.missing = false;
            return true;
        }
        const int slash = relative.lastIndexOf(QLatin1Char('/'));
        const QString above = slash < 0 ? QString() : relative.left(slash);
        folder(placement, above);
        if (!make(placement, above))
            return false;
        FolderState& parent = m_folders.at({placement, above});
        const std::string name = toPath(relative.mid(slash + 1)).string();
        if (const int error = injected(state.path, false))
            return fail(line(QStringLiteral("Couldn't create the folder"), state.path, error));
        if (::mkdirat(parent.fd.get(), name.c_str(), 0777) == 0)
            m_created.emplace_back(placement, relative);
        else if (errno != EEXIST) // made meanwhile by another run, as two sets going into a new catalog
            return fail(line(QStringLiteral("Couldn't create the folder"), state.path, errno));
        state.fd
            = FileDescriptor(::openat(parent.fd.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!state.fd.isOpen())
            return fail(line(QStringLiteral("Couldn't create the folder"), state.path, errno));
        state.missing = false;
        return true;
    }

    bool stageWhole(Entry& entry, FolderState& parent)
    {
        const fs::path path = full(entry.placement, entry.path);
        entry.staged = newStagingName();
        if (::mkdirat(parent.fd.get(), entry.staged.c_str(), 0700) != 0) {
            entry.staged.clear();
            return fail(line(QStringLiteral("Couldn't write"), path, errno));
        }
        const FileDescriptor stage(
            ::openat(parent.fd.get(), entry.staged.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!stage.isOpen() || ::flock(stage.get(), LOCK_EX) != 0)
            return fail(line(QStringLiteral("Couldn't write"), path, errno));
        // A folder made by mkdir would be open to others as the umask says.
        ::fchmod(stage.get(), 0777 & ~currentUmask());
        std::map<QString, FileDescriptor> inside;
        // Flushed together once all are written (or a few hundred, not to run out of descriptors),
        // and before the folder can be swapped in.
        std::vector<FileDescriptor> written;
        const auto flushWritten = [&written] {
            std::vector<int> descriptors;
            for (const FileDescriptor& fd : written)
                descriptors.push_back(fd.get());
            int error = syncSideBySide(descriptors);
            for (FileDescriptor& fd : written)
                if (!fd.close() && !error)
                    error = errno;
            written.clear();
            return error;
        };
        for (const auto& [relative, bytes] : entry.inner) {
            const QStringList parts = relative.split(QLatin1Char('/'));
            int at = stage.get();
            QString prefix;
            for (int i = 0; i + 1 < parts.size(); ++i) {
                prefix += (i ? QStringLiteral("/") : QString()) + parts[i];
                auto found = inside.find(prefix);
                if (found == inside.end()) {
                    const std::string name = toPath(parts[i]).string();
                    if (::mkdirat(at, name.c_str(), 0777) != 0 && errno != EEXIST)
                        return fail(line(QStringLiteral("Couldn't write"), path / toPath(prefix), errno));
                    found = inside
                                .emplace(prefix,
                                         FileDescriptor(::openat(at, name.c_str(),
                                                                 O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)))
                                .first;
                    if (!found->second.isOpen())
                        return fail(line(QStringLiteral("Couldn't write"), path / toPath(prefix), errno));
                }
                at = found->second.get();
            }
            const fs::path file = path / toPath(relative);
            int error = injected(file, false);
            if (!error)
                error = writeStaged(at, toPath(parts.back()).string(), *bytes, &written.emplace_back());
            if (!error && written.size() >= maxFlushedTogether)
                error = flushWritten();
            if (error)
                return fail(line(QStringLiteral("Couldn't write"), file, error));
        }
        if (const int error = flushWritten())
            return fail(line(QStringLiteral("Couldn't write"), path, error));
        std::vector<int> folders;
        for (const auto& [prefix, fd] : inside)
            folders.push_back(fd.get());
        syncSideBySide(folders);
        if (::fsync(stage.get()) != 0)
            return fail(line(QStringLiteral("Couldn't write"), path, errno));
        return true;
    }

    // Step 2: every new file and folder beside its place.
    bool stage()
    {
        // What killed runs left goes from every folder the plan lies in, whether or not this run
        // changes anything there.
        std::set<std::pair<std::size_t, QString>> swept;
        for (const Entry& entry : m_entries) {
            FolderState& parent = m_folders.at({entry.placement, entry.parent});
            if (!parent.missing && swept.insert({entry.placement, entry.parent}).second)
                removeAbandoned(parent.fd.get(), parent.path);
        }
        std::vector<Entry*> loose;
        for (Entry& entry : m_entries) {
            if (entry.unchanged)
                continue;
            if (!make(entry.placement, entry.parent))
                return false;
            FolderState& parent = m_folders.at({entry.placement, entry.parent});
            if (entry.kind == Entry::Kind::Whole) {
                if (!stageWhole(entry, parent))
                    return false;
                continue;
            }
            if (entry.kind == Entry::Kind::Removal)
                continue;
            entry.staged = newStagingName();
            loose.push_back(&entry);
        }
        // A photograph's large files are written on threads of their own while the rest are
        // written here, so that a call on the window's thread holds it up for the longest one only.
        std::vector<std::pair<Entry*, std::future<int>>> writes;
        for (Entry* entry : loose) {
            const fs::path path = full(entry->placement, entry->path);
            const int fd = m_folders.at({entry->placement, entry->parent}).fd.get();
            if (const int error = injected(path, false)) {
                writes.emplace_back(entry, std::async(std::launch::deferred, [error] { return error; }));
                break;
            }
            const auto write = [fd, entry] { return writeStaged(fd, entry->staged, entry->file->bytes); };
            writes.emplace_back(entry,
                                std::async(entry->file->bytes.size() >= writtenAsideBytes && entry != loose.back()
                                               ? std::launch::async
                                               : std::launch::deferred,
                                           write));
        }
        std::optional<QString> failure;
        for (auto& [entry, write] : writes)
            if (const int error = write.get(); error && !failure)
                failure = line(QStringLiteral("Couldn't write"), full(entry->placement, entry->path), error);
        return failure ? fail(*failure) : true;
    }

    // Step 3: swapped in, one by one; the files to remove step aside.
    bool commit()
    {
        for (Entry& entry : m_entries) {
            if (entry.unchanged)
                continue;
            const int folder = m_folders.at({entry.placement, entry.parent}).fd.get();
            const fs::path path = full(entry.placement, entry.path);
            int error = injected(path, true);
            if (!error) {
                if (entry.kind == Entry::Kind::Removal) {
                    entry.staged = newStagingName();
                    error = moveToFree(folder, entry.name, entry.staged);
                    if (error)
                        entry.staged.clear();
                } else {
                    error = entry.existed ? exchange(folder, entry.staged, entry.name)
                                          : moveToFree(folder, entry.staged, entry.name);
                }
            }
            if (error == EEXIST && entry.file && entry.file->keepExisting) {
                // Made meanwhile by another run: that one will do.
                const FolderState& parent = m_folders.at({entry.placement, entry.parent});
                removeEntry(parent.fd.get(), parent.path, entry.staged);
                entry.staged.clear();
                entry.unchanged = true;
                continue;
            }
            if (error)
                return fail(line(entry.kind == Entry::Kind::Removal ? QStringLiteral("Couldn't remove")
                                                                    : QStringLiteral("Couldn't write"),
                                 path, error));
            entry.swapped = true;
        }
        return true;
    }

    void rollBack()
    {
        for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
            if (!entry->swapped)
                continue;
            const int folder = m_folders.at({entry->placement, entry->parent}).fd.get();
            if (entry->kind == Entry::Kind::Removal)
                moveToFree(folder, entry->staged, entry->name);
            else if (entry->existed)
                exchange(folder, entry->staged, entry->name);
            else
                moveToFree(folder, entry->name, entry->staged);
            entry->swapped = false;
        }
        for (const Entry& entry : m_entries)
            if (!entry.staged.empty() && !(entry.kind == Entry::Kind::Removal && entry.swapped)) {
                const FolderState& parent = m_folders.at({entry.placement, entry.parent});
                if (entry.kind != Entry::Kind::Removal)
                    removeEntry(parent.fd.get(), parent.path, entry.staged);
            }
        for (auto made = m_created.rbegin(); made != m_created.rend(); ++made)
            ::rmdir(full(made->first, made->second).c_str());
        for (auto made = m_madeRoots.rbegin(); made != m_madeRoots.rend(); ++made)
            ::rmdir(made->c_str());
    }

    // Step 4: what was replaced goes.
    void finish()
    {
        std::set<std::pair<std::size_t, QString>> synced;
        std::vector<int> folders;
        for (const Entry& entry : m_entries)
            if (entry.swapped && synced.insert({entry.placement, entry.parent}).second)
                folders.push_back(m_folders.at({entry.placement, entry.parent}).fd.get());
        syncSideBySide(folders);
        for (const Entry& entry : m_entries) {
            const fs::path path = full(entry.placement, entry.path);
            if (entry.kind == Entry::Kind::Removal) {
                if (entry.swapped)
                    m_report.removed << entry.path;
            } else if (entry.kind == Entry::Kind::File) {
                (entry.unchanged ? m_report.unchanged : m_report.written).push_back(path);
            } else {
                for (const auto& [relative, bytes] : entry.inner)
                    (entry.unchanged ? m_report.unchanged : m_report.written).push_back(path / toPath(relative));
            }
            if (!entry.swapped || !entry.existed || entry.staged.empty())
                continue;
            const FolderState& parent = m_folders.at({entry.placement, entry.parent});
            removeEntry(parent.fd.get(), parent.path, entry.staged);
            struct stat status {};
            if (::fstatat(parent.fd.get(), entry.staged.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0)
                // Past every check: the new one stays, whole.
                m_report.failures << QStringLiteral(
                                         "%1: the new one is in, but what is left of the old one could not be removed "
                                         "from %2")
                                         .arg(displayPath(path), displayPath(parent.path / entry.staged));
        }
        for (const Entry& entry : m_entries)
            if (entry.kind == Entry::Kind::Removal && entry.swapped) {
                const FolderState& parent = m_folders.at({entry.placement, entry.parent});
                removeEntry(parent.fd.get(), parent.path, entry.staged);
            }
    }
};

} // namespace

InstallReport install(const std::vector<Placement>& placements)
{
    return Transaction(placements).run();
}

InstallReport install(const fs::path& root, const Plan& plan, bool makeRoot)
{
    return install(std::vector<Placement>{{root, plan, makeRoot}});
}

void setInstallFaultForTesting(InstallFault fault)
{
    faultHook() = std::move(fault);
}

} // namespace quorva
