#pragma once
// Room layouts of the demo cartridge: 8 x 6 metatile numbers per room, made
// from the base kinds of DemoArt.h, the same for the same zone and room.
#include <array>
#include <cstdint>

namespace demo {

using RoomLayout = std::array<std::uint8_t, 48>; // row by row, 8 per row

RoomLayout MakeRoom(int zone, int room);

} // namespace demo
