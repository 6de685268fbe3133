#include "uses/MetatileUses.h"

#include "gfx/Metatile.h"

#include <bitset>

namespace {
QString Hex2(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

int LastRoom(const LevelContext& level)
{
    const ZoneInfo* zone = level.zoneInfo();
    return zone ? zone->LastRoom : -1;
}

// Cells and rooms holding any metatile of `wanted`.
UseCount CountCells(const LevelContext& level, const std::bitset<256>& wanted)
{
    UseCount count;
    for (int room = 0; room <= LastRoom(level); ++room) {
        const std::int32_t start = RoomLayoutOffset(level, room);
        if (start == NoOffset)
            continue;
        int cells = 0;
        for (int i = 0; i < RoomLayoutBytes; ++i) {
            const int m = level.rom.read(std::int64_t(start) + i);
            cells += m >= 0 && wanted.test(std::size_t(m));
        }
        count.Cells += cells;
        count.Rooms += cells > 0;
    }
    return count;
}

// The metatiles whose 16 tile numbers include t.
std::bitset<256> UsersOfTile(const LevelContext& level, int t)
{
    std::bitset<256> users;
    for (int m = 0; m < 256; ++m) {
        const std::int64_t at = MetatileTilesOffset(level, m);
        if (at == NoOffset)
            break;
        for (int k = 0; k < MetatileTileCount; ++k)
            if (level.rom.read(at + k) == t) {
                users.set(std::size_t(m));
                break;
            }
    }
    return users;
}
}

std::vector<RoomCell> CellsHolding(const LevelContext& level, int room, int m)
{
    std::vector<RoomCell> cells;
    const std::int32_t start = RoomLayoutOffset(level, room);
    if (start == NoOffset || m < 0 || m > 255)
        return cells;
    for (int i = 0; i < RoomLayoutBytes; ++i)
        if (level.rom.read(std::int64_t(start) + i) == m)
            cells.push_back(RoomCell{i % RoomColumns, i / RoomColumns});
    return cells;
}

std::vector<RoomUses> MetatileRoomUses(const LevelContext& level, int m)
{
    std::vector<RoomUses> uses;
    for (int room = 0; room <= LastRoom(level); ++room) {
        RoomUses entry;
        entry.Room = room;
        entry.Cells = CellsHolding(level, room, m);
        if (entry.Cells.empty())
            continue;
        const std::int32_t start = RoomLayoutOffset(level, room);
        for (int earlier = 0; earlier < room; ++earlier)
            if (RoomLayoutOffset(level, earlier) == start) {
                entry.SameLayoutAs = earlier;
                break;
            }
        uses.push_back(std::move(entry));
    }
    return uses;
}

UseCount CountMetatileUses(const LevelContext& level, int m)
{
    if (m < 0 || m > 255)
        return {};
    std::bitset<256> wanted;
    wanted.set(std::size_t(m));
    return CountCells(level, wanted);
}

std::array<int, 256> TileMetatileCounts(const LevelContext& level)
{
    std::array<int, 256> counts{};
    for (int m = 0; m < 256; ++m) {
        const std::int64_t at = MetatileTilesOffset(level, m);
        if (at == NoOffset)
            break;
        std::bitset<256> seen;
        for (int k = 0; k < MetatileTileCount; ++k) {
            const int t = level.rom.read(at + k);
            if (t >= 0 && !seen.test(std::size_t(t))) {
                seen.set(std::size_t(t));
                ++counts[std::size_t(t)];
            }
        }
    }
    return counts;
}

std::vector<int> MetatilesUsingTile(const LevelContext& level, int t)
{
    std::vector<int> metatiles;
    if (t < 0 || t > 255)
        return metatiles;
    const std::bitset<256> users = UsersOfTile(level, t);
    for (int m = 0; m < 256; ++m)
        if (users.test(std::size_t(m)))
            metatiles.push_back(m);
    return metatiles;
}

UseCount CountTileUses(const LevelContext& level, int t)
{
    if (t < 0 || t > 255)
        return {};
    return CountCells(level, UsersOfTile(level, t));
}

QString UseCountText(const UseCount& count)
{
    if (count.Cells == 0)
        return QStringLiteral("not used in any room");
    return QStringLiteral("used in %1 %2 of %3 %4")
        .arg(count.Cells)
        .arg(count.Cells == 1 ? QStringLiteral("cell") : QStringLiteral("cells"))
        .arg(count.Rooms)
        .arg(count.Rooms == 1 ? QStringLiteral("room") : QStringLiteral("rooms"));
}

QString RoomUsesText(const RoomUses& uses)
{
    QStringList cells;
    for (const RoomCell& cell : uses.Cells)
        cells << QStringLiteral("Col %1 Row %2").arg(cell.Column).arg(cell.Row);
    QString text = QStringLiteral("Room %1: %2 %3 (%4)")
                       .arg(Hex2(uses.Room))
                       .arg(uses.Cells.size())
                       .arg(uses.Cells.size() == 1 ? QStringLiteral("cell") : QStringLiteral("cells"))
                       .arg(cells.join(QStringLiteral(", ")));
    if (uses.SameLayoutAs >= 0)
        text += QStringLiteral(", the layout of Room %1").arg(Hex2(uses.SameLayoutAs));
    return text;
}
