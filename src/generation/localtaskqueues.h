#pragma once

#include "generation/taskqueues.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace quorva {

// Queues with a loop of their own, for the command-line tool and for tests: the main queue runs
// on whichever thread calls runUntilIdle; background tasks go to Qt's global thread pool, as in
// the application, so that a rescale on a pool thread is not split over the pool a second time.
// It can tell when no task of its own is pending or running anywhere, which is when a job has
// ended.
class LocalTaskQueues final : public TaskQueues {
public:
    LocalTaskQueues() = default;
    ~LocalTaskQueues() override;
    LocalTaskQueues(const LocalTaskQueues&) = delete;
    LocalTaskQueues& operator=(const LocalTaskQueues&) = delete;

    void postToMain(Task task) override;
    void postToBackground(Task task) override;

    // Runs main-queue tasks until neither queue holds or runs a task. False when the timeout
    // passed first.
    bool runUntilIdle(std::chrono::milliseconds timeout = std::chrono::hours(24));

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Task> m_main;
    unsigned m_backgroundPending = 0; // posted and not yet finished
};

} // namespace quorva
