// Benchmarks of the editor's hot paths, with a memory-copy baseline so every
// figure can be read as a ratio to what the machine's memory allows.
#include <benchmark/benchmark.h>

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
BENCHMARK(BM_CopyLevelPixels);

BENCHMARK_MAIN();
