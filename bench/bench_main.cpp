// Benchmarks of the editor's hot paths, with a memory-copy baseline so every
// figure can be read as a ratio to what the machine's memory allows.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <cstdint>
#include <vector>

// Copying the level view's 512 x 384 32-bit pixels from one buffer to another.
static void BM_CopyLevelPixels(benchmark::State& state)
{
    std::vector<std::uint32_t> from(512 * 384, 0x00112233u), to(512 * 384);
    for (auto _ : state) {
        std::copy(from.begin(), from.end(), to.begin());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyLevelPixels)->Unit(benchmark::kMicrosecond);

// The window benchmarks need an application object; without a display they
// run on the offscreen platform.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
