// vorned-cli password: encode gives the codec's password, decode gives the
// settings back in the flag form encode takes, bad passwords are refused.
#include "CliRun.h"
#include "password/PasswordCodec.h"

#include <QtTest>

Q_DECLARE_METATYPE(PasswordSettings)

namespace {

PasswordSettings Settings(int sector, int rations, bool expert, std::array<std::int16_t, 6> progress,
                          std::array<bool, 6> gained)
{
    PasswordSettings s;
    s.Sector = static_cast<std::int16_t>(sector - 1);
    s.Rations = static_cast<std::int16_t>(rations);
    s.Expert = expert;
    s.Progress = progress;
    s.RationGained = gained;
    return s;
}

} // namespace

class TestCliPassword : public QObject {
    Q_OBJECT
private slots:
    void encodeAndDecodeRoundTrip_data()
    {
        QTest::addColumn<QStringList>("flags");     // as given to encode
        QTest::addColumn<QString>("decoded");       // what decode prints
        QTest::addColumn<PasswordSettings>("settings");

        QTest::newRow("first choices") << QStringList{"--sector", "1", "--rations", "0"}
                                       << "--sector 1 --rations 0 --progress 0,0,0,0,0,0 --gained 0,0,0,0,0,0"
                                       << Settings(1, 0, false, {}, {});
        QTest::newRow("sector 3 expert") << QStringList{"--sector", "3", "--rations", "1", "--expert"}
                                         << "--sector 3 --rations 1 --expert --progress 0,0,0,0,0,0 --gained 0,0,0,0,0,0"
                                         << Settings(3, 1, true, {}, {});
        QTest::newRow("sector 1 progress") << QStringList{"--progress", "1,0,0,0,0,0", "--gained", "1,0,0,0,0,0",
                                                          "--rations", "0", "--sector", "1"}
                                           << "--sector 1 --rations 0 --progress 1,0,0,0,0,0 --gained 1,0,0,0,0,0"
                                           << Settings(1, 0, false, {1, 0, 0, 0, 0, 0}, {true, false, false, false, false, false});
        QTest::newRow("last choices") << QStringList{"--sector", "7", "--rations", "4", "--expert", "--progress",
                                                     "2,2,2,2,2,2", "--gained", "1,1,1,1,1,1"}
                                      << "--sector 7 --rations 4 --expert --progress 2,2,2,2,2,2 --gained 1,1,1,1,1,1"
                                      << Settings(7, 4, true, {2, 2, 2, 2, 2, 2}, {true, true, true, true, true, true});
        QTest::newRow("mixed") << QStringList{"--sector", "5", "--rations", "2", "--progress", "0,1,2,1,0,2",
                                              "--gained", "0,1,0,1,1,0"}
                               << "--sector 5 --rations 2 --progress 0,1,2,1,0,2 --gained 0,1,0,1,1,0"
                               << Settings(5, 2, false, {0, 1, 2, 1, 0, 2}, {false, true, false, true, true, false});
    }
    void encodeAndDecodeRoundTrip()
    {
        QFETCH(QStringList, flags);
        QFETCH(QString, decoded);
        QFETCH(PasswordSettings, settings);

        const CliRunResult encoded = RunVornedCli(QStringList{"password", "encode"} + flags);
        QCOMPARE(encoded.exitCode, 0);
        QCOMPARE(encoded.err, QString());
        const QString password = encoded.out.trimmed();
        QCOMPARE(encoded.out, password + QLatin1Char('\n'));
        QCOMPARE(password, MakePassword(settings));

        const CliRunResult back = RunVornedCli({"password", "decode", password});
        QCOMPARE(back.exitCode, 0);
        QCOMPARE(back.err, QString());
        QCOMPARE(back.out, decoded + QLatin1Char('\n'));

        // The decoded line is accepted by encode and gives the same password.
        const CliRunResult again = RunVornedCli(QStringList{"password", "encode"} + decoded.split(QLatin1Char(' ')));
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, encoded.out);

        // Typed in lower case, as the password window accepts it.
        const CliRunResult lower = RunVornedCli({"password", "decode", password.toLower()});
        QCOMPARE(lower.exitCode, 0);
        QCOMPARE(lower.out, back.out);
    }

    void badPasswordsAreRefused_data()
    {
        QTest::addColumn<QString>("password");
        const QString good = MakePassword(Settings(3, 1, true, {}, {}));
        // Changing one character breaks the checksum or the sector code.
        QString changed = good;
        changed[2] = good[2] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
        QTest::newRow("one character changed") << changed;
        QTest::newRow("too short") << good.left(7);
        QTest::newRow("too long") << good + QLatin1Char('0');
        QTest::newRow("outside the alphabet") << "ZZZZZZZZ";
        QTest::newRow("empty") << "";
    }
    void badPasswordsAreRefused()
    {
        QFETCH(QString, password);
        QVERIFY(!DecodePassword(password.toUpper()));
        const CliRunResult run = RunVornedCli({"password", "decode", password});
        // Its own status: not a file problem (1), not a bad command line (2).
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, QStringLiteral("Bad Password\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliPassword)
#include "test_cli_password.moc"
