// vorned-cli as a user runs it: exit status, messages, help and the demo
// command's file.
#include "CliRun.h"
#include "demo/DemoCartridge.h"

#include <QTemporaryDir>
#include <QtTest>

class TestVornedCli : public QObject {
    Q_OBJECT
private slots:
    void badArgumentsGiveReasonAndUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("usage"); // start of the second line of standard error
        const QString program = QStringLiteral("usage: vorned-cli COMMAND");
        QTest::newRow("nothing") << QStringList{} << "no command given" << program;
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "unknown command \"frobnicate\"" << program;
        QTest::newRow("unknown option") << QStringList{"--frob"} << "unknown option \"--frob\"" << program;
        QTest::newRow("help with extra") << QStringList{"--help", "demo"} << "--help takes no arguments" << program;

        const QString demo = QStringLiteral("usage: vorned-cli demo OUT.nes");
        QTest::newRow("demo without file") << QStringList{"demo"} << "demo: needs exactly one argument" << demo;
        QTest::newRow("demo with two files") << QStringList{"demo", "a.nes", "b.nes"} << "demo: needs exactly one argument" << demo;
        QTest::newRow("demo with empty name") << QStringList{"demo", ""} << "file name is empty" << demo;
        QTest::newRow("demo with option") << QStringList{"demo", "--force"} << "unknown option \"--force\"" << demo;

        const QString info = QStringLiteral("usage: vorned-cli info IMAGE");
        QTest::newRow("info without image") << QStringList{"info"} << "info: needs exactly one argument" << info;
        QTest::newRow("info with two images") << QStringList{"info", "a.nes", "b.nes"} << "needs exactly one argument" << info;
        QTest::newRow("info with option") << QStringList{"info", "a.nes", "--zone", "1"} << "unknown option \"--zone\"" << info;

        const QString render = QStringLiteral("usage: vorned-cli render IMAGE --zone N --room R -o OUT.png");
        auto renderArgs = [](QStringList more) { return QStringList{"render", "a.nes"} + more; };
        QTest::newRow("render without image") << QStringList{"render", "--zone", "1", "--room", "0", "-o", "x.png"}
                                              << "render: needs exactly one image to read (got 0)" << render;
        QTest::newRow("render without zone") << renderArgs({"--room", "0", "-o", "x.png"}) << "--zone is missing" << render;
        QTest::newRow("render zone 0") << renderArgs({"--zone", "0", "--room", "0", "-o", "x.png"})
                                       << "--zone must be a decimal number from 1 to 7, not \"0\"" << render;
        QTest::newRow("render zone 8") << renderArgs({"--zone", "8", "--all", "-o", "x.png"})
                                       << "--zone must be a decimal number from 1 to 7, not \"8\"" << render;
        const QString zone3Rooms = QStringLiteral("--room must be a room from 0 to 31 (0x1F), decimal or hexadecimal with 0x, not ");
        QTest::newRow("render room past zone 3") << renderArgs({"--zone", "3", "--room", "32", "-o", "x.png"})
                                                 << zone3Rooms + "\"32\"" << render;
        QTest::newRow("render hex room past zone 3") << renderArgs({"--zone", "3", "--room", "0x20", "-o", "x.png"})
                                                     << zone3Rooms + "\"0x20\"" << render;
        QTest::newRow("render hex room without 0x") << renderArgs({"--zone", "3", "--room", "0A", "-o", "x.png"})
                                                    << zone3Rooms + "\"0A\"" << render;
        QTest::newRow("render 0x without digits") << renderArgs({"--zone", "3", "--room", "0x", "-o", "x.png"})
                                                  << zone3Rooms + "\"0x\"" << render;
        QTest::newRow("render hex room with a bad digit") << renderArgs({"--zone", "3", "--room", "0x1G", "-o", "x.png"})
                                                          << zone3Rooms + "\"0x1G\"" << render;
        QTest::newRow("render hex room with a sign") << renderArgs({"--zone", "3", "--room", "0x-1", "-o", "x.png"})
                                                     << zone3Rooms + "\"0x-1\"" << render;
        QTest::newRow("render hex room too long") << renderArgs({"--zone", "3", "--room", "0x000000001", "-o", "x.png"})
                                                  << zone3Rooms + "\"0x000000001\"" << render;
        QTest::newRow("render nothing chosen") << renderArgs({"--zone", "1", "-o", "x.png"})
                                               << "say what to draw: --room R, --all or --metatiles" << render;
        QTest::newRow("render room and all") << renderArgs({"--zone", "1", "--room", "0", "--all", "-o", "x.png"})
                                             << "--room, --all and --metatiles exclude each other" << render;
        QTest::newRow("render scale without all") << renderArgs({"--zone", "1", "--metatiles", "--scale", "1", "-o", "x.png"})
                                                  << "--scale applies to --all only" << render;
        QTest::newRow("render scale 3") << renderArgs({"--zone", "1", "--all", "--scale", "3", "-o", "x.png"})
                                        << "--scale must be a decimal number from 1 to 2, not \"3\"" << render;
        QTest::newRow("render without output") << renderArgs({"--zone", "1", "--all"}) << "-o OUT.png is missing" << render;
        QTest::newRow("render output without value") << renderArgs({"--zone", "1", "--all", "-o"}) << "-o needs a value" << render;
        QTest::newRow("render empty output") << renderArgs({"--zone", "1", "--all", "-o", ""})
                                             << "the output file name is empty" << render;
        QTest::newRow("render unknown flag") << renderArgs({"--zone", "1", "--all", "--grid", "-o", "x.png"})
                                             << "unknown option \"--grid\"" << render;

