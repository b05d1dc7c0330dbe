#include "generation/localtaskqueues.h"

namespace quorva {

LocalTaskQueues::LocalTaskQueues(unsigned backgroundThreads)
{
    const unsigned count = backgroundThreads ? backgroundThreads : 1;
    m_workers.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        m_workers.emplace_back([this] { workerLoop(); });
}

LocalTaskQueues::~LocalTaskQueues()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_backgroundChanged.notify_all();
    for (auto& worker : m_workers)
        worker.join();
}

void LocalTaskQueues::postToMain(Task task)
{
    {
        std::lock_guard lock(m_mutex);
        m_main.push_back(std::move(task));
    }
    m_mainChanged.notify_all();
}

void LocalTaskQueues::postToBackground(Task task)
{
    {
        std::lock_guard lock(m_mutex);
        m_background.push_back(std::move(task));
    }
    m_backgroundChanged.notify_one();
}

void LocalTaskQueues::workerLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_backgroundChanged.wait(lock, [this] { return m_stopping || !m_background.empty(); });
        if (m_background.empty())
            return;
        Task task = std::move(m_background.front());
        m_background.pop_front();
        ++m_backgroundBusy;
        lock.unlock();
        task();
        task = nullptr; // release what the task holds before the pool reports itself idle
        lock.lock();
        --m_backgroundBusy;
        m_mainChanged.notify_all();
    }
}

bool LocalTaskQueues::runUntilIdle(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(m_mutex);
    for (;;) {
        const bool ready = m_mainChanged.wait_until(lock, deadline, [this] {
            return !m_main.empty() || (m_background.empty() && m_backgroundBusy == 0);
        });
        if (!ready)
            return false;
        if (m_main.empty())
            return true;
        Task task = std::move(m_main.front());
        m_main.pop_front();
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
    }
}

} // namespace quorva
