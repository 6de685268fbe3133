#pragma once
// The console's 64 colours and the two 32-bit forms screen colours take here:
// packed pixels 0x00RRGGBB (pixel buffers) and control colours 0x00BBGGRR.
#include <array>
#include <cstdint>

constexpr int NesColourCount = 64;

struct NesRgb {
    std::uint8_t Red, Green, Blue;
};

// Red, green and blue of each NES colour index 0x00..0x3F.
extern const std::array<NesRgb, NesColourCount> NesColourRgb;

// Packed colour of each index; filled by every clsNesTiles construction.
extern std::array<std::uint32_t, NesColourCount> NesColourTable;

// red * 65536 + green * 256 + blue.
constexpr std::uint32_t PackRgb(const NesRgb& c)
{
    return (std::uint32_t(c.Red) << 16) | (std::uint32_t(c.Green) << 8) | std::uint32_t(c.Blue);
}

// A packed 0x00RRGGBB colour as a control colour 0x00BBGGRR.
constexpr std::uint32_t PackedToColour(std::uint32_t packed)
{
    const std::uint32_t red = (packed >> 16) & 0xFF;
    const std::uint32_t green = (packed >> 8) & 0xFF;
    const std::uint32_t blue = packed & 0xFF;
    return red + green * 256 + blue * 65536;
}
