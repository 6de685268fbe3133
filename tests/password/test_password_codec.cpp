// The password codec: its tables, the encoder's structure before keying,
// the key step, and the decoder as the exact inverse of the encoder.
#include "password/KeyTable.h"
#include "password/PasswordCodec.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include "../fixtures/PasswordFixture.h"

#include <climits>

Q_DECLARE_METATYPE(PasswordSettings)
Q_DECLARE_METATYPE(PasswordNibbles)

namespace {

// Calls f(settings) for every one of the 7*5*2*3^6*2^6 possible settings.
template <typename F>
void ForEachSettings(F&& f)
{
    PasswordSettings s;
    for (int sector = 0; sector < 7; ++sector)
        for (int rations = 0; rations < 5; ++rations)
            for (int expert = 0; expert < 2; ++expert)
                for (int progress = 0; progress < 729; ++progress)
                    for (int flags = 0; flags < 64; ++flags) {
                        s.Sector = static_cast<std::int16_t>(sector);
                        s.Rations = static_cast<std::int16_t>(rations);
                        s.Expert = expert != 0;
                        int p = progress;
                        for (int i = 0; i < 6; ++i) {
                            s.Progress[i] = static_cast<std::int16_t>(p % 3);
                            p /= 3;
                            s.RationGained[i] = (flags >> i) & 1;
                        }
                        f(s);
                    }
}

// A keyed password text from raw nibbles (used to craft passwords no
// settings can produce).
QString Keyed(PasswordNibbles n)
{
    ApplyKey(n);
    return NibblesToText(n);
}
}

class TestPasswordCodec : public QObject {
    Q_OBJECT
private slots:
    void alphabet();
    void bitPlacementIsThePasswordLayout();
    void rShiftLong_data();
    void rShiftLong();
    void putBitsOrsAndConsumesItsRun();
    void fieldCodes();
    void preKeyStructure_data();
    void preKeyStructure();
    void firstChoiceShowsTheKeyTable();
    void keyStepLeavesNibble4Unkeyed();
    void fifthCharacterAndZeroBit();
    void deterministic();
    void exhaustiveRoundTrip();
    void typedPasswords_data();
    void typedPasswords();
    void rejectsMalformed_data();
    void rejectsMalformed();
    void singleCharacterChanges();
    void acceptedTextsAreEncodings();
};

void TestPasswordCodec::alphabet()
{
    QCOMPARE(QString::fromLatin1(PasswordAlphabet), QStringLiteral("0123456789BDFGJK"));
    QCOMPARE(KeyTable.size(), std::size_t(23));
    for (std::int16_t v : KeyTable)
        QVERIFY(v >= 0 && v <= 15);
}

void TestPasswordCodec::bitPlacementIsThePasswordLayout()
{
    // The layout read per character: for nibble n and mask 1,2,4,8 the code
    // letter and bit number carried there ('-' is the always-zero bit).
    struct Cell { char code; int bit; };
    const Cell layout[8][4] = {
        {{'S', 1}, {'P', 4}, {'P', 5}, {'R', 2}},
        {{'-', 0}, {'P', 0}, {'P', 1}, {'R', 0}},
        {{'S', 0}, {'P', 2}, {'P', 3}, {'R', 1}},
        {{'C', 2}, {'C', 3}, {'C', 6}, {'C', 7}},
        {{'C', 0}, {'C', 1}, {'C', 4}, {'C', 5}},
        {{'S', 3}, {'P', 8}, {'P', 9}, {'R', 4}},
        {{'S', 4}, {'S', 5}, {'S', 6}, {'R', 5}},
        {{'S', 2}, {'P', 6}, {'P', 7}, {'R', 3}},
    };
    auto pairOf = [](char code, int bit) {
        switch (code) {
        case 'C': return ChecksumFirst / 2 + bit;
        case 'S': return SectorFirst / 2 + bit;
        case 'P': return ProgressFirst / 2 + bit;
        case 'R': return RationFirst / 2 + bit;
        default: return 31;
        }
    };
    QSet<int> seen;
    for (int n = 0; n < 8; ++n)
        for (int m = 0; m < 4; ++m) {
            const int j = pairOf(layout[n][m].code, layout[n][m].bit);
            QCOMPARE(BitPlacement[2 * j], std::int16_t(n));
            QCOMPARE(BitPlacement[2 * j + 1], std::int16_t(1 << m));
            seen.insert(j);
        }
    QCOMPARE(seen.size(), 32);
    QCOMPARE((ChecksumLast - ChecksumFirst) / 2 + 1, 8);
    QCOMPARE((SectorLast - SectorFirst) / 2 + 1, 7);
    QCOMPARE((ProgressLast - ProgressFirst) / 2 + 1, 10);
    QCOMPARE((RationLast - RationFirst) / 2 + 1, 6);
}

