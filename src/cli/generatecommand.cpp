#include "cli/generatecommand.h"

#include "apple/appiconplan.h"
#include "apple/appicontarget.h"
#include "apple/assetname.h"
#include "apple/catalogwriter.h"
#include "apple/contentsjson.h"
#include "apple/iconcomposerplan.h"
#include "apple/imageset.h"
#include "apple/setcontents.h"
#include "apple/setinstaller.h"
#include "generation/localtaskqueues.h"
#include "image/image.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "support/lineprinter.h"
#include "support/paths.h"
#include "support/pixelanalysis.h"
#include "target/installer.h"

#include <memory>
#include <mutex>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// What the completion calls of one job told: the map of its last delivery step, and its failure
// message, which may come from a worker thread.
struct JobRecord {
    std::mutex mutex;
    std::optional<QString> message;
    std::optional<RenderedImages> images;

    void record(std::optional<RenderedImages> delivered, const std::optional<QString>& failure)
    {
        std::lock_guard lock(mutex);
        if (failure) {
            if (!message)
                message = failure;
            return;
        }
        images = std::move(delivered);
    }
};

// The failures of a set written below a destination, and the notes about what it left alone.
void tell(const WriteReport& report, GenerateOutcome& outcome)
{
    outcome.errors += report.failures;
    if (!report.kept.isEmpty() && report.setFolder)
        outcome.notes << pathLine(*report.setFolder,
                                  QStringLiteral("kept %1, which Quorva did not write")
                                      .arg(report.kept.join(QStringLiteral(", "))));
}

std::optional<QString> loadAppearance(const AppearanceRequest& request, ImageRef& artwork)
{
    if (!request.file)
        return std::nullopt;
    const LoadedImage loaded = loadImage(*request.file);
    artwork = loaded.image;
    return loaded.image ? std::nullopt : std::optional(pathLine(*request.file, loaded.error));
}

// What putting a set into a catalog failed of, the option that forces it named.
QStringList failuresOf(const SetPlacement& placed)
{
    if (placed.placement)
        return install({*placed.placement}).failures;
    QStringList failures{*placed.failure};
    if (placed.forcing)
        failures.last() += QStringLiteral("; --force %1").arg(*placed.forcing);
    return failures;
}

// Puts a set into the catalog, as exactly the files its Contents.json (read beforehand) names.
QStringList intoCatalog(const fs::path& catalog, const QString& folder, const CatalogSetLayout& layout,
                        const RenderedImages& images, bool force)
{
    return failuresOf(placeRenderedSet(catalog, folder, layout, images, force));
}

// The option that mends a refusal, as quorva-cli spells it.
QString hintFor(AppIconRefusal refusal)
{
    switch (refusal) {
    case AppIconRefusal::TransparentStoreIcon:
    case AppIconRefusal::TransparentWatchIcon:
        return QStringLiteral(" (--background COLOR)");
    case AppIconRefusal::NoArtworkForDark:
        return QStringLiteral(" (--dark FILE)");
    case AppIconRefusal::NoArtworkForTinted:
        return QStringLiteral(" (--tinted FILE)");
    default:
        return {};
    }
}

