#pragma once
// Copying a room's whole layout (48 metatile numbers) and writing it into
// another room, and finding the rooms that share layout bytes: rooms whose
// pointers lead to the same bytes, or to bytes that overlap, change together.
#include "gfx/LevelContext.h"
#include "level/RoomLayout.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

using RoomLayoutData = std::array<std::uint8_t, RoomLayoutBytes>;

// The room's 48 layout bytes, or nothing when any of them lies outside the image.
std::optional<RoomLayoutData> ReadRoomLayout(const LevelContext& level, int room);

// The writes that give the room the layout `data`, or nothing when any of
// its bytes lies outside the image.
std::optional<std::vector<ByteWrite>> RoomLayoutWrites(const LevelContext& level, int room,
                                                       const RoomLayoutData& data);

struct RoomRef {
    int Zone;   // slot 0..6
    int Room;
    friend bool operator==(const RoomRef&, const RoomRef&) = default;
};

// Every room of every zone, other than `room` of the level's zone itself,
// whose layout bytes overlap that room's: a write into the room shows in
// each of them. Zone by zone, rooms in order.
std::vector<RoomRef> RoomsSharingLayout(const LevelContext& level, int room);

// "Room 03", "Room 03 and Room 07", "Room 03, Room 07 and Room 05 of Zone 4":
// rooms of the level's zone by their number, others with their zone.
QString RoomListText(const std::vector<RoomRef>& rooms, int zone);

// What Edit › Copy Room holds: the layout bytes and the room they came from.
struct RoomClipboard {
    RoomLayoutData Data;
    int Zone;
    int Room;
};