void TestPasswordCodec::rShiftLong_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<int>("shift");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("positive by 1") << qint32(0x1234) << 1 << qint32(0x91A);
    QTest::newRow("minus one by 1") << qint32(-1) << 1 << qint32(0x7FFFFFFF);
    QTest::newRow("sign bit by 30") << qint32(INT_MIN) << 30 << qint32(2);
    QTest::newRow("sign bit by 1") << qint32(INT_MIN) << 1 << qint32(0x40000000);
    QTest::newRow("negative by 4") << qint32(-16) << 4 << qint32(0x0FFFFFFF);
    QTest::newRow("low bit lost") << qint32(1) << 1 << qint32(0);
}

void TestPasswordCodec::rShiftLong()
{
    QFETCH(qint32, value);
    QFETCH(int, shift);
    QFETCH(qint32, expected);
    QCOMPARE(RShiftLong(value, static_cast<std::int16_t>(shift)), expected);
}

void TestPasswordCodec::putBitsOrsAndConsumesItsRun()
{
    PasswordNibbles n{};
    // 8 bits offered to a 7-bit run: the eighth is ignored.
    PutBits(n, SectorFirst, SectorLast, 0xFF);
    QCOMPARE(n, (PasswordNibbles{1, 0, 1, 0, 0, 1, 7, 1}));
    QCOMPARE(GetBits(n, SectorFirst, SectorLast), 0x7F);
    // A zero value changes nothing; bits already set stay set.
    PutBits(n, SectorFirst, SectorLast, 0);
    QCOMPARE(n, (PasswordNibbles{1, 0, 1, 0, 0, 1, 7, 1}));
    // A negative value shifts in zeros, so only the run's width is taken.
    PasswordNibbles m{};
    PutBits(m, RationFirst, RationLast, -1);
    QCOMPARE(m, (PasswordNibbles{8, 8, 8, 0, 0, 8, 8, 8}));
}

void TestPasswordCodec::fieldCodes()
{
    const PasswordSettings last = Make(6, 4, true, {2, 2, 2, 2, 2, 2}, {1, 1, 1, 1, 1, 1});
    QCOMPARE(SectorCode(last), 99);
    QCOMPARE(ProgressCode(last), 728);
    QCOMPARE(RationFlags(last), 63);
    const PasswordSettings mixed = Make(2, 1, false, {1, 0, 2, 0, 0, 1}, {0, 1, 0, 0, 0, 1});
    QCOMPARE(SectorCode(mixed), 31);
    QCOMPARE(ProgressCode(mixed), 1 + 2 * 9 + 243);
    QCOMPARE(RationFlags(mixed), 2 + 32);
}

void TestPasswordCodec::preKeyStructure_data()
{
    QTest::addColumn<PasswordSettings>("settings");
    QTest::addColumn<int>("checksum");
    QTest::addColumn<PasswordNibbles>("nibbles");
    QTest::newRow("all first choices")
        << Make(0, 0, false, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}) << 0
        << PasswordNibbles{0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("sector 3, rations 1, expert")
        << Make(2, 1, true, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}) << 3
        << PasswordNibbles{0, 0, 0, 0, 3, 0, 2, 1};
    QTest::newRow("sector 1 ID aquired, its ration gained")
        << Make(0, 0, false, {1, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0}) << 10
        << PasswordNibbles{0, 10, 0, 2, 2, 0, 0, 0};
    QTest::newRow("all last choices")
        << Make(6, 4, true, {2, 2, 2, 2, 2, 2}, {1, 1, 1, 1, 1, 1}) << 72
        << PasswordNibbles{11, 8, 13, 6, 0, 12, 14, 14};
}

void TestPasswordCodec::preKeyStructure()
{
    QFETCH(PasswordSettings, settings);
    QFETCH(int, checksum);
    QFETCH(PasswordNibbles, nibbles);
    const PasswordNibbles pre = PreKeyNibbles(settings);
    QCOMPARE(pre, nibbles);
    QCOMPARE(GetBits(pre, ChecksumFirst, ChecksumLast), checksum);
    // The keyed password is the key step applied to exactly these nibbles.
    PasswordNibbles keyed = pre;
    ApplyKey(keyed);
    QCOMPARE(MakePassword(settings), NibblesToText(keyed));
}

void TestPasswordCodec::firstChoiceShowsTheKeyTable()
{
    const QString pw = MakePassword(PasswordSettings{});
    QCOMPARE(pw.size(), 8);
    QCOMPARE(pw[4], QLatin1Char('0'));
    for (int i = 0; i < 8; ++i)
        if (i != 4)
            QCOMPARE(pw[i], QLatin1Char(PasswordAlphabet[KeyTable[7 - i]]));
}

