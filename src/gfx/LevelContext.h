#pragma once
// What the drawing routines read from: the image, the zone records and the
// slot of the zone being shown. The windows pass the program-wide values.
#include "rom/RomBytes.h"
#include "rom/ZoneTable.h"

struct LevelContext {
    const RomBytes& rom;
    const ZoneTableArray& zones;
    int zone;

    // The zone's record, or nullptr when the slot lies outside the table.
    const ZoneInfo* zoneInfo() const
    {
        return zone >= 0 && zone < ZoneSlotCount ? &zones[static_cast<std::size_t>(zone)] : nullptr;
    }
};
