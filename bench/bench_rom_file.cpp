// Opening and saving the full-size (262,160-byte) demo cartridge.
#include "rom/DemoCartridge.h"
#include "rom/RomFile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

static void BM_OpenImage(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.nes"));
    QString error;
    if (!SaveRomFile(path, MakeDemoCartridge(), error)) {
        state.SkipWithError("could not write the image");
        return;
    }
    for (auto _ : state) {
        RomBytes rom;
        if (!LoadRomFile(path, rom, error))
            state.SkipWithError("could not read the image");
        benchmark::DoNotOptimize(rom.data());
    }
}
BENCHMARK(BM_OpenImage)->Unit(benchmark::kMicrosecond);

static void BM_SaveImage(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.nes"));
    const RomBytes rom = MakeDemoCartridge();
    QString error;
    for (auto _ : state)
        if (!SaveRomFile(path, rom, error))
            state.SkipWithError("could not write the image");
}
BENCHMARK(BM_SaveImage)->Unit(benchmark::kMicrosecond);