        const QString place = QStringLiteral("usage: vorned-cli place IMAGE");
        auto placeArgs = [](QStringList more) { return QStringList{"place", "a.nes"} + more; };
        const QStringList cell{"--zone", "2", "--room", "3", "--col", "4", "--row", "5", "--metatile", "6"};
        QTest::newRow("place without image") << QStringList{"place"} + cell << "place: needs exactly one image to change" << place;
        QTest::newRow("place without metatile") << placeArgs(cell.mid(0, 8)) << "--metatile is missing" << place;
        QTest::newRow("place without col") << placeArgs(cell.mid(0, 4) + cell.mid(6)) << "--col is missing" << place;
        QTest::newRow("place col 8") << placeArgs({"--zone", "2", "--room", "3", "--col", "8", "--row", "5", "--metatile", "6"})
                                     << "--col must be a decimal number from 0 to 7, not \"8\"" << place;
        QTest::newRow("place row 6") << placeArgs({"--zone", "2", "--room", "3", "--col", "7", "--row", "6", "--metatile", "6"})
                                     << "--row must be a decimal number from 0 to 5, not \"6\"" << place;
        QTest::newRow("place metatile 256") << placeArgs({"--zone", "2", "--room", "3", "--col", "7", "--row", "5", "--metatile", "256"})
                                            << "--metatile must be a decimal number from 0 to 255, not \"256\"" << place;
        QTest::newRow("place room past zone 7") << placeArgs({"--zone", "7", "--room", "28", "--col", "7", "--row", "5", "--metatile", "1"})
                                                << "--room must be a room from 0 to 27 (0x1B), decimal or hexadecimal with 0x, not \"28\"" << place;
        QTest::newRow("place zone 9") << placeArgs({"--zone", "9", "--room", "3", "--col", "7", "--row", "5", "--metatile", "6"})
                                      << "--zone must be a decimal number from 1 to 7, not \"9\"" << place;
        QTest::newRow("place without zone") << placeArgs(cell.mid(2)) << "--zone is missing" << place;
        QTest::newRow("place two images") << QStringList{"place", "a.nes", "b.nes"} + cell << "needs exactly one image to change (got 2)" << place;

