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
