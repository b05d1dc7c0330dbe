#include "support/fileio.h"

#include "support/paths.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

QString describe(const QString& action, const fs::path& path, int error)
{
    return QStringLiteral("%1 \"%2\": %3").arg(action, displayPath(path), QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

int writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

std::optional<QString> openFolderIn(const FileDescriptor& parent, const fs::path& parentPath, const fs::path& name,
                                    const fs::path& within, bool create, FileDescriptor& folder)
{
    const fs::path path = parentPath / name;
    const QString couldnt = QStringLiteral("Couldn't create the folder");
    if (create && ::mkdirat(parent.get(), name.c_str(), 0777) != 0 && errno != EEXIST)
        return describe(couldnt, path, errno);
    folder = FileDescriptor(::openat(parent.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.isOpen())
        return std::nullopt;
    const int error = errno;
    struct stat status {};
    if (::fstatat(parent.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(status.st_mode))
        return describe(couldnt, path, error == ELOOP ? ENOTDIR : error);
    if (!isWithin(resolvedPath(path), resolvedPath(within)))
        return QStringLiteral("Couldn't use the folder \"%1\": it is a symbolic link that leads out of \"%2\"")
            .arg(displayPath(path), displayPath(within));
    folder = FileDescriptor(::openat(parent.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.isOpen() ? std::nullopt : std::optional(describe(couldnt, path, errno));
}

bool holdsBytes(const FileDescriptor& folder, const fs::path& name, const QByteArray& bytes)
{
    const FileDescriptor file(::openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)
        || status.st_size != bytes.size())
        return false;
    char buffer[64 * 1024];
    qsizetype at = 0;
    while (at < bytes.size()) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || at + got > bytes.size() || std::memcmp(buffer, bytes.constData() + at, std::size_t(got)) != 0)
            return false;
        at += got;
    }
    return true;
}

int readFileIn(const FileDescriptor& folder, const fs::path& name, qint64 maxBytes, QByteArray& bytes)
{
    // Not blocking on a FIFO planted under the name; a regular file reads the same either way.
    const FileDescriptor file(::openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.isOpen())
        return errno;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        return errno;
    if (!S_ISREG(status.st_mode))
        return EINVAL;
    if (status.st_size > maxBytes)
        return EFBIG;
    // Room for what the file holds and one byte more, which tells a file that grew since; never the
    // whole bound up front, which a walk of many small files would pay for each time.
    bytes.resize(static_cast<qsizetype>(status.st_size) + 1);
    qint64 size = 0;
    while (size <= maxBytes) {
        if (size == bytes.size())
            bytes.resize(static_cast<qsizetype>(std::min<qint64>(maxBytes + 1, size * 2)));
        const ssize_t got = ::read(file.get(), bytes.data() + size, static_cast<std::size_t>(bytes.size() - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        size += got;
    }
    if (size > maxBytes) // it grew since
        return EFBIG;
    bytes.truncate(static_cast<qsizetype>(size));
    return 0;
}

std::vector<std::string> namesIn(const FileDescriptor& folder)
{
    std::vector<std::string> names;
    FileDescriptor listed(::openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(listed.isOpen() ? ::fdopendir(listed.get()) : nullptr,
                                                        &::closedir);
    if (!directory)
        return names;
    listed.release(); // the listing owns it now
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return names;
}

std::optional<QString> readFile(const QString& file, QByteArray& bytes)
{
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly))
        return QStringLiteral("Couldn't read \"%1\": %2").arg(file, device.errorString());
    bytes = device.readAll();
    if (device.error() != QFileDevice::NoError) // a folder opens, but gives no bytes
        return QStringLiteral("Couldn't read \"%1\": %2").arg(file, device.errorString());
    return std::nullopt;
}

QByteArray readUpTo(int fd, qint64 size)
{
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

std::optional<QByteArray> readSmallFile(const fs::path& path, qint64 maxBytes, bool followLinks)
{
    struct stat status {};
    if ((followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) != 0 || !S_ISREG(status.st_mode)
        || status.st_size > maxBytes)
        return std::nullopt;
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW)));
    if (!fd.isOpen())
        return std::nullopt;
    return readUpTo(fd.get(), status.st_size);
}

bool isPresent(const fs::path& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

bool isFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool isFolder(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

} // namespace quorva
