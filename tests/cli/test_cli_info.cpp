// vorned-cli info: the zone table lines, the problem lines and the line of
// the demo's program, on the demo cartridge, on images cut short and on
// images whose program bytes were changed.
#include "CliRun.h"
#include "demo/DemoCartridge.h"
#include "demo/DemoProgram.h"
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

// The program line, from the program's size: its code from file offset 0x10
// (CPU $8000 of bank 0), its vectors the image's last six bytes.
QString ExpectedProgramLine(const QString& differ = QString())
{
    const qint64 size = qint64(demo::Viewer().Code.size());
    return QStringLiteral("Program: the demo's room viewer, code at 0x00010-0x%1 (bank 0, CPU $8000-$%2), "
                          "vectors at 0x4000A-0x4000F (CPU $FFFA-$FFFF, the last 6 bytes of Zone 7's tile FF)")
               .arg(QString::number(0x10 + size - 1, 16).toUpper().rightJustified(5, QLatin1Char('0')),
                    QString::number(0x8000 + size - 1, 16).toUpper()) +
           differ;
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
        QCOMPARE(lines.size(), ZoneCount + 1);
        for (int s = 0; s < ZoneCount; ++s) {
            QVERIFY2(ZoneLinePattern.match(lines.at(s)).hasMatch(), qPrintable(lines.at(s)));
            QCOMPARE(lines.at(s), ExpectedZoneLine(demo, s));
            QVERIFY(!lines.at(s).contains(QStringLiteral("=-1")));
        }
        QCOMPARE(lines.last(), ExpectedProgramLine());
    }

    void programLineTellsChangedBytes_data()
    {
        QTest::addColumn<QList<qint64>>("changed");   // offsets whose byte is inverted
        QTest::addColumn<QString>("programLine");     // empty: no program line
        const qint64 size = qint64(demo::Viewer().Code.size());
        QTest::newRow("a vector byte") << QList<qint64>{0x4000F}
                                       << ExpectedProgramLine(QStringLiteral("; 1 of its %1 bytes differ").arg(size + 6));
        QTest::newRow("first and last code byte, a vector byte")
            << QList<qint64>{0x10, 0x10 + size - 1, 0x4000A}
            << ExpectedProgramLine(QStringLiteral("; 3 of its %1 bytes differ").arg(size + 6));
        QList<qint64> most;
        for (qint64 at = 0x10; at < 0x10 + size; ++at)
            most << at;
        QTest::newRow("the whole code: another program") << most << QString();
        QTest::newRow("palette and tile bytes: not the program's") << QList<qint64>{0x1EDA, 0x3F010, 0x40009}
                                                               << ExpectedProgramLine();
    }
    void programLineTellsChangedBytes()
    {
        QFETCH(QList<qint64>, changed);
        QFETCH(QString, programLine);
        RomBytes image = MakeDemoCartridge();
        for (qint64 at : changed)
            QVERIFY(image.write(at, static_cast<std::uint8_t>(~image.read(at))));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("changed.nes"));
        QVERIFY(WriteImageFile(path, image));
        const CliRunResult run = RunVornedCli({QStringLiteral("info"), path});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = OutputLines(run.out);
        const QStringList programLines = lines.filter(QRegularExpression(QStringLiteral("^Program: ")));
        QCOMPARE(programLines, programLine.isEmpty() ? QStringList{} : QStringList{programLine});
        if (!programLine.isEmpty())
            QCOMPARE(lines.last(), programLine);
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
        // The program's code is still there, its vectors are not.
        QTest::newRow("tile blocks cut off") << qint64(0x39010 + 100) << tileBlocks
                                             << QStringList{ExpectedProgramLine(
                                                    QStringLiteral("; 6 of its %1 bytes differ")
                                                        .arg(qint64(demo::Viewer().Code.size()) + 6))}
                                             << 0;

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
        QStringList found = lines.mid(ZoneCount);
        // The program line, when there is one, comes last.
        const bool program = !found.isEmpty() && found.last().startsWith(QStringLiteral("Program: "));
        for (const QString& line : mustContain)
            QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral("\nnot in\n") + run.out));
        if (program)
            found.removeLast();
        for (const QString& line : found)
            QVERIFY2(line.startsWith(QStringLiteral("Problem: Zone ")) && line.endsWith(QStringLiteral(" lies outside the image")),
                     qPrintable(line));
        if (!problems.isEmpty())
            QCOMPARE(found, problems);
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
