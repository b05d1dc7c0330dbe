#include "android/resfolderwriter.h"

#include "android/androiddensity.h"
#include "png/pngencoder.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <cstring>

#include <QFile>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxManifestBytes = 64 * 1024;

QString manifestName(const QString& name)
{
    return QStringLiteral(".quorva-%1").arg(name);
}

const QString playStoreKey = QStringLiteral("play store icon"); // no path of res: it has a slash in none

// The plan's PNG files and the Play Store icon, each made and encoded by the pool's threads and
// the calling thread alike, which take the next file in turn, the largest first so that no large
// one is left to end the run alone: the work is done even when no pool thread is free.
std::map<QString, std::optional<QByteArray>> encoded(const AndroidIconPlan& plan, bool playStore)
{
    using Encode = std::function<std::optional<QByteArray>()>;
    struct Work {
        std::vector<std::pair<QString, Encode>> files;
        std::vector<std::optional<QByteArray>> out;
        std::atomic<std::size_t> next{0};
        std::mutex mutex;
        std::condition_variable done;
        std::size_t finished = 0;

        void run()
        {
            for (std::size_t i = next++; i < files.size(); i = next++) {
                std::optional<QByteArray> png = files[i].second();
                std::lock_guard lock(mutex);
                out[i] = std::move(png);
                if (++finished == files.size())
                    done.notify_all();
            }
        }
    };
    auto work = std::make_shared<Work>();
    if (playStore && plan.playStore)
        work->files.emplace_back(playStoreKey, [make = plan.playStore]() -> std::optional<QByteArray> {
            const ImageRef icon = make();
            return icon ? encodeRgbaPng(icon->representations().front()) : std::nullopt;
        });
    for (auto density = androidDensities().rbegin(); density != androidDensities().rend(); ++density)
        for (const auto& [path, make] : plan.images)
            if (path.startsWith(density->folder + QLatin1Char('/')))
                work->files.emplace_back(path, [make]() -> std::optional<QByteArray> {
                    const ImageRef image = make();
                    return image ? pngData(*image).bytes : std::nullopt;
                });
    for (const auto& [path, make] : plan.images) // any other folder's, last
        if (std::none_of(work->files.begin(), work->files.end(), [&](const auto& file) { return file.first == path; }))
            work->files.emplace_back(path, [make]() -> std::optional<QByteArray> {
                const ImageRef image = make();
                return image ? pngData(*image).bytes : std::nullopt;
            });
    work->out.resize(work->files.size());
    for (int helper = 1; helper < QThreadPool::globalInstance()->maxThreadCount(); ++helper)
        QThreadPool::globalInstance()->start([work] { work->run(); });
    work->run();
    std::unique_lock lock(work->mutex);
    work->done.wait(lock, [&] { return work->finished == work->files.size(); });
    std::map<QString, std::optional<QByteArray>> files;
    for (std::size_t i = 0; i < work->files.size(); ++i)
        files[work->files[i].first] = std::move(work->out[i]);
    return files;
}

// Whether a file of a res folder is one of the icon's: NAME or NAME_something, any extension.
bool isResourceOf(const QString& file, const QString& name)
{
    return file.startsWith(name) && file.size() > name.size()
        && (file[name.size()] == QLatin1Char('.') || file[name.size()] == QLatin1Char('_'));
}

// The store icon, a 32-bit PNG as Play asks, put in whole where the user said.
std::optional<QString> writePlayStoreIcon(const std::optional<QByteArray>& png, const fs::path& file)
{
    if (!png)
        return pathLine(file, QStringLiteral("Couldn't make the Play Store icon"));
    if (png->size() > playStoreIconMaxBytes)
        return pathLine(file,
                        QStringLiteral("the Play Store icon would be %1 KB, over the 1024 KB Google Play takes: "
                                       "the art is too fine-grained to compress (noise or dithering)")
                            .arg(png->size() / 1024));
    const fs::path parent = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const FileDescriptor folder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen())
        return pathLine(file,
                        QStringLiteral("Couldn't write the Play Store icon: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return replaceFile(folder, parent, file.filename(), *png);
}

} // namespace

