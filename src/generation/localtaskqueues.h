#pragma once

#include "generation/taskqueues.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace quorva {

// Queues with a loop of their own, for the command-line tool and for tests: the main queue runs
// on whichever thread calls runUntilIdle, the background pool is a set of plain threads. It can
// tell when no task is pending or running anywhere, which is when a job has ended.
class LocalTaskQueues final : public TaskQueues {
public:
    explicit LocalTaskQueues(unsigned backgroundThreads = std::thread::hardware_concurrency());
    ~LocalTaskQueues() override;
    LocalTaskQueues(const LocalTaskQueues&) = delete;
    LocalTaskQueues& operator=(const LocalTaskQueues&) = delete;

    void postToMain(Task task) override;
    void postToBackground(Task task) override;

    // Runs main-queue tasks until neither queue holds or runs a task. False when the timeout
    // passed first.
    bool runUntilIdle(std::chrono::milliseconds timeout = std::chrono::hours(24));

private:
    void workerLoop();

    std::mutex m_mutex;
    std::condition_variable m_mainChanged;
    std::condition_variable m_backgroundChanged;
    std::deque<Task> m_main;
    std::deque<Task> m_background;
    unsigned m_backgroundBusy = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

} // namespace quorva
