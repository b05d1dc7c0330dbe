#pragma once

#include "generation/generationcompletion.h"
#include "generation/taskqueues.h"
#include "image/image.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace quorva {

struct AppIconEntry {
    QString fileName;
    std::int64_t side;         // pixels; every icon is square
    ImageRef source = nullptr; // drawn from this image instead of the job's, for an appearance of its own
};

// The seventeen icons of an iPhone and iPad app icon set, largest first.
const std::vector<AppIconEntry>& appIconSizes();

// Renders every entry of the icon table on the background pool and returns at once. Each
// rendered icon is stored in the run's map and followed by a delivery step on the main queue
// that calls the completion with a copy of the map so far; an icon that cannot be rendered calls
// the completion at once, from its worker thread, with the message "Couldn't get image".
void makeAppIconSet(ImageRef image, GenerationCompletion completion, TaskQueues& queues = defaultTaskQueues());

// The same over a table of one's own.
void makeAppIconSet(ImageRef image, const std::vector<AppIconEntry>& table, GenerationCompletion completion,
                    TaskQueues& queues);

} // namespace quorva
