#include "generation/encodedfirst.h"

#include <deque>
#include <memory>

namespace quorva {
namespace {

// The maps of one job waiting to be handed on, in delivery order. Touched on the main thread
// only; one of them at a time has its encodings awaited on the pool.
struct Waiting {
    GenerationCompletion completion;
    std::deque<RenderedImages> maps;
    bool awaiting = false;

    // Encodes the first waiting map on the pool, then hands it on in a main-queue task that comes
    // after whatever the main thread had to do meanwhile, and goes on with the next map.
    static void awaitFirst(const std::shared_ptr<Waiting>& waiting, TaskQueues& queues)
    {
        if (waiting->awaiting || waiting->maps.empty())
            return;
        waiting->awaiting = true;
        queues.postToBackground([waiting, images = waiting->maps.front(), &queues] {
            for (const auto& [key, image] : images)
                if (image)
                    image->encodedPng();
            queues.postToMainAfterPending([waiting, &queues] {
                RenderedImages map = std::move(waiting->maps.front());
                waiting->maps.pop_front();
                waiting->awaiting = false;
                waiting->completion(std::move(map), std::nullopt);
                awaitFirst(waiting, queues);
            });
        });
    }
};

} // namespace

GenerationCompletion encodedFirst(GenerationCompletion completion, TaskQueues& queues)
{
    auto waiting = std::make_shared<Waiting>();
    waiting->completion = std::move(completion);
    return [waiting, &queues](std::optional<RenderedImages> images, std::optional<QString> message) {
        if (!images || message) {
            waiting->completion(std::move(images), std::move(message));
            return;
        }
        waiting->maps.push_back(std::move(*images)); // delivery steps run on the main thread
        Waiting::awaitFirst(waiting, queues);
    };
}

} // namespace quorva
