// vorned-cli render: the PNG files against the drawing core the editor's
// level view and selector use, pixel for pixel.
#include "CliRun.h"
#include "LabelFont.h"
#include "RenderPictures.h"
#include "gfx/Canvas.h"
#include "gfx/Metatile.h"
#include "level/RoomView.h"
#include "demo/DemoCartridge.h"
#include "rom/ZoneTable.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

RomBytes Truncated(const RomBytes& rom, std::int64_t length)
{
    return RomBytes(std::vector<std::uint8_t>(rom.bytes().begin(), rom.bytes().begin() + length));
}

// Where the first differing pixel of `actual` (at offset `at`) and `expected` lies, or "".
QString FirstDifference(const QImage& actual, QPoint at, const QImage& expected, int step = 1)
{
    for (int y = 0; y < expected.height() / step; ++y)
        for (int x = 0; x < expected.width() / step; ++x)
            if (actual.pixel(at.x() + x, at.y() + y) != expected.pixel(step * x, step * y))
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x).arg(y)
                    .arg(actual.pixel(at.x() + x, at.y() + y), 8, 16)
                    .arg(expected.pixel(step * x, step * y), 8, 16);
    return QString();
}

QImage LevelView(const RomBytes& rom, int zone, int room)
{
    ZoneTableArray zones;
    BuildZoneTable(rom, zones);
    Canvas scratch(CellSize, CellSize);
    Canvas view(512, 384);
    DrawRoom(LevelContext{rom, zones, zone - 1}, room, scratch, view);
    return view.image();
}

struct Rendered {
    CliRunResult run;
    QImage picture;
};

Rendered Render(const QTemporaryDir& dir, const RomBytes& rom, const QStringList& what)
{
    const QString image = dir.filePath(QStringLiteral("image.nes"));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    Rendered r;
    if (!WriteImageFile(image, rom))
        return r;
    r.run = RunVornedCli(QStringList{QStringLiteral("render"), image} + what + QStringList{QStringLiteral("-o"), png});
    r.picture = QImage(png);
    return r;
}

} // namespace

class TestCliRender : public QObject {
    Q_OBJECT
private slots:
    void roomIsTheLevelView_data()
    {
        QTest::addColumn<qint64>("length"); // of the image; 0: the whole demo cartridge
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("room");
        QTest::newRow("zone 1 room 0") << qint64(0) << 1 << 0;
        QTest::newRow("zone 3 room 5") << qint64(0) << 3 << 5;
        QTest::newRow("zone 4 last room") << qint64(0) << 4 << 30;
        QTest::newRow("zone 6 room 33") << qint64(0) << 6 << 33;
        QTest::newRow("zone 7 room 12") << qint64(0) << 7 << 12;
        // Cut images: no data where the room or its tiles lie outside.
        QTest::newRow("zone 7 header cut") << qint64(0xC013 + 4) << 7 << 0;
        QTest::newRow("tile blocks cut") << qint64(0x39010 + 100) << 2 << 3;
    }
    void roomIsTheLevelView()
    {
        QFETCH(qint64, length);
        QFETCH(int, zone);
        QFETCH(int, room);
        const RomBytes demo = MakeDemoCartridge();
        const RomBytes rom = length ? Truncated(demo, length) : demo;
        QTemporaryDir dir;
        const Rendered r = Render(dir, rom, {"--zone", QString::number(zone), "--room", QString::number(room)});
        QCOMPARE(r.run.exitCode, 0);
        QCOMPARE(r.run.err, QString());
        QCOMPARE(r.picture.size(), QSize(512, 384));
        const QString difference = FirstDifference(r.picture, {0, 0}, LevelView(rom, zone, room));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        // Only the named output is written.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{QStringLiteral("image.nes"), QStringLiteral("out.png")}));
    }

    void roomsDiffer()
    {
        // Guards the comparison above against pictures that are all alike.
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(LevelView(demo, 1, 0) != LevelView(demo, 1, 1));
        QVERIFY(LevelView(demo, 1, 0) != LevelView(demo, 2, 0));
    }

