// The demo cartridge's program run in a real NES emulator (jsnes under node,
// without a screen): it boots into room 0 of Zone 1, Right / Left and
// Down / Up step through the rooms and zones one step per press, and every
// pixel of the room area equals the editor's drawing of the same room,
// compared as NES colour indices, while the rest of the screen is colour
// 0x0F. The same after edits made through the edit layer: rooms, metatiles,
// tile pixels and palettes.
#include "demo/DemoCartridge.h"
#include "editors/MetatileEdits.h"
#include "editors/PaletteSlots.h"
#include "gfx/Canvas.h"
#include "gfx/Metatile.h"
#include "gfx/NesColours.h"
#include "history/EditHistory.h"
#include "level/RoomLayout.h"
#include "level/RoomView.h"
#include "rom/ProgramState.h"
#include "rom/ZoneTable.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <map>
#include <set>

namespace {

constexpr int ScreenWidth = 256;
constexpr int ScreenHeight = 240;
constexpr int FrameBytes = ScreenWidth * ScreenHeight;
constexpr int RoomTop = 32; // the room fills pixel rows 32 to 223, all columns
constexpr int RoomWidth = 256;
constexpr int RoomHeight = 192;
constexpr int Backdrop = 0x0F;
// The new room is on screen within this many frames of the press.
constexpr int StepFrames = 10;
// Room 0 of Zone 1 is on screen this many frames after power-up.
constexpr int BootFrames = 10;
// Bound of one emulator run (they take seconds).
constexpr int RunLimitMs = 240000;

using Frame = QByteArray; // FrameBytes NES colour indices, row by row

struct Jsnes {
    QString node, runner, prefix, missing;
};

Jsnes FindJsnes()
{
    Jsnes j;
    j.runner = QStringLiteral(VORNED_JSNES_RUNNER);
    j.prefix = qEnvironmentVariableIsSet("VORNED_JSNES_PREFIX") ? qEnvironmentVariable("VORNED_JSNES_PREFIX")
                                                                 : QStringLiteral(VORNED_JSNES_PREFIX);
    j.node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (j.node.isEmpty())
        j.missing = QStringLiteral("node is not installed (Debian's nodejs package; tools/install-jsnes.sh installs it)");
    else if (!QFileInfo::exists(j.prefix + QStringLiteral("/node_modules/jsnes/package.json")))
        j.missing = QStringLiteral("jsnes is not installed in %1 (tools/install-jsnes.sh installs it with npm)").arg(j.prefix);
    return j;
}

// What the runner does, line by line (jsnes_run.mjs).
class Script {
public:
    void frames(int n) { m_text += "frames " + QByteArray::number(n) + "\n"; }
    void press(const char* button) { m_text += QByteArray("press ") + button + "\n"; }
    void release(const char* button) { m_text += QByteArray("release ") + button + "\n"; }
    void grab()
    {
        m_text += "grab\n";
        ++m_grabs;
    }
    // One press: held for StepFrames frames, the last of them grabbed when
    // asked, then released for two frames.
    void step(const char* button, bool grabIt = true)
    {
        press(button);
        frames(StepFrames);
        if (grabIt)
            grab();
        release(button);
        frames(2);
    }
    const QByteArray& text() const { return m_text; }
    int grabs() const { return m_grabs; }

private:
    QByteArray m_text;
    int m_grabs = 0;
};

// Runs `image` through `script`; the grabbed frames in order.
void Run(const Jsnes& jsnes, const RomBytes& image, const Script& script, std::vector<Frame>& frames)
{
    frames.clear();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString imagePath = dir.filePath(QStringLiteral("demo.nes"));
    const QString scriptPath = dir.filePath(QStringLiteral("script.txt"));
    const QString outPath = dir.filePath(QStringLiteral("frames.bin"));
    QFile imageFile(imagePath);
    QVERIFY(imageFile.open(QIODevice::WriteOnly));
    QCOMPARE(imageFile.write(reinterpret_cast<const char*>(image.data()), image.size()), image.size());
    imageFile.close();
    QFile scriptFile(scriptPath);
    QVERIFY(scriptFile.open(QIODevice::WriteOnly));
    QCOMPARE(scriptFile.write(script.text()), qint64(script.text().size()));
    scriptFile.close();

    QProcess node;
    node.start(jsnes.node, {jsnes.runner, jsnes.prefix, imagePath, scriptPath, outPath});
    QVERIFY2(node.waitForStarted(), qPrintable(node.errorString()));
    if (!node.waitForFinished(RunLimitMs)) {
        node.kill();
        node.waitForFinished();
        QFAIL("the emulator run did not end in time");
    }
    const QString err = QString::fromUtf8(node.readAllStandardError());
    QVERIFY2(node.exitStatus() == QProcess::NormalExit && node.exitCode() == 0, qPrintable(err));

    QFile out(outPath);
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QByteArray all = out.readAll();
    QCOMPARE(all.size(), qsizetype(script.grabs()) * FrameBytes);
    for (int i = 0; i < script.grabs(); ++i)
        frames.push_back(all.mid(qsizetype(i) * FrameBytes, FrameBytes));
}

// The NES colour indices each screen colour of the editor stands for: a
// few indices share one colour (0x0E and 0x0F, 0x20 and 0x30, ...).
const std::map<QRgb, std::set<int>>& IndicesOfColour()
{
    static const std::map<QRgb, std::set<int>> indices = [] {
        std::map<QRgb, std::set<int>> m;
        for (int i = 0; i < NesColourCount; ++i)
            m[PackRgb(NesColourRgb[std::size_t(i)]) & 0xFFFFFF].insert(i);
        return m;
    }();
    return indices;
}

// The room as the editor draws it, at the console's size (256 x 192).
QImage EditorRoom(const RomBytes& rom, int zone, int room)
{
    ZoneTableArray zones;
    BuildZoneTable(rom, zones);
    Canvas scratch(32, 32);
    Canvas view(RoomWidth, RoomHeight);
    DrawRoom(LevelContext{rom, zones, zone}, room, 1, scratch, view);
    return view.image();
}

struct Comparison {
    qint64 equal = 0;
    qint64 compared = 0;
    QString firstDifference;
    bool same() const { return equal == compared; }
};

// The room area of `frame` against the editor's picture, pixel by pixel.
Comparison CompareRoom(const Frame& frame, const QImage& expected)
{
    Comparison c;
    for (int y = 0; y < RoomHeight; ++y)
        for (int x = 0; x < RoomWidth; ++x) {
            ++c.compared;
            const int index = static_cast<std::uint8_t>(frame[(RoomTop + y) * ScreenWidth + x]);
            const QRgb colour = expected.pixel(x, y) & 0xFFFFFF;
            const auto it = IndicesOfColour().find(colour);
            if (it != IndicesOfColour().end() && it->second.count(index)) {
                ++c.equal;
            } else if (c.firstDifference.isEmpty()) {
                c.firstDifference = QStringLiteral("pixel (%1, %2): emulator colour index %3, editor colour #%4")
                                        .arg(x)
                                        .arg(RoomTop + y)
                                        .arg(index, 2, 16, QLatin1Char('0'))
                                        .arg(colour, 6, 16, QLatin1Char('0'));
            }
        }
    return c;
}

// The pixel outside the room area that is not colour 0x0F, or empty.
QString BorderDifference(const Frame& frame)
{
    for (int y = 0; y < ScreenHeight; ++y) {
        if (y == RoomTop)
            y = RoomTop + RoomHeight;
        for (int x = 0; x < ScreenWidth; ++x) {
            const int index = static_cast<std::uint8_t>(frame[y * ScreenWidth + x]);
            if (index != Backdrop)
                return QStringLiteral("pixel (%1, %2) has colour index %3").arg(x).arg(y).arg(index, 2, 16, QLatin1Char('0'));
        }
    }
    return {};
}

bool Shows(const Frame& frame, const QImage& room)
{
    return CompareRoom(frame, room).same() && BorderDifference(frame).isEmpty();
}

// Nothing drawn: the whole frame one colour; `colour` -1 for any.
bool Blank(const Frame& frame, int colour)
{
    const char c = colour < 0 ? frame[0] : char(colour);
    return frame.count(c) == FrameBytes;
}

// Presses that lead from room 0 of Zone 1 (power-up) to room `room` of
// zone slot `zone`: Down to the zone, then Right or Left, whichever is shorter.
void Navigate(Script& script, int zone, int room)
{
    for (int z = 0; z < zone; ++z)
        script.step("Down", false);
    const int rooms = ZoneConstantsTable[std::size_t(zone)].LastRoom + 1;
    if (room <= rooms / 2)
        for (int r = 0; r < room; ++r)
            script.step("Right", false);
    else
        for (int r = room; r < rooms; ++r)
            script.step("Left", false);
}

QString Where(int zone, int room)
{
    return QStringLiteral("Zone %1, room %2").arg(zone + 1).arg(room);
}

// The frame number (from 1) at which `frames` first show `after`; before it
// every frame shows `before` or nothing (one colour: `blank`, -1 for any),
// and from it on every frame shows `after`. 0 when that is not so.
int SwitchFrame(const std::vector<Frame>& frames, std::size_t first, int count, const QImage& before,
                const QImage& after, int blank = Backdrop)
{
    int switched = 0;
    for (int i = 0; i < count; ++i) {
        const Frame& f = frames[first + std::size_t(i)];
        if (Shows(f, after)) {
            if (switched == 0)
                switched = i + 1;
        } else if (switched != 0 || !(Blank(f, blank) || (!before.isNull() && Shows(f, before)))) {
            return 0;
        }
    }
    return switched;
}

// Edits made through the core's plans, as the editor's windows make them.
struct EditCase {
    const char* name;
    int zone;
    int room; // -1: the first room whose picture the edit changes
    std::function<std::vector<ByteWrite>(const LevelContext&)> writes;
};

int CellMetatile(const LevelContext& level, int room, RoomCell cell)
{
    return level.rom.read(std::int64_t(RoomLayoutOffset(level, room)) + RoomCellIndex(cell));
}

std::vector<ByteWrite> PaletteColour(const LevelContext& level, int slot, std::uint8_t colour)
{
    ByteWrite w{};
    if (PaletteSlotWrite(level, slot, colour, w) != SlotWrite::Written)
        return {};
    return {w};
}

const std::vector<EditCase>& EditCases()
{
    static const std::vector<EditCase> cases{
        {"a cell of a room", 2, 5,
         [](const LevelContext& l) {
             const RoomCell cell{2, 1};
             const int m = CellMetatile(l, 5, cell);
             return std::vector<ByteWrite>{*PlaceMetatileWrite(l, 5, cell, static_cast<std::uint8_t>(m ^ 0x21))};
         }},
        {"tile numbers of a metatile", 0, 0,
         [](const LevelContext& l) {
             const int m = CellMetatile(l, 0, {3, 2});
             std::vector<ByteWrite> w;
             for (int k = 0; k < QuadrantTiles; ++k)
                 w.push_back(*QuadrantTileWrite(l, m, 0, k,
                                                static_cast<std::uint8_t>(ReadQuadrantTile(l, m, 0, k) + 7)));
             return w;
         }},
        {"palette number of a quadrant", 1, 3,
         [](const LevelContext& l) {
             const int m = CellMetatile(l, 3, {0, 5});
             return std::vector<ByteWrite>{*QuadrantPaletteWrite(l, m, 1, (ReadQuadrantPalette(l, m, 1) + 1) % 4)};
         }},
        {"pixels of a tile", 4, 7,
         [](const LevelContext& l) {
             const int m = CellMetatile(l, 7, {4, 3});
             std::vector<ByteWrite> w;
             for (int i = 0; i < 8; ++i) {
                 const auto pixel = QuadrantPixelWrites(l, m, 3, PreviewPixel{0, i, i}, 3 - i % 2);
                 w.insert(w.end(), pixel->begin(), pixel->end());
             }
             return w;
         }},
        {"a colour of a zone palette", 5, -1,
         [](const LevelContext& l) { return PaletteColour(l, 3 * 1 + 2, 0x2A); }},
        {"a colour of the shared palette 3 in Zone 4", 3, -1,
         [](const LevelContext& l) { return PaletteColour(l, 3 * 3 + 1, 0x16); }},
        {"a colour byte of 64 or more (shown AND 0x3F)", 6, -1,
         [](const LevelContext& l) { return PaletteColour(l, 3 * 0 + 1, 0x40 | 0x05); }},
        // Metatiles 0-15 get the tile numbers 00-FF and fill the room's
        // first two rows: the room uses every tile number, so the program
        // finds a tile with no pattern (tile 0) for the rows around it.
        {"every tile number in one room", 0, 4,
         [](const LevelContext& l) {
             std::vector<ByteWrite> w;
             for (int m = 0; m < 16; ++m) {
                 for (int q = 0; q < QuadrantCount; ++q)
                     for (int k = 0; k < QuadrantTiles; ++k)
                         w.push_back(*QuadrantTileWrite(l, m, q, k,
                                                        static_cast<std::uint8_t>(16 * m + QuadrantTilePosition(q, k))));
                 w.push_back(*PlaceMetatileWrite(l, 4, {m % 8, m / 8}, static_cast<std::uint8_t>(m)));
             }
             return w;
         }},
    };
    return cases;
}

} // namespace

