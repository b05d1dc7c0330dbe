#pragma once

#include "generation/generationcompletion.h"
#include "generation/taskqueues.h"

namespace quorva {

// Wraps a job's completion so that a delivered map reaches it only once every image in it has its
// PNG encoding, which then runs on the background pool rather than on the main thread, where the
// writer would otherwise wait for it. The maps still reach the completion on the main queue, one
// task each and in the order they were delivered, so that the window answers between them; a
// message passes on at once, from wherever it came.
GenerationCompletion encodedFirst(GenerationCompletion completion, TaskQueues& queues = defaultTaskQueues());

} // namespace quorva
