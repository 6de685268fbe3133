#include "demo/DemoArt.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace demo {
namespace {

// Palette roles shared by all zones: 0 sky and foliage, 1 sky and wood/earth,
// 2 the zone's building material, 3 water (shared by every zone).
enum Role : int { PalFoliage = 0, PalWood = 1, PalStone = 2, PalWater = 3 };

// Colours 1..3 of palettes 0..2 for each zone; colour 1 of palettes 0 and 1
// is the zone's sky so that objects can be drawn against it.
constexpr std::array<std::array<ColourGroup, 3>, 7> ZoneColours{{
    {{{0x21, 0x1A, 0x30}, {0x21, 0x17, 0x27}, {0x07, 0x16, 0x36}}}, // meadow, red bricks
    {{{0x32, 0x19, 0x30}, {0x32, 0x18, 0x38}, {0x08, 0x27, 0x38}}}, // desert, sandstone
    {{{0x0C, 0x0B, 0x1B}, {0x0C, 0x07, 0x17}, {0x03, 0x13, 0x23}}}, // caves, purple rock
    {{{0x22, 0x30, 0x3C}, {0x22, 0x07, 0x17}, {0x11, 0x21, 0x31}}}, // ice, snow
    {{{0x1D, 0x0A, 0x2D}, {0x1D, 0x2D, 0x10}, {0x0B, 0x1B, 0x3B}}}, // factory, teal metal
    {{{0x02, 0x0A, 0x00}, {0x02, 0x07, 0x17}, {0x00, 0x10, 0x20}}}, // castle at night
    {{{0x34, 0x14, 0x30}, {0x34, 0x03, 0x13}, {0x08, 0x28, 0x38}}}, // sunset fortress, gold
}};
constexpr ColourGroup WaterColours{0x01, 0x11, 0x31};

// Drawing choices that make the zones' tiles differ, not only their colours.
struct Style {
    int brickWidth;   // 8 or 16 (keeps the pattern periodic in 16 pixels)
    int brickShift;   // horizontal offset of every second course
    int stoneSize;    // 8 or 16
    int rungOffset;   // vertical phase of ladder rungs
    int cloudShift;   // horizontal shift of the cloud
    std::uint32_t seed;
};

Style ZoneStyle(int zone)
{
    static constexpr int widths[7] = {16, 16, 8, 16, 8, 16, 16};
    static constexpr int shifts[7] = {8, 4, 4, 8, 4, 8, 4};
    static constexpr int stones[7] = {16, 16, 8, 16, 8, 16, 8};
    return {widths[zone], shifts[zone], stones[zone], (zone % 4) * 2, (zone % 3 - 1) * 3,
            0x5EED0000u + static_cast<std::uint32_t>(zone) * 0x9E37u};
}

std::uint32_t Hash(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// Deterministic noise for speckle patterns.
std::uint32_t Noise(std::uint32_t seed, int x, int y)
{
    return Hash(seed ^ Hash(static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u));
}

// A metatile while it is drawn: 32 x 32 pixel values 0..3 and the palette of
// each 16 x 16 quadrant (top-left, top-right, bottom-left, bottom-right).
struct Painting {
    std::uint8_t px[32][32]{};
    std::array<int, 4> pal{};

    void palettes(int top, int bottom) { pal = {top, top, bottom, bottom}; }
    void set(int x, int y, int v)
    {
        if (x >= 0 && x < 32 && y >= 0 && y < 32)
            px[y][x] = static_cast<std::uint8_t>(v);
    }
    int get(int x, int y) const { return (x >= 0 && x < 32 && y >= 0 && y < 32) ? px[y][x] : -1; }
    void fill(int x0, int y0, int x1, int y1, int v)
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                set(x, y, v);
    }
};

bool InDisc(int x, int y, int cx, int cy, int r)
{
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

struct Disc { int cx, cy, r; };

bool InDiscs(const std::vector<Disc>& discs, int x, int y)
{
    for (const Disc& d : discs)
        if (InDisc(x, y, d.cx, d.cy, d.r))
            return true;
    return false;
}

// A rounded shape made of discs: filled with `body`, lit from the top left
// with `light`, and outlined in black where it meets the background.
void Blob(Painting& p, const std::vector<Disc>& discs, int body, int light, bool outline, std::uint32_t seed)
{
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!InDiscs(discs, x, y)) {
                if (outline && (InDiscs(discs, x + 1, y) || InDiscs(discs, x - 1, y) || InDiscs(discs, x, y + 1)
                                || InDiscs(discs, x, y - 1)))
                    p.set(x, y, 0);
                continue;
            }
            const bool edgeLit = !InDiscs(discs, x - 2, y - 2);
            const bool speck = Noise(seed, x % 8, y % 8) % 7 == 0 && InDiscs(discs, x - 4, y - 4);
            p.set(x, y, (edgeLit || speck) ? light : body);
        }
}