class TestDemoEmulator : public QObject {
    Q_OBJECT
private:
    Jsnes m_jsnes = FindJsnes();
    RomBytes m_demo = MakeDemoCartridge();

private slots:
    void init()
    {
        if (!m_jsnes.missing.isEmpty())
            QSKIP(qPrintable(m_jsnes.missing));
    }

    void bootsAndShowsEveryRoomAsTheEditor()
    {
        struct Shot {
            int zone, room;
            const char* why;
        };
        Script script;
        std::vector<Shot> shots;
        script.frames(BootFrames);
        script.grab();
        shots.push_back({0, 0, "power-up"});
        for (int z = 0; z < ZoneCount; ++z) {
            const int last = ZoneConstantsTable[std::size_t(z)].LastRoom;
            for (int r = 1; r <= last; ++r) {
                script.step("Right");
                shots.push_back({z, r, "Right"});
            }
            script.step("Right");
            shots.push_back({z, 0, "Right from the last room"});
            script.step("Left");
            shots.push_back({z, last, "Left from room 0"});
            script.step("Right");
            shots.push_back({z, 0, "Right from the last room"});
            script.step("Down");
            shots.push_back({(z + 1) % ZoneCount, 0, z + 1 == ZoneCount ? "Down from Zone 7" : "Down"});
        }
        script.step("Up");
        shots.push_back({ZoneCount - 1, 0, "Up from Zone 1"});
        script.step("Up");
        shots.push_back({ZoneCount - 2, 0, "Up"});

        std::vector<Frame> frames;
        Run(m_jsnes, m_demo, script, frames);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(frames.size(), shots.size());

        std::set<std::pair<int, int>> rooms;
        qint64 equal = 0, compared = 0;
        for (std::size_t i = 0; i < shots.size(); ++i) {
            const Shot& s = shots[i];
            const QString where = Where(s.zone, s.room) + QStringLiteral(" after ") + QLatin1String(s.why);
            const Comparison c = CompareRoom(frames[i], EditorRoom(m_demo, s.zone, s.room));
            QVERIFY2(c.same(), qPrintable(where + QStringLiteral(": ") + c.firstDifference));
            const QString border = BorderDifference(frames[i]);
            QVERIFY2(border.isEmpty(), qPrintable(where + QStringLiteral(", outside the room: ") + border));
            rooms.insert({s.zone, s.room});
            equal += c.equal;
            compared += c.compared;
        }
        int allRooms = 0;
        for (const ZoneConstants& c : ZoneConstantsTable)
            allRooms += c.LastRoom + 1;
        QCOMPARE(int(rooms.size()), allRooms);
        qInfo("%d rooms of %d zones compared on %d screens: %lld of %lld room pixels equal", int(rooms.size()),
              ZoneCount, int(shots.size()), equal, compared);
    }

