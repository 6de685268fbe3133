// vorned-cli patch: create, apply (in place and with -o, --force) and info as
// a user runs them; every refusal leaves the image byte for byte as it was
// and writes nothing.
#include "CliRun.h"
#include "demo/DemoCartridge.h"
#include "rom/Crc32.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray Demo()
{
    const RomBytes rom = MakeDemoCartridge();
    return QByteArray(reinterpret_cast<const char*>(rom.data()), qsizetype(rom.size()));
}

// The demo with a few scattered changes, one run and 300 bytes more.
QByteArray Edited()
{
    QByteArray b = Demo();
    b[0x10] = char(0x99);
    b[0x7146] = char(42);
    for (int i = 0x20000; i < 0x20400; ++i)
        b[i] = char(0xEE);
    b.append(QByteArray(300, char(0x3C)));
    return b;
}

QStringList Files(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString CrcText(const QByteArray& b)
{
    return QStringLiteral("0x") +
           QString::number(Crc32(reinterpret_cast<const std::uint8_t*>(b.constData()), std::size_t(b.size())), 16)
               .toUpper()
               .rightJustified(8, QLatin1Char('0'));
}

} // namespace

class TestCliPatch : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void init()
    {
        for (const QString& f : Files(m_dir.path()))
            QFile::remove(m_dir.filePath(f));
        QVERIFY(WriteFile(path("original.nes"), Demo()));
        QVERIFY(WriteFile(path("edited.nes"), Edited()));
    }

    void createThenApply_data()
    {
        QTest::addColumn<QStringList>("createArgs"); // after "patch create original edited"
        QTest::addColumn<QString>("patchName");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("IPS from the extension, in place") << QStringList{"-o", "p.ips"} << "p.ips" << "IPS" << true;
        QTest::newRow("BPS from the extension, in place") << QStringList{"-o", "p.bps"} << "p.bps" << "BPS" << true;
        QTest::newRow("extension in capitals, -o") << QStringList{"-o", "P.BPS"} << "P.BPS" << "BPS" << false;
        QTest::newRow("--format ips, no extension") << QStringList{"--format", "ips", "-o", "level"} << "level" << "IPS"
                                                    << false;
        QTest::newRow("--format BPS, other extension") << QStringList{"-o", "level.patch", "--format", "BPS"}
                                                       << "level.patch" << "BPS" << true;
    }
    void createThenApply()
    {
        QFETCH(QStringList, createArgs);
        QFETCH(QString, patchName);
        QFETCH(QString, format);
        QFETCH(bool, inPlace);
        for (qsizetype i = 0; i < createArgs.size(); ++i)
            if (createArgs[i] == patchName)
                createArgs[i] = m_dir.filePath(patchName);
        const CliRunResult created =
            RunVornedCli(QStringList{"patch", "create", path("original.nes"), path("edited.nes")} + createArgs);
        QCOMPARE(created.exitCode, 0);
        QCOMPARE(created.err, QString());
        const QByteArray patch = ReadFile(m_dir.filePath(patchName));
        QVERIFY(created.out.startsWith(QStringLiteral("wrote %1 patch of %2 bytes").arg(format).arg(patch.size())));
        QVERIFY(patch.startsWith(format == QLatin1String("IPS") ? "PATCH" : "BPS1"));
        QVERIFY(patch.size() < 1200); // runs, not 1,324 bytes written out

        QStringList args{"patch", "apply", m_dir.filePath(patchName), path("original.nes")};
        if (!inPlace)
            args << "-o" << path("result.nes");
        const CliRunResult applied = RunVornedCli(args);
        QCOMPARE(applied.exitCode, 0);
        QCOMPARE(applied.err, QString());
        QVERIFY(applied.out.contains(QStringLiteral("(262160 -> 262460 bytes)")));
        if (inPlace) {
            QCOMPARE(ReadFile(path("original.nes")), Edited());
        } else {
            QCOMPARE(ReadFile(path("result.nes")), Edited());
            QCOMPARE(ReadFile(path("original.nes")), Demo());
        }
        // Nothing else is left behind (no temporary files).
        QStringList expected{"edited.nes", "original.nes", patchName};
        if (!inPlace)
            expected << "result.nes";
        expected.sort();
        QCOMPARE(Files(m_dir.path()), expected);
    }

    void refusedPatchesLeaveTheImage_data()
    {
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<QString>("reason");
        QTest::newRow("IPS cut short") << QByteArray("PATCH\x00\x00\x10\x00\x09\x01\x02", 12) << "cut short";
        QTest::newRow("IPS without EOF") << QByteArray("PATCH\x00\x00\x10\x00\x01\x01", 11) << "EOF";
        QTest::newRow("UPS patch") << QByteArray("UPS1\x90\x90\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 17)
                                   << "not an IPS or BPS";
        QTest::newRow("empty file") << QByteArray() << "empty";
        QTest::newRow("BPS cut short") << QByteArray("BPS1\x80\x80", 6) << "cut short";
    }
    void refusedPatchesLeaveTheImage()
    {
        QFETCH(QByteArray, patch);
        QFETCH(QString, reason);
        QVERIFY(WriteFile(path("bad.patch"), patch));
        for (const bool withOutput : {false, true}) {
            QStringList args{"patch", "apply", path("bad.patch"), path("original.nes")};
            if (withOutput)
                args << "-o" << path("out.nes");
            const CliRunResult run = RunVornedCli(args);
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(reason), qPrintable(run.err));
            QCOMPARE(run.out, QString());
            QCOMPARE(ReadFile(path("original.nes")), Demo());
            QCOMPARE(Files(m_dir.path()), (QStringList{"bad.patch", "edited.nes", "original.nes"}));
        }
    }

    void bpsForAnotherImageNeedsForce()
    {
        QCOMPARE(RunVornedCli({"patch", "create", path("original.nes"), path("edited.nes"), "-o", path("p.bps")}).exitCode,
                 0);
        // The image the patch is applied to has an edit of its own.
        QByteArray other = Demo();
        other[0x30000] = char(0x01);
        QVERIFY(WriteFile(path("other.nes"), other));

        CliRunResult run = RunVornedCli({"patch", "apply", path("p.bps"), path("other.nes")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("made for another image")), qPrintable(run.err));
        QVERIFY(run.err.contains(CrcText(Demo())) && run.err.contains(CrcText(other)));
        QVERIFY(run.err.contains(QStringLiteral("--force")));
        QCOMPARE(ReadFile(path("other.nes")), other);

        run = RunVornedCli({"patch", "apply", "--force", path("p.bps"), path("other.nes")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(QStringLiteral("warning: this patch was made for another image")));
        QVERIFY(run.err.contains(QStringLiteral("not the image the patch was made to give")));
        QByteArray expected = Edited();
        expected[0x30000] = char(0x01); // kept: the patch reads it from the image
        QCOMPARE(ReadFile(path("other.nes")), expected);

        // A damaged patch is refused even with --force.
        QByteArray damaged = ReadFile(path("p.bps"));
        damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x10);
        QVERIFY(WriteFile(path("broken.bps"), damaged));
        run = RunVornedCli({"patch", "apply", "--force", path("broken.bps"), path("original.nes")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("patch is damaged")), qPrintable(run.err));
        QCOMPARE(ReadFile(path("original.nes")), Demo());
    }

    void infoTellsWhatThePatchHolds()
    {
        QCOMPARE(RunVornedCli({"patch", "create", path("original.nes"), path("edited.nes"), "-o", path("p.bps")}).exitCode,
                 0);
        CliRunResult run = RunVornedCli({"patch", "info", path("p.bps")});
        QCOMPARE(run.exitCode, 0);
        QStringList lines = OutputLines(run.out);
        QCOMPARE(lines.value(0), QStringLiteral("format: BPS"));
        QCOMPARE(lines.value(1), QStringLiteral("patch size: %1 bytes").arg(ReadFile(path("p.bps")).size()));
        QCOMPARE(lines.value(2), QStringLiteral("source size: 262160 bytes"));
        QCOMPARE(lines.value(3), QStringLiteral("target size: 262460 bytes"));
        QVERIFY(lines.value(5).startsWith(QStringLiteral("actions: ")));
        QCOMPARE(lines.value(6), QStringLiteral("source CRC-32: ") + CrcText(Demo()));
        QCOMPARE(lines.value(7), QStringLiteral("target CRC-32: ") + CrcText(Edited()));
        QVERIFY(lines.value(8).endsWith(QStringLiteral("(holds)")));

        run = RunVornedCli({"patch", "info", path("p.bps"), path("original.nes")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("source: the image matches")));
        QVERIFY(run.out.contains(QStringLiteral("result: 262460 bytes, CRC-32 ") + CrcText(Edited())));
        run = RunVornedCli({"patch", "info", path("p.bps"), path("edited.nes")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.contains(QStringLiteral("source: the patch was made for another image")));

        // Damage to the checksum itself: the rest is still described.
        QByteArray damaged = ReadFile(path("p.bps"));
        damaged[damaged.size() - 1] = char(damaged[damaged.size() - 1] ^ 0x10);
        QVERIFY(WriteFile(path("damaged.bps"), damaged));
        run = RunVornedCli({"patch", "info", path("damaged.bps")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.contains(QStringLiteral("(does not hold")));
        QVERIFY(run.out.contains(QStringLiteral("target size: 262460 bytes")));
        // Damage inside the actions.
        damaged = ReadFile(path("p.bps"));
        for (qsizetype i = 8; i < damaged.size() - 12; ++i)
            damaged[i] = char(0x7F);
        QVERIFY(WriteFile(path("broken.bps"), damaged));
        run = RunVornedCli({"patch", "info", path("broken.bps")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("patch is damaged")), qPrintable(run.err));

        QCOMPARE(RunVornedCli({"patch", "create", path("original.nes"), path("edited.nes"), "-o", path("p.ips")}).exitCode,
                 0);
        run = RunVornedCli({"patch", "info", path("p.ips")});
        QCOMPARE(run.exitCode, 0);
        lines = OutputLines(run.out);
        QCOMPARE(lines.value(0), QStringLiteral("format: IPS"));
        QVERIFY(lines.value(2).startsWith(QStringLiteral("records: ")) && lines.value(2).contains(QStringLiteral("runs")));
        QCOMPARE(lines.value(3), QStringLiteral("writes up to: 0x04013B"));
        QVERIFY(run.out.contains(QStringLiteral("checksums: none")));
    }

    void specialFilesAreNeitherReadNorReplaced()
    {
        const QString fifo = path("pipe.ips");
        if (mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0)
            QSKIP("cannot make a FIFO in the temporary folder");
        const CliRunResult run = RunVornedCli({"patch", "apply", fifo, path("original.nes")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("not a regular file")));
        QCOMPARE(ReadFile(path("original.nes")), Demo());

        // Nor is a pipe or a folder replaced by an output.
        const QString folder = path("folder.ips");
        QVERIFY(QDir().mkpath(folder));
        for (const QString& output : {fifo, folder}) {
            CliRunResult created =
                RunVornedCli({"patch", "create", path("original.nes"), path("edited.nes"), "--format", "ips", "-o", output});
            QCOMPARE(created.exitCode, 1);
            QVERIFY2(created.err.contains(QStringLiteral("not a regular file")), qPrintable(created.err));
            QVERIFY(!QFileInfo(output).isFile());
        }
        QCOMPARE(RunVornedCli({"patch", "create", path("original.nes"), path("edited.nes"), "-o", path("p.ips")}).exitCode,
                 0);
        const CliRunResult applied = RunVornedCli({"patch", "apply", path("p.ips"), path("original.nes"), "-o", fifo});
        QCOMPARE(applied.exitCode, 1);
        QVERIFY(applied.err.contains(QStringLiteral("not a regular file")));
        QCOMPARE(ReadFile(path("original.nes")), Demo());
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QFile::remove(fifo);
        QDir(folder).removeRecursively();
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        const QString o = path("original.nes"), e = path("edited.nes");
        QTest::newRow("no action") << QStringList{"patch"} << "say what to do";
        QTest::newRow("unknown action") << QStringList{"patch", "make", o} << "unknown patch action \"make\"";
        QTest::newRow("create without -o") << QStringList{"patch", "create", o, e} << "-o OUT is missing";
        QTest::newRow("create with one image") << QStringList{"patch", "create", o, "-o", "x.ips"} << "(got 1 files)";
        QTest::newRow("create without format") << QStringList{"patch", "create", o, e, "-o", "x.diff"} << "say the format";
        QTest::newRow("create unknown format") << QStringList{"patch", "create", o, e, "--format", "ups", "-o", "x"}
                                               << "--format must be ips or bps";
        QTest::newRow("create format against extension")
            << QStringList{"patch", "create", o, e, "--format", "bps", "-o", "x.ips"} << "does not match the extension";
        QTest::newRow("create onto the original") << QStringList{"patch", "create", o, e, "--format", "ips", "-o", o}
                                                  << "-o names one of the images";
        QTest::newRow("apply with one file") << QStringList{"patch", "apply", o} << "(got 1 files)";
        QTest::newRow("apply onto the patch") << QStringList{"patch", "apply", e, o, "-o", e} << "-o names the patch";
        QTest::newRow("apply unknown option") << QStringList{"patch", "apply", e, o, "--yes"} << "unknown option \"--yes\"";
        QTest::newRow("info without patch") << QStringList{"patch", "info"} << "info needs the patch";
        QTest::newRow("info with three files") << QStringList{"patch", "info", o, o, o} << "(got 3 files)";
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const CliRunResult run = RunVornedCli(args);
        QCOMPARE(run.exitCode, 2);
        const QStringList lines = OutputLines(run.err);
        QVERIFY2(lines.value(0).startsWith(QStringLiteral("vorned-cli: patch: ")) && lines.value(0).contains(reason),
                 qPrintable(run.err));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("usage: vorned-cli patch create")));
        QCOMPARE(ReadFile(path("original.nes")), Demo());
        QCOMPARE(Files(m_dir.path()), (QStringList{"edited.nes", "original.nes"}));
    }
};

QTEST_GUILESS_MAIN(TestCliPatch)
#include "test_cli_patch.moc"
