#pragma once

#include "generation/taskqueues.h"

namespace quorva {

// The application's queues: the main queue is the Qt event loop of the thread that owns the
// QCoreApplication, the background pool the job pool (jobPool), apart from Qt's global one.
class QtTaskQueues final : public TaskQueues {
public:
    void postToMain(Task task) override;
    void postToBackground(Task task) override;
    void postToMainAfterPending(Task task) override;
};

} // namespace quorva