// Patterns that fill a region of a painting.

void EarthFill(Painting& p, const Style& s, int y0)
{
    for (int y = y0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t n = Noise(s.seed + 1, x % 16, y % 16) % 16;
            p.set(x, y, n == 0 ? 3 : n == 1 ? 0 : 2);
        }
    // small pebbles every 16 pixels
    for (int by = (y0 + 15) / 16 * 16; by < 32; by += 16)
        for (int bx = 0; bx < 32; bx += 16) {
            p.fill(bx + 5, by + 6, bx + 6, by + 6, 3);
            p.fill(bx + 5, by + 7, bx + 6, by + 7, 0);
        }
}

void BrickFill(Painting& p, const Style& s, int mortar, int face, int light, int shade)
{
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int course = y / 8, yy = y % 8;
            const int xx = (x + (course % 2) * s.brickShift) % s.brickWidth;
            int v = face;
            if (yy == 7 || xx == s.brickWidth - 1)
                v = mortar;
            else if (yy == 0 || xx == 0)
                v = light;
            else if (yy == 6 || xx == s.brickWidth - 2)
                v = shade;
            p.set(x, y, v);
        }
}

void DarkWallFill(Painting& p, const Style& s)
{
    // Background wall: dark bricks and black mortar only, leaving colours 2
    // and 3 free for what stands in front of it.
    BrickFill(p, Style{16, 8, s.stoneSize, 0, 0, s.seed}, 0, 1, 1, 1);
}

void StoneFill(Painting& p, const Style& s, int yFrom, int phase)
{
    const int n = s.stoneSize;
    for (int y = yFrom; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int bx = x % n, by = (y + phase) % n;
            int v = 2;
            if (bx == n - 1 || by == n - 1)
                v = 0;
            else if (bx == 0 || by == 0)
                v = 3;
            else if (bx == n - 2 || by == n - 2)
                v = 1;
            else if (Noise(s.seed + 2, x % 16, (y + phase) % 16) % 13 == 0)
                v = 1;
            p.set(x, y, v);
        }
}

void WaterFill(Painting& p, int y0, bool deep)
{
    for (int y = y0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int v = 2;
            if (y % 8 == 4 && (x + y) % 16 < 6)
                v = 1;
            else if (y % 8 == 0 && (x + 8) % 16 < 3)
                v = deep ? 1 : 3;
            else if (deep && y % 8 == 6 && (x + 4) % 16 < 8)
                v = 1;
            p.set(x, y, v);
        }
}

void LadderOn(Painting& p, const Style& s)
{
    for (int rail : {5, 23}) {
        for (int y = 0; y < 32; ++y) {
            p.set(rail, y, 0);
            p.set(rail + 1, y, 3);
            p.set(rail + 2, y, 2);
            p.set(rail + 3, y, 0);
        }
    }
    for (int y = 0; y < 32; ++y) {
        const int yy = (y + s.rungOffset) % 8;
        for (int x = 9; x <= 22; ++x) {
            if (yy == 0)
                p.set(x, y, 3);
            else if (yy == 1)
                p.set(x, y, 2);
            else if (yy == 2)
                p.set(x, y, 0);
        }
    }
}

