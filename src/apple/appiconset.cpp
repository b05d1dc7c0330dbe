#include "apple/appiconset.h"

#include "image/imageresizing.h"

#include <memory>
#include <mutex>

namespace quorva {
namespace {

// One run's map, shared by its work items and delivery steps; the lock is held only for one
// insertion or one copy.
class SharedRenderedImages {
public:
    void insert(const QString& key, ImageRef image)
    {
        std::lock_guard lock(m_mutex);
        m_images.insert_or_assign(key, std::move(image));
    }
    RenderedImages copy() const
    {
        std::lock_guard lock(m_mutex);
        return m_images;
    }

private:
    mutable std::mutex m_mutex;
    RenderedImages m_images;
};

} // namespace

const std::vector<AppIconEntry>& appIconSizes()
{
    // Largest first: the pool renders in this order, so the longest work items start at once
    // instead of last, and each worker's encoding buffers reach their full size on the first
    // icon and are reused for the rest.
    static const std::vector<AppIconEntry> table = {
        {QStringLiteral("ItunesArtwork@3x.png"), 1536},     {QStringLiteral("ItunesArtwork@2x.png"), 1024},
        {QStringLiteral("ItunesArtwork@1x.png"), 512},      {QStringLiteral("Icon-App-60x60@3x.png"), 180},
        {QStringLiteral("Icon-App-83.5x83.5@2x.png"), 167}, {QStringLiteral("Icon-App-76x76@2x.png"), 152},
        {QStringLiteral("Icon-App-40x40@3x.png"), 120},     {QStringLiteral("Icon-App-60x60@2x.png"), 120},
        {QStringLiteral("Icon-App-29x29@3x.png"), 87},      {QStringLiteral("Icon-App-40x40@2x.png"), 80},
        {QStringLiteral("Icon-App-76x76@1x.png"), 76},      {QStringLiteral("Icon-App-20x20@3x.png"), 60},
        {QStringLiteral("Icon-App-29x29@2x.png"), 58},      {QStringLiteral("Icon-App-20x20@2x.png"), 40},
        {QStringLiteral("Icon-App-40x40@1x.png"), 40},      {QStringLiteral("Icon-App-29x29@1x.png"), 29},
        {QStringLiteral("Icon-App-20x20@1x.png"), 20},
    };
    return table;
}

void makeAppIconSet(ImageRef image, GenerationCompletion completion, TaskQueues& queues)
{
    makeAppIconSet(std::move(image), appIconSizes(), std::move(completion), queues);
}

void makeAppIconSet(ImageRef image, const std::vector<AppIconEntry>& table, GenerationCompletion completion,
                    TaskQueues& queues)
{
    auto rendered = std::make_shared<SharedRenderedImages>();
    auto sharedCompletion = std::make_shared<const GenerationCompletion>(std::move(completion));
    for (const AppIconEntry& entry : table) {
        queues.postToBackground([image, entry, rendered, sharedCompletion, &queues] {
            const ImageRef& from = entry.source ? entry.source : image;
            ImageRef icon = from ? resizedToSide(*from, entry.side) : nullptr;
            if (!icon) {
                (*sharedCompletion)(std::nullopt, QStringLiteral("Couldn't get image"));
                return;
            }
            // Encode here, off the main thread: the writer then only writes the kept bytes.
            icon->encodedPng();
            rendered->insert(entry.fileName, std::move(icon));
            queues.postToMain([rendered, sharedCompletion] { (*sharedCompletion)(rendered->copy(), std::nullopt); });
        });
    }
}

} // namespace quorva
