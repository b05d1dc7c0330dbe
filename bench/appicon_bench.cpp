// The app icon job end to end (quorva-cli as a whole process writing real files) against its
// floor: decoding the source, the seventeen rescales and the seventeen encodings in memory,
// spread over every core. Both run in the same process, so their ratio holds on a noisy machine.

#include "benchsources.h"

#include "generation/appiconset.h"
#include "generation/imageloading.h"
#include "generation/imageresizing.h"
#include "generation/pngencoder.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace quorva;

struct Sources {
    QTemporaryDir dir;
    QByteArray iconPng = bench::encodedWithQt(bench::iconArtwork(1024));
    std::string iconPath;

    Sources()
    {
        iconPath = (dir.path() + QStringLiteral("/icon-1024.png")).toStdString();
        QFile file(QString::fromStdString(iconPath));
        file.open(QIODevice::WriteOnly);
        file.write(iconPng);
    }
};

Sources& sources()
{
    static Sources s;
    return s;
}

void floorAppIcon(benchmark::State& state)
{
    const QByteArray& png = sources().iconPng;
    const unsigned threads = std::max(2u, std::thread::hardware_concurrency());
    for (auto _ : state) {
        const LoadedImage loaded = loadImage(png);
        const auto& table = appIconSizes();
        std::atomic<std::size_t> next{0};
        std::atomic<std::size_t> bytes{0};
        std::vector<std::thread> workers;
        for (unsigned t = 0; t < threads; ++t)
            workers.emplace_back([&] {
                for (std::size_t i; (i = next++) < table.size();) {
                    const ImageRef icon = resizedToSide(*loaded.image, table[i].side);
                    bytes += static_cast<std::size_t>(encodePng(icon->representations().front())->size());
                }
            });
        for (auto& worker : workers)
            worker.join();
        benchmark::DoNotOptimize(bytes.load());
    }
}
BENCHMARK(floorAppIcon)->Name("floor/appicon-1024-rgba")->Unit(benchmark::kMillisecond)->UseRealTime();

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

void cliAppIcon(benchmark::State& state)
{
    QTemporaryDir out;
    const std::string destination = out.path().toStdString();
    for (auto _ : state) {
        if (runProcess({QUORVA_CLI_PATH, "appicon", sources().iconPath, destination}) != 0)
            state.SkipWithError("quorva-cli failed");
        state.PauseTiming();
        std::filesystem::remove_all(std::filesystem::path(destination) / "Quorva");
        state.ResumeTiming();
    }
}
BENCHMARK(cliAppIcon)->Name("cli/appicon-1024-rgba")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
