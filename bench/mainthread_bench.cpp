// How long the application's main thread is busy at a stretch while an app icon job runs: a
// 1 ms timer on the real Qt event loop notes the longest gap between its ticks, from the moment
// the job starts until its last delivery step has written the set.

#include "benchsources.h"

#include "catalog/catalogwriter.h"
#include "generation/appiconset.h"
#include "image/imageloading.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>

namespace {

using namespace quorva;

void mainThreadProbe(benchmark::State& state)
{
    int argc = 1;
    char name[] = "quorva_bench";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const LoadedImage loaded = loadImage(bench::sources().iconRgba);
    qint64 longest = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        const std::optional<std::filesystem::path> destination = out.path().toStdString();
        QEventLoop loop;
        std::size_t delivered = 0;
        QElapsedTimer clock;
        qint64 lastTick = 0;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(1);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - lastTick);
            lastTick = now;
        });
        clock.start();
        probe.start();
        makeAppIconSet(loaded.image, [&](std::optional<RenderedImages> images, std::optional<QString> message) {
            writeAppIconSet(images, message, destination);
            if (++delivered == appIconSizes().size())
                loop.quit();
        });
        loop.exec();
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        QThreadPool::globalInstance()->waitForDone();
    }
    state.counters["longest_busy_ms"] = static_cast<double>(longest) / 1e6;
}

} // namespace

void registerMainThreadProbe()
{
    benchmark::RegisterBenchmark("app/main-thread-during-appicon", mainThreadProbe)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(20);
}