AndroidWrite writeAndroidIcons(const fs::path& res, const AndroidIconPlan& plan, const QString& name,
                               const std::optional<fs::path>& playStore, const QStringList& replacing)
{
    AndroidWrite write;
    const FileDescriptor folder(::open(res.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen()) {
        write.failures << QStringLiteral("%1: Couldn't open the res folder: %2")
                              .arg(displayPath(res), QString::fromLocal8Bit(std::strerror(errno)));
        return write;
    }
    removeAbandonedReplacements(folder, [&name](const std::string& file) {
        return QString::fromStdString(file) == manifestName(name);
    });
    QByteArray oldManifest;
    readFileIn(folder, toPath(manifestName(name)), maxManifestBytes, oldManifest);

    std::map<QString, QByteArray> files;
    std::map<QString, std::optional<QByteArray>> made = encoded(plan, playStore.has_value());
    std::optional<std::optional<QByteArray>> playStoreIcon;
    if (const auto icon = made.find(playStoreKey); icon != made.end()) {
        playStoreIcon = std::move(icon->second);
        made.erase(icon);
    }
    for (auto& [path, bytes] : made) {
        if (bytes)
            files[path] = std::move(*bytes);
        else
            write.failures << QStringLiteral("%1: Couldn't make the image").arg(displayPath(res / toPath(path)));
    }
    for (const auto& [path, text] : plan.texts)
        files[path] = text;
    // The list first names what this run may write as well as what the last one wrote, so that
    // whatever a run killed midway leaves, the next one knows for its own.
    {
        QStringList listed;
        for (const QByteArray& line : oldManifest.split('\n'))
            if (!line.trimmed().isEmpty())
                listed << QString::fromUtf8(line.trimmed());
        for (const auto& [path, bytes] : files)
            listed << path;
        listed.removeDuplicates();
        listed.sort();
        if (auto error = replaceFile(folder, res, toPath(manifestName(name)), listed.join('\n').toUtf8() + '\n')) {
            write.failures << *error;
            return write;
        }
    }
    std::map<QString, FileDescriptor> subfolders;
    for (const auto& [path, bytes] : files) {
        const QString sub = path.section(QLatin1Char('/'), 0, 0), file = path.section(QLatin1Char('/'), 1);
        if (!subfolders.count(sub)) {
            FileDescriptor opened;
            if (auto error = openFolderIn(folder, res, toPath(sub), res, true, opened)) {
                write.failures << *error;
                continue;
            }
            // What a killed run left of this icon's files goes; they were hidden from the build.
            removeAbandonedReplacements(opened, [&name](const std::string& file) {
                return isResourceOf(QString::fromStdString(file), name);
            });
            subfolders.emplace(sub, std::move(opened));
        }
        if (auto error = replaceFile(subfolders.at(sub), res / toPath(sub), toPath(file), bytes))
            write.failures << *error;
        else
            write.written << path;
    }
    if (playStoreIcon && playStore) {
        if (auto error = writePlayStoreIcon(*playStoreIcon, *playStore))
            write.failures << *error;
    }

    // What the last run wrote and this one did not goes, and what would clash with this run's
    // files; then the list is this run's.
    QStringList leaving = replacing;
    for (const QByteArray& line : oldManifest.split('\n'))
        leaving << QString::fromUtf8(line.trimmed());
    for (const QString& path : leaving) {
        // Only files of this icon's resources go, whatever the list says.
        const QStringList parts = path.split(QLatin1Char('/'));
        if (path.isEmpty() || files.count(path) || parts.size() != 2 || !isSingleComponent(parts[0])
            || !isSingleComponent(parts[1]) || !isResourceOf(parts[1], name))
            continue;
        FileDescriptor sub;
        if (!openFolderIn(folder, res, toPath(parts[0]), res, false, sub)
            && ::unlinkat(sub.get(), toPath(parts[1]).c_str(), 0) == 0)
            write.removed << path;
    }
    write.written.sort();
    if (auto error = replaceFile(folder, res, toPath(manifestName(name)), write.written.join('\n').toUtf8() + '\n'))
        write.failures << *error;
    return write;
}

QStringList clashingFiles(const fs::path& res, const AndroidIconPlan& plan)
{
    std::map<QString, std::set<QString>> written; // folder: file names
    for (const auto& [path, image] : plan.images)
        written[path.section(QLatin1Char('/'), 0, 0)].insert(path.section(QLatin1Char('/'), 1));
    for (const auto& [path, text] : plan.texts)
        written[path.section(QLatin1Char('/'), 0, 0)].insert(path.section(QLatin1Char('/'), 1));
    QStringList clashes;
    const FileDescriptor folder(::open(res.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const auto& [sub, names] : written) {
        FileDescriptor opened;
        if (!folder.isOpen() || openFolderIn(folder, res, toPath(sub), res, false, opened))
            continue;
        std::set<QString> resources; // a resource is named by its file's name up to the first dot
        for (const QString& name : names)
            resources.insert(name.section(QLatin1Char('.'), 0, 0));
        for (const std::string& entry : namesIn(opened)) {
            const QString name = QString::fromStdString(entry);
            if (!names.count(name) && resources.count(name.section(QLatin1Char('.'), 0, 0)))
                clashes << sub + QLatin1Char('/') + name;
        }
    }
    clashes.sort();
    return clashes;
}

std::optional<QString> colourDefinedElsewhere(const fs::path& res, const QString& colour, const QString& ownFile)
{
    std::error_code error;
    const QByteArray definition = QStringLiteral("name=\"%1\"").arg(colour).toUtf8();
    for (const fs::directory_entry& values : fs::directory_iterator(res, error)) {
        if (!values.path().filename().string().starts_with("values") || !values.is_directory(error))
            continue;
        for (const fs::directory_entry& file : fs::directory_iterator(values.path(), error)) {
            const QString relative = displayPath(file.path().lexically_relative(res));
            if (file.path().extension() != ".xml" || relative == ownFile || file.file_size(error) > (4 << 20))
                continue;
            QFile xml(displayPath(file.path()));
            if (xml.open(QIODevice::ReadOnly) && xml.readAll().contains(definition))
                return relative;
        }
    }
    return std::nullopt;
}

} // namespace quorva