    void stepsOncePerPressWithinTenFrames()
    {
        Script script;
        // Power-up, frame by frame.
        for (int i = 0; i < BootFrames; ++i) {
            script.frames(1);
            script.grab();
        }
        // Right, then held for a second and let go: one step.
        script.press("Right");
        for (int i = 0; i < StepFrames; ++i) {
            script.frames(1);
            script.grab();
        }
        script.frames(60 - StepFrames);
        script.grab();
        script.release("Right");
        script.frames(StepFrames);
        script.grab();
        // Down: the next zone, whose tile bank is loaded too.
        script.press("Down");
        for (int i = 0; i < StepFrames; ++i) {
            script.frames(1);
            script.grab();
        }
        script.release("Down");
        script.frames(2);
        // Two short presses in a row, the second while the first one's room
        // is still being read: two steps.
        script.press("Right");
        script.frames(2);
        script.release("Right");
        script.frames(2);
        script.press("Right");
        script.frames(2);
        script.release("Right");
        script.frames(3 * StepFrames);
        script.grab();

        std::vector<Frame> frames;
        Run(m_jsnes, m_demo, script, frames);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(int(frames.size()), BootFrames + StepFrames + 2 + StepFrames + 1);

        const QImage room0 = EditorRoom(m_demo, 0, 0);
        const QImage room1 = EditorRoom(m_demo, 0, 1);
        const QImage zone2 = EditorRoom(m_demo, 1, 0);
        // Before the program sets the backdrop, the palette is what the
        // console powers up with: any one colour.
        const int boot = SwitchFrame(frames, 0, BootFrames, QImage(), room0, -1);
        QVERIFY2(boot > 0, "room 0 of Zone 1 is not on screen by frame 10 after power-up");
        const int right = SwitchFrame(frames, BootFrames, StepFrames, room0, room1);
        QVERIFY2(right > 0, "Right: room 1 is not on screen within 10 frames");
        std::size_t next = BootFrames + StepFrames;
        QVERIFY2(Shows(frames[next++], room1), "Right held for 60 frames went on past room 1");
        QVERIFY2(Shows(frames[next++], room1), "letting Right go changed the room");
        const int down = SwitchFrame(frames, next, StepFrames, room1, zone2);
        QVERIFY2(down > 0, "Down: room 0 of Zone 2 is not on screen within 10 frames");
        next += StepFrames;
        QVERIFY2(Shows(frames[next], EditorRoom(m_demo, 1, 2)), "two short presses of Right did not go two rooms on");
        qInfo("on screen in frame %d after power-up, frame %d after Right (same zone), frame %d after Down "
              "(new zone)",
              boot, right, down);
    }