// Colour of a cylinder (pipe) across its width, from left to right.
int PipeShade(int x, int left, int right)
{
    if (x == left || x == right)
        return 0;
    const int w = right - left, t = (x - left) * 16 / w;
    if (t < 2)
        return 1;
    if (t < 3)
        return 2;
    if (t < 6)
        return 3;
    if (t < 11)
        return 2;
    return 1;
}

void ColumnShaft(Painting& p, int y0, int y1)
{
    for (int y = y0; y <= y1; ++y) {
        p.set(9, y, 0);
        p.set(22, y, 0);
        for (int x = 10; x <= 21; ++x) {
            const int f = (x - 10) % 4;
            p.set(x, y, f == 0 ? 3 : f == 3 ? 1 : 2);
        }
    }
}

// The grass-covered top of the ground. edge -1: the ground ends on the left,
// +1: it ends on the right, 0: it runs on.
void GrassTopPaint(Painting& p, const Style& s, int edge)
{
    p.palettes(PalFoliage, PalWood);
    p.fill(0, 0, 31, 15, 1);
    for (int x = 0; x < 32; ++x) {
        const int tip = static_cast<int>(Noise(s.seed + 3, x % 8, 0) % 4);
        for (int y = 3 - tip; y <= 9; ++y)
            p.set(x, y, 2);
        if (Noise(s.seed + 4, x % 8, 1) % 3 == 0)
            p.set(x, 4, 3);
        if (x % 4 == 1)
            p.set(x, 3 - tip, 3);
        for (int y = 10; y <= 15; ++y)
            p.set(x, y, Noise(s.seed + 5, x % 16, y) % 5 == 0 ? 2 : 0);
    }
    EarthFill(p, s, 16);
    if (edge == 0)
        return;
    for (int y = 0; y < 32; ++y) {
        int limit = y < 3 ? 4 : y < 10 ? 2 : 3 + (y - 10) / 6; // ground slopes slightly inward
        if (y > 16)
            limit = 6 + (y - 16) / 8;
        for (int i = 0; i < limit; ++i)
            p.set(edge < 0 ? i : 31 - i, y, 1);
        if (y >= 10)
            p.set(edge < 0 ? limit : 31 - limit, y, 0);
    }
}

