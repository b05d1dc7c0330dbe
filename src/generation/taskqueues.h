#pragma once

#include <functional>

namespace quorva {

using Task = std::function<void()>;

// The two places where generation work runs: one serial main queue, whose tasks run one after
// another in posting order on the thread that owns it, and a pool of background threads.
class TaskQueues {
public:
    virtual ~TaskQueues() = default;
    virtual void postToMain(Task task) = 0;
    virtual void postToBackground(Task task) = 0;
    // Like postToMain, but after what else the main thread has to do now (a window's input and
    // timers), so that long main-queue tasks posted one by one never hold it up together.
    virtual void postToMainAfterPending(Task task) { postToMain(std::move(task)); }
};

// The queues that jobs use when they are given none: those installed last by a ScopedTaskQueues,
// else the Qt event loop of the application and Qt's global thread pool.
TaskQueues& defaultTaskQueues();

class ScopedTaskQueues {
public:
    explicit ScopedTaskQueues(TaskQueues& queues);
    ~ScopedTaskQueues();
    ScopedTaskQueues(const ScopedTaskQueues&) = delete;
    ScopedTaskQueues& operator=(const ScopedTaskQueues&) = delete;

private:
    TaskQueues* m_previous;
};

} // namespace quorva
