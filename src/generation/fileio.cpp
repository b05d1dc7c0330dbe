#include "generation/fileio.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorva {
namespace {

QString describe(const QString& action, const std::filesystem::path& path, int error)
{
    return QStringLiteral("%1 \"%2\": %3").arg(action, displayPath(path), QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

QString displayPath(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::optional<QString> createFoldersBelow(const std::filesystem::path& base, const std::filesystem::path& folder)
{
    std::error_code error;
    if (!std::filesystem::is_directory(base, error))
        return describe(QStringLiteral("Couldn't create the folder"), folder,
                        std::filesystem::exists(base, error) ? ENOTDIR : ENOENT);
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder, error))
        error = std::make_error_code(std::errc::not_a_directory);
    if (error)
        return describe(QStringLiteral("Couldn't create the folder"), folder, error.value());
    return std::nullopt;
}

std::optional<QString> writeFile(const std::filesystem::path& file, const QByteArray& bytes)
{
    // Overwritten in place and cut to length afterwards, rather than emptied first: a set is
    // rewritten many times with files of the same size, and emptying a file makes the file
    // system free its blocks and, on ext4, flush the new ones when it is closed.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return describe(QStringLiteral("Couldn't write"), file, errno);
    const char* data = bytes.constData();
    auto remaining = static_cast<std::size_t>(bytes.size());
    while (remaining > 0) {
        const ssize_t written = ::write(fd, data, remaining);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            ::close(fd);
            return describe(QStringLiteral("Couldn't write"), file, error);
        }
        data += written;
        remaining -= static_cast<std::size_t>(written);
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > bytes.size()
        && ::ftruncate(fd, bytes.size()) != 0) {
        const int error = errno;
        ::close(fd);
        return describe(QStringLiteral("Couldn't write"), file, error);
    }
    if (::close(fd) != 0)
        return describe(QStringLiteral("Couldn't write"), file, errno);
    return std::nullopt;
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

} // namespace quorva
