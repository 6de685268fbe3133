// Creating and applying IPS and BPS patches of the whole demo cartridge with
// 10 % of its bytes changed in scattered runs (an image edited everywhere,
// far more than a level designer's patch).
#include "patch/Patch.h"
#include "demo/DemoCartridge.h"

#include <benchmark/benchmark.h>

namespace {

struct EditedDemo {
    ByteVector original = MakeDemoCartridge().bytes();
    ByteVector modified = original;
    EditedDemo()
    {
        // Runs of 1 to 32 new bytes at random places until a tenth differs.
        std::uint32_t x = 0x9E3779B9u;
        auto next = [&x] {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            return x;
        };
        std::size_t changed = 0;
        while (changed < original.size() / 10) {
            const std::size_t at = next() % original.size();
            const std::size_t length = 1 + next() % 32;
            for (std::size_t i = at; i < at + length && i < modified.size(); ++i) {
                const std::uint8_t value = std::uint8_t(next() >> 24);
                if (modified[i] == original[i] && value != original[i])
                    ++changed;
                else if (modified[i] != original[i] && value == original[i])
                    --changed;
                modified[i] = value;
            }
        }
    }
};

const EditedDemo& Edited()
{
    static const EditedDemo edited;
    return edited;
}

void CreateBench(benchmark::State& state, PatchFormat format)
{
    const EditedDemo& e = Edited();
    QString error;
    std::size_t size = 0;
    for (auto _ : state) {
        std::optional<ByteVector> patch = CreatePatch(format, e.original, e.modified, error);
        if (!patch) {
            state.SkipWithError("the patch could not be made");
            return;
        }
        size = patch->size();
        benchmark::DoNotOptimize(patch->data());
    }
    state.counters["patch_bytes"] = double(size);
}

void ApplyBench(benchmark::State& state, PatchFormat format)
{
    const EditedDemo& e = Edited();
    QString error;
    const std::optional<ByteVector> patch = CreatePatch(format, e.original, e.modified, error);
    if (!patch) {
        state.SkipWithError("the patch could not be made");
        return;
    }
    for (auto _ : state) {
        PatchApplyResult result = ApplyPatch(*patch, e.original, {}, error);
        if (!result.image || *result.image != e.modified) {
            state.SkipWithError("the patch did not give the edited image");
            return;
        }
        benchmark::DoNotOptimize(result.image->data());
    }
}

} // namespace

static void BM_CreateIps(benchmark::State& state) { CreateBench(state, PatchFormat::Ips); }
static void BM_ApplyIps(benchmark::State& state) { ApplyBench(state, PatchFormat::Ips); }
static void BM_CreateBps(benchmark::State& state) { CreateBench(state, PatchFormat::Bps); }
static void BM_ApplyBps(benchmark::State& state) { ApplyBench(state, PatchFormat::Bps); }
BENCHMARK(BM_CreateIps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyIps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CreateBps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyBps)->Unit(benchmark::kMicrosecond);
