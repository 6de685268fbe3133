#include "ImageWalk.h"

#include "editors/MetatileEdits.h"
#include "editors/PaletteSlots.h"
#include "history/EditHistory.h"
#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "level/RoomLayout.h"
#include "level/RoomView.h"
#include "files/FileFaults.h"
#include "rom/RomFile.h"
#include "rom/ZoneCheck.h"
#include "rom/ZoneTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <unistd.h>
#include <set>
#include <cstdlib>

namespace {

// A small deterministic generator for the edit positions.
struct Lcg {
    std::uint32_t state;
    std::uint32_t next() { state = state * 1664525u + 1013904223u; return state >> 8; }
};

// Stops the walk loudly: a broken promise of the editor, not bad input.
[[noreturn]] void Broken()
{
    std::abort();
}

// True when the file at `path` holds exactly the image's bytes.
bool HoldsImage(const QString& path, const RomBytes& rom)
{
    const ReadOutcome read = ReadWholeFile(path, MaxRomFileSize, FileAccess::FilesOnly);
    if (rom.empty())
        return read.Status == ReadStatus::Empty;
    return read.Status == ReadStatus::Read && read.Bytes == rom.bytes();
}

QStringList FolderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The save step, both ways a file is saved: replaced by a temporary file,
// and, once it has a second hard link, overwritten in place with a backup
// copy; then an in-place save that fails half-way, which must leave the
// file as it was. After each, nothing but the file and its link is left.
bool SaveAndCompare(const RomBytes& rom, const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString link = path + QStringLiteral(".link");
    QFile::remove(link);
    QString error;
    if (!SaveRomFile(path, rom, error) || !HoldsImage(path, rom))
        return false;
    const QStringList alone = FolderEntries(folder);
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()) != 0)
        return false;
    const QStringList linked = FolderEntries(folder);
    bool ok = SaveRomFile(path, rom, error) && HoldsImage(path, rom) && HoldsImage(link, rom) && FolderEntries(folder) == linked;

    // A changed image whose in-place write fails part way: the old bytes stay.
    std::vector<std::uint8_t> changed = rom.bytes();
    changed.push_back(0x5A);
    for (std::size_t i = 0; i < changed.size(); i += 997)
        changed[i] = static_cast<std::uint8_t>(changed[i] ^ 0xFF);
    SetFileFault([](FileStep step, long long) {
        return step == FileStep::WriteInPlace ? QStringLiteral("Input/output error") : QString();
    });
    ok = ok && !SaveRomFile(path, RomBytes(std::move(changed)), error) && HoldsImage(path, rom) && HoldsImage(link, rom)
         && FolderEntries(folder) == linked;
    SetFileFault({});
    ok = QFile::remove(link) && ok && FolderEntries(folder) == alone;
    return ok;
}

} // namespace

