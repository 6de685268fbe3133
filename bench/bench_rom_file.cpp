// Opening and saving a full-size image.
#include "rom/RomFile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {
RomBytes FullSizeImage()
{
    std::vector<std::uint8_t> bytes(262160);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31);
    return RomBytes(std::move(bytes));
}
}

static void BM_OpenImage(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.nes"));
    QString error;
    if (!SaveRomFile(path, FullSizeImage(), error)) {
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
    const RomBytes rom = FullSizeImage();
    QString error;
    for (auto _ : state)
        if (!SaveRomFile(path, rom, error))
            state.SkipWithError("could not write the image");
}
BENCHMARK(BM_SaveImage)->Unit(benchmark::kMicrosecond);
