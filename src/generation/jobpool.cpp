#include "generation/jobpool.h"

#include <QThread>
#include <QThreadPool>

namespace quorva {

QThreadPool& jobPool()
{
    static QThreadPool* const pool = [] {
        auto* made = new QThreadPool; // never destroyed: a task may still run as the program ends
        made->setMaxThreadCount(QThread::idealThreadCount());
        return made;
    }();
    return *pool;
}

} // namespace quorva
