#include "generation/localtaskqueues.h"

#include "generation/jobpool.h"

#include <QThreadPool>

namespace quorva {

LocalTaskQueues::~LocalTaskQueues()
{
    // Background tasks refer to this object until they have finished.
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_backgroundPending == 0; });
}

void LocalTaskQueues::postToMain(Task task)
{
    std::lock_guard lock(m_mutex);
    m_main.push_back(std::move(task));
    m_changed.notify_all();
}

void LocalTaskQueues::postToBackground(Task task)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_backgroundPending;
    }
    jobPool().start([this, task = std::move(task)]() mutable {
        task();
        task = nullptr; // release what the task holds before the queues may report idle
        std::lock_guard lock(m_mutex);
        --m_backgroundPending;
        m_changed.notify_all(); // under the lock: once it is released, the queues may be gone
    });
}

bool LocalTaskQueues::runUntilIdle(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(m_mutex);
    for (;;) {
        const bool ready
            = m_changed.wait_until(lock, deadline, [this] { return !m_main.empty() || m_backgroundPending == 0; });
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
