#include "apple/catalogwriter.h"

#include "apple/setcontents.h"
#include "support/fileio.h"
#include "support/lineprinter.h"
#include "support/paths.h"
#include "target/installer.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <unistd.h>

namespace quorva {
namespace fs = std::filesystem;
namespace {

constexpr qint64 maxOldContentsBytes = 1 << 20;
const PngResult noBitmap{std::nullopt, PngFailure::NoBitmap};

// The set folder below the destination, opened without making anything and without following a
// link out of the destination; closed when it is not there.
FileDescriptor openSetFolder(const fs::path& destination, const QString& setFolder)
{
    FileDescriptor folder(::open(destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    fs::path path = destination;
    for (const QString& part : setFolder.split(QLatin1Char('/'))) {
        if (!folder.isOpen())
            return {};
        FileDescriptor inner;
        if (openFolderIn(folder, path, toPath(part), destination, false, inner))
            return {};
        path /= toPath(part);
        folder = std::move(inner);
    }
    return folder;
}

// What of a set folder about to be written over goes: the files of the old set (those its
// Contents.json named, and the artwork) that the new one does not name; and what stays because
// neither set had it, which is the user's.
void tidy(const fs::path& destination, const CatalogSetPlan& set, Plan& plan, QStringList& kept)
{
    const FileDescriptor folder = openSetFolder(destination, set.setFolder);
    if (!folder.isOpen())
        return;
    QByteArray json;
    std::set<QString> before;
    if (readFileIn(folder, "Contents.json", maxOldContentsBytes, json) == 0)
        for (const QString& name : filesNamedIn(parseSetContents(json)))
            before.insert(name);
    const QStringList named = filesNamedIn(parseSetContents(set.contents));
    for (const std::string& entry : namesIn(folder)) {
        const QString name = displayPath(entry);
        const QString path = set.setFolder + QLatin1Char('/') + name;
        if (name == QLatin1String("Contents.json") || name.startsWith(QLatin1Char('.')) || named.contains(name)
            || plan.find(path))
            continue;
        if (!before.count(name) && !CatalogSetLayout::isArtwork(name))
            kept << name;
        else
            plan.removals << path;
    }
    std::sort(kept.begin(), kept.end());
}

} // namespace

QString CatalogSetLayout::fileNameFor(const QString& key) const
{
    return appendPngToKeys ? key + QStringLiteral(".png") : key;
}

bool CatalogSetLayout::copiesToPlatformFolder(const QString& key) const
{
    return copyArtworkToPlatformFolder && isArtwork(key);
}

bool CatalogSetLayout::isArtwork(const QString& key)
{
    return key.contains(QLatin1String("tunes"));
}

QString CatalogSetLayout::keyFor(const QString& fileName) const
{
    return appendPngToKeys && fileName.endsWith(QLatin1String(".png")) ? fileName.chopped(4) : fileName;
}

std::size_t CatalogSetLayout::fileCount(const QStringList& keys) const
{
    return static_cast<std::size_t>(keys.size()
                                    + std::count_if(keys.begin(), keys.end(),
                                                    [this](const QString& key) { return copiesToPlatformFolder(key); }))
        + 1;
}

SetContentsFile contentsOf(const CatalogSetLayout& layout)
{
    SetContentsFile file;
    if (layout.contents) {
        file.bytes = layout.contents;
        return file;
    }
    if (!QFile::exists(layout.templateResource)) {
        file.missing = true;
        file.error = QStringLiteral("Couldn't find the template %1").arg(layout.templateResource);
        return file;
    }
    QByteArray bytes;
    if (std::optional<QString> error = readFile(layout.templateResource, bytes))
        file.error = *error;
    else
        file.bytes = std::move(bytes);
    return file;
}

const CatalogSetLayout& appIconSetLayout()
{
    static const CatalogSetLayout layout{QStringLiteral("icon"), QStringLiteral(":/templates/Contents.json"),
                                         std::nullopt, false, true};
    return layout;
}

const CatalogSetLayout& imageSetLayout()
{
    static const CatalogSetLayout layout{QStringLiteral("asset"), QStringLiteral(":/templates/AssetContents.json"),
                                         std::nullopt, true, false};
    return layout;
}

CatalogSetLayout singleSizeAppIconSetLayout(QByteArray contents)
{
    return {QStringLiteral("icon"), {}, std::move(contents), false, false};
}

CatalogSetPlan planCatalogSet(const CatalogSetLayout& layout, const RenderedImages& images, const QString& setName)
{
    CatalogSetPlan set;
    if (!isSingleComponent(setName)) {
        set.failure = QStringLiteral("Couldn't create the set folder: \"%1\" is not a folder name").arg(setName);
        return set;
    }
    const QString platformFolder = QStringLiteral("Quorva/%1/%2").arg(layout.kindFolder, layout.platformFolder);
    set.setFolder = platformFolder + QLatin1Char('/') + setName;
    std::vector<PlannedFile> copies;
    for (const auto& [key, image] : images) {
        const QString fileName = layout.fileNameFor(key);
        const PngResult& png = image ? pngData(*image) : noBitmap;
        if (png.failure == PngFailure::NoBitmap || !png.bytes) {
            set.failure = png.failure == PngFailure::NoBitmap
                ? QStringLiteral("Couldn't encode \"%1\": the image has no bitmap").arg(fileName)
                : QStringLiteral("Couldn't encode \"%1\" as PNG").arg(fileName);
            set.printed = false;
            return set;
        }
        if (!isSingleComponent(fileName)) {
            set.failure = QStringLiteral("Couldn't write \"%1\": it is not a file name").arg(fileName);
            return set;
        }
        set.plan.add(set.setFolder + QLatin1Char('/') + fileName, *png.bytes);
        if (layout.copiesToPlatformFolder(key))
            copies.push_back({platformFolder + QLatin1Char('/') + key, *png.bytes});
    }
    // The artwork copies after the set's own files, as the set has always been written.
    set.plan.files.insert(set.plan.files.end(), copies.begin(), copies.end());
    const SetContentsFile contents = contentsOf(layout);
    if (!contents.bytes) {
        set.failure = contents.error;
        set.printed = !contents.missing;
        return set;
    }
    set.contents = *contents.bytes;
    set.plan.add(set.setFolder + QStringLiteral("/Contents.json"), set.contents);
    return set;
}

WriteReport installCatalogSet(const fs::path& destination, const CatalogSetPlan& set, bool makeDestination)
{
    WriteReport report;
    if (set.failure) {
        report.failures << *set.failure;
        return report;
    }
    Plan plan = set.plan;
    tidy(destination, set, plan, report.kept);
    report.add(install(destination, plan, makeDestination));
    if (!report.failed())
        report.setFolder = destination / toPath(set.setFolder);
    else
        report.kept.clear();
    return report;
}

WriteReport writeCatalogSet(const CatalogSetLayout& layout, const std::optional<RenderedImages>& images,
                            const std::optional<QString>& message, const std::optional<fs::path>& destination,
                            const std::function<QString()>& setFolderName)
{
    WriteReport report;
    if (message) {
        printLine(*message);
        report.failures << *message;
        return report;
    }
    if (!images || !destination)
        return report;
    const CatalogSetPlan set = planCatalogSet(layout, *images, setFolderName());
    report = installCatalogSet(*destination, set);
    if (!set.failure || set.printed)
        for (const QString& failure : report.failures)
            printLine(failure);
    return report;
}

WriteReport writeAppIconSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                            const std::optional<fs::path>& destination, const CatalogSetLayout& layout)
{
    return writeCatalogSet(layout, images, message, destination, [] { return QStringLiteral("AppIcon.appiconset"); });
}

WriteReport writeImageSet(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                          const std::optional<fs::path>& destination, const AssetNameSource& assetName)
{
    return writeCatalogSet(imageSetLayout(), images, message, destination, [&assetName] {
        const std::optional<QString> name = assetName ? assetName() : std::nullopt;
        return (name ? *name : QStringLiteral("asset")) + QStringLiteral(".imageset");
    });
}

} // namespace quorva
