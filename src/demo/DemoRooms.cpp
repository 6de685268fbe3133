#include "demo/DemoRooms.h"

#include "demo/DemoArt.h"

namespace demo {
namespace {

constexpr int Columns = 8;
constexpr int Rows = 6;

// A small generator of our own so the rooms never depend on a library's
// random number algorithms.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint32_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 16);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

class Room {
public:
    int cell[Rows][Columns];
    explicit Room(int background)
    {
        for (auto& row : cell)
            for (int& c : row)
                c = background;
    }
};

// Share of indoor rooms per zone, in percent.
constexpr int IndoorPercent[7] = {15, 25, 60, 30, 70, 80, 50};
// The caves have a rock backdrop instead of a sky with clouds.
constexpr bool HasClouds[7] = {true, true, false, true, true, true, true};

} // namespace

RoomLayout MakeRoom(int zone, int room)
{
    Random rng(0xD1CEull * 1000003ull + static_cast<std::uint64_t>(zone) * 977ull + static_cast<std::uint64_t>(room));
    const bool indoor = rng.chance(IndoorPercent[zone]);
    const int background = indoor ? WallDark : Sky;
    Room r(background);
    auto isFree = [&](int row, int col) {
        return row >= 0 && row < Rows && col >= 0 && col < Columns && r.cell[row][col] == background;
    };

    // Ground: one or two rows high, stepping now and then; a pit of water
    // or spikes in many rooms.
    int height[Columns];
    int h = 1 + rng.below(2);
    for (int c = 0; c < Columns; ++c) {
        if (c > 0 && rng.chance(20))
            h = 3 - h;
        height[c] = h;
    }
    bool pit[Columns] = {};
    if (rng.chance(60)) {
        const int width = 1 + rng.below(2);
        const int start = 1 + rng.below(Columns - 1 - width);
        for (int c = start; c < start + width; ++c)
            pit[c] = true;
    }
    // Indoors every pit holds spikes: water would show the sky above it.
    const bool spikePit = indoor || rng.chance(20);
    for (int c = 0; c < Columns; ++c) {
        const int top = Rows - height[c];
        if (pit[c]) {
            r.cell[Rows - 1][c] = spikePit ? Spikes : WaterTop;
            continue;
        }
        for (int row = top; row < Rows; ++row) {
            if (row == top)
                r.cell[row][c] = indoor ? StoneTop : GrassTop;
            else
                r.cell[row][c] = indoor ? StoneBlock : (rng.chance(30) ? EarthStones : Earth);
        }
    }
    auto groundTop = [&](int c) { return pit[c] ? Rows : Rows - height[c]; };
    if (!indoor) {
        // Rounded edges where the ground drops away on one side only.
        for (int c = 0; c < Columns; ++c) {
            if (pit[c])
                continue;
            const bool dropLeft = c > 0 && groundTop(c - 1) > groundTop(c);
            const bool dropRight = c < Columns - 1 && groundTop(c + 1) > groundTop(c);
            if (dropLeft != dropRight)
                r.cell[groundTop(c)][c] = dropLeft ? GrassEdgeLeft : GrassEdgeRight;
        }
    }
    // A bridge across a pit whose banks are level.
    for (int c = 1; c < Columns - 1; ++c) {
        if (!pit[c] || pit[c - 1] || spikePit)
            continue;
        int end = c;
        while (end < Columns && pit[end])
            ++end;
        if (end < Columns && groundTop(c - 1) == groundTop(end) && rng.chance(50))
            for (int b = c; b < end; ++b)
                r.cell[groundTop(c - 1)][b] = Bridge;
    }

    // Indoors: a ceiling.
    if (indoor && rng.chance(70))
        for (int c = 0; c < Columns; ++c)
            r.cell[0][c] = Brick;

    // A wall at one side, with a door or a window.
    if (rng.chance(indoor ? 50 : 30)) {
        const int col = rng.chance(50) ? 0 : Columns - 1;
        const int top = groundTop(col);
        if (top < Rows) {
            for (int row = 0; row < top; ++row)
                r.cell[row][col] = Brick;
            if (top >= 3 && rng.chance(60)) {
                r.cell[top - 2][col] = DoorTop;
                r.cell[top - 1][col] = DoorBottom;
            } else if (top >= 3) {
                r.cell[1][col] = Window;
            }
        }
    }

    // Platforms floating over the ground, one of them with a ladder down.
    const int platforms = 1 + rng.below(2);
    bool ladderPlaced = false;
    for (int i = 0; i < platforms; ++i) {
        const int row = 1 + rng.below(3);
        const int length = 2 + rng.below(2);
        const int start = rng.below(Columns - length + 1);
        int kind;
        const int pick = rng.below(4);
        if (indoor)
            kind = pick < 2 ? Brick : StoneBlock;
        else
            kind = pick == 0 ? Brick : Platform;
        bool placed = false;
        for (int c = start; c < start + length; ++c) {
            if (!isFree(row, c) || groundTop(c) - row < 2)
                continue;
            const bool item = !indoor && kind == Brick && rng.chance(35);
            r.cell[row][c] = item ? ItemBlock : kind;
            placed = true;
        }
        if (placed && !ladderPlaced && rng.chance(65)) {
            for (int c = start; c < start + length; ++c) {
                if (r.cell[row][c] == background || pit[c] || r.cell[row][c] == Brick || r.cell[row][c] == ItemBlock)
                    continue;
                const int ladder = indoor ? LadderWall : LadderSky;
                bool clear = true;
                for (int y = row + 1; y < groundTop(c); ++y)
                    clear = clear && isFree(y, c);
                if (!clear)
                    continue;
                for (int y = row; y < groundTop(c); ++y)
                    r.cell[y][c] = ladder;
                ladderPlaced = true;
                break;
            }
        }
    }

    // Things standing on the ground.
    for (int c = 0; c < Columns; ++c) {
        const int top = groundTop(c);
        if (top >= Rows || top < 2 || !isFree(top - 1, c) || !rng.chance(40))
            continue;
        const int pick = rng.below(indoor ? 3 : 5);
        if (indoor) {
            if (pick == 0) {
                // a column up to the ceiling or to a height of its own
                int y = top - 1;
                r.cell[y][c] = ColumnBase;
                const int capital = (r.cell[0][c] == Brick) ? 1 : 1 + rng.below(2);
                for (--y; y > capital && isFree(y, c); --y)
                    r.cell[y][c] = ColumnBody;
                if (isFree(y, c))
                    r.cell[y][c] = ColumnTop;
            } else if (pick == 1) {
                r.cell[top - 1][c] = Crate;
                if (isFree(top - 2, c) && rng.chance(40))
                    r.cell[top - 2][c] = Crate;
            } else if (isFree(top - 2, c)) {
                r.cell[top - 2][c] = Torch;
            }
        } else {
            if (pick == 0) {
                r.cell[top - 1][c] = Bush;
            } else if (pick == 1 && isFree(top - 2, c)) {
                r.cell[top - 1][c] = TreeTrunk;
                r.cell[top - 2][c] = TreeLeaves;
            } else if (pick == 2 && isFree(top - 2, c)) {
                r.cell[top - 1][c] = PipeBody;
                r.cell[top - 2][c] = PipeTop;
            } else if (pick == 3) {
                r.cell[top - 1][c] = PipeTop;
            } else {
                r.cell[top - 1][c] = Crate;
            }
        }
    }

    // Sky details: clouds outdoors, torches on the wall indoors.
    for (int i = 0; i < 2; ++i) {
        const int row = rng.below(2), col = rng.below(Columns);
        if (!isFree(row, col))
            continue;
        if (indoor && row == 1)
            r.cell[row][col] = Torch;
        else if (!indoor && HasClouds[zone])
            r.cell[row][col] = Cloud;
    }

    RoomLayout layout{};
    for (int row = 0; row < Rows; ++row)
        for (int c = 0; c < Columns; ++c)
            layout[static_cast<std::size_t>(row * Columns + c)] = static_cast<std::uint8_t>(r.cell[row][c]);
    return layout;
}

} // namespace demo
