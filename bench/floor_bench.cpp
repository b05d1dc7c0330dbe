// What the machine allows for our two jobs: decoding the source, every rescale and every PNG
// encoding, in memory, spread over Qt's pool as the jobs spread them, in a warm process with
// quorva-cli's allocator. The end-to-end runs of quorva-cli, here and in bench/run.sh, are held
// against these.

#include "benchsources.h"

#include "cli/allocatortuning.h"

#include "apple/appiconset.h"
#include "apple/imageset.h"
#include "image/imageloading.h"
#include "image/imageresizing.h"
#include "png/pngencoder.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <QThreadPool>

#include <atomic>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using namespace quorva;

void encodeOnPool(const ImageRef& image, std::atomic<std::size_t>& bytes)
{
    const std::optional<QByteArray> png = encodePng(image->representations().front());
    bytes += png ? static_cast<std::size_t>(png->size()) : 0;
}

void floorAppIcon(benchmark::State& state, const QByteArray* source)
{
    std::atomic<std::size_t> bytes{0};
    for (auto _ : state) {
        bytes = 0;
        const LoadedImage loaded = loadImage(*source);
        for (const AppIconEntry& entry : appIconSizes())
            QThreadPool::globalInstance()->start(
                [&loaded, &bytes, side = entry.side] { encodeOnPool(resizedToSide(*loaded.image, side), bytes); });
        QThreadPool::globalInstance()->waitForDone();
    }
    state.counters["png_bytes"] = static_cast<double>(bytes.load());
}

void floorImageSet(benchmark::State& state, const QByteArray* source)
{
    std::atomic<std::size_t> bytes{0};
    for (auto _ : state) {
        bytes = 0;
        const LoadedImage loaded = loadImage(*source);
        const QImage& pixels = loaded.image->representations().front();
        for (const ImageSetEntry& entry : imageSetSizes(pixels.width(), pixels.height()))
            QThreadPool::globalInstance()->start([&loaded, &bytes, size = entry.size] {
                encodeOnPool(resizedToSize(*loaded.image, size.width(), size.height()), bytes);
            });
        QThreadPool::globalInstance()->waitForDone();
    }
    state.counters["png_bytes"] = static_cast<double>(bytes.load());
}

int runProcess(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// quorva-cli as a whole process writing real files, the same run as the floors above.
void cli(benchmark::State& state, const char* kind, const QString* source)
{
    QTemporaryDir out;
    const std::string destination = out.path().toStdString();
    for (auto _ : state) {
        if (runProcess({QUORVA_CLI_PATH, kind, source->toStdString(), destination}) != 0)
            state.SkipWithError("quorva-cli failed");
        state.PauseTiming();
        std::filesystem::remove_all(std::filesystem::path(destination) / "Quorva");
        state.ResumeTiming();
    }
}

void registerAll()
{
    const bench::Sources& s = bench::sources();
    const struct {
        const char* name;
        const QByteArray* bytes;
        const QString* path;
        bool imageSet;
    } jobs[] = {{"appicon/icon-rgba", &s.iconRgba, &s.iconRgbaPath, false},
                {"appicon/icon-rgb", &s.iconRgb, &s.iconRgbPath, false},
                {"imageset/photo", &s.photo, &s.photoPath, true}};
    for (const auto& job : jobs) {
        benchmark::RegisterBenchmark((std::string("floor/") + job.name).c_str(),
                                     job.imageSet ? floorImageSet : floorAppIcon, job.bytes)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("cli/") + job.name).c_str(), cli,
                                     job.imageSet ? "imageset" : "appicon", job.path)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

} // namespace

void registerMainThreadProbe();

int main(int argc, char** argv)
{
    // The same allocator as quorva-cli's, so that the floor differs from it only by the process.
    tuneAllocatorForShortRun();
    bench::sources(argc, argv);
    registerAll();
    registerMainThreadProbe();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
