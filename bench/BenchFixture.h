#pragma once
// What the drawing benchmarks draw from: the demo cartridge and its zone
// table, built once.
#include "gfx/LevelContext.h"
#include "demo/DemoCartridge.h"
#include "rom/ZoneTable.h"

namespace bench {

struct DemoImage {
    RomBytes rom = MakeDemoCartridge();
    ZoneTableArray zones{};
    DemoImage() { BuildZoneTable(rom, zones); }
};

inline const DemoImage& Demo()
{
    static const DemoImage image;
    return image;
}

// The first zone of the demo cartridge.
inline LevelContext DemoLevel(int zone = 0)
{
    return LevelContext{Demo().rom, Demo().zones, zone};
}

// The image offset of tile `n` of the level's zone.
inline std::int64_t TileOffset(const LevelContext& level, int n)
{
    return std::int64_t(level.zoneInfo()->TileBank) + 16 * std::int64_t(n);
}

}
