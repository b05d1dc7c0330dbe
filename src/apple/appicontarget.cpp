#include "apple/appicontarget.h"

#include "apple/appiconset.h"
#include "apple/setcontents.h"
#include "generation/localtaskqueues.h"
#include "support/lineprinter.h"

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

} // namespace quorva
