// vorned-cli as a user runs it: exit status, messages and the written file.
#include "rom/DemoCartridge.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run RunCli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(VORNED_CLI_PATH), args);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class TestVornedCli : public QObject {
    Q_OBJECT
private slots:
    void badArgumentsGiveReasonAndUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nothing") << QStringList{} << "no command given";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "unknown command \"frobnicate\"";
        QTest::newRow("unknown option") << QStringList{"--frob"} << "unknown option \"--frob\"";
        QTest::newRow("demo without file") << QStringList{"demo"} << "demo takes one argument";
        QTest::newRow("demo with two files") << QStringList{"demo", "a.nes", "b.nes"} << "demo takes one argument";
        QTest::newRow("demo with empty name") << QStringList{"demo", ""} << "file name is empty";
        QTest::newRow("demo with option") << QStringList{"demo", "--force"} << "unknown option \"--force\"";
        QTest::newRow("help with extra") << QStringList{"--help", "demo"} << "--help takes no arguments";
    }
    void badArgumentsGiveReasonAndUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const Run run = RunCli(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        const QStringList lines = run.err.split(QLatin1Char('\n'));
        QVERIFY2(lines.first().startsWith(QStringLiteral("vorned-cli: ")), qPrintable(run.err));
        QVERIFY2(lines.first().contains(reason), qPrintable(run.err));
        QVERIFY(lines.size() > 1 && lines.at(1).startsWith(QStringLiteral("usage: vorned-cli")));
    }

    void helpListsTheCommands()
    {
        const Run run = RunCli({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.startsWith(QStringLiteral("usage: vorned-cli")));
        QVERIFY(run.out.contains(QStringLiteral("demo OUT.nes")));
    }

    void demoWritesTheCartridge()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("demo.nes"));
        const Run run = RunCli({QStringLiteral("demo"), path});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const RomBytes expected = MakeDemoCartridge();
        QCOMPARE(qint64(bytes.size()), expected.size());
        QVERIFY(std::equal(bytes.begin(), bytes.end(), expected.bytes().begin(),
                           [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
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
        const Run run = RunCli({QStringLiteral("demo"), path});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(QStringLiteral("vorned-cli: Could not save")), qPrintable(run.err));
        QVERIFY(run.err.contains(path));
        QVERIFY(!run.err.contains(QStringLiteral("usage:")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("demo.nes"))));
    }
};

QTEST_GUILESS_MAIN(TestVornedCli)
#include "test_vorned_cli.moc"
