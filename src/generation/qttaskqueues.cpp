#include "generation/qttaskqueues.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

namespace quorva {

void QtTaskQueues::postToMain(Task task)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

void QtTaskQueues::postToBackground(Task task)
{
    QThreadPool::globalInstance()->start(std::move(task));
}

} // namespace quorva
