#include "testsupport.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include <sys/mount.h>
#include <sys/statvfs.h>

namespace quorva::test {

QImage gradientImage(int width, int height, int border)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool outside = x < border || y < border || x >= width - border || y >= height - border;
            const int alpha = outside ? 0 : (y * 3 / std::max(1, height) == 1 ? 128 : 255);
            image.setPixel(x, y,
                           qRgba(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), (x + y) % 256,
                                 alpha));
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
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, static_cast<QRgb>(random()) | (opaque ? 0xff000000u : 0));
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

SmallDisk::SmallDisk(const fs::path& where, std::size_t bytes) : folder(where)
{
    fs::create_directories(folder);
    const std::string size = "size=" + std::to_string(bytes);
    mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted)
        ::umount2(folder.c_str(), MNT_DETACH);
}

void SmallDisk::fill(std::size_t spare) const
{
    struct statvfs space {};
    if (::statvfs(folder.c_str(), &space) != 0)
        return;
    const std::size_t free = space.f_bavail * space.f_frsize;
    writeBytes(folder / ".filler", QByteArray(qsizetype(free > spare ? free - spare : 0), 'f'));
}

QString str(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

QImage decodeFile(const fs::path& file)
{
    return QImage(str(file));
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

QByteArray readBytes(const fs::path& file)
{
    QFile device(str(file));
    return device.open(QIODevice::ReadOnly) ? device.readAll() : QByteArray();
}

void writeBytes(const fs::path& file, const QByteArray& bytes)
{
    QFile device(str(file));
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
    for (const auto& entry : fs::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file())
            files.append(str(fs::relative(entry.path(), folder)));
    files.sort();
    return files;
}

Tree treeOf(const fs::path& folder)
{
    Tree tree;
    for (const QString& file : filesBelow(folder))
        tree[file] = readBytes(folder / file.toStdString());
    return tree;
}

Snapshot snapshotOf(const fs::path& folder)
{
    Snapshot snapshot;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const QString name = str(it->path().lexically_relative(folder));
        const fs::file_status status = it->symlink_status(error);
        const QByteArray mode = QByteArray::number(int(status.permissions()), 8);
        if (fs::is_symlink(status))
            snapshot[name] = "link to " + QByteArray::fromStdString(fs::read_symlink(it->path(), error).string());
        else if (fs::is_directory(status))
            snapshot[name] = "folder " + mode;
        else
            snapshot[name] = "file " + mode + " " + readBytes(it->path());
    }
    return snapshot;
}

QStringList differences(const Snapshot& before, const Snapshot& after)
{
    QStringList found;
    for (const auto& [name, what] : before) {
        const auto now = after.find(name);
        if (now == after.end())
            found << name + QStringLiteral(" is gone");
        else if (now->second != what)
            found << name + QStringLiteral(" changed");
    }
    for (const auto& [name, what] : after)
        if (!before.count(name))
            found << name + QStringLiteral(" is new");
    return found;
}

const std::map<QString, QSize>& classicAppIconSizes()
{
    static const std::map<QString, QSize> sizes = {
        {"Icon-App-20x20@1x.png", {20, 20}},    {"Icon-App-20x20@2x.png", {40, 40}},
        {"Icon-App-20x20@3x.png", {60, 60}},    {"Icon-App-29x29@1x.png", {29, 29}},
        {"Icon-App-29x29@2x.png", {58, 58}},    {"Icon-App-29x29@3x.png", {87, 87}},
        {"Icon-App-40x40@1x.png", {40, 40}},    {"Icon-App-40x40@2x.png", {80, 80}},
        {"Icon-App-40x40@3x.png", {120, 120}},  {"Icon-App-60x60@2x.png", {120, 120}},
        {"Icon-App-60x60@3x.png", {180, 180}},  {"Icon-App-76x76@1x.png", {76, 76}},
        {"Icon-App-76x76@2x.png", {152, 152}},  {"Icon-App-83.5x83.5@2x.png", {167, 167}},
        {"ItunesArtwork@1x.png", {512, 512}},   {"ItunesArtwork@2x.png", {1024, 1024}},
        {"ItunesArtwork@3x.png", {1536, 1536}},
    };
    return sizes;
}

QStringList appIconTree()
{
    QStringList files = {QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/Contents.json")};
    for (const auto& [file, size] : classicAppIconSizes()) {
        files << QStringLiteral("Quorva/icon/iOS/AppIcon.appiconset/") + file;
        if (file.startsWith(QLatin1String("ItunesArtwork")))
            files << QStringLiteral("Quorva/icon/iOS/") + file;
    }
    files.sort();
    return files;
}

QStringList imageSetTree(const QString& name)
{
    const QString set = QStringLiteral("Quorva/asset/iOS/%1.imageset/").arg(name);
    return {set + "Contents.json", set + "asset@1x.png", set + "asset@2x.png", set + "asset@3x.png"};
}

ProgramRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs,
                      const fs::path& workingFolder)
{
    QProcess process;
    if (!workingFolder.empty())
        process.setWorkingDirectory(str(workingFolder));
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

ProgramRun runCli(const QStringList& arguments)
{
    return runProgram(cliPath, arguments);
}

ProgramRun runCliIn(const fs::path& folder, const QStringList& arguments)
{
    return runProgram(cliPath, arguments, 120000, folder);
}

bool runCliKilledAtRandom(const QStringList& arguments, int run, std::chrono::microseconds wholeRun,
                          QRandomGenerator& random)
{
    QProcess process;
    process.start(cliPath, arguments);
    EXPECT_TRUE(process.waitForStarted());
    if (run % 10 == 9) {
        EXPECT_TRUE(process.waitForFinished(120000));
        return false;
    }
    std::this_thread::sleep_for(wholeRun * random.bounded(1.3));
    process.kill();
    process.waitForFinished();
    return true;
}

} // namespace quorva::test
