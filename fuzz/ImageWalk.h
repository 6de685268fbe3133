#pragma once
// Everything the editor does with an opened image, without windows: build
// the zone table, and for every zone draw every room and selector page,
// draw editor previews, place metatiles and apply editor edits, then save
// and read the image back. Shared by the fuzzer and the foreign-image tests.
#include "rom/RomBytes.h"

#include <QString>
#include <cstdint>

struct WalkOptions {
    // Rooms and pages to draw per zone; -1 means all of them. Otherwise the
    // last room and page are drawn first, then ones the seed picks.
    int Rooms = -1;
    int Pages = -1;
    // Where the save-and-reload step writes (empty: skipped). The step saves
    // by rename, then in place through a second hard link, then fails an
    // in-place save half-way and checks the old bytes and that nothing is
    // left beside the file.
    QString SavePath;
};

struct WalkResult {
    int RoomsDrawn = 0;
    int PagesDrawn = 0;
    int Placed = 0;            // metatiles written into rooms
    int PlaceRefused = 0;      // cells outside the image
    bool SavedIdentical = true;
    int Steps = 0;             // undo steps the edits made
};

// Walks `rom` (it is edited in place, like the editor edits its image).
// `seed` chooses which cells and metatiles the edits touch.
WalkResult WalkImage(RomBytes& rom, std::uint32_t seed, const WalkOptions& options = {});
