#include "apple/imagefiles.h"

#include "support/fileio.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <libdeflate.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// Files up to this size are read whole and known by their bytes; larger ones, which no icon is,
// are read as a stream each time.
constexpr qint64 wholeFileBytes = 64 << 20;

QString reasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

ByteReader readerOf(int fd)
{
    return [fd](char* buffer, std::int64_t size) -> std::int64_t {
        for (;;) {
            const ssize_t got = ::read(fd, buffer, static_cast<std::size_t>(size));
            if (got >= 0 || errno != EINTR)
                return got;
        }
    };
}

// Whether any pixel of the PNG is less than fully opaque, its tRNS colours counted: the file
// decoded, which only the few store and watch icons with an alpha channel need.
bool decodeHasTransparentPixels(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image;
    return reader.read(&image) && hasTransparentPixels(image);
}

} // namespace

std::shared_ptr<const ImageFileFacts> ImageFiles::facts(const FileDescriptor& set, const fs::path& setPath,
                                                        const QString& name, const fs::path& catalog, bool pixels)
{
    auto facts = std::make_shared<ImageFileFacts>();
    const QByteArray encoded = QFile::encodeName(name);
    FileDescriptor file(::openat(set.get(), encoded.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.isOpen() && errno == ELOOP) {
        // A link: Xcode follows it; so does the check while it stays inside the catalog.
        const fs::path target = resolvedPath(setPath / toPath(name));
        if (!isWithin(target, resolvedPath(catalog))) {
            facts->state = ImageFileFacts::State::LinkOutside;
            facts->reason = displayPath(target);
            return facts;
        }
        file = FileDescriptor(::openat(set.get(), encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    }
    if (!file.isOpen()) {
        facts->state
            = errno == EACCES || errno == EPERM ? ImageFileFacts::State::Unreadable : ImageFileFacts::State::Missing;
        facts->reason = reasonOf(errno);
        return facts;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        facts->reason = QStringLiteral("it is not a file");
        return facts;
    }
    ::fcntl(file.get(), F_SETFL, 0); // a FIFO was refused above; a file reads as usual

    if (status.st_size > wholeFileBytes) {
        char head[16] = {};
        const ssize_t got = ::pread(file.get(), head, sizeof head, 0);
        const QByteArray start(head, got > 0 ? int(got) : 0);
        if (!start.startsWith("\x89PNG\r\n\x1a\n")) {
            facts->state = ImageFileFacts::State::OtherFormat;
            facts->otherFormat = otherImageFormat(start);
            return facts;
        }
        facts->state = ImageFileFacts::State::Png;
        facts->png = readPngStructure(readerOf(file.get()));
        return facts;
    }
    const QByteArray bytes = readUpTo(file.get(), status.st_size);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const Key key{bytes.size(), libdeflate_crc32(0, data, std::size_t(bytes.size())),
                  libdeflate_adler32(1, data, std::size_t(bytes.size()))};
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_known.find(key);
        if (found != m_known.end()
            && (!pixels || found->second->transparentPixels || !found->second->png.whole
                || !found->second->png.hasAlpha()))
            return found->second;
    }
    if (!bytes.startsWith("\x89PNG\r\n\x1a\n")) {
        facts->state = ImageFileFacts::State::OtherFormat;
        facts->otherFormat = otherImageFormat(bytes.left(16));
    } else {
        facts->state = ImageFileFacts::State::Png;
        facts->png = readPngStructure(bytes);
        if (pixels && facts->png.whole && facts->png.hasAlpha())
            facts->transparentPixels = decodeHasTransparentPixels(bytes);
    }
    std::lock_guard lock(m_mutex);
    m_known[key] = facts;
    return facts;
}

} // namespace quorva
