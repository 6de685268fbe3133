#include "ImageWalk.h"

#include "gfx/Canvas.h"
#include "gfx/LevelContext.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "level/RoomLayout.h"
#include "level/RoomView.h"
#include "rom/RomFile.h"
#include "rom/ZoneCheck.h"
#include "rom/ZoneTable.h"

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

} // namespace

WalkResult WalkImage(RomBytes& rom, std::uint32_t seed, const WalkOptions& options)
{
    WalkResult result;
    Lcg random{seed};
    const std::int64_t size = rom.size();

    ZoneTableArray zones{};
    BuildZoneTable(rom, zones);
    (void)CheckZones(rom, zones);

    Canvas scratch(64, 64), view(512, 384), selector(64, 256), preview(64, 64);
    for (int zone = 0; zone < ZoneCount; ++zone) {
        const LevelContext level{rom, zones, zone};
        const int lastRoom = zones[zone].LastRoom;
        const int rooms = options.Rooms < 0 ? lastRoom + 1 : std::min(options.Rooms, lastRoom + 1);
        for (int room = 0; room < rooms; ++room) {
            DrawRoom(level, room, scratch, view);
            ++result.RoomsDrawn;
        }
        const int pages = options.Pages < 0 ? SelectorLastPage + 1 : std::min(options.Pages, SelectorLastPage + 1);
        for (int page = 0; page < pages; ++page) {
            DrawSelectorPage(level, page, scratch, selector);
            ++result.PagesDrawn;
        }

        // Place a few metatiles as left clicks would; only the cell's byte may change.
        for (int i = 0; i < 4; ++i) {
            const int room = static_cast<int>(random.next() % static_cast<std::uint32_t>(lastRoom + 1));
            const RoomCell cell{static_cast<int>(random.next() % RoomColumns),
                                static_cast<int>(random.next() % RoomRows)};
            const auto m = static_cast<std::uint8_t>(random.next());
            DrawPreview(level, preview, m);
            const std::int32_t start = RoomLayoutOffset(level, room);
            const std::int64_t at = start == NoOffset ? -1 : std::int64_t(start) + RoomCellIndex(cell);
            const RomBytes before = rom;
            if (PlaceMetatile(rom, zones, zone, room, cell, m) == PlaceResult::Written) {
                if (rom.read(at) != m)
                    Broken();
                ++result.Placed;
            } else {
                if (rom.contains(at) || !(rom == before))
                    Broken();
                ++result.PlaceRefused;
            }
            if (rom.size() != size)
                Broken();
        }
    }

    if (!options.SavePath.isEmpty()) {
        QString error;
        RomBytes back;
        result.SavedIdentical = SaveRomFile(options.SavePath, rom, error)
                             && (rom.empty() || (LoadRomFile(options.SavePath, back, error) && back == rom));
    }
    return result;
}
