#include "android/resfolderwriter.h"

#include "android/androiddensity.h"
#include "android/resfolder.h"
#include "generation/sidebyside.h"
#include "png/pngencoder.h"
#include "support/fileio.h"
#include "support/paths.h"
#include "target/installer.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstring>

#include <fcntl.h>
#include <map>
#include <memory>
#include <vector>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxListBytes = 64 * 1024;

// The hidden list of the files a run wrote for the icon, which Android's build passes over.
QString listName(const QString& name)
{
    return QLatin1String(ownFilePrefix) + name;
}

const QString playStoreKey = QStringLiteral("play store icon"); // no path of res: it has a slash in none

// A bitmap as lossless WebP: libwebp, through Qt's plugin, at quality 100.
std::optional<QByteArray> losslessWebp(const QImage& bitmap)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "webp");
    writer.setQuality(100);
    if (!writer.write(bitmap.convertToFormat(QImage::Format_ARGB32)))
        return std::nullopt;
    return bytes;
}

// How early a file of the plan is made: the densest folder's first, the rest after.
int order(const QString& path)
{
    const std::vector<AndroidDensity>& densities = androidDensities();
    for (std::size_t i = 0; i < densities.size(); ++i)
        if (path.startsWith(densities[i].folder + QLatin1Char('/')))
            return -int(i);
    return 1;
}

// The plan's PNG files and the Play Store icon, each made and encoded side by side, the largest
// first so that no large one is left to end the run alone.
std::map<QString, std::optional<QByteArray>> encoded(const AndroidIconPlan& plan, bool playStore)
{
    using Encode = std::function<std::optional<QByteArray>()>;
    std::vector<std::pair<QString, Encode>> files;
    if (playStore && plan.playStore)
        files.emplace_back(playStoreKey, [make = plan.playStore]() -> std::optional<QByteArray> {
            const ImageRef icon = make();
            return icon ? encodeRgbaPng(icon->representations().front()) : std::nullopt;
        });
    for (const auto& [path, maker] : plan.images)
        files.emplace_back(path,
                           [make = maker, webp = path.endsWith(QLatin1String(".webp"))]() -> std::optional<QByteArray> {
                               const ImageRef image = make();
                               if (!image)
                                   return std::nullopt;
                               return webp ? losslessWebp(image->representations().front()) : pngData(*image).bytes;
                           });
    std::stable_sort(files.begin() + (playStore && plan.playStore), files.end(),
                     [](const auto& a, const auto& b) { return order(a.first) < order(b.first); });
    std::vector<std::optional<QByteArray>> out(files.size());
    std::vector<std::function<void()>> tasks;
    for (std::size_t i = 0; i < files.size(); ++i)
        tasks.push_back([&, i] { out[i] = files[i].second(); });
    runSideBySide(tasks);
    std::map<QString, std::optional<QByteArray>> made;
    for (std::size_t i = 0; i < files.size(); ++i)
        made[files[i].first] = std::move(out[i]);
    return made;
}

// Whether a file of a res folder is one of the icon's: NAME or NAME_something, any extension.
bool isResourceOf(const QString& file, const QString& name)
{
    const QString resource = resourceName(file);
    return resource == name || resource.startsWith(name + QLatin1Char('_'));
}

} // namespace

AndroidFiles planAndroidFiles(const AndroidIconPlan& plan, bool playStore)
{
    AndroidFiles files;
    std::map<QString, std::optional<QByteArray>> made = encoded(plan, playStore);
    if (const auto icon = made.find(playStoreKey); icon != made.end()) {
        if (!icon->second)
            files.playStoreFailure = QStringLiteral("Couldn't make the Play Store icon");
        else if (icon->second->size() > playStoreIconMaxBytes)
            files.playStoreFailure
                = QStringLiteral("the Play Store icon would be %1 KB, over the 1024 KB Google Play "
                                 "takes: the art is too fine-grained to compress (noise or dithering)")
                      .arg(icon->second->size() / 1024);
        else
            files.playStore = std::move(icon->second);
        made.erase(icon);
    }
    for (auto& [path, bytes] : made) {
        if (!bytes)
            files.failures << QStringLiteral("%1: Couldn't make the image").arg(path);
        else
            files.plan.add(path, std::move(*bytes));
    }
    for (const auto& [path, text] : plan.texts)
        files.plan.add(path, text);
    std::sort(files.plan.files.begin(), files.plan.files.end(),
              [](const PlannedFile& a, const PlannedFile& b) { return a.path < b.path; });
    return files;
}

