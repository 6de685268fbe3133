#include "gfx/ZonePalette.h"

std::int32_t ZonePaletteOffset(const LevelContext& level, int p)
{
    if (p < 0 || p > SharedPaletteNumber)
        return NoOffset;
    const LevelContext owner{level.rom, level.zones, p == SharedPaletteNumber ? 0 : level.zone};
    const ZoneInfo* zone = owner.zoneInfo();
    if (!zone)
        return NoOffset;
    return ReadRomPointer(level.rom, zone->PaletteTable, p);
}

std::optional<ZonePalette> LookupZonePalette(const LevelContext& level, int p)
{
    const std::int32_t at = ZonePaletteOffset(level, p);
    if (at == NoOffset || !level.rom.contains(at, 3))
        return std::nullopt;
    return ZonePalette{PaletteBackColour, static_cast<std::uint8_t>(level.rom.read(at)),
                       static_cast<std::uint8_t>(level.rom.read(at + 1)),
                       static_cast<std::uint8_t>(level.rom.read(at + 2))};
}