WalkResult WalkImage(RomBytes& rom, std::uint32_t seed, const WalkOptions& options)
{
    WalkResult result;
    Lcg random{seed};
    const std::int64_t size = rom.size();

    ZoneTableArray zones{};
    BuildZoneTable(rom, zones);
    (void)CheckZones(rom, zones);

    const RomBytes original = rom;
    std::set<std::int64_t> written;
    // Every edit is a step of the edit layer, as in the editor.
    EditHistory history(rom);
    history.reset(QStringLiteral("walk.nes"));
    auto record = [&history](const std::optional<ByteWrite>& write) {
        return write && history.apply(QStringLiteral("walk"), {*write}) != EditResult::OutsideImage;
    };

    Canvas scratch(64, 64), view(512, 384), selector(64, 256), preview(64, 64);
    Canvas block(128, 128), swatch(32, 32), grid(512, 128);
    for (int zone = 0; zone < ZoneCount; ++zone) {
        const LevelContext level{rom, zones, zone};
        const int lastRoom = zones[zone].LastRoom;
        const int rooms = options.Rooms < 0 ? lastRoom + 1 : options.Rooms;
        for (int i = 0; i < rooms; ++i) {
            const int room = options.Rooms < 0 ? i
                           : i == 0 ? lastRoom
                                    : static_cast<int>(random.next() % static_cast<std::uint32_t>(lastRoom + 1));
            DrawRoom(level, room, scratch, view);
            ++result.RoomsDrawn;
        }
        const int pages = options.Pages < 0 ? SelectorLastPage + 1 : options.Pages;
        for (int i = 0; i < pages; ++i) {
            const int page = options.Pages < 0 ? i
                           : i == 0 ? SelectorLastPage
                                    : static_cast<int>(random.next() % (SelectorLastPage + 1));
            DrawSelectorPage(level, page, scratch, selector);
            ++result.PagesDrawn;
        }

        // Place a few metatiles as left clicks would.
        for (int i = 0; i < 4; ++i) {
            const int room = static_cast<int>(random.next() % static_cast<std::uint32_t>(lastRoom + 1));
            const RoomCell cell{static_cast<int>(random.next() % RoomColumns),
                                static_cast<int>(random.next() % RoomRows)};
            const auto m = static_cast<std::uint8_t>(random.next());
            DrawPreview(level, preview, m);
            const std::int32_t start = RoomLayoutOffset(level, room);
            const std::int64_t at = start == NoOffset ? -1 : std::int64_t(start) + RoomCellIndex(cell);
            if (record(PlaceMetatileWrite(level, room, cell, m))) {
                if (rom.read(at) != m)
                    Broken();
                written.insert(at);
                ++result.Placed;
            } else {
                if (rom.contains(at))
                    Broken();
                ++result.PlaceRefused;
            }
        }
    }

    // The editors: previews and swatches for a range of metatiles, then a few
    // edits, each allowed to change only the byte its core function names.
    for (int zone = 0; zone < ZoneCount; ++zone) {
        const LevelContext level{rom, zones, zone};
        const int first = static_cast<int>(random.next() % 256);
        for (int n = 0; n < 4; ++n) {
            const int m = (first + n) % 256;
            for (int q = 0; q < 4; ++q) {
                DrawTileBlock(level, block, m, q, 8);
                DrawTileBlockGrid(block);
                (void)QuadrantColours(level, m, q);
            }
        }
        for (int slot = 0; slot <= 12; ++slot) {
            const int colour = ReadPaletteSlot(level, slot);
            PaintSwatch(swatch, colour);
            (void)ColourTooltip(colour);
        }
        DrawPaletteGrid(grid, 32 * static_cast<int>(random.next() % 16), 32 * static_cast<int>(random.next() % 4));

        const int m = static_cast<int>(random.next() % 256);
        const int q = static_cast<int>(random.next() % 4);
        const int k = static_cast<int>(random.next() % 4);
        const auto tile = static_cast<std::uint8_t>(random.next());
        const std::int64_t tileAt = QuadrantTileOffset(level, m, q, k);
        if (record(QuadrantTileWrite(level, m, q, k, tile))) {
            if (rom.read(tileAt) != tile)
                Broken();
            written.insert(tileAt);
        } else if (rom.contains(tileAt)) {
            Broken();
        }
        const int palette = static_cast<int>(random.next() % 4);
        const auto attrAt = MetatileAttrOffset(level, m);
        if (record(QuadrantPaletteWrite(level, m, q, palette))) {
            if (ReadQuadrantPalette(level, m, q) != palette)
                Broken();
            written.insert(attrAt);
        }
        const int slot = static_cast<int>(random.next() % 13);
        const auto colour = static_cast<std::uint8_t>(random.next() % 64);
        const std::int64_t slotAt = PaletteSlotOffset(level, slot);
        ByteWrite slotWrite{};
        if (PaletteSlotWrite(level, slot, colour, slotWrite) == SlotWrite::Written && record(slotWrite)) {
            if (rom.read(slotAt) != colour)
                Broken();
            written.insert(slotAt);
        }
    }

    // Only the bytes the edits named may have changed.
    if (rom.size() != size)
        Broken();
    for (std::int64_t i = 0; i < size; ++i)
        if (rom.read(i) != original.read(i) && !written.count(i))
            Broken();
    // Undoing every step gives back the image as it came, redoing every step
    // the edited one, and the modified state follows.
    const RomBytes edited = rom;
    while (history.undo()) {}
    if (!(rom == original) || history.isModified())
        Broken();
    while (history.redo()) {}
    if (!(rom == edited) || history.isModified() != !(edited == original))
        Broken();
    result.Steps = history.stack().count();

    if (!options.SavePath.isEmpty())
        result.SavedIdentical = SaveAndCompare(rom, options.SavePath);
    return result;
}
