// vorned-cli info: the zone table lines and the problem lines, on the demo
// cartridge and on images cut short.
#include "CliRun.h"
#include "demo/DemoCartridge.h"
#include "rom/ZoneTable.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QRegularExpression ZoneLinePattern(QStringLiteral(
    "^Zone ([1-7]): RoomTable=(0x[0-9A-F]{5,}|-1) MetatileTiles=(0x[0-9A-F]{5,}|-1) "
    "MetatileAttrs=(0x[0-9A-F]{5,}|-1) PaletteTable=0x([0-9A-F]{4,}) TileBank=0x([0-9A-F]{5,}) LastRoom=(\\d+)$"));

// A header entry read straight from the bytes: a CPU address in the 32 KB
// window that starts at the bank holding the header.
QString ExpectedPointer(const RomBytes& rom, std::int64_t header, int entry)
{
    const std::int64_t at = header + 2 * entry;
    if (at + 1 >= rom.size())
        return QStringLiteral("-1");
    const int address = rom.read(at) | (rom.read(at + 1) << 8);
    const std::int64_t offset = (header - 16) / 0x4000 * 0x4000 + 16 + (address & 0x7FFF);
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper().rightJustified(5, QLatin1Char('0'));
}

QString ExpectedZoneLine(const RomBytes& rom, int slot)
{
    const ZoneConstants& c = ZoneConstantsTable[static_cast<std::size_t>(slot)];
    return QStringLiteral("Zone %1: RoomTable=%2 MetatileTiles=%3 MetatileAttrs=%4 PaletteTable=0x%5 TileBank=0x%6 LastRoom=%7")
        .arg(slot + 1)
        .arg(ExpectedPointer(rom, c.HeaderOffset, 3), ExpectedPointer(rom, c.HeaderOffset, 1),
             ExpectedPointer(rom, c.HeaderOffset, 0),
             QString::number(c.PaletteTable, 16).toUpper().rightJustified(4, QLatin1Char('0')),
             QString::number(c.TileBank, 16).toUpper().rightJustified(5, QLatin1Char('0')))
        .arg(c.LastRoom);
}

RomBytes Truncated(const RomBytes& rom, std::int64_t length)
{
    return RomBytes(std::vector<std::uint8_t>(rom.bytes().begin(), rom.bytes().begin() + length));
}

} // namespace

class TestCliInfo : public QObject {
    Q_OBJECT
private slots:
    void demoCartridgeShowsItsTableAndNoProblems()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("demo.nes"));
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(WriteImageFile(path, demo));
        const CliRunResult run = RunVornedCli({QStringLiteral("info"), path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        const QStringList lines = OutputLines(run.out);
        QCOMPARE(lines.size(), ZoneCount);
        for (int s = 0; s < ZoneCount; ++s) {
            QVERIFY2(ZoneLinePattern.match(lines.at(s)).hasMatch(), qPrintable(lines.at(s)));
            QCOMPARE(lines.at(s), ExpectedZoneLine(demo, s));
            QVERIFY(!lines.at(s).contains(QStringLiteral("=-1")));
        }
    }

    void cutImagesListTheirProblems_data()
    {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QStringList>("problems");     // exactly these, in order; empty: see mustContain
        QTest::addColumn<QStringList>("mustContain");  // lines that must be among the output
        QTest::addColumn<int>("unreadableZones");      // zone lines with RoomTable=-1

        QStringList tileBlocks;
        for (int z = 1; z <= ZoneCount; ++z)
            tileBlocks << QStringLiteral("Problem: Zone %1: tile block at 0x%2 lies outside the image")
                              .arg(z).arg(QString::number(0x38010 + 0x1000 * z, 16).toUpper());
        QTest::newRow("tile blocks cut off") << qint64(0x39010 + 100) << tileBlocks << QStringList{} << 0;

        // Zone 7's header at 0xC013: its attribute and tile pointers still
        // lie inside, its room table pointer (entry 3, at 0xC019) does not.
        QTest::newRow("zone 7 header cut") << qint64(0xC013 + 4) << QStringList{}
                                           << QStringList{
                                                  QStringLiteral("Problem: Zone 7: header at 0x0C013 lies outside the image"),
                                                  QStringLiteral("Problem: Zone 7: room table pointer at 0x0C019 lies outside the image"),
                                              }
                                           << 1;
        QTest::newRow("one byte") << qint64(1) << QStringList{}
                                  << QStringList{
                                         QStringLiteral("Problem: Zone 1: header at 0x04010 lies outside the image"),
                                         QStringLiteral("Problem: Zone 4: metatile tile table pointer at 0x08012 lies outside the image"),
                                         QStringLiteral("Problem: Zone 7: tile block at 0x3F010 lies outside the image"),
                                     }
                                  << ZoneCount;
    }
    void cutImagesListTheirProblems()
    {
        QFETCH(qint64, length);
        QFETCH(QStringList, problems);
        QFETCH(QStringList, mustContain);
        QFETCH(int, unreadableZones);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.nes"));
        const RomBytes cut = Truncated(MakeDemoCartridge(), length);
        QVERIFY(WriteImageFile(path, cut));
        const CliRunResult run = RunVornedCli({QStringLiteral("info"), path});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        const QStringList lines = OutputLines(run.out);
        QVERIFY(lines.size() > ZoneCount);
        int unreadable = 0;
        for (int s = 0; s < ZoneCount; ++s) {
            QVERIFY2(ZoneLinePattern.match(lines.at(s)).hasMatch(), qPrintable(lines.at(s)));
            QCOMPARE(lines.at(s), ExpectedZoneLine(cut, s));
            if (lines.at(s).contains(QStringLiteral("RoomTable=-1 ")))
                ++unreadable;
        }
        QCOMPARE(unreadable, unreadableZones);
        const QStringList found = lines.mid(ZoneCount);
        for (const QString& line : found)
            QVERIFY2(line.startsWith(QStringLiteral("Problem: Zone ")) && line.endsWith(QStringLiteral(" lies outside the image")),
                     qPrintable(line));
        if (!problems.isEmpty())
            QCOMPARE(found, problems);
        for (const QString& line : mustContain)
            QVERIFY2(found.contains(line), qPrintable(line + QStringLiteral("\nnot in\n") + run.out));
    }

    void unreadableFilesExitOneWithTheReason_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "no-such.nes" << "No such file or directory";
        QTest::newRow("empty") << "empty.nes" << "is empty";
        QTest::newRow("folder") << "" << "";
    }
    void unreadableFilesExitOneWithTheReason()
    {
        QFETCH(QString, relative);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile empty(dir.filePath(QStringLiteral("empty.nes")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        const QString path = relative.isEmpty() ? dir.path() : dir.filePath(relative);
        const CliRunResult run = RunVornedCli({QStringLiteral("info"), path});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.startsWith(QStringLiteral("vorned-cli: ")) && run.err.contains(path), qPrintable(run.err));
        QVERIFY2(run.err.contains(reason), qPrintable(run.err));
        QCOMPARE(OutputLines(run.err).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCliInfo)
#include "test_cli_info.moc"
