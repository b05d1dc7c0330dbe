#include "cli/generatecommand.h"

#include "generation/appiconplan.h"
#include "generation/assetname.h"
#include "generation/catalogwriter.h"
#include "generation/fileio.h"
#include "generation/imageloading.h"
#include "generation/imageset.h"
#include "generation/localtaskqueues.h"

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
    std::optional<WriteReport> lastReport;

    void record(const std::optional<QString>& message, const WriteReport& report)
    {
        std::lock_guard lock(mutex);
        if (message) {
            if (!jobMessage)
                jobMessage = message;
            return;
        }
        lastReport = report;
    }

    // The first failure of the job, if any, judged against the number of files the whole set has.
    std::optional<QString> failure(const std::filesystem::path& source, std::size_t expectedFiles)
    {
        std::lock_guard lock(mutex);
        if (jobMessage)
            return line(source, *jobMessage);
        if (lastReport && lastReport->failed())
            return lastReport->failures.front();
        if (!lastReport || lastReport->written.size() != expectedFiles)
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
    for (const auto& error : {loadAppearance(request.dark, options.darkArtwork),
                              loadAppearance(request.tinted, options.tintedArtwork)})
        if (error)
            return {1, {*error}};
    const AppIconPlan plan = planAppIconSet(loaded.image, options);
    if (plan.refusal != AppIconRefusal::None) {
        const char* hint = plan.refusal == AppIconRefusal::TransparentStoreIcon ? " (--background COLOR)"
            : plan.refusal == AppIconRefusal::NoArtworkForDark                  ? " (--dark FILE)"
                                                                                : "";
        return {1, {line(source, describe(plan.refusal) + QLatin1String(hint))}};
    }
    if (auto error = makeDestination(*request.destination))
        return {1, {*error}};

    RunRecord record;
    LocalTaskQueues queues;
    makeAppIconSet(plan.image, plan.table,
                   [&record, &plan, destination = request.destination](std::optional<RenderedImages> images,
                                                                       std::optional<QString> message) {
                       record.record(message, writeAppIconSet(images, message, destination, plan.layout));
                   },
                   queues);
    queues.runUntilIdle();

    std::size_t expected = plan.table.size() + 1;
    for (const AppIconEntry& entry : plan.table)
        expected += plan.layout.copyArtworkToPlatformFolder && entry.fileName.contains(QLatin1String("tunes"));
    if (auto failure = record.failure(source, expected))
        return {1, {*failure}};
    return {};
}

// One source of an image set run: decoded on the pool, then rendered on the loop.
struct ImageSetSource {
    std::filesystem::path file;
    QString name;
    LoadedImage loaded;
    bool rendered = false;
    RunRecord record;
};

// Each source is decoded on the pool while the loop renders those decoded before it, so that
// decoding, rescaling and encoding of several files keep both cores busy; at most a few decoded
// sources wait at a time.
GenerateOutcome runImageSets(const GenerateRequest& request)
{
    std::vector<std::unique_ptr<ImageSetSource>> sources;
    for (const std::filesystem::path& file : request.sources) {
        auto source = std::make_unique<ImageSetSource>();
        source->file = file;
        source->name = request.assetName && request.sources.size() == 1
            ? *request.assetName
            : assetNameForFile(displayPath(file));
        sources.push_back(std::move(source));
    }

    LocalTaskQueues queues;
    // Made once the first source has loaded, so that a run of unreadable files writes nothing.
    std::optional<std::optional<QString>> destinationError;
    std::size_t nextToLoad = 0;
    std::function<void()> loadNext = [&] {
        if (nextToLoad == sources.size())
            return;
        ImageSetSource* source = sources[nextToLoad++].get();
        queues.postToBackground([&, source, destination = request.destination] {
            source->loaded = loadImage(source->file);
            queues.postToMain([&, source, destination] {
                loadNext();
                if (!source->loaded.image)
                    return;
                if (!destinationError)
                    destinationError = makeDestination(*destination);
                if (*destinationError)
                    return;
                source->rendered = makeImageSet(
                    source->loaded.image,
                    [source, destination](std::optional<RenderedImages> images, std::optional<QString> message) {
                        source->record.record(message, writeImageSet(images, message, destination,
                                                                     [source] { return source->name; }));
                    },
                    queues);
            });
        });
    };
    loadNext();
    loadNext();
    queues.runUntilIdle();

    GenerateOutcome outcome;
    if (destinationError && *destinationError)
        return {1, {**destinationError}};
    for (const auto& source : sources) {
        std::optional<QString> failure;
        if (!source->loaded.image)
            failure = line(source->file, source->loaded.error);
        else if (!source->rendered)
            failure = line(source->file, QStringLiteral("Couldn't get image: %1")
                                             .arg(imageSetFailureReason(*source->loaded.image)));
        else
            failure = source->record.failure(source->file, 3 + 1);
        if (failure)
            outcome.errors << *failure;
    }
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

} // namespace

GenerateOutcome runGenerate(const GenerateRequest& request)
{
    return request.kind == SetKind::AppIcon ? runAppIconSet(request) : runImageSets(request);
}

} // namespace quorva