    void editsShowInTheEmulator_data()
    {
        QTest::addColumn<int>("edit");
        for (std::size_t i = 0; i < EditCases().size(); ++i)
            QTest::newRow(EditCases()[i].name) << int(i);
    }
    void editsShowInTheEmulator()
    {
        QFETCH(int, edit);
        const EditCase& e = EditCases()[std::size_t(edit)];
        ResetProgramState();
        RomImage = m_demo;
        BuildZoneTable(RomImage, ZoneTable);
        RomHistory().reset(QString());
        const LevelContext level{RomImage, ZoneTable, e.zone};
        const std::vector<ByteWrite> writes = e.writes(level);
        QVERIFY(!writes.empty());
        QCOMPARE(RomHistory().apply(QString::fromLatin1(e.name), writes), EditResult::Recorded);

        int room = e.room;
        if (room < 0) {
            for (int r = 0; r <= ZoneTable[std::size_t(e.zone)].LastRoom && room < 0; ++r)
                if (EditorRoom(RomImage, e.zone, r) != EditorRoom(m_demo, e.zone, r))
                    room = r;
            QVERIFY2(room >= 0, "the edit changes no room of the zone");
        }
        const QImage edited = EditorRoom(RomImage, e.zone, room);
        QVERIFY2(edited != EditorRoom(m_demo, e.zone, room), "the edit does not change the room's picture");

        Script script;
        script.frames(BootFrames);
        Navigate(script, e.zone, room);
        script.grab();
        std::vector<Frame> frames;
        Run(m_jsnes, RomImage, script, frames);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(frames.size(), std::size_t(1));
        const Comparison c = CompareRoom(frames[0], edited);
        QVERIFY2(c.same(), qPrintable(Where(e.zone, room) + QStringLiteral(": ") + c.firstDifference));
        const QString border = BorderDifference(frames[0]);
        QVERIFY2(border.isEmpty(), qPrintable(Where(e.zone, room) + QStringLiteral(", outside the room: ") + border));
        qInfo("%s: %s equal, %lld pixels", e.name, qPrintable(Where(e.zone, room)), c.equal);
    }
};

QTEST_GUILESS_MAIN(TestDemoEmulator)
#include "test_demo_emulator.moc"