    void hexRoomDrawsThatRoom()
    {
        QTemporaryDir dir;
        const RomBytes demo = MakeDemoCartridge();
        const Rendered r = Render(dir, demo, {QStringLiteral("--zone"), QStringLiteral("2"), QStringLiteral("--room"),
                                              QStringLiteral("0x1A")});
        QCOMPARE(r.run.exitCode, 0);
        QCOMPARE(r.picture.convertToFormat(QImage::Format_RGB32), LevelView(demo, 2, 26).convertToFormat(QImage::Format_RGB32));
    }

    void metatileCellsAreDrawMetatile_data()
    {
        QTest::addColumn<int>("zone");
        QTest::newRow("zone 1") << 1;
        QTest::newRow("zone 4") << 4;
        QTest::newRow("zone 7") << 7;
    }
    void metatileCellsAreDrawMetatile()
    {
        QFETCH(int, zone);
        const RomBytes rom = MakeDemoCartridge();
        QTemporaryDir dir;
        const Rendered r = Render(dir, rom, {"--zone", QString::number(zone), "--metatiles"});
        QCOMPARE(r.run.exitCode, 0);
        QCOMPARE(r.picture.size(), QSize(1024, 1024));
        ZoneTableArray zones;
        BuildZoneTable(rom, zones);
        const LevelContext level{rom, zones, zone - 1};
        Canvas cell(64, 64);
        int distinct = 0;
        QImage previous;
        for (int m = 0; m < 256; ++m) {
            DrawMetatile(level, cell, static_cast<std::uint8_t>(m), 2);
            const QString difference = FirstDifference(r.picture, {64 * (m % 16), 64 * (m / 16)}, cell.image());
            QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("metatile %1: ").arg(m) + difference));
            distinct += cell.image() != previous;
            previous = cell.image();
        }
        QVERIFY(distinct > 1);
    }

    // --numbers: each cell's hex number in a dark box at its top-left corner,
    // the rest of the sheet as without it.
    void metatileSheetWithNumbers()
    {
        const RomBytes rom = MakeDemoCartridge();
        QTemporaryDir dir;
        const Rendered plain = Render(dir, rom, {"--zone", "2", "--metatiles"});
        const QImage sheet = plain.picture;
        const Rendered r = Render(dir, rom, {"--zone", "2", "--metatiles", "--numbers"});
        QCOMPARE(r.run.exitCode, 0);
        QCOMPARE(r.picture.size(), QSize(1024, 1024));
        const QRgb dark = SheetBackground, white = SheetLabelColour;
        for (int m = 0; m < 256; ++m) {
            const int cx = 64 * (m % 16), cy = 64 * (m / 16);
            QImage label(MetatileNumberBoxWidth, MetatileNumberBoxHeight, QImage::Format_RGB32);
            label.fill(dark);
            DrawLabel(label, 1, 1, QString::number(m, 16).toUpper().rightJustified(2, QLatin1Char('0')), white, 1);
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    const bool inBox = x < MetatileNumberBoxWidth && y < MetatileNumberBoxHeight;
                    const QRgb expected = inBox ? label.pixel(x, y) : sheet.pixel(cx + x, cy + y);
                    if (r.picture.pixel(cx + x, cy + y) != expected)
                        QFAIL(qPrintable(QStringLiteral("metatile %1 pixel (%2, %3)").arg(m).arg(x).arg(y)));
                }
        }
        // "2A": the top row of "2" (.###.) starts one pixel into the box.
        const int cx = 64 * (0x2A % 16), cy = 64 * (0x2A / 16);
        QCOMPARE(r.picture.pixel(cx + 1, cy + 1), dark);
        QCOMPARE(r.picture.pixel(cx + 2, cy + 1), white);
        QCOMPARE(r.picture.pixel(cx + 4, cy + 1), white);
        QCOMPARE(r.picture.pixel(cx + 5, cy + 1), dark);

        const Rendered wrong = Render(dir, rom, {"--zone", "2", "--room", "1", "--numbers"});
        QCOMPARE(wrong.run.exitCode, 2);
        QVERIFY(wrong.run.err.contains(QLatin1String("--numbers applies to --metatiles only")));
    }

    void allRoomsSheet_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("scale");
        QTest::newRow("zone 2 full size") << 2 << 2;
        QTest::newRow("zone 5 half size") << 5 << 1;
        QTest::newRow("zone 7 half size") << 7 << 1;
    }
    void allRoomsSheet()
    {
        QFETCH(int, zone);
        QFETCH(int, scale);
        const RomBytes rom = MakeDemoCartridge();
        QTemporaryDir dir;
        QStringList what{"--zone", QString::number(zone), "--all"};
        if (scale == 1)
            what << "--scale" << "1";
        const Rendered r = Render(dir, rom, what);
        QCOMPARE(r.run.exitCode, 0);
        const int rooms = ZoneConstantsTable[std::size_t(zone - 1)].LastRoom + 1;
        const RoomSheetLayout layout{scale};
        QCOMPARE(layout.roomWidth(), 256 * scale);
        QCOMPARE(r.picture.size(), layout.sheetSize(rooms));
        QCOMPARE(r.picture.width(), 4 * 256 * scale + 5 * layout.gap());

        for (int room = 0; room < rooms; ++room) {
            // Rooms in order, four a row.
            QCOMPARE(layout.roomAt(room).y(), layout.roomAt(room - room % 4).y());
            if (room % 4)
                QVERIFY(layout.roomAt(room).x() > layout.roomAt(room - 1).x());
            const QString difference = FirstDifference(r.picture, layout.roomAt(room), LevelView(rom, zone, room), 2 / scale);
            QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("room %1: ").arg(room) + difference));
        }

        // The label band holds white text on the background and nothing else;
        // "Room: " reads the same everywhere, the numbers differ.
        auto band = [&](int room) {
            return r.picture.copy(QRect(layout.labelAt(room), QSize(layout.roomWidth(), layout.labelBand())));
        };
        for (int room = 0; room < rooms; ++room) {
            const QImage label = band(room);
            int white = 0;
            for (int y = 0; y < label.height(); ++y)
                for (int x = 0; x < label.width(); ++x) {
                    const QRgb p = label.pixel(x, y);
                    QVERIFY(p == SheetBackground || p == SheetLabelColour);
                    white += p == SheetLabelColour;
                }
            QVERIFY(white > 0);
        }
        const int prefix = 6 * 6 * scale; // "Room: "
        QCOMPARE(band(0).copy(0, 0, prefix, layout.labelBand()), band(rooms - 1).copy(0, 0, prefix, layout.labelBand()));
        QVERIFY(band(0) != band(10));   // "Room: 00" and "Room: 0A"
        QVERIFY(band(1) != band(16));   // "Room: 01" and "Room: 10"
    }

    void outputOverTheImageIsRefused()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("image.nes"));
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(WriteImageFile(image, demo));
        const QString sameFile = dir.path() + QStringLiteral("/./image.nes");
        const CliRunResult run = RunVornedCli({"render", image, "--zone", "1", "--room", "0", "-o", sameFile});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("vorned-cli: render: -o names the image itself")), qPrintable(run.err));
        const QByteArray bytes = ReadFile(image);
        QVERIFY(std::equal(bytes.begin(), bytes.end(), demo.bytes().begin(), demo.bytes().end(),
                           [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
    }

    void unwritableOutputExitsOne()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("image.nes"));
        QVERIFY(WriteImageFile(image, MakeDemoCartridge()));
        const QString png = dir.filePath(QStringLiteral("missing/out.png"));
        const CliRunResult run = RunVornedCli({"render", image, "--zone", "1", "--room", "0", "-o", png});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.startsWith(QStringLiteral("vorned-cli: Could not write \"") + png), qPrintable(run.err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("image.nes")});
    }
};

QTEST_GUILESS_MAIN(TestCliRender)
#include "test_cli_render.moc"
