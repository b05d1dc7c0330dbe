#include "cli/generatecommand.h"

#include "catalog/setcontents.h"
#include "catalog/setinstaller.h"
#include "generation/appiconplan.h"
#include "generation/assetname.h"
#include "generation/catalogwriter.h"
#include "generation/fileio.h"
#include "generation/imageloading.h"
#include "generation/imageset.h"
#include "generation/localtaskqueues.h"
#include "generation/pngdata.h"

#include <memory>
#include <mutex>

namespace quorva {
namespace {

QString line(const std::filesystem::path& file, const QString& text)
{
    return QStringLiteral("%1: %2").arg(displayPath(file), text);
}

// What the completion calls of one job told; the failure form may come from a worker thread.
struct RunRecord {
    std::mutex mutex;
    std::optional<QString> jobMessage;
    bool delivered = false;
    std::optional<RenderedImages> lastImages; // kept only when the caller asks, for they are large
    std::optional<WriteReport> lastReport;
    std::optional<QString> installError; // set into a catalog: why it was not put in

    void record(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                std::optional<WriteReport> report = std::nullopt, bool keepImages = false)
    {
        std::lock_guard lock(mutex);
        if (message) {
            if (!jobMessage)
                jobMessage = message;
            return;
        }
        delivered = true;
        if (keepImages)
            lastImages = images;
        lastReport = std::move(report);
    }

