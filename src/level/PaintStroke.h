#pragma once
// One drag of the left button over the level view: which room and metatile it
// paints, where the pointer was last, which cells it has met and how many it
// changed, and the name of its undo step.
#include "level/RoomLayout.h"

#include <QString>

#include <bitset>
#include <cstdint>
#include <vector>

class PaintStroke {
public:
    // Starts at the press (x, y), whose cell counts as met.
    PaintStroke(std::uint64_t mergeKey, int room, std::uint8_t metatile, double x, double y);

    std::uint64_t mergeKey() const { return m_key; }
    int room() const { return m_room; }
    std::uint8_t metatile() const { return m_metatile; }

    // The pointer moved to (x, y): the cells of the segment from the last
    // position that the stroke has not met yet, in order (they count as met now).
    std::vector<RoomCell> moveTo(double x, double y);

    // A cell of the stroke was given the metatile.
    void cellChanged() { ++m_changed; }
    int changedCells() const { return m_changed; }

    // The name of the stroke's step once `changed` cells are changed: a single
    // cell is named as a click ("Place Metatile 2A in Room 05"), more as
    // "Paint 9 Cells in Room 05".
    QString stepName(int changed) const;

private:
    std::uint64_t m_key;
    int m_room;
    std::uint8_t m_metatile;
    double m_x, m_y;
    std::bitset<RoomLayoutBytes> m_met;
    int m_changed = 0;
};
