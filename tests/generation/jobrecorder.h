#pragma once

#include "generation/generationcompletion.h"

#include <mutex>
#include <thread>
#include <vector>

namespace quorva::test {

// Records every completion call of a job, with the thread it came from.
struct JobRecorder {
    struct Call {
        std::optional<RenderedImages> images;
        std::optional<QString> message;
        std::thread::id thread;
    };
    std::mutex mutex;
    std::vector<Call> calls;

    GenerationCompletion completion()
    {
        return [this](std::optional<RenderedImages> images, std::optional<QString> message) {
            std::lock_guard lock(mutex);
            calls.push_back({std::move(images), std::move(message), std::this_thread::get_id()});
        };
    }
};

} // namespace quorva::test
