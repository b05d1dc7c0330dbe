#include "generation/sidebyside.h"

#include "generation/jobpool.h"

#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace quorva {

void runSideBySide(const std::vector<std::function<void()>>& tasks)
{
    struct Work {
        std::vector<std::function<void()>> tasks;
        std::atomic<std::size_t> next{0};
        std::mutex mutex;
        std::condition_variable done;
        std::size_t finished = 0;

        void run()
        {
            for (std::size_t i = next++; i < tasks.size(); i = next++) {
                tasks[i]();
                std::lock_guard lock(mutex);
                if (++finished == tasks.size())
                    done.notify_all();
            }
        }
    };
    if (tasks.empty())
        return;
    auto work = std::make_shared<Work>();
    work->tasks = tasks;
    const int helpers = std::min(int(tasks.size()), jobPool().maxThreadCount()) - 1;
    for (int helper = 0; helper < helpers; ++helper)
        jobPool().start([work] { work->run(); });
    work->run();
    std::unique_lock lock(work->mutex);
    work->done.wait(lock, [&] { return work->finished == work->tasks.size(); });
}

} // namespace quorva
