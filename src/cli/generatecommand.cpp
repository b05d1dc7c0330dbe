#include "cli/generatecommand.h"

#include "generation/appiconset.h"
#include "generation/catalogwriter.h"
#include "generation/fileio.h"
#include "generation/imageloading.h"
#include "generation/imageset.h"
#include "generation/localtaskqueues.h"

#include <mutex>

namespace quorva {
namespace {

// What the job's completion calls told; the failure form may come from a worker thread.
struct RunRecord {
    std::mutex mutex;
    std::optional<QString> jobMessage;
    std::optional<RenderedImages> lastImages;
    std::optional<WriteReport> lastReport;

    void record(const std::optional<RenderedImages>& images, const std::optional<QString>& message,
                const WriteReport& report)
    {
        std::lock_guard lock(mutex);
        if (message) {
            if (!jobMessage)
                jobMessage = message;
            return;
        }
        lastImages = images;
        lastReport = report;
    }
};

std::size_t expectedFiles(SetKind kind)
{
    if (kind == SetKind::ImageSet)
        return 3 + 1;
    std::size_t artwork = 0;
    for (const AppIconEntry& entry : appIconSizes())
        artwork += entry.fileName.contains(QLatin1String("tunes")) ? 1 : 0;
    return appIconSizes().size() + artwork + 1;
}

} // namespace

GenerateOutcome runGenerate(const GenerateRequest& request)
{
    const QString sourceName = displayPath(request.source);
    const LoadedImage loaded = loadImage(request.source);
    if (!loaded.image)
        return {1, QStringLiteral("%1: %2").arg(sourceName, loaded.error)};

    // The destination named on the command line is made if it is missing, as mkdir -p would;
    // from then on the writer never makes it again.
    std::error_code made;
    std::filesystem::create_directories(request.destination, made);
    if (made || !std::filesystem::is_directory(request.destination, made))
        return {1, QStringLiteral("%1: Couldn't create the destination folder: %2")
                       .arg(displayPath(request.destination),
                            QString::fromLocal8Bit(made ? made.message() : std::string("Not a directory")))};

    RunRecord record;
    const std::optional<std::filesystem::path> destination = request.destination;
    LocalTaskQueues queues;
    bool rendered = true;
    if (request.kind == SetKind::AppIcon) {
        makeAppIconSet(loaded.image, [&record, destination](std::optional<RenderedImages> images,
                                                             std::optional<QString> message) {
            record.record(images, message, writeAppIconSet(images, message, destination));
        }, queues);
    } else {
        const std::optional<QString> name = request.assetName;
        rendered = makeImageSet(loaded.image, [&record, destination, name](std::optional<RenderedImages> images,
                                                                            std::optional<QString> message) {
            record.record(images, message, writeImageSet(images, message, destination, [name] { return name; }));
        }, queues);
    }
    queues.runUntilIdle();

    std::lock_guard lock(record.mutex);
    if (record.jobMessage)
        return {1, QStringLiteral("%1: %2").arg(sourceName, *record.jobMessage)};
    if (!rendered)
        return {1, QStringLiteral("%1: Couldn't get image: %2").arg(sourceName, imageSetFailureReason(*loaded.image))};
    if (record.lastReport && record.lastReport->failed())
        return {1, record.lastReport->failures.front()};
    if (!record.lastReport || record.lastReport->written.size() != expectedFiles(request.kind))
        return {1, QStringLiteral("%1: Couldn't get every image of the set").arg(sourceName)};
    return {0, {}};
}

} // namespace quorva
