#include "generation/qttaskqueues.h"

#include "generation/jobpool.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

namespace quorva {
namespace {

// Work items run a little below the thread that draws the window, as user-initiated work does:
// on a busy machine the window still answers at once while a job renders.
void yieldToTheWindow()
{
    thread_local const bool lowered = [] { return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5) == 0; }();
    (void)lowered;
}

} // namespace

void QtTaskQueues::postToMain(Task task)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

void QtTaskQueues::postToMainAfterPending(Task task)
{
    // A zero timer rather than a posted event: Qt runs the events posted by a posted event in the
    // same pass, before any timer or input.
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(task));
}

void QtTaskQueues::postToBackground(Task task)
{
    jobPool().start([task = std::move(task)] {
        yieldToTheWindow();
        task();
    });
}

} // namespace quorva