        const QString password = QStringLiteral("usage: vorned-cli password encode");
        QTest::newRow("password alone") << QStringList{"password"} << "say encode or decode" << password;
        QTest::newRow("password verb") << QStringList{"password", "make"} << "unknown password command \"make\"" << password;
        QTest::newRow("encode without sector") << QStringList{"password", "encode", "--rations", "1"} << "--sector is missing" << password;
        QTest::newRow("encode without rations") << QStringList{"password", "encode", "--sector", "1"} << "--rations is missing" << password;
        QTest::newRow("sector 0") << QStringList{"password", "encode", "--sector", "0", "--rations", "1"}
                                  << "--sector must be a decimal number from 1 to 7, not \"0\"" << password;
        QTest::newRow("sector 8") << QStringList{"password", "encode", "--sector", "8", "--rations", "1"}
                                  << "--sector must be a decimal number from 1 to 7, not \"8\"" << password;
        QTest::newRow("sector hex") << QStringList{"password", "encode", "--sector", "0x3", "--rations", "1"}
                                    << "--sector must be a decimal number" << password;
        QTest::newRow("rations 5") << QStringList{"password", "encode", "--sector", "1", "--rations", "5"}
                                   << "--rations must be a decimal number from 0 to 4, not \"5\"" << password;
        QTest::newRow("rations negative") << QStringList{"password", "encode", "--sector", "1", "--rations", "-1"}
                                          << "--rations must be a decimal number from 0 to 4, not \"-1\"" << password;
        QTest::newRow("sector without value") << QStringList{"password", "encode", "--rations", "1", "--sector"}
                                              << "--sector needs a value" << password;
        QTest::newRow("sector twice") << QStringList{"password", "encode", "--sector", "1", "--sector", "2", "--rations", "1"}
                                      << "--sector is given twice" << password;
        QTest::newRow("progress short") << QStringList{"password", "encode", "--sector", "1", "--rations", "1", "--progress", "0,1,2"}
                                        << "--progress must be 6 comma-separated numbers from 0 to 2, not \"0,1,2\"" << password;
        QTest::newRow("progress 3") << QStringList{"password", "encode", "--sector", "1", "--rations", "1", "--progress", "0,0,0,0,0,3"}
                                    << "--progress must be 6 comma-separated numbers from 0 to 2" << password;
        QTest::newRow("gained 2") << QStringList{"password", "encode", "--sector", "1", "--rations", "1", "--gained", "0,0,2,0,0,0"}
                                  << "--gained must be 6 comma-separated numbers from 0 to 1" << password;
        QTest::newRow("gained too many") << QStringList{"password", "encode", "--sector", "1", "--rations", "1", "--gained", "0,0,0,0,0,0,0"}
                                         << "--gained must be 6 comma-separated numbers" << password;
        QTest::newRow("encode with word") << QStringList{"password", "encode", "--sector", "1", "--rations", "1", "extra"}
                                          << "encode takes no plain arguments, got \"extra\"" << password;
        QTest::newRow("encode unknown flag") << QStringList{"password", "encode", "--sector", "1", "--rations", "1", "--normal"}
                                             << "unknown option \"--normal\"" << password;
        QTest::newRow("decode without password") << QStringList{"password", "decode"} << "decode needs exactly one argument" << password;
        QTest::newRow("decode two passwords") << QStringList{"password", "decode", "00000000", "11111111"}
                                              << "decode needs exactly one argument" << password;
    }
    void badArgumentsGiveReasonAndUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        QFETCH(QString, usage);
        const CliRunResult run = RunVornedCli(args);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QString());
        const QStringList lines = OutputLines(run.err);
        QVERIFY2(lines.size() > 1, qPrintable(run.err));
        QVERIFY2(lines.first().startsWith(QStringLiteral("vorned-cli: ")), qPrintable(run.err));
        QVERIFY2(lines.first().contains(reason), qPrintable(run.err));
        QVERIFY2(lines.at(1).startsWith(usage), qPrintable(run.err));
    }

    void helpExplainsEachCommand_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("mentions");
        QTest::newRow("program") << QStringList{"--help"}
                                 << QStringList{"usage: vorned-cli COMMAND", "demo OUT.nes", "info IMAGE",
                                                "render IMAGE --zone N --room R", "render IMAGE --zone N --metatiles", "place IMAGE",
                                                "password encode --sector S", "password decode PASSWORD",
                                                "patch create ORIGINAL MODIFIED -o OUT", "patch apply PATCH IMAGE",
                                                "patch info PATCH", "Exit status"};
        QTest::newRow("demo") << QStringList{"demo", "--help"} << QStringList{"usage: vorned-cli demo OUT.nes", "atomically"};
        QTest::newRow("info") << QStringList{"info", "--help"}
                              << QStringList{"usage: vorned-cli info IMAGE", "RoomTable=0x%05X", "prints as -1",
                                             "Problem: Zone N: WHAT at 0xOFFSET lies outside the image"};
        QTest::newRow("info help among arguments") << QStringList{"info", "a.nes", "-h"} << QStringList{"usage: vorned-cli info IMAGE"};
        QTest::newRow("render") << QStringList{"render", "--help"}
                                << QStringList{"render IMAGE --zone N --all [--scale 1] -o OUT.png", "512 x 384", "1024 x 1024",
                                               "\"Room: 0A\""};
        QTest::newRow("place") << QStringList{"place", "--help"}
                               << QStringList{"usage: vorned-cli place IMAGE --zone N --room R --col C --row W --metatile M",
                                              "left click"};
        QTest::newRow("password") << QStringList{"password", "--help"}
                                  << QStringList{"vorned-cli password decode PASSWORD", "0 Active, 1 ID Aquired, 2 Disarmed",
                                                 "\"Bad Password\""};
        QTest::newRow("password encode") << QStringList{"password", "encode", "--help"}
                                         << QStringList{"usage: vorned-cli password encode"};
        QTest::newRow("patch") << QStringList{"patch", "--help"}
                               << QStringList{"usage: vorned-cli patch create ORIGINAL MODIFIED -o OUT [--format ips|bps]",
                                              "vorned-cli patch apply PATCH IMAGE [-o OUT] [--force]",
                                              "vorned-cli patch info PATCH [IMAGE]", "made for another image"};
        QTest::newRow("patch apply") << QStringList{"patch", "apply", "-h"} << QStringList{"usage: vorned-cli patch create"};
    }
    void helpExplainsEachCommand()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, mentions);
        const CliRunResult run = RunVornedCli(args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QVERIFY(run.out.startsWith(QStringLiteral("usage: vorned-cli ")));
        for (const QString& text : mentions)
            QVERIFY2(run.out.contains(text), qPrintable(text + QStringLiteral(" not in:\n") + run.out));
    }

    void demoWritesTheCartridge()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("demo.nes"));
        const CliRunResult run = RunVornedCli({QStringLiteral("demo"), path});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        const QByteArray bytes = ReadFile(path);
        const RomBytes expected = MakeDemoCartridge();
        QCOMPARE(qint64(bytes.size()), expected.size());
        QVERIFY(std::equal(bytes.begin(), bytes.end(), expected.bytes().begin(),
                           [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("demo.nes")});
    }

    void writeFailureGivesSystemReason_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing folder") << "no/such/folder/demo.nes";
        QTest::newRow("target is a folder") << "";
    }
    void writeFailureGivesSystemReason()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        const QString path = relative.isEmpty() ? dir.path() : dir.filePath(relative);
        const CliRunResult run = RunVornedCli({QStringLiteral("demo"), path});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(QStringLiteral("vorned-cli: Could not save")), qPrintable(run.err));
        QVERIFY(run.err.contains(path));
        QVERIFY(!run.err.contains(QStringLiteral("usage:")));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVornedCli)
#include "test_vorned_cli.moc"
