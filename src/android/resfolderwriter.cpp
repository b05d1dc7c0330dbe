#include "android/resfolderwriter.h"

#include "android/androiddensity.h"
#include "android/resfolder.h"
#include "png/pngencoder.h"
#include "support/fileio.h"
#include "support/paths.h"

#include <cstring>

#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
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

// How early a file of the plan is made: the densest folder's first, the rest after.
int order(const QString& path)
{
    const std::vector<AndroidDensity>& densities = androidDensities();
    for (std::size_t i = 0; i < densities.size(); ++i)
        if (path.startsWith(densities[i].folder + QLatin1Char('/')))
            return -int(i);
    return 1;
}

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
    for (const auto& [path, make] : plan.images)
        work->files.emplace_back(path, [make]() -> std::optional<QByteArray> {
            const ImageRef image = make();
            return image ? pngData(*image).bytes : std::nullopt;
        });
    std::stable_sort(work->files.begin() + (playStore && plan.playStore), work->files.end(),
                     [](const auto& a, const auto& b) { return order(a.first) < order(b.first); });
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
    const QString resource = resourceName(file);
    return resource == name || resource.startsWith(name + QLatin1Char('_'));
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
        write.failures << pathLine(
            res, QStringLiteral("Couldn't open the res folder: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return write;
    }
    removeAbandonedReplacements(folder, [&name](const std::string& file) {
        return QString::fromStdString(file) == manifestName(name);
    });
    // What the last run listed as its own.
    QByteArray oldManifest;
    readFileIn(folder, toPath(manifestName(name)), maxManifestBytes, oldManifest);
    QStringList previous;
    for (const QByteArray& line : oldManifest.split('\n'))
        if (!line.trimmed().isEmpty())
            previous << QString::fromUtf8(line.trimmed());

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
        QStringList listed = previous;
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
    for (const QString& path : replacing + previous) {
        // Only files of this icon's resources go, whatever the list says.
        const QStringList parts = path.split(QLatin1Char('/'));
        if (files.count(path) || parts.size() != 2 || !isSingleComponent(parts[0]) || !isSingleComponent(parts[1])
            || !isResourceOf(parts[1], name))
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

} // namespace quorva