void TestPasswordCodec::keyStepLeavesNibble4Unkeyed()
{
    const PasswordNibbles base{3, 14, 7, 0, 0, 15, 9, 1};
    for (int off = 0; off < 16; ++off) {
        PasswordNibbles n = base;
        n[4] = static_cast<std::int16_t>(off);
        PasswordNibbles keyed = n;
        ApplyKey(keyed);
        QCOMPARE(keyed[4], std::int16_t(off));
        for (int i = 0; i < 8; ++i)
            if (i != 4)
                QCOMPARE(keyed[i], std::int16_t((n[i] + KeyTable[off + 7 - i]) % 16));
        RemoveKey(keyed);
        QCOMPARE(keyed, n);
    }
}

void TestPasswordCodec::fifthCharacterAndZeroBit()
{
    // Over every sector, rations and skill, a spread of progress and flags.
    for (int sector = 0; sector < 7; ++sector)
        for (int rations = 0; rations < 5; ++rations)
            for (int expert = 0; expert < 2; ++expert)
                for (int progress = 0; progress < 729; progress += 7)
                    for (int flags = 0; flags < 64; flags += 5) {
                        PasswordSettings s = Make(sector, rations, expert, {}, {});
                        int p = progress;
                        for (int i = 0; i < 6; ++i) {
                            s.Progress[i] = static_cast<std::int16_t>(p % 3);
                            p /= 3;
                            s.RationGained[i] = (flags >> i) & 1;
                        }
                        const PasswordNibbles pre = PreKeyNibbles(s);
                        QVERIFY((pre[1] & 1) == 0);
                        const int sum = pre[0] + pre[1] + pre[2] + pre[5] + pre[6] + pre[7];
                        const int c = sum & 255;
                        const int fifth = (c & 1) + 2 * ((c >> 1) & 1) + 4 * ((c >> 4) & 1)
                                          + 8 * ((c >> 5) & 1);
                        QCOMPARE(MakePassword(s)[4], QLatin1Char(PasswordAlphabet[fifth]));
                    }
}

void TestPasswordCodec::deterministic()
{
    const PasswordSettings a = Make(4, 3, true, {2, 1, 0, 2, 1, 0}, {1, 0, 1, 1, 0, 0});
    const PasswordSettings b = Make(1, 0, false, {0, 2, 2, 1, 0, 1}, {0, 1, 0, 0, 1, 1});
    const QString first = MakePassword(a);
    QVERIFY(MakePassword(b) != first);
    QCOMPARE(MakePassword(a), first);
}

void TestPasswordCodec::exhaustiveRoundTrip()
{
    QElapsedTimer timer;
    timer.start();
    qint64 count = 0;
    qint64 failures = 0;
    PasswordSettings firstFailure;
    ForEachSettings([&](const PasswordSettings& s) {
        ++count;
        const std::optional<PasswordSettings> back = DecodePassword(MakePassword(s));
        if (!back || !(*back == s)) {
            if (failures++ == 0)
                firstFailure = s;
        }
    });
    QCOMPARE(count, qint64(3265920));
    if (failures)
        qWarning("first failing settings: sector %d rations %d expert %d code %d flags %d",
                 firstFailure.Sector, firstFailure.Rations, int(firstFailure.Expert),
                 ProgressCode(firstFailure), RationFlags(firstFailure));
    QCOMPARE(failures, qint64(0));
    qInfo("round trip of %lld settings took %lld ms", count, timer.elapsed());
}

void TestPasswordCodec::rejectsMalformed_data()
{
    QTest::addColumn<QString>("text");
    const QString good = MakePassword(Make(3, 2, true, {1, 2, 0, 1, 2, 0}, {1, 1, 0, 0, 1, 0}));
    QVERIFY(DecodePassword(good).has_value());

    QTest::newRow("empty") << QString();
    QTest::newRow("seven characters") << good.left(7);
    QTest::newRow("nine characters") << good + QLatin1Char('0');
    QTest::newRow("consonant outside the alphabet") << QString(good).replace(0, 1, QStringLiteral("C"));
    QTest::newRow("vowel") << QString(good).replace(2, 1, QStringLiteral("A"));
    QTest::newRow("space") << QString(good).replace(7, 1, QStringLiteral(" "));
    QTest::newRow("lower case letter") << QStringLiteral("bbbbbbbb");
    QTest::newRow("initial box text") << QStringLiteral("GGGGGGGG");

    // Well-formed and correctly summed, but no settings produce them.
    QTest::newRow("progress code 729") << Keyed(PlaceCodes(0, 729, 0));
    QTest::newRow("progress code 1023") << Keyed(PlaceCodes(45, 1023, 7));
    QTest::newRow("sector 8") << Keyed(PlaceCodes(7 * 15, 0, 0));
    QTest::newRow("sector 9") << Keyed(PlaceCodes(8 * 15 + 2, 0, 0));
    for (int rest = 10; rest < 15; ++rest)
        QTest::addRow("sector remainder %d", rest) << Keyed(PlaceCodes(30 + rest, 4, 1));
    // The always-zero bit set, with a checksum that counts it.
    PasswordNibbles zeroBit{};
    PutBits(zeroBit, SectorFirst, SectorLast, 16);
    zeroBit[1] |= 1;
    PutBits(zeroBit, ChecksumFirst, ChecksumLast, NibbleChecksum(zeroBit));
    QTest::newRow("always-zero bit set") << Keyed(zeroBit);
    // A checksum off by one.
    PasswordNibbles badSum{};
    PutBits(badSum, SectorFirst, SectorLast, 16);
    PutBits(badSum, ChecksumFirst, ChecksumLast, NibbleChecksum(badSum) + 1);
    QTest::newRow("checksum off by one") << Keyed(badSum);
}

