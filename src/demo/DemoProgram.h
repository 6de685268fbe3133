#pragma once
// The demo cartridge's program: a room viewer in 6502 assembly
// (src/demo/program), assembled and linked when the demo is built. It shows
// the image's rooms as the level view does; Right / Left step through the
// rooms, Down / Up through the zones.
//
// Where it lies in the image (mapper 2, UxROM): its code in program bank 0
// from CPU $8000 (file offset 0x10), before the zones' palette tables; the
// six vector bytes at $FFFA-$FFFF of the fixed last bank, which are the last
// six bytes of Zone 7's tile FF.
#include "rom/RomBytes.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace demo {

struct ViewerProgram {
    std::span<const std::uint8_t> Code;        // loaded at CPU $8000 of bank 0
    std::span<const std::uint8_t, 6> Vectors;  // NMI, RESET, IRQ at $FFFA
    std::uint16_t ZoneFacts;                   // CPU address of the zone facts in Code
    std::uint16_t Reset, Nmi, Irq;             // where the vectors lead
};

// The linked program as the assembler made it (the zone facts still 0).
const ViewerProgram& Viewer();

constexpr std::uint16_t ViewerCodeAddress = 0x8000;
constexpr std::int64_t ViewerCodeOffset = 0x10;            // bank 0, CPU $8000
constexpr std::int64_t ViewerVectorsOffset = 0x4000A;      // last bank, CPU $FFFA
constexpr int ViewerVectorBytes = 6;

// The zone facts the program reads: ten arrays of one byte per zone (zone
// header offset bits 0-7, 8-15, 16-23; palette table offset likewise; tile
// bank offset likewise; last room), filled from the editor's zone table.
constexpr int ZoneFactArrays = 10;

// The program's code as the demo cartridge holds it (zone facts filled in).
std::vector<std::uint8_t> ViewerCode();

// The bytes of the image the program occupies: its code and its vectors.
std::array<ByteRange, 2> ViewerRanges();

// How many of the program's bytes (code and vectors) the image holds as the
// demo cartridge has them, of how many.
struct ViewerMatch {
    std::int64_t Equal = 0;
    std::int64_t Total = 0;
};
ViewerMatch MatchViewer(const RomBytes& rom);

} // namespace demo
