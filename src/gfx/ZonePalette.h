#pragma once
// The background palettes of a zone: palette p gives the NES colour indices
// of pixel values 0..3. Value 0 is always 0x0F; palette 3 always comes from
// the first zone's table (only that table has a fourth entry).
#include "gfx/LevelContext.h"

#include <array>
#include <cstdint>
#include <optional>

constexpr std::uint8_t PaletteBackColour = 0x0F;
constexpr int SharedPaletteNumber = 3;

using ZonePalette = std::array<std::uint8_t, 4>;

// File offset of palette p's three colour bytes, or NoOffset when the
// pointer cannot be read. Read afresh from the image on every call.
std::int32_t ZonePaletteOffset(const LevelContext& level, int p);

// The four colour indices of palette p, or nothing when the pointer or one of
// the three bytes lies outside the image (or p is not 0..3).
std::optional<ZonePalette> LookupZonePalette(const LevelContext& level, int p);