void TestPasswordCodec::typedPasswords_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("password"); // what it decodes as; empty: refused
    const QString ff = PasswordStartingWith(QStringLiteral("FF"));
    QVERIFY(!ff.isEmpty());
    QTest::newRow("upper case") << ff << ff;
    QTest::newRow("lower case") << ff.toLower() << ff;
    QTest::newRow("mixed case") << QStringLiteral("f") + ff.mid(1).toLower() << ff;
    // Only ASCII letters change case: none of these may grow into "FF" or
    // turn into an alphabet letter.
    QTest::newRow("ff ligature for FF") << QString(QChar(0xFB00)) + ff.mid(2) << QString();
    QTest::newRow("ff ligature with eight characters") << QString(QChar(0xFB00)) + ff.mid(1) << QString();
    QTest::newRow("full-width f") << QString(QChar(0xFF46)) + ff.mid(1) << QString();
    QTest::newRow("seven characters") << ff.left(7) << QString();
    QTest::newRow("nine characters") << ff + QStringLiteral("0") << QString();
}

void TestPasswordCodec::typedPasswords()
{
    QFETCH(QString, typed);
    QFETCH(QString, password);
    const std::optional<PasswordSettings> decoded = DecodeTypedPassword(typed);
    QCOMPARE(decoded.has_value(), !password.isEmpty());
    if (decoded)
        QCOMPARE(MakePassword(*decoded), password);
}

void TestPasswordCodec::rejectsMalformed()
{
    QFETCH(QString, text);
    QVERIFY(!DecodePassword(text).has_value());
}

void TestPasswordCodec::singleCharacterChanges()
{
    // Every other symbol in every position. Outside the key offset a change
    // always breaks the checksum; a changed offset rekeys everything and may
    // land on another valid password, which must then be that password.
    const QList<PasswordSettings> samples = {
        PasswordSettings{},
        Make(2, 1, true, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}),
        Make(6, 4, true, {2, 2, 2, 2, 2, 2}, {1, 1, 1, 1, 1, 1}),
        Make(3, 2, false, {1, 2, 0, 1, 2, 0}, {1, 1, 0, 0, 1, 0}),
    };
    for (const PasswordSettings& s : samples) {
        const QString good = MakePassword(s);
        for (int pos = 0; pos < 8; ++pos)
            for (int v = 0; v < 16; ++v) {
                QString changed = good;
                changed[pos] = QLatin1Char(PasswordAlphabet[v]);
                if (changed == good)
                    continue;
                const auto decoded = DecodePassword(changed);
                if (pos != 4)
                    QVERIFY2(!decoded, qPrintable(changed));
                else if (decoded)
                    QCOMPARE(MakePassword(*decoded), changed);
            }
    }
}

void TestPasswordCodec::acceptedTextsAreEncodings()
{
    // Random eight-symbol texts: whatever the decoder accepts must encode
    // back to the same text, so it never invents settings.
    QRandomGenerator rng(4);
    int accepted = 0;
    for (int round = 0; round < 1000000; ++round) {
        QString text(8, Qt::Uninitialized);
        const quint32 r = rng.generate();
        for (int i = 0; i < 8; ++i)
            text[i] = QLatin1Char(PasswordAlphabet[(r >> (4 * i)) & 15]);
        if (const auto decoded = DecodePassword(text)) {
            ++accepted;
            QCOMPARE(MakePassword(*decoded), text);
        }
    }
    // About 3.27 million of the 2^32 texts are valid; a million draws
    // should hit several hundred.
    QVERIFY(accepted > 300);
    QVERIFY(accepted < 1500);
}

QTEST_APPLESS_MAIN(TestPasswordCodec)
#include "test_password_codec.moc"
