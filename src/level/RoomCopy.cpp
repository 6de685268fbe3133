#include "level/RoomCopy.h"


#include <QStringList>

namespace {
QString TwoDigitHex(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
}

std::optional<RoomLayoutData> ReadRoomLayout(const LevelContext& level, int room)
{
    const std::int32_t start = RoomLayoutOffset(level, room);
    if (start == NoOffset || !level.rom.contains(start, RoomLayoutBytes))
        return std::nullopt;
    RoomLayoutData data{};
    for (int i = 0; i < RoomLayoutBytes; ++i)
        data[std::size_t(i)] = std::uint8_t(level.rom.read(std::int64_t(start) + i));
    return data;
}

std::optional<std::vector<ByteWrite>> RoomLayoutWrites(const LevelContext& level, int room,
                                                       const RoomLayoutData& data)
{
    const std::int32_t start = RoomLayoutOffset(level, room);
    if (start == NoOffset || !level.rom.contains(start, RoomLayoutBytes))
        return std::nullopt;
    std::vector<ByteWrite> writes;
    writes.reserve(RoomLayoutBytes);
    for (int i = 0; i < RoomLayoutBytes; ++i)
        writes.push_back({std::int64_t(start) + i, data[std::size_t(i)]});
    return writes;
}

std::vector<RoomRef> RoomsSharingLayout(const LevelContext& level, int room)
{
    std::vector<RoomRef> rooms;
    const std::int32_t start = RoomLayoutOffset(level, room);
    if (start == NoOffset)
        return rooms;
    for (int zone = 0; zone < ZoneCount; ++zone) {
        const LevelContext other{level.rom, level.zones, zone};
        const ZoneInfo* info = other.zoneInfo();
        if (!info || info->TileBank == 0)
            continue;
        for (int r = 0; r <= info->LastRoom; ++r) {
            if (zone == level.zone && r == room)
                continue;
            const std::int32_t at = RoomLayoutOffset(other, r);
            if (at != NoOffset && at < start + RoomLayoutBytes && start < at + RoomLayoutBytes)
                rooms.push_back({zone, r});
        }
    }
    return rooms;
}

QString RoomListText(const std::vector<RoomRef>& rooms, int zone)
{
    QStringList names;
    for (const RoomRef& r : rooms) {
        QString name = QStringLiteral("Room ") + TwoDigitHex(r.Room);
        if (r.Zone != zone)
            name += QStringLiteral(" of Zone %1").arg(r.Zone + 1);
        names << name;
    }
    if (names.size() <= 1)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}
