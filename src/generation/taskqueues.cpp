#include "generation/taskqueues.h"

#include "generation/qttaskqueues.h"

#include <atomic>

namespace quorva {
namespace {
std::atomic<TaskQueues*> installed{nullptr};
}

TaskQueues& defaultTaskQueues()
{
    if (TaskQueues* queues = installed.load())
        return *queues;
    static QtTaskQueues qtQueues;
    return qtQueues;
}

ScopedTaskQueues::ScopedTaskQueues(TaskQueues& queues) : m_previous(installed.exchange(&queues))
{
}

ScopedTaskQueues::~ScopedTaskQueues()
{
    installed.store(m_previous);
}

} // namespace quorva
