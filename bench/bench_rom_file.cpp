// Opening and saving the full-size (262,160-byte) demo cartridge.
#include "demo/DemoCartridge.h"
#include "rom/RomFile.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

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

// The same file with a second hard link: saved in place, with a backup copy
// made beside it and removed again.
static void BM_SaveImageInPlace(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.nes"));
    const RomBytes rom = MakeDemoCartridge();
    QString error;
    if (!SaveRomFile(path, rom, error)
        || ::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("link.nes"))).constData()) != 0) {
        state.SkipWithError("could not write the image");
        return;
    }
    for (auto _ : state)
        if (!SaveRomFile(path, rom, error))
            state.SkipWithError("could not write the image");
}
BENCHMARK(BM_SaveImageInPlace)->Unit(benchmark::kMicrosecond);