void Paint(Painting& p, int kind, const Style& s)
{
    switch (kind) {
    case Sky:
        p.palettes(PalFoliage, PalFoliage);
        p.fill(0, 0, 31, 31, 1);
        break;
    case Cloud:
        p.palettes(PalFoliage, PalFoliage);
        p.fill(0, 0, 31, 31, 1);
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 32; ++x) {
                const int cx = x - s.cloudShift;
                if (InDisc(cx, y, 9, 18, 6) || InDisc(cx, y, 17, 13, 8) || InDisc(cx, y, 24, 18, 6))
                    p.set(x, y, 3);
            }
        break;
    case GrassTop:
        GrassTopPaint(p, s, 0);
        break;
    case GrassEdgeLeft:
        GrassTopPaint(p, s, -1);
        break;
    case GrassEdgeRight:
        GrassTopPaint(p, s, 1);
        break;
    case Earth:
        p.palettes(PalWood, PalWood);
        EarthFill(p, s, 0);
        break;
    case EarthStones:
        p.palettes(PalWood, PalWood);
        EarthFill(p, s, 0);
        Blob(p, {{9, 10, 5}, {13, 11, 4}}, 2, 3, true, s.seed + 6);
        Blob(p, {{23, 23, 5}, {19, 24, 3}}, 2, 3, true, s.seed + 7);
        break;
    case Brick:
        p.palettes(PalStone, PalStone);
        BrickFill(p, s, 0, 2, 3, 1);
        break;
    case StoneBlock:
        p.palettes(PalStone, PalStone);
        StoneFill(p, s, 0, 0);
        break;
    case StoneTop:
        p.palettes(PalStone, PalStone);
        StoneFill(p, s, 4, 4 % s.stoneSize == 0 ? 0 : s.stoneSize - 4);
        p.fill(0, 0, 31, 0, 3);
        p.fill(0, 1, 31, 2, 2);
        p.fill(0, 3, 31, 3, 0);
        for (int x = 3; x < 32; x += 8)
            p.set(x, 1, 3);
        break;
    case LadderSky:
        p.palettes(PalWood, PalWood);
        p.fill(0, 0, 31, 31, 1);
        LadderOn(p, s);
        break;
    case LadderWall:
        p.palettes(PalStone, PalStone);
        DarkWallFill(p, s);
        LadderOn(p, s);
        break;
    case WaterTop:
        p.palettes(PalFoliage, PalWater);
        p.fill(0, 0, 31, 15, 1);
        WaterFill(p, 16, false);
        for (int x = 0; x < 32; ++x) {
            p.set(x, 16, (x + 2) % 8 < 5 ? 3 : 2);
            p.set(x, 17, (x + 4) % 8 < 2 ? 3 : 2);
        }
        // spray above the crests
        for (int x = 3; x < 32; x += 8)
            p.set(x, 15, 3);
        break;
    case WaterDeep:
        p.palettes(PalWater, PalWater);
        WaterFill(p, 0, true);
        break;
    case Platform:
        p.palettes(PalWood, PalWood);
        p.fill(0, 0, 31, 31, 1);
        p.fill(0, 0, 31, 0, 0);
        p.fill(0, 1, 31, 1, 3);
        p.fill(0, 2, 31, 5, 2);
        p.fill(0, 6, 31, 6, 0);
        for (int x = 0; x < 32; ++x)
            if (Noise(s.seed + 8, x % 16, 0) % 5 == 0)
                p.set(x, 3 + (x % 2), 0);
        for (int y = 7; y <= 12; ++y) {
            for (int x = 3; x <= 3 + (12 - y); ++x)
                p.set(x, y, 2);
            for (int x = 28 - (12 - y); x <= 28; ++x)
                p.set(x, y, 2);
            p.set(4 + (12 - y), y, 0);
            p.set(27 - (12 - y), y, 0);
        }
        break;
    case Bridge:
        p.palettes(PalWood, PalWood);
        p.fill(0, 0, 31, 31, 1);
        for (int x = 0; x < 32; ++x) {
            const int rope = 4 - ((x - 16) * (x - 16)) / 80;
            p.set(x, rope, 3);
            if (x % 8 == 4)
                for (int y = rope + 1; y < 6; ++y)
                    p.set(x, y, 2);
        }
        p.fill(0, 6, 31, 6, 3);
        for (int y = 7; y <= 10; ++y)
            for (int x = 0; x < 32; ++x)
                p.set(x, y, x % 4 == 3 ? 0 : 2);
        p.fill(0, 11, 31, 11, 0);
        p.fill(1, 0, 2, 6, 2);
        p.fill(1, 0, 1, 6, 3);
        break;
    case PipeTop:
    case PipeBody: {
        p.palettes(PalStone, PalStone);
        const int bodyFrom = kind == PipeTop ? 14 : 0;
        for (int y = bodyFrom; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                p.set(x, y, (x < 2 || x > 29) ? 0 : PipeShade(x, 2, 29));
        if (kind == PipeTop) {
            for (int y = 0; y < 14; ++y)
                for (int x = 0; x < 32; ++x)
                    p.set(x, y, (y == 0 || y == 13) ? 0 : PipeShade(x, 0, 31));
            p.fill(1, 1, 30, 1, 3);
        }
        break;
    }
    case ColumnTop:
        p.palettes(PalStone, PalStone);
        DarkWallFill(p, s);
        p.fill(0, 0, 31, 0, 3);
        p.fill(0, 1, 31, 2, 2);
        p.fill(0, 3, 31, 3, 0);
        p.fill(5, 4, 26, 4, 3);
        p.fill(5, 5, 26, 6, 2);
        p.fill(5, 7, 26, 7, 0);
        p.fill(8, 8, 23, 9, 1);
        ColumnShaft(p, 10, 31);
        break;
    case ColumnBody:
        p.palettes(PalStone, PalStone);
        DarkWallFill(p, s);
        ColumnShaft(p, 0, 31);
        break;
    case ColumnBase:
        p.palettes(PalStone, PalStone);
        DarkWallFill(p, s);
        ColumnShaft(p, 0, 21);
        p.fill(6, 22, 25, 22, 3);
        p.fill(6, 23, 25, 24, 2);
        p.fill(6, 25, 25, 25, 0);
        p.fill(3, 26, 28, 26, 3);
        p.fill(3, 27, 28, 30, 2);
        p.fill(3, 31, 28, 31, 0);
        break;
    case DoorTop:
    case DoorBottom: {
        p.palettes(PalStone, PalStone);
        BrickFill(p, s, 0, 2, 3, 1);
        const bool top = kind == DoorTop;
        for (int y = 0; y < 32; ++y)
            for (int x = 4; x <= 27; ++x) {
                const bool inFrame = top ? (y >= 13 ? true : InDisc(x, y, 16, 13, 12)) : y <= 27;
                const bool inDoor = top ? (y >= 13 ? (x >= 6 && x <= 25) : InDisc(x, y, 16, 13, 10))
                                        : (x >= 6 && x <= 25 && y <= 27);
                if (inDoor) {
                    int v = (x - 6) % 5 == 4 ? 1 : 2;
                    if ((top && (y == 22 || y == 23)) || (!top && (y == 10 || y == 11)))
                        v = 0;
                    p.set(x, y, v);
                } else if (inFrame) {
                    p.set(x, y, 3);
                }
            }
        if (!top) {
            p.fill(20, 15, 21, 16, 3);
            p.fill(20, 17, 21, 17, 0);
            p.fill(2, 28, 29, 28, 3);
            p.fill(2, 29, 29, 30, 1);
            p.fill(2, 31, 29, 31, 0);
        }
        break;
    }
    case Window:
        p.palettes(PalStone, PalStone);
        BrickFill(p, s, 0, 2, 3, 1);
        for (int y = 3; y <= 25; ++y)
            for (int x = 6; x <= 25; ++x) {
                const bool frame = y >= 12 ? (x <= 25) : InDisc(x, y, 16, 12, 10);
                const bool hole = y >= 12 ? (x >= 8 && x <= 23 && y <= 23) : InDisc(x, y, 16, 12, 8);
                if (hole)
                    p.set(x, y, (x == 15 || x == 16 || y == 16) ? 1 : 0);
                else if (frame)
                    p.set(x, y, 3);
            }
        p.fill(5, 24, 26, 24, 3);
        p.fill(5, 25, 26, 25, 1);
        break;
    case Spikes:
        p.palettes(PalStone, PalStone);
        p.fill(0, 0, 31, 31, 0);
        for (int i = 0; i < 4; ++i) {
            const int cx = 8 * i + 4;
            for (int y = 12; y <= 26; ++y) {
                const int half = (y - 12) * 4 / 14;
                for (int x = cx - half - 1; x <= cx + half; ++x)
                    p.set(x, y, x < cx ? 3 : 2);
            }
        }
        p.fill(0, 27, 31, 27, 2);
        p.fill(0, 28, 31, 31, 1);
        for (int x = 2; x < 32; x += 8)
            p.set(x, 29, 0);
        break;
    case Bush:
        p.palettes(PalFoliage, PalFoliage);
        p.fill(0, 0, 31, 31, 1);
        Blob(p, {{8, 26, 7}, {17, 21, 9}, {25, 26, 6}, {16, 31, 8}}, 2, 3, true, s.seed + 9);
        break;
    case TreeTrunk:
        p.palettes(PalWood, PalWood);
        p.fill(0, 0, 31, 31, 1);
        for (int y = 0; y < 32; ++y) {
            const int flare = y >= 25 ? (y - 25) / 2 + 1 : 0;
            const int l = 11 - flare, r = 20 + flare;
            for (int x = l; x <= r; ++x) {
                int v = 2;
                if (x == l || x == r)
                    v = 0;
                else if (x == l + 1)
                    v = 3;
                else if (Noise(s.seed + 10, x, y % 8) % 6 == 0)
                    v = 0;
                p.set(x, y, v);
            }
        }
        break;
    case TreeLeaves:
        p.palettes(PalFoliage, PalFoliage);
        p.fill(0, 0, 31, 31, 1);
        Blob(p, {{16, 13, 12}, {7, 19, 7}, {25, 19, 7}, {16, 22, 9}, {16, 29, 5}}, 2, 3, true, s.seed + 11);
        break;
    case Crate:
        p.palettes(PalWood, PalWood);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                int v = (y % 6 == 0 && Noise(s.seed + 12, x / 4, y) % 2 == 0) ? 0 : 2;
                if (x == 0 || y == 0 || x == 31 || y == 31)
                    v = 0;
                else if (x <= 3 || y <= 3 || x >= 28 || y >= 28)
                    v = (x == 3 || y == 3 || x == 28 || y == 28) ? 0 : 3;
                else if (std::abs(x + y - 31) <= 1)
                    v = 3;
                else if (std::abs(x + y - 31) == 2)
                    v = 0;
                p.set(x, y, v);
            }
        break;
    case WallDark:
        p.palettes(PalStone, PalStone);
        DarkWallFill(p, s);
        break;
    case Torch:
        p.palettes(PalStone, PalStone);
        DarkWallFill(p, s);
        for (int y = 3; y <= 17; ++y)
            for (int x = 10; x <= 21; ++x) {
                // teardrop: narrow at the top, round at the bottom
                const int w = y < 12 ? (y - 3) / 2 : 5;
                const bool outer = y < 12 ? std::abs(x - 16) <= w : InDisc(x, y, 16, 12, 5);
                const bool core = y < 12 ? (y > 6 && std::abs(x - 16) <= w - 2) : InDisc(x, y, 16, 13, 3);
                if (core)
                    p.set(x, y, 3);
                else if (outer)
                    p.set(x, y, 2);
            }
        p.fill(11, 18, 20, 18, 3);
        p.fill(11, 19, 20, 20, 2);
        p.fill(11, 21, 20, 21, 0);
        p.fill(14, 22, 17, 29, 2);
        p.fill(14, 22, 14, 29, 3);
        p.fill(14, 30, 17, 30, 0);
        break;
    case ItemBlock:
        p.palettes(PalWood, PalWood);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                int v = 3;
                const int d = std::abs(x - 16) + std::abs(y - 16);
                if (x == 0 || y == 0 || x == 31 || y == 31)
                    v = 0;
                else if (x >= 29 || y >= 29)
                    v = 2;
                else if (d < 9)
                    v = d > 3 ? 2 : 3;
                else if (d == 9)
                    v = 0;
                p.set(x, y, v);
            }
        for (int cx : {4, 27})
            for (int cy : {4, 27})
                p.fill(cx, cy, cx + 1, cy + 1, 0);
        break;
    default:
        break;
    }
}

