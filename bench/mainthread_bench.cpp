// How long the application's main thread is busy at a stretch while a job runs as the window runs
// it: a 1 ms timer on the real Qt event loop notes the longest gap between its ticks, from the
// moment the job starts until its last delivery step has written the set. The app icon set from
// the 1024 px icon, and the image set, which renders on the main thread, from a 48-megapixel
// photograph (8000 × 6000).

#include "benchsources.h"

#include "apple/appiconset.h"
#include "apple/catalogwriter.h"
#include "apple/imageset.h"
#include "generation/encodedfirst.h"
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

// The longest stretch the main thread was busy while start() ran a job that calls done() once
// its last delivery step has run.
template<typename Start>
void probeMainThread(benchmark::State& state, Start start)
{
    int argc = 1;
    char name[] = "quorva_bench";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    qint64 longest = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        const std::optional<std::filesystem::path> destination = out.path().toStdString();
        QEventLoop loop;
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
        QTimer::singleShot(0, [&] { start(destination, [&loop] { loop.quit(); }); });
        loop.exec();
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        QThreadPool::globalInstance()->waitForDone();
    }
    state.counters["longest_busy_ms"] = static_cast<double>(longest) / 1e6;
}

void appIconSet(benchmark::State& state)
{
    const LoadedImage loaded = loadImage(bench::sources().iconRgba);
    probeMainThread(state, [&](const std::optional<std::filesystem::path>& destination, auto done) {
        auto delivered = std::make_shared<std::size_t>(0);
        makeAppIconSet(loaded.image, [=](std::optional<RenderedImages> images, std::optional<QString> message) {
            writeAppIconSet(images, message, destination);
            if (++*delivered == appIconSizes().size())
                done();
        });
    });
}

void imageSet48Megapixels(benchmark::State& state)
{
    const ImageRef photo
        = makeImage(bench::photoStandIn(8000, 6000).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    probeMainThread(state, [&](const std::optional<std::filesystem::path>& destination, auto done) {
        auto delivered = std::make_shared<std::size_t>(0);
        makeImageSet(photo, encodedFirst([=](std::optional<RenderedImages> images, std::optional<QString> message) {
                         writeImageSet(images, message, destination, [] { return QStringLiteral("photo"); });
                         if (++*delivered == 3)
                             done();
                     }));
    });
}

} // namespace

void registerMainThreadProbe()
{
    benchmark::RegisterBenchmark("app/main-thread-during-appicon", appIconSet)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(20);
    benchmark::RegisterBenchmark("app/main-thread-during-imageset-48mp", imageSet48Megapixels)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
}