AndroidPlacement placeAndroidIcons(const fs::path& res, const AndroidFiles& icon, const QString& name,
                                   const std::optional<fs::path>& playStore, const QStringList& replacing,
                                   const std::optional<QStringList>& earlier)
{
    AndroidPlacement placed;
    for (const QString& failure : icon.failures)
        placed.failures << pathLine(res / toPath(failure.section(QLatin1Char(':'), 0, 0)),
                                    failure.section(QLatin1Char(':'), 1).trimmed());
    if (icon.playStoreFailure && playStore)
        placed.failures << pathLine(*playStore, *icon.playStoreFailure);
    if (!placed.failures.isEmpty())
        return placed;
    const FileDescriptor folder(::open(res.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const bool made = !folder.isOpen() && errno == ENOENT; // a new source set's: made with the icon
    if (!folder.isOpen() && !made) {
        placed.failures << pathLine(
            res, QStringLiteral("Couldn't open the res folder: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return placed;
    }
    // What the last run listed as its own.
    QByteArray oldList;
    if (!made)
        readFileIn(folder, toPath(listName(name)), maxListBytes, oldList);
    QStringList previous = earlier.value_or(QStringList());
    for (const QByteArray& line : oldList.split('\n'))
        if (!line.trimmed().isEmpty())
            previous << QString::fromUtf8(line.trimmed());

    Plan files = icon.plan;
    for (const PlannedFile& file : files.files)
        placed.written << file.path;
    // What the last run wrote and this one does not goes, and what would clash with this run's
    // files: only files of this icon's resources, whatever the list says.
    for (const QString& path : replacing + previous) {
        const QStringList parts = path.split(QLatin1Char('/'));
        if (!files.find(path) && parts.size() == 2 && isSingleComponent(parts[0]) && isSingleComponent(parts[1])
            && isResourceOf(parts[1], name) && !files.removals.contains(path)) {
            files.removals << path;
            if (replacing.contains(path) && !previous.contains(path))
                placed.replaced << path;
        }
    }
    if (earlier) {
        // The project's lock keeps the list: an older run's hidden one goes.
        if (!oldList.isEmpty())
            files.removals << listName(name);
    } else {
        // The list goes in first, naming what this run may write as well as what the last one
        // wrote, so that whatever a run killed midway leaves, the next one knows for its own.
        QStringList listed = previous + placed.written;
        listed.removeDuplicates();
        listed.sort();
        files.files.insert(files.files.begin(), PlannedFile{listName(name), listed.join('\n').toUtf8() + '\n'});
    }

    placed.placements.push_back({res, files, made});
    if (icon.playStore && playStore) {
        Plan store;
        store.add(displayPath(playStore->filename()), *icon.playStore);
        placed.placements.push_back(
            {playStore->parent_path().empty() ? fs::path(".") : playStore->parent_path(), store});
    }
    return placed;
}

AndroidWrite installAndroidPlacement(const AndroidPlacement& placed)
{
    AndroidWrite write;
    write.failures = placed.failures;
    write.forcing = placed.forcing;
    if (!write.failures.isEmpty() || placed.placements.empty())
        return write;
    const InstallReport report = install(placed.placements);
    write.failures = report.failures;
    if (report.failed())
        return write;
    write.written = placed.written;
    write.removed = report.removed;
    write.removed.sort();
    return write;
}

} // namespace quorva