// Palette swaps and mirroring that turn the base kinds into the other
// metatile numbers: variant v of kind k is metatile v * KindCount + k.
struct Variant {
    std::array<int, 4> palette; // new palette for each old palette number
    bool mirrored;
};
constexpr std::array<Variant, 8> Variants{{
    {{0, 1, 2, 3}, false},
    {{1, 0, 3, 2}, false},
    {{2, 3, 0, 1}, false},
    {{3, 2, 1, 0}, false},
    {{0, 1, 2, 3}, true},
    {{1, 2, 3, 0}, true},
    {{2, 0, 3, 1}, true},
    {{3, 0, 1, 2}, true},
}};
static_assert(Variants.size() * KindCount == 256);

using TileBytes = std::array<std::uint8_t, 16>;

TileBytes EncodeTile(const Painting& p, int tx, int ty, bool mirrored)
{
    TileBytes t{};
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            const int x = tx * 8 + c;
            const int v = p.px[ty * 8 + r][mirrored ? 31 - x : x];
            if (v & 1)
                t[r] |= static_cast<std::uint8_t>(0x80 >> c);
            if (v & 2)
                t[r + 8] |= static_cast<std::uint8_t>(0x80 >> c);
        }
    return t;
}

// Gives every distinct tile a number, up to 256.
class TileSet {
public:
    TileSet() { add(TileBytes{}); }