// FOLDER/NAME.icon, put in whole as a set goes into a catalog.
GenerateOutcome writeIconComposerFile(const GenerateRequest& request, const fs::path& source, const ImageRef& image,
                                      const AppIconOptions& options)
{
    const IconComposerPlan plan = planIconComposerFile(image, options);
    if (!plan.file)
        return failedWith(pathLine(source, describe(plan.refusal) + hintFor(plan.refusal)));
    std::error_code error;
    if (!fs::is_directory(*request.iconComposer, error))
        return failedWith(pathLine(*request.iconComposer,
                                   QStringLiteral("Couldn't write the Icon Composer file: it is no "
                                                  "folder")));
    GenerateOutcome outcome;
    outcome.errors
        = installWholeFolder(*request.iconComposer, request.iconSetName + QStringLiteral(".icon"), plan.file->files())
              .failures;
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

GenerateOutcome runAppIconSet(const GenerateRequest& request)
{
    const fs::path& source = request.sources.front();
    const LoadedImage loaded = loadImage(source);
    if (!loaded.image)
        return failedWith(pathLine(source, loaded.error));
    AppIconOptions options;
    options.platforms = request.platforms;
    options.macShape = request.macShape;
    options.frame = request.frame;
    options.singleSize = request.singleSize;
    options.background = request.background;
    options.dark = request.dark.wanted;
    options.tinted = request.tinted.wanted;
    for (const auto& error :
         {loadAppearance(request.dark, options.darkArtwork), loadAppearance(request.tinted, options.tintedArtwork)})
        if (error)
            return failedWith(*error);
    if (request.iconComposer)
        return writeIconComposerFile(request, source, loaded.image, options);
    AppIconPlan plan = planAppIconSet(loaded.image, options);
    if (plan.refusal != AppIconRefusal::None) {
        return failedWith(pathLine(source, describe(plan.refusal) + hintFor(plan.refusal)));
    }
    // What the window notes before it asks for a folder, said here on standard error.
    QStringList notes;
    for (const AppIconNote note : notesOf(*loaded.image, options, hasTransparentPixels(sampleBitmap(*loaded.image)))) {
        const QString hint = note == AppIconNote::Stretched
            ? QStringLiteral(" (--fit contain or cover keeps its shape)")
            : note == AppIconNote::TransparentStoreIcon ? QStringLiteral("; lay it onto --background COLOR")
                                                        : QString();
        notes << pathLine(source, describe(note, loaded.image->pixelSize()) + hint);
    }
    GenerateOutcome outcome;
    outcome.notes = notes;
    if (request.catalog) {
        const SetPlacement placed
            = placeAppIconInCatalog(plan, *request.catalog, request.iconSetName + QStringLiteral(".appiconset"),
                                    request.force);
        outcome.errors += failuresOf(placed);
        outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
        return outcome;
    }
    const RenderedIcons rendered = renderAppIcons(plan);
    if (rendered.failure) {
        // A set without one of its icons would be no set: nothing is written.
        outcome.errors << pathLine(source, *rendered.failure);
    } else {
        tell(installCatalogSet(*request.destination,
                               planCatalogSet(plan.layout, rendered.images, QStringLiteral("AppIcon.appiconset")),
                               true),
             outcome);
    }
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

// One source of an image set run: decoded on the pool, then rendered on the loop.
struct ImageSetSource {
    fs::path file;
    QString name;
    LoadedImage loaded; // let go once its job has rendered, so that sources do not pile up
    JobRecord record;
    GenerateOutcome outcome; // this source's lines
};

// Each source is decoded on the pool while the loop renders those decoded before it, and a set
// going into a catalog is encoded and put in on the pool too, so that several files keep both
// cores busy; at most a few decoded sources wait at a time.
GenerateOutcome runImageSets(const GenerateRequest& request)
{
    std::vector<std::unique_ptr<ImageSetSource>> sources;
    for (const fs::path& file : request.sources) {
        auto source = std::make_unique<ImageSetSource>();
        source->file = file;
        source->name = request.assetName && request.sources.size() == 1 ? *request.assetName
                                                                        : assetNameForFile(displayPath(file));
        sources.push_back(std::move(source));
    }

    CatalogSetLayout layout = imageSetLayout();
    if (request.catalog) {
        if (auto error = readContentsOnce(layout))
            return failedWith(*error);
    }
    LocalTaskQueues queues;
    // Runs on the loop after the job's last delivery step, which the job queued before it.
    const auto writeSet = [&request, &queues, &layout](ImageSetSource* source) {
        std::lock_guard lock(source->record.mutex);
        if (!source->record.images)
            return;
        if (!request.catalog) {
            tell(installCatalogSet(*request.destination,
                                   planCatalogSet(imageSetLayout(), *source->record.images,
                                                  source->name + QStringLiteral(".imageset")),
                                   true),
                 source->outcome);
            source->record.images.reset();
            return;
        }
        queues.postToBackground([source, &request, &layout, images = std::move(*source->record.images)] {
            const QStringList failures = intoCatalog(*request.catalog, source->name + QStringLiteral(".imageset"),
                                                     layout, images, request.force);
            std::lock_guard lock(source->record.mutex);
            source->outcome.errors += failures;
        });
        source->record.images.reset();
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
                    source->outcome.errors << pathLine(source->file, source->loaded.error);
                    return;
                }
                const bool rendered = makeImageSet(
                    source->loaded.image,
                    [source](std::optional<RenderedImages> images, std::optional<QString> message) {
                        source->record.record(std::move(images), message);
                    },
                    queues);
                // The images stored before a failed scale are written all the same.
                queues.postToMain([&, source] { writeSet(source); });
                if (!rendered)
                    source->outcome.errors << pathLine(source->file,
                                                       QStringLiteral("Couldn't get image: %1")
                                                           .arg(imageSetFailureReason(*source->loaded.image)));
                source->loaded.image.reset();
            });
        });
    };
    loadNext();
    loadNext();
    queues.runUntilIdle();

    GenerateOutcome outcome;
    for (const auto& source : sources) {
        outcome.errors += source->outcome.errors;
        outcome.notes += source->outcome.notes;
    }
    outcome.exitStatus = outcome.errors.isEmpty() ? 0 : 1;
    return outcome;
}

} // namespace

GenerateOutcome runGenerate(const GenerateRequest& request)
{
    switch (request.kind) {
    case SetKind::AppIcon:
        return runAppIconSet(request);
    case SetKind::ImageSet:
        return runImageSets(request);
    }
    return {};
}

} // namespace quorva
