// vorned-cli's inputs and outputs as a hostile or careless user names them:
// devices, named pipes, sockets, folders and links to them as -o or as the
// image, standard input, a /proc file, names that are not UTF-8 or fill the
// folder's limit, other owners' and hard-linked files, and standard output
// on a full device, closed or on a pipe nobody reads. Each row states the
// exit status, what is on disk afterwards and the message.
#include "CliRawRun.h"
#include "demo/DemoCartridge.h"

#include <QTemporaryDir>
#include <QtTest>

#include "../fixtures/PasswordFixture.h"
#include "../fixtures/SpecialFiles.h"

namespace {

QByteArray DemoBytes()
{
    const RomBytes demo = MakeDemoCartridge();
    return QByteArray(reinterpret_cast<const char*>(demo.data()), qsizetype(demo.size()));
}

const QByteArray PngSignature("\x89PNG\r\n\x1a\n");

} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QByteArray m_folder;
    QByteArray m_demo; // a demo cartridge in the folder

    QByteArray at(const QByteArray& name) const { return m_folder + '/' + name; }

    // Makes a special thing for a row; false with `skip` set when it needs root.
    bool make(const QString& kind, const QByteArray& path, QString& skip)
    {
        if (kind == "null device" || kind == "link to null device") {
            if (!RunningAsRoot()) {
                skip = QStringLiteral("making a device node needs root");
                return false;
            }
            if (kind == "null device")
                return MakeCharDevice(path, 3);
            return MakeCharDevice(at("thing"), 3) && MakeSymlink("thing", path);
        }
        if (kind == "named pipe") return MakeFifo(path);
        if (kind == "link to named pipe") return MakeFifo(at("thing")) && MakeSymlink("thing", path);
        if (kind == "socket") return MakeSocketFile(path);
        if (kind == "link to socket") return MakeSocketFile(at("thing")) && MakeSymlink("thing", path);
        if (kind == "folder") return ::mkdir(path.constData(), 0755) == 0;
        if (kind == "link to folder") return ::mkdir(at("thing").constData(), 0755) == 0 && MakeSymlink("thing", path);
        if (kind == "file") return WriteBytes(path, "old bytes", 0640);
        if (kind == "hard-linked") return WriteBytes(path, "old bytes", 0640) && ::link(path.constData(), at("other-name").constData()) == 0;
        if (kind == "missing") return true;
        return false;
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_folder = QFile::encodeName(m_dir->path());
        m_demo = at("demo.nes");
        QVERIFY(WriteBytes(m_demo, DemoBytes()));
    }
    void cleanup()
    {
        RemoveContents(m_folder);
        delete m_dir;
        m_dir = nullptr;
    }

    // ---- Outputs: -o of render, the file of demo ----

    void outputs_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("after");   // what the name is afterwards
        QTest::addColumn<QString>("message"); // on standard error

        for (const QString& command : {QStringLiteral("demo"), QStringLiteral("render")}) {
            const auto row = [&](const char* name) { return (command + QStringLiteral(": ") + QLatin1String(name)).toUtf8(); };
            QTest::newRow(row("null device written through").constData()) << command << "null device" << 0 << "character device" << "";
            QTest::newRow(row("link to null device written through").constData()) << command << "link to null device" << 0 << "link to character device" << "";
            QTest::newRow(row("named pipe written through").constData()) << command << "named pipe" << 0 << "named pipe" << "";
            QTest::newRow(row("link to named pipe written through").constData()) << command << "link to named pipe" << 0 << "link to named pipe" << "";
            QTest::newRow(row("socket refused").constData()) << command << "socket" << 1 << "socket" << "it is a socket, not a file";
            QTest::newRow(row("link to socket refused").constData()) << command << "link to socket" << 1 << "link to socket"
                                                         << "it is a symbolic link to a socket, not a file";
            QTest::newRow(row("folder refused").constData()) << command << "folder" << 1 << "folder" << "it is a folder, not a file";
            QTest::newRow(row("link to folder refused").constData()) << command << "link to folder" << 1 << "link to folder"
                                                         << "it is a symbolic link to a folder, not a file";
            QTest::newRow(row("file replaced, mode kept").constData()) << command << "file" << 0 << "file" << "";
            QTest::newRow(row("hard-linked file written in place").constData()) << command << "hard-linked" << 0 << "file" << "";
            QTest::newRow(row("new file").constData()) << command << "missing" << 0 << "file" << "";
        }
    }
    void outputs()
    {
        QFETCH(QString, command);
        QFETCH(QString, kind);
        QFETCH(int, exit);
        QFETCH(QString, after);
        QFETCH(QString, message);

        const QByteArray out = at("out");
        QString skip;
        if (!make(kind, out, skip)) {
            if (!skip.isEmpty())
                QSKIP(qPrintable(skip));
            QFAIL("could not make the row's target");
        }
        const QList<QByteArray> entriesBefore = EntriesOf(m_folder);
        const DiskState before = StateOf(out);
        std::unique_ptr<FifoReader> reader;
        if (kind.contains(QLatin1String("named pipe")))
            reader = std::make_unique<FifoReader>(kind == "named pipe" ? out : at("thing"));

        const QList<QByteArray> args = command == "demo"
                                           ? QList<QByteArray>{"demo", out}
                                           : QList<QByteArray>{"render", m_demo, "--zone", "1", "--room", "0", "-o", out};
        const RawRunResult run = RunCliRaw(args);
        QVERIFY(!run.TimedOut);
        QCOMPARE(run.ExitCode, exit);
        if (message.isEmpty()) {
            QCOMPARE(run.Err, QByteArray());
            QVERIFY(run.Out.startsWith("wrote "));
        } else {
            QVERIFY2(run.Err.contains(message.toUtf8()), run.Err.constData());
            QVERIFY2(run.Err.contains(out), run.Err.constData());
            QCOMPARE(run.Out, QByteArray());
        }

        // The name is what it was (or the file it should now be).
        const DiskState state = StateOf(out);
        QCOMPARE(state.Link, after.startsWith(QLatin1String("link to ")));
        QCOMPARE(state.Type, state.Link ? after.mid(8) : after);
        if (state.Type == "character device")
            QCOMPARE(state.Device, before.Device);
        const QByteArray written = reader ? reader->finish() : state.Bytes;
        if (exit == 0 && state.Type != "character device") {
            if (command == "demo")
                QCOMPARE(written, DemoBytes());
            else
                QVERIFY(written.startsWith(PngSignature));
        }
        if (kind == "file" || kind == "hard-linked") {
            QCOMPARE(state.Mode, 0640);
            QCOMPARE(state.Links, kind == "file" ? 1 : 2);
        }
        if (kind == "hard-linked")
            QCOMPARE(ReadBytes(at("other-name")), written);
        QList<QByteArray> expected = entriesBefore;
        if (kind == "missing") {
            expected << "out";
            std::sort(expected.begin(), expected.end());
        }
        QCOMPARE(EntriesOf(m_folder), expected);
    }

    // ---- Inputs: the image of info (render reads the same way) ----

    void inputs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message"); // on standard error; empty: the demo's zone table is printed

        QTest::newRow("file") << "file" << 0 << "";
        QTest::newRow("named pipe with a writer") << "pipe" << 0 << "";
        QTest::newRow("link to a named pipe with a writer") << "link to pipe" << 0 << "";
        QTest::newRow("named pipe whose writer writes nothing") << "silent pipe" << 1
                                                                << "vorned-cli: \"%1\" gave no bytes: there is no cartridge image to load.";
        QTest::newRow("- from a file") << "- file" << 0 << "";
        QTest::newRow("- from a pipe") << "- pipe" << 0 << "";
        QTest::newRow("/dev/stdin from a pipe") << "/dev/stdin pipe" << 0 << "";
        QTest::newRow("- with nothing") << "- empty" << 1
                                        << "vorned-cli: standard input gave no bytes: there is no cartridge image to load.";
        QTest::newRow("- with 16 MiB + 1 byte") << "- flood" << 1
                                                << "vorned-cli: standard input is too large: it gives more than 16777216 bytes";
        QTest::newRow("- closed") << "- closed" << 1 << "vorned-cli: Could not read standard input: Bad file descriptor";
        QTest::newRow("/proc file of size 0 with content") << "proc" << 0 << "";
        QTest::newRow("null device") << "null device" << 1 << "vorned-cli: \"%1\" is a character device, not a file.";
        QTest::newRow("link to null device") << "link to null device" << 1
                                             << "vorned-cli: \"%1\" is a symbolic link to a character device, not a file.";
        QTest::newRow("socket") << "socket" << 1 << "vorned-cli: \"%1\" is a socket, not a file.";
        QTest::newRow("folder") << "folder" << 1 << "vorned-cli: \"%1\" is a folder, not a file.";
        QTest::newRow("missing") << "missing" << 1 << "vorned-cli: Could not open \"%1\": No such file or directory";
    }
    void inputs()
    {
        QFETCH(QString, kind);
        QFETCH(int, exit);
        QFETCH(QString, message);

        QByteArray image = at("image");
        RawRunOptions options;
        std::unique_ptr<FifoWriter> writer;
        QString skip;
        if (kind == "file") {
            image = m_demo;
        } else if (kind == "pipe" || kind == "link to pipe" || kind == "silent pipe") {
            QVERIFY(MakeFifo(at("fifo")));
            if (kind == "link to pipe")
                QVERIFY(MakeSymlink("fifo", image));
            else
                image = at("fifo");
            writer = std::make_unique<FifoWriter>(at("fifo"), kind == "silent pipe" ? QByteArray() : DemoBytes());
        } else if (kind.startsWith(QLatin1String("- ")) || kind.startsWith(QLatin1String("/dev/stdin "))) {
            image = kind.section(QLatin1Char(' '), 0, 0).toUtf8();
            const QString from = kind.section(QLatin1Char(' '), 1);
            if (from == "file") {
                options.In = RawRunOptions::Input::File;
                options.InputFile = m_demo;
            } else if (from == "pipe" || from == "flood") {
                options.In = RawRunOptions::Input::Bytes;
                options.InputBytes = from == "pipe" ? DemoBytes() : QByteArray(16 * 1024 * 1024 + 1, '\x7f');
            } else if (from == "closed") {
                options.In = RawRunOptions::Input::Closed;
            }
        } else if (kind == "proc") {
            image = "/proc/self/status";
        } else if (!make(kind, image, skip)) {
            if (!skip.isEmpty())
                QSKIP(qPrintable(skip));
            QFAIL("could not make the row's image");
        }

        const RawRunResult run = RunCliRaw({"info", image}, options);
        writer.reset();
        QVERIFY(!run.TimedOut);
        QCOMPARE(run.ExitCode, exit);
        if (message.isEmpty()) {
            QCOMPARE(run.Err, QByteArray());
            if (kind == "proc") {
                // Some bytes that are not a cartridge: a table all the same.
                QVERIFY(run.Out.startsWith("Zone 1: RoomTable="));
            } else {
                const RawRunResult reference = RunCliRaw({"info", m_demo});
                QCOMPARE(reference.ExitCode, 0);
                QCOMPARE(run.Out, reference.Out);
            }
        } else {
            const QString expected = message.contains(QLatin1String("%1")) ? message.arg(QString::fromUtf8(image)) : message;
            QVERIFY2(run.Err.startsWith(expected.toUtf8()), run.Err.constData());
            QCOMPARE(run.Out, QByteArray());
        }
    }

    // ---- Names ----

    void namesAreTheirBytes()
    {
        // Beside the file with a byte that is not UTF-8, the name a lossy
        // decoding would make of it: only the named file is touched.
        const QByteArray raw = at("bad\xff.nes");
        const QByteArray lookAlike = at("bad\xef\xbf\xbd.nes");
        QVERIFY(WriteBytes(lookAlike, "not me"));

        RawRunResult run = RunCliRaw({"info", raw});
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.startsWith("vorned-cli: Could not open \"" + m_folder + "/bad\\xFF.nes\": No such file or directory"),
                 run.Err.constData());

        run = RunCliRaw({"demo", raw});
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.Out, "wrote 262160 bytes to " + m_folder + "/bad\\xFF.nes\n");
        QCOMPARE(ReadBytes(raw), DemoBytes());
        QCOMPARE(ReadBytes(lookAlike), QByteArray("not me"));

        run = RunCliRaw({"place", raw, "--zone", "1", "--room", "0", "--col", "0", "--row", "0", "--metatile", "7"});
        QCOMPARE(run.ExitCode, 0);
        QVERIFY(ReadBytes(raw) != DemoBytes());
        run = RunCliRaw({"render", raw, "--zone", "1", "--room", "0", "-o", at("room\xfe.png")});
        QCOMPARE(run.ExitCode, 0);
        QVERIFY(ReadBytes(at("room\xfe.png")).startsWith(PngSignature));
        // -o naming the image through another spelling is still the image.
        run = RunCliRaw({"render", raw, "--zone", "1", "--room", "0", "-o", m_folder + "/./bad\xff.nes"});
        QCOMPARE(run.ExitCode, 2);
        QCOMPARE(ReadBytes(lookAlike), QByteArray("not me"));
        QCOMPARE(EntriesOf(m_folder), (QList<QByteArray>{"bad\xef\xbf\xbd.nes", "bad\xff.nes", "demo.nes", "room\xfe.png"}));
    }

    void longNamesCanBeSaved()
    {
        // 250 bytes: the temporary name beside it would pass the folder's limit.
        const QByteArray name = at(QByteArray(246, 'n') + ".nes");
        QVERIFY(WriteBytes(name, DemoBytes()));
        QVERIFY(::link(name.constData(), at("second").constData()) == 0);
        for (int round = 0; round < 2; ++round) {
            const RawRunResult run = RunCliRaw({"place", name, "--zone", "1", "--room", "0", "--col", "1", "--row", "0",
                                                "--metatile", QByteArray::number(9 + round)});
            QCOMPARE(run.ExitCode, 0);
            QCOMPARE(StateOf(name).Links, round == 0 ? 2 : 1);
            QCOMPARE(EntriesOf(m_folder), (QList<QByteArray>{"demo.nes", QByteArray(246, 'n') + ".nes", "second"}.mid(0, round == 0 ? 3 : 2)));
            if (round == 0)
                QVERIFY(::unlink(at("second").constData()) == 0); // next round: one link, replaced by rename
        }
    }

    // ---- Owners and links kept (as root) ----

    void ownersAndLinksKept_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("runAs");   // user id vorned-cli runs as; -1: as the test
        QTest::addColumn<int>("owner");   // owner and group afterwards
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("links");
        QTest::newRow("another owner's file, saved by root") << "nobody 0640" << -1 << 65534 << 0640 << 1;
        QTest::newRow("another owner's hard-linked file, saved by root") << "nobody 0640 linked" << -1 << 65534 << 0640 << 2;
        // A user who may write the file but cannot give a new one root's owner: in place.
        QTest::newRow("root's file, saved by nobody") << "root 0666" << 65534 << 0 << 0666 << 1;
        QTest::newRow("root's hard-linked file, saved by nobody") << "root 0666 linked" << 65534 << 0 << 0666 << 2;
    }
    void ownersAndLinksKept()
    {
        QFETCH(QString, setup);
        QFETCH(int, runAs);
        QFETCH(int, owner);
        QFETCH(int, mode);
        QFETCH(int, links);
        if (!RunningAsRoot())
            QSKIP("files of other owners need root");
        const QByteArray file = at("game.nes");
        QVERIFY(WriteBytes(file, DemoBytes(), mode_t(mode)));
        if (setup.startsWith(QLatin1String("nobody")))
            QVERIFY(::chown(file.constData(), 65534, 65534) == 0);
        if (setup.endsWith(QLatin1String("linked")))
            QVERIFY(::link(file.constData(), at("other-name").constData()) == 0);
        QVERIFY(::chmod(m_folder.constData(), 0777) == 0);
        RawRunOptions options;
        options.User = runAs;
        if (runAs >= 0 && RunCliRaw({"--help"}, options).ExitCode != 0)
            QSKIP("vorned-cli cannot be run as user 65534 from this build folder");
        const QList<QByteArray> entriesBefore = EntriesOf(m_folder);

        const RawRunResult run = RunCliRaw({"place", file, "--zone", "2", "--room", "1", "--col", "3", "--row", "2", "--metatile", "200"},
                                           options);
        QCOMPARE(run.ExitCode, 0);
        const DiskState state = StateOf(file);
        QCOMPARE(int(state.Owner), owner);
        QCOMPARE(int(state.Group), owner);
        QCOMPARE(state.Mode, mode);
        QCOMPARE(state.Links, links);
        QVERIFY(state.Bytes != DemoBytes());
        QCOMPARE(state.Bytes.size(), DemoBytes().size());
        if (links == 2)
            QCOMPARE(ReadBytes(at("other-name")), state.Bytes);
        QCOMPARE(EntriesOf(m_folder), entriesBefore);
    }

    // ---- Standard output and error ----

    void standardOutputFailures_data()
    {
        QTest::addColumn<QList<QByteArray>>("args");
        QTest::addColumn<QString>("output");  // "full device", "closed", "nobody reads"
        QTest::addColumn<QString>("reason");

        const QList<QList<QByteArray>> commands{{"info", "DEMO"}, {"password", "decode", "82K5310B"}, {"--help"},
                                                {"demo", "OUT"}, {"info", "--help"}};
        const QList<std::pair<QString, QString>> outputs{{"full device", "No space left on device"},
                                                         {"closed", "Bad file descriptor"},
                                                         {"nobody reads", "Broken pipe"}};
        for (const QList<QByteArray>& args : commands)
            for (const auto& [output, reason] : outputs)
                QTest::newRow(qPrintable(QString::fromUtf8(args.join(' ')) + QStringLiteral(" > ") + output))
                    << args << output << reason;
    }
    void standardOutputFailures()
    {
        QFETCH(QList<QByteArray>, args);
        QFETCH(QString, output);
        QFETCH(QString, reason);
        for (QByteArray& a : args)
            a = a == "DEMO" ? m_demo : a == "OUT" ? at("out.nes") : a;

        RawRunOptions options;
        if (output == "full device") {
            if (!RunningAsRoot())
                QSKIP("making a full device node needs root");
            QVERIFY(MakeCharDevice(at("full"), 7));
            options.Out = RawRunOptions::Output::File;
            options.OutputFile = at("full");
        } else {
            options.Out = output == "closed" ? RawRunOptions::Output::Closed : RawRunOptions::Output::BrokenPipe;
        }
        // The same command with a working standard output succeeds.
        const RawRunResult good = RunCliRaw(args);
        QCOMPARE(good.ExitCode, 0);
        QVERIFY(!good.Out.isEmpty());

        const RawRunResult run = RunCliRaw(args, options);
        QVERIFY(!run.TimedOut);
        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.endsWith(("vorned-cli: could not write to standard output: " + reason + "\n").toUtf8()),
                 run.Err.constData());
    }

    void typedPasswordsUpperCaseAsciiOnly()
    {
        // "\uFB00" (the ff ligature) upper-cases to the two letters "FF": a
        // password that starts with FF, typed with the ligature, has seven
        // characters and is not a password.
        const QByteArray password = PasswordStartingWith(QStringLiteral("FF")).toUtf8();
        QCOMPARE(password.size(), 8);
        RawRunResult run = RunCliRaw({"password", "decode", password});
        QCOMPARE(run.ExitCode, 0);
        const QByteArray flags = run.Out;
        run = RunCliRaw({"password", "decode", password.toLower()});
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.Out, flags);
        for (const QByteArray& typed : {QByteArray("\xef\xac\x80") + password.mid(2), QByteArray("\xef\xac\x80") + password.mid(1),
                                        password.left(7), password + "0"}) {
            run = RunCliRaw({"password", "decode", typed});
            QCOMPARE(run.ExitCode, 3);   // a bad password's own status
            QCOMPARE(run.Err, QByteArray("Bad Password\n"));
        }
    }
};

QTEST_GUILESS_MAIN(TestCliFiles)
#include "test_cli_files.moc"
