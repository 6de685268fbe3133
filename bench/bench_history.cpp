// The edit history: applying and reverting steps, the journal's append and
// flush, the memory a long history of clicks takes, and an undo in the
// window with its redraw.
#include "BenchFixture.h"
#include "DemoZone.h"
#include "history/EditHistory.h"
#include "history/RecoveryJournal.h"
#include "level/RoomLayout.h"
#include "rom/ProgramState.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QScrollBar>
#include <QTemporaryDir>

#include <malloc.h>

namespace {
// The 48 layout bytes of room 3 of zone 1, each given another metatile.
std::vector<ByteWrite> RoomWrites(const RomBytes& rom, const ZoneTableArray& zones)
{
    std::vector<ByteWrite> writes;
    const std::int32_t start = RoomLayoutOffset(LevelContext{rom, zones, 0}, 3);
    for (int i = 0; i < 48; ++i)
        writes.push_back({start + i, std::uint8_t(rom.read(start + i) + 1)});
    return writes;
}

// 100,000 bytes spread over the image, every third byte from 0x1000.
std::vector<ByteWrite> ScatteredWrites(const RomBytes& rom)
{
    std::vector<ByteWrite> writes;
    for (std::int64_t i = 0; i < 100000; ++i) {
        const std::int64_t at = 0x1000 + 2 * i;
        writes.push_back({at, std::uint8_t(rom.read(at) ^ 0x5A)});
    }
    return writes;
}

// One undo and one redo of a step made of `writes`.
void UndoRedo(benchmark::State& state, std::vector<ByteWrite> (*make)(const RomBytes&))
{
    RomBytes rom = bench::Demo().rom;
    EditHistory history(rom);
    history.reset(QStringLiteral("demo.nes"));
    const std::vector<ByteWrite> writes = make(rom);
    history.apply(QStringLiteral("step"), writes);
    for (auto _ : state) {
        history.undo();
        history.redo();
    }
    state.counters["bytes"] = double(writes.size());
}

std::vector<ByteWrite> Room(const RomBytes& rom)
{
    return RoomWrites(rom, bench::Demo().zones);
}
}

// Reverting and applying again a step of 48 cells (one undo and one redo).
static void BM_UndoRedo48Cells(benchmark::State& state)
{
    UndoRedo(state, Room);
}
BENCHMARK(BM_UndoRedo48Cells)->Unit(benchmark::kMicrosecond);

// The same for a step of 100,000 bytes.
static void BM_UndoRedo100kBytes(benchmark::State& state)
{
    UndoRedo(state, ScatteredWrites);
}
BENCHMARK(BM_UndoRedo100kBytes)->Unit(benchmark::kMicrosecond);

// Recording a new step of 48 cells (then undoing it, so the stack stays small).
static void BM_Apply48Cells(benchmark::State& state)
{
    RomBytes rom = bench::Demo().rom;
    EditHistory history(rom);
    history.reset(QStringLiteral("demo.nes"));
    const std::vector<ByteWrite> writes = Room(rom);
    for (auto _ : state) {
        history.apply(QStringLiteral("Paint 48 Cells in Room 03"), writes);
        history.undo();
    }
}
BENCHMARK(BM_Apply48Cells)->Unit(benchmark::kMicrosecond);

// A one-cell record appended to the journal, without and with its flush to
// disk (the flush runs when a step ends).
static void BM_JournalAppend(benchmark::State& state)
{
    QTemporaryDir dir;
    QString error;
    const RomBytes& base = bench::Demo().rom;
    auto journal = RecoveryJournal::Create(dir.path(), dir.filePath(QStringLiteral("demo.nes")), base, error);
    if (!journal) {
        state.SkipWithError(error.toStdString().c_str());
        return;
    }
    JournalRecord record;
    record.OldSize = record.NewSize = std::uint32_t(base.size());
    record.Runs = ChangeList({{0x5000, 1, 2}});
    const bool flush = state.range(0) != 0;
    for (auto _ : state) {
        journal->append(record, error);
        if (flush)
            journal->sync(error);
    }
    journal->remove();
}
BENCHMARK(BM_JournalAppend)->Arg(0)->Arg(1)->ArgName("flush")->Unit(benchmark::kMicrosecond);

// The heap a history of 100,000 single-cell steps takes (counter "MB").
static void BM_Memory100kSteps(benchmark::State& state)
{
    for (auto _ : state) {
        RomBytes rom = bench::Demo().rom;
        EditHistory history(rom);
        history.reset(QStringLiteral("demo.nes"));
        const std::size_t before = mallinfo2().uordblks;
        for (int i = 0; i < 100000; ++i) {
            const int cell = i % 48, room = (i / 48) % 33;
            const std::int32_t at = RoomLayoutOffset(LevelContext{rom, bench::Demo().zones, 0}, room);
            history.apply(QStringLiteral("Place Metatile %1 in Room %2").arg(i % 256, 2, 16).arg(room, 2, 16),
                          {{at + cell, std::uint8_t(rom.read(at + cell) + 1)}});
        }
        const std::size_t after = mallinfo2().uordblks;
        state.counters["MB"] = double(after - before) / (1024.0 * 1024.0);
        state.counters["steps"] = history.stack().count();
    }
}
BENCHMARK(BM_Memory100kSteps)->Iterations(1)->Unit(benchmark::kMillisecond);

// Edit › Undo then Edit › Redo in the main window, with every redraw: a
// placed metatile (two cells repainted) and a tile editor change (the level
// view and selector drawn again).
static void BM_WindowUndoRedo(benchmark::State& state)
{
    bench::DemoWindow demo;
    frmVornEd* window = bench::ShowDemoZone(state, demo);
    if (!window)
        return;
    frmVornEd& w = *window;
    w.hsTable->setValue(2);
    w.picTile_MouseDown(1, {}, 10, 10);   // metatile 8
    if (state.range(0) == 0) {
        w.picEditor_MouseDown(1, {}, 10, 10);
    } else {
        const std::int64_t at = std::int64_t(bench::Demo().zones[0].MetatileTiles) + 16 * 8;
        RomHistory().apply(QStringLiteral("Tile 0 of Metatile 08"),
                           {ByteWrite{at, std::uint8_t(RomImage.read(at) + 1)}});
    }
    for (auto _ : state) {
        w.mnuUndo->trigger();
        bench::HandleQueuedEvents();
        w.mnuRedo->trigger();
        bench::HandleQueuedEvents();
    }
}
BENCHMARK(BM_WindowUndoRedo)->Arg(0)->Arg(1)->ArgName("graphics")->Unit(benchmark::kMicrosecond);