    // The first failure of the job, if any: for a set written below a destination judged
    // against the number of files the whole set has.
    std::optional<QString> failure(const std::filesystem::path& source, std::size_t expectedFiles)
    {
        std::lock_guard lock(mutex);
        if (jobMessage)
            return line(source, *jobMessage);
        if (installError)
            return installError;
        if (!lastReport)
            return delivered ? std::nullopt : std::optional(line(source, QStringLiteral("Couldn't get image")));
        if (lastReport->failed())
            return lastReport->failures.front();
        if (lastReport->written.size() != expectedFiles)
            return line(source, QStringLiteral("Couldn't get every image of the set"));
        return std::nullopt;
    }
};

// The destination named on the command line is made if it is missing, as mkdir -p would; from
// then on the writer never makes it again.
std::optional<QString> makeDestination(const std::filesystem::path& destination)
{
    std::error_code made;
    std::filesystem::create_directories(destination, made);
    if (made || !std::filesystem::is_directory(destination, made))
        return line(destination,
                    QStringLiteral("Couldn't create the destination folder: %1")
                        .arg(QString::fromLocal8Bit(made ? made.message() : std::string("Not a directory"))));
    return std::nullopt;
}

std::optional<QString> loadAppearance(const AppearanceRequest& request, ImageRef& artwork)
{
    if (!request.file)
        return std::nullopt;
    const LoadedImage loaded = loadImage(*request.file);
    artwork = loaded.image;
    return loaded.image ? std::nullopt : std::optional(line(*request.file, loaded.error));
}

// The layout with its Contents.json read once for the whole run, or why it can't be.
std::optional<QString> readContentsOnce(CatalogSetLayout& layout)
{
    QString readError;
    layout.contents = contentsOf(layout, &readError);
    if (layout.contents)
        return std::nullopt;
    return readError.isEmpty() ? QStringLiteral("Couldn't find the template %1").arg(layout.templateResource)
                               : readError;
}

// Encodes the images that the set's Contents.json (read beforehand) names and puts the set into
// the catalog.
std::optional<QString> install(const std::filesystem::path& catalog, const QString& folder,
                               const CatalogSetLayout& layout, const RenderedImages& images, bool force)
{
    SetFiles set;
    set.contents = *layout.contents;
    for (const QString& file : filesNamedIn(parseSetContents(set.contents))) {
        const QString key = layout.appendPngToKeys && file.endsWith(QLatin1String(".png")) ? file.chopped(4) : file;
        const auto found = images.find(key);
        const PngResult png = found != images.end() && found->second ? pngData(*found->second) : PngResult{};
        if (!png.bytes)
            return QStringLiteral("%1: Couldn't get the image %2")
                .arg(displayPath(catalog / folder.toStdString()), file);
        set.files[file] = *png.bytes;
    }
    return installSet(catalog, folder, set, force);
}

GenerateOutcome runAppIconSet(const GenerateRequest& request)
{
    const std::filesystem::path& source = request.sources.front();
    const LoadedImage loaded = loadImage(source);
    if (!loaded.image)
        return {1, {line(source, loaded.error)}};
    AppIconOptions options;
    options.singleSize = request.singleSize;
    options.background = request.background;
    options.dark = request.dark.wanted;
    options.tinted = request.tinted.wanted;
    for (const auto& error :
         {loadAppearance(request.dark, options.darkArtwork), loadAppearance(request.tinted, options.tintedArtwork)})
        if (error)
            return {1, {*error}};
    AppIconPlan plan = planAppIconSet(loaded.image, options);
    if (plan.refusal != AppIconRefusal::None) {
        const char* hint = plan.refusal == AppIconRefusal::TransparentStoreIcon ? " (--background COLOR)"
            : plan.refusal == AppIconRefusal::NoArtworkForDark                  ? " (--dark FILE)"
                                                                                : "";
        return {1, {line(source, describe(plan.refusal) + QLatin1String(hint))}};
    }
    if (request.catalog) {
        // In a catalog the set is exactly what its Contents.json names; the artwork files that
        // no slot takes are not even made.
        if (auto error = readContentsOnce(plan.layout))
            return {1, {*error}};
        const QStringList named = filesNamedIn(parseSetContents(*plan.layout.contents));
        std::erase_if(plan.table, [&named](const AppIconEntry& entry) { return !named.contains(entry.fileName); });
        if (auto error = openCatalog(*request.catalog))
            return {1, {*error}};
    } else if (auto error = makeDestination(*request.destination)) {
        return {1, {*error}};
    }

    RunRecord record;
    LocalTaskQueues queues;
    makeAppIconSet(
        plan.image, plan.table,
        [&record, &plan, &request](std::optional<RenderedImages> images, std::optional<QString> message) {
            if (request.catalog)
                record.record(images, message, std::nullopt, true);
            else
                record.record(images, message, writeAppIconSet(images, message, request.destination, plan.layout));
        },
        queues);
    queues.runUntilIdle();

    std::size_t expected = plan.table.size() + 1;
    for (const AppIconEntry& entry : plan.table)
        expected += plan.layout.copyArtworkToPlatformFolder && entry.fileName.contains(QLatin1String("tunes"));
    if (auto failure = record.failure(source, expected))
        return {1, {*failure}};
    if (request.catalog) {
        if (auto error = install(*request.catalog, request.iconSetName + QStringLiteral(".appiconset"), plan.layout,
                                 *record.lastImages, request.force))
            return {1, {*error}};
    }
    return {};
}

// One source of an image set run: decoded on the pool, then rendered on the loop.
struct ImageSetSource {
    std::filesystem::path file;
    QString name;
    LoadedImage loaded; // let go once its job has rendered, so that sources do not pile up
    std::optional<QString> failure;
    bool installing = false;
    RunRecord record;
};

// Each source is decoded on the pool while the loop renders those decoded before it, and a set
// going into a catalog is encoded and put in on the pool too, so that several files keep both
// cores busy; at most a few decoded sources wait at a time.
GenerateOutcome runImageSets(const GenerateRequest& request)
{
    std::vector<std::unique_ptr<ImageSetSource>> sources;
    for (const std::filesystem::path& file : request.sources) {
        auto source = std::make_unique<ImageSetSource>();
        source->file = file;
        source->name = request.assetName && request.sources.size() == 1 ? *request.assetName
                                                                        : assetNameForFile(displayPath(file));
        sources.push_back(std::move(source));
    }

    CatalogSetLayout layout = imageSetLayout();
    if (request.catalog) {
        if (auto error = readContentsOnce(layout))
            return {1, {*error}};
    }
    LocalTaskQueues queues;
    // The destination or catalog is made once the first source has loaded, so that a run of
    // unreadable files writes nothing.
    std::optional<std::optional<QString>> placeError;
    const auto place = [&request] {
        return request.catalog ? openCatalog(*request.catalog) : makeDestination(*request.destination);
    };
    const auto completion = [&request, &queues, &layout](ImageSetSource* source) -> GenerationCompletion {
        if (!request.catalog)
            return [source, &request](std::optional<RenderedImages> images, std::optional<QString> message) {
                source->record.record(images, message, writeImageSet(images, message, request.destination, [source] {
                                          return source->name;
                                      }));
            };
        return
            [source, &request, &queues, &layout](std::optional<RenderedImages> images, std::optional<QString> message) {
                source->record.record(images, message);
                if (!images || std::exchange(source->installing, true))
                    return;
                queues.postToBackground([source, &request, &layout, images = std::move(*images)] {
                    auto error = install(*request.catalog, source->name + QStringLiteral(".imageset"), layout, images,
                                         request.force);
                    std::lock_guard lock(source->record.mutex);
                    source->record.installError = std::move(error);
                });
            };
    };
    std::size_t nextToLoad = 0;
    std::function<void()> loadNext = [&] {
        if (nextToLoad == sources.size())
            return;
        ImageSetSource* source = sources[nextToLoad++].get();
        queues.postToBackground([&, source] {
            source->loaded = loadImage(source->file);
            queues.postToMain([&, source] {
                loadNext();
                if (!source->loaded.image) {
                    source->failure = line(source->file, source->loaded.error);
                    return;
                }
                if (!placeError)
                    placeError = place();
                if (!*placeError && !makeImageSet(source->loaded.image, completion(source), queues))
                    source->failure = line(source->file,
                                           QStringLiteral("Couldn't get image: %1")
                                               .arg(imageSetFailureReason(*source->loaded.image)));
                source->loaded.image.reset();
            });
        });
    };
    loadNext();
    loadNext();
    queues.runUntilIdle();

    if (placeError && *placeError)
        return {1, {**placeError}};
    GenerateOutcome outcome;
    for (const auto& source : sources)
        if (auto failure = source->failure ? source->failure : source->record.failure(source->file, 3 + 1))
            outcome.errors << *failure;
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

} // namespace

GenerateOutcome runGenerate(const GenerateRequest& request)
{
    return request.kind == SetKind::AppIcon ? runAppIconSet(request) : runImageSets(request);
}

} // namespace quorva