    int count() const { return static_cast<int>(m_tiles.size()); }
    bool has(const TileBytes& t) const { return m_numbers.count(t) != 0; }
    int add(const TileBytes& t)
    {
        const auto it = m_numbers.find(t);
        if (it != m_numbers.end())
            return it->second;
        if (count() == 256)
            return 0;
        m_numbers.emplace(t, count());
        m_tiles.push_back(t);
        return count() - 1;
    }
    const TileBytes& tile(int n) const { return m_tiles[static_cast<std::size_t>(n)]; }

private:
    std::map<TileBytes, int> m_numbers;
    std::vector<TileBytes> m_tiles;
};

} // namespace

ColourGroup ZonePalette(int zone, int palette)
{
    return ZoneColours[static_cast<std::size_t>(zone)][static_cast<std::size_t>(palette)];
}

ColourGroup SharedPalette()
{
    return WaterColours;
}

ZoneArt MakeZoneArt(int zone)
{
    const Style style = ZoneStyle(zone);
    std::array<Painting, KindCount> paintings;
    for (int k = 0; k < KindCount; ++k)
        Paint(paintings[k], k, style);

    ZoneArt art;
    TileSet tiles;
    for (int v = 0; v < static_cast<int>(Variants.size()); ++v) {
        for (int k = 0; k < KindCount; ++k) {
            const Painting& p = paintings[k];
            bool mirrored = Variants[v].mirrored;
            if (mirrored) {
                // Mirror only while the tile bank has room for the new tiles.
                int fresh = 0;
                for (int ty = 0; ty < 4; ++ty)
                    for (int tx = 0; tx < 4; ++tx)
                        fresh += tiles.has(EncodeTile(p, tx, ty, true)) ? 0 : 1;
                mirrored = tiles.count() + fresh <= 256;
            }
            const int m = v * KindCount + k;
            for (int ty = 0; ty < 4; ++ty)
                for (int tx = 0; tx < 4; ++tx) {
                    const int column = mirrored ? 3 - tx : tx;
                    art.MetatileTiles[static_cast<std::size_t>(m * 16 + ty * 4 + column)] =
                        static_cast<std::uint8_t>(tiles.add(EncodeTile(p, tx, ty, mirrored)));
                }
            std::uint8_t attr = 0;
            for (int q = 0; q < 4; ++q) {
                const int source = mirrored ? (q ^ 1) : q;
                attr |= static_cast<std::uint8_t>(Variants[v].palette[p.pal[source]] << (2 * q));
            }
            art.MetatileAttrs[static_cast<std::size_t>(m)] = attr;
        }
    }

    // Tile numbers no metatile uses get upside-down copies of used tiles, so
    // every number shows something in the tile editor.
    const int used = tiles.count();
    for (int n = 0; n < 256; ++n) {
        TileBytes t = tiles.tile(n < used ? n : 1 + (n - used) % (used - 1));
        if (n >= used)
            for (int r = 0; r < 4; ++r) {
                std::swap(t[r], t[7 - r]);
                std::swap(t[8 + r], t[15 - r]);
            }
        std::copy(t.begin(), t.end(), art.Tiles.begin() + n * 16);
    }
    if (zone == VectorsZone)
        std::fill(art.Tiles.begin() + VectorsTile * 16 + VectorsFirstByte, art.Tiles.begin() + (VectorsTile + 1) * 16,
                  std::uint8_t{0});
    return art;
}

} // namespace demo
