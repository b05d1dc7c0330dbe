#include "apple/appicontarget.h"

#include "apple/appiconset.h"
#include "apple/setcontents.h"
#include "generation/localtaskqueues.h"
#include "support/lineprinter.h"
#include "support/paths.h"

namespace quorva {

RenderedIcons renderAppIcons(const AppIconPlan& plan)
{
    RenderedIcons rendered;
    std::mutex mutex; // the failure may come from a worker thread
    bool delivered = false;
    LocalTaskQueues queues;
    makeAppIconSet(
        plan.image, plan.table,
        [&](std::optional<RenderedImages> images, std::optional<QString> message) {
            std::lock_guard lock(mutex);
            if (message) {
                printLine(*message);
                if (!rendered.failure)
                    rendered.failure = message;
            } else if (images) {
                rendered.images = std::move(*images);
                delivered = true;
            }
        },
        queues);
    queues.runUntilIdle();
    if (!delivered && !rendered.failure && !plan.table.empty())
        rendered.failure = QStringLiteral("Couldn't get image");
    return rendered;
}

CatalogSetFiles catalogSetFiles(const CatalogSetLayout& layout, const RenderedImages& images)
{
    CatalogSetFiles files;
    files.set.contents = layout.contents.value_or(QByteArray());
    for (const QString& file : filesNamedIn(parseSetContents(files.set.contents))) {
        const auto found = images.find(layout.keyFor(file));
        const PngResult png = found != images.end() && found->second ? pngData(*found->second) : PngResult{};
        if (!png.bytes) {
            files.missing = file;
            return files;
        }
        files.set.files[file] = *png.bytes;
    }
    return files;
}

std::optional<QString> readContentsOnce(CatalogSetLayout& layout)
{
    const SetContentsFile file = contentsOf(layout);
    layout.contents = file.bytes;
    return file.bytes ? std::nullopt : std::optional(file.error);
}

SetPlacement placeRenderedSet(const std::filesystem::path& catalog, const QString& folder,
                              const CatalogSetLayout& layout, const RenderedImages& images, bool force,
                              const QStringList& drop)
{
    const CatalogSetFiles files = catalogSetFiles(layout, images);
    if (files.missing) {
        SetPlacement failed;
        failed.failure = QStringLiteral("%1: Couldn't get the image %2")
                             .arg(displayPath(catalog / toPath(folder)), *files.missing);
        return failed;
    }
    return placeSetIntoCatalog(catalog, folder, files.set, force, drop);
}

SetPlacement placeAppIconInCatalog(AppIconPlan plan, const std::filesystem::path& catalog, const QString& folder,
                                   bool force, const QStringList& drop)
{
    SetPlacement failed;
    if (auto error = readContentsOnce(plan.layout)) {
        failed.failure = *error;
        return failed;
    }
    const QStringList named = filesNamedIn(parseSetContents(*plan.layout.contents));
    std::erase_if(plan.table, [&named](const AppIconEntry& entry) { return !named.contains(entry.fileName); });
    const RenderedIcons rendered = renderAppIcons(plan);
    if (rendered.failure) {
        // A set without one of its icons would be no set.
        failed.failure = pathLine(catalog / toPath(folder), *rendered.failure);
        return failed;
    }
    return placeRenderedSet(catalog, folder, plan.layout, rendered.images, force, drop);
}

} // namespace quorva
