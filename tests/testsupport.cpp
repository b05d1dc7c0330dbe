#include "testsupport.h"

#include "generation/appiconset.h"
#include "generation/lineprinter.h"

#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <random>

namespace quorva::test {

QImage gradientImage(int width, int height, int border)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool outside = x < border || y < border || x >= width - border || y >= height - border;
            const int alpha = outside ? 0 : (y * 3 / std::max(1, height) == 1 ? 128 : 255);
            image.setPixel(x, y, qRgba(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1),
                                       (x + y) % 256, alpha));
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage solidImage(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(qPremultiply(colour));
    return image;
}

QImage randomImage(int width, int height, unsigned seed, bool opaque)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto value = static_cast<QRgb>(random());
            image.setPixel(x, y, opaque ? (value | 0xff000000u) : value);
        }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage decodeFile(const fs::path& file)
{
    return QImage(str(file));
}

QSize pixelSize(const fs::path& file)
{
    return decodeFile(file).size();
}

QString str(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

void savePngTo(const fs::path& file, const QImage& image)
{
    image.save(str(file), "PNG");
}

QString Scratch::savePng(const std::string& name, const QImage& image) const
{
    savePngTo(root / name, image);
    return str(root / name);
}

QStringList appIconTree()
{
    QStringList files = {QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/Contents.json")};
    for (const AppIconEntry& entry : appIconSizes()) {
        files << QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/") + entry.fileName;
        if (entry.fileName.startsWith(QLatin1String("ItunesArtwork")))
            files << QStringLiteral("Quorva/icon/iOS/") + entry.fileName;
    }
    files.sort();
    return files;
}

QStringList imageSetTree(const QString& name)
{
    const QString set = QStringLiteral("Quorva/asset/iOS/%1.imageset/").arg(name);
    return {set + "Contents.json", set + "asset@1x.png", set + "asset@2x.png", set + "asset@3x.png"};
}

QByteArray readBytes(const fs::path& file)
{
    QFile device(QString::fromStdString(file.string()));
    if (!device.open(QIODevice::ReadOnly))
        return {};
    return device.readAll();
}

void writeBytes(const fs::path& file, const QByteArray& bytes)
{
    QFile device(QString::fromStdString(file.string()));
    if (device.open(QIODevice::WriteOnly | QIODevice::Truncate))
        device.write(bytes);
}

int pngColourType(const QByteArray& png)
{
    return png.size() > 25 ? static_cast<unsigned char>(png[25]) : -1;
}

QStringList filesBelow(const fs::path& folder)
{
    QStringList files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file())
            files.append(QString::fromStdString(std::filesystem::relative(entry.path(), folder).string()));
    files.sort();
    return files;
}

ProgramRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

namespace {

bool setImmutable(const fs::path& path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

Unwritable::Unwritable(fs::path path) : m_path(std::move(path))
{
    if (::geteuid() == 0) {
        m_immutable = setImmutable(m_path, true);
        m_ok = m_immutable;
        return;
    }
    std::error_code error;
    std::filesystem::permissions(m_path,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write
                                     | std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove, error);
    m_ok = !error;
}

Unwritable::~Unwritable()
{
    if (m_immutable) {
        setImmutable(m_path, false);
        return;
    }
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add, error);
}

struct CapturedLines::Impl {
    mutable std::mutex mutex;
    QStringList lines;
    std::unique_ptr<ScopedLineSink> sink;
};

CapturedLines::CapturedLines() : m_impl(new Impl)
{
    m_impl->sink = std::make_unique<ScopedLineSink>([impl = m_impl](const QString& line) {
        std::lock_guard lock(impl->mutex);
        impl->lines.append(line);
    });
}

CapturedLines::~CapturedLines()
{
    m_impl->sink.reset();
    delete m_impl;
}

QStringList CapturedLines::lines() const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->lines;
}

} // namespace quorva::test
