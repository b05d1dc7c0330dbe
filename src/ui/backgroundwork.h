#pragma once

#include "generation/jobpool.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QThreadPool>

#include <utility>

namespace quorva {

// Hands a result made off the main thread to done on the main thread, unless the owner is gone.
template<typename Result, typename Done>
void deliverTo(const QPointer<QObject>& owner, Done done, Result result)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [owner, done = std::move(done), result = std::move(result)]() mutable {
            if (owner)
                done(std::move(result));
        },
        Qt::QueuedConnection);
}

// Runs work on the job pool and then done on the main thread, unless the owner is gone by then.
template<typename Work, typename Done>
void inBackground(QObject* owner, Work work, Done done)
{
    QPointer<QObject> alive(owner);
    jobPool().start([alive, work = std::move(work), done = std::move(done)]() mutable {
        deliverTo(alive, std::move(done), work());
    });
}

// The same on a thread of its own, for work that waits on the pool itself (a project's sync, whose
// icons the pool makes): on the pool it would hold a thread the icons need.
template<typename Work, typename Done>
void onThreadOfItsOwn(QObject* owner, Work work, Done done)
{
    QPointer<QObject> alive(owner);
    QThread* thread = QThread::create([alive, work = std::move(work), done = std::move(done)]() mutable {
        deliverTo(alive, std::move(done), work());
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

} // namespace quorva
