// The recovery journal: what it holds after edits, undo and redo; that it
// is gone when nothing is unsaved; what a journal cut short, damaged or made
// for another image gives back; and that a program killed in the middle of
// its edits loses none of them.
#include "history/EditHistory.h"
#include "history/RecoveryJournal.h"
#include "rom/RomFile.h"

#include "JournalChildEdits.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
RomBytes Image(int size, int seed = 0)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        bytes[std::size_t(i)] = std::uint8_t(i * 13 + seed);
    return RomBytes(std::move(bytes));
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}
}

class TestRecoveryJournal : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString folder() const { return m_dir.filePath(QStringLiteral("recovery")); }

    // Edits an image of 300 bytes with a journal; returns the history's
    // journal path, fills `start` and `end` with the image before and after.
    QString editWithJournal(RomBytes& start, RomBytes& end)
    {
        RomBytes image = Image(300);
        start = image;
        EditHistory history(image);
        history.reset(m_dir.filePath(QStringLiteral("game.nes")));
        history.setJournalFolder(folder());
        history.apply(QStringLiteral("a"), {{10, 1}, {11, 2}, {200, 3}});
        const std::uint64_t stroke = history.newMergeKey();
        history.apply(QStringLiteral("b"), {{20, 40}}, stroke);
        history.apply(QStringLiteral("b"), {{21, 50}}, stroke);
        history.endStep();
        history.undo();
        history.apply(QStringLiteral("c"), {{299, 6}});
        std::vector<std::uint8_t> grown = image.bytes();
        grown.resize(420, 0x5A);
        history.replaceImage(QStringLiteral("grow"), grown);
        history.undo();
        history.redo();
        end = image;
        return history.journalPath();
    }

private slots:
    void replayGivesTheEditedImage()
    {
        RomBytes start, end;
        const QString path = editWithJournal(start, end);
        QVERIFY(QFileInfo::exists(path));
        QString error;
        const auto journal = ReadJournal(path, error);
        QVERIFY2(journal, qPrintable(error));
        QVERIFY(journal->Damage.isEmpty());
        QCOMPARE(journal->BaseSize, start.size());
        QCOMPARE(journal->BaseCrc, JournalChecksum(start));
        QCOMPARE(journal->ImagePath, QFileInfo(m_dir.filePath(QStringLiteral("game.nes"))).absoluteFilePath());
        // a, b twice, the undo of b, c, grow, its undo, its redo.
        QCOMPARE(int(journal->Records.size()), 8);
        const JournalReplay replay = ReplayJournal(*journal, start);
        QVERIFY(replay.Damage.isEmpty());
        QCOMPARE(replay.Applied, 8);
        QVERIFY(replay.Image == end);
    }

    void goneWhenNothingIsUnsaved()
    {
        RomBytes image = Image(100);
        EditHistory history(image);
        history.reset(m_dir.filePath(QStringLiteral("other.nes")));
        history.setJournalFolder(folder());
        history.apply(QStringLiteral("a"), {{1, 0}});
        const QString path = history.journalPath();
        QVERIFY(QFileInfo::exists(path));
        history.undo();   // back to the file on disk
        QVERIFY(!QFileInfo::exists(path));
        history.redo();
        QVERIFY(QFileInfo::exists(path));
        history.markSaved(m_dir.filePath(QStringLiteral("other.nes")));
        QVERIFY(!QFileInfo::exists(path));
        history.apply(QStringLiteral("b"), {{2, 0}});
        QVERIFY(QFileInfo::exists(path));
        history.discardJournal();
        QVERIFY(!QFileInfo::exists(path));
    }

    void twoEditorsOfOneFileKeepTwoJournals()
    {
        const QString image = m_dir.filePath(QStringLiteral("shared.nes"));
        RomBytes first = Image(50), second = Image(50);
        QString one, two;
        {
            EditHistory a(first);
            a.reset(image);
            a.setJournalFolder(folder());
            auto b = std::make_unique<EditHistory>(second);
            b->reset(image);
            b->setJournalFolder(folder());
            a.apply(QStringLiteral("a"), {{1, 0xAA}});
            b->apply(QStringLiteral("b"), {{2, 0xBB}});
            one = a.journalPath();
            two = b->journalPath();
            QVERIFY(one != two);
            QCOMPARE(one, RecoveryJournal::PathFor(folder(), image));
            // Both editors run: nothing is left behind.
            QCOMPARE(RecoveryJournal::LeftBehind(folder(), image), QStringList());
            b.reset();   // the second editor ends without saving
            QCOMPARE(RecoveryJournal::LeftBehind(folder(), image), QStringList{two});
            a.apply(QStringLiteral("a"), {{3, 0xAA}});
        }
        QCOMPARE(RecoveryJournal::LeftBehind(folder(), image), (QStringList{one, two}));
        QString error;
        const auto journal = ReadJournal(one, error);
        QVERIFY(journal);
        QCOMPARE(int(journal->Records.size()), 2);
        const RomBytes replayed = ReplayJournal(*journal, Image(50)).Image;
        QCOMPARE(replayed.read(1), 0xAA);
        QCOMPARE(replayed.read(2), Image(50).read(2));
        QCOMPARE(replayed.read(3), 0xAA);
        QFile::remove(one);
        QFile::remove(two);
    }

    void damagedJournals_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("losesRecords");
        QTest::newRow("cut inside the last record") << "cut:-3" << true;
        QTest::newRow("cut inside a record's frame") << "cut:-40" << true;
        QTest::newRow("garbage after the records") << "append:garbage" << false;
        QTest::newRow("a record's byte flipped") << "flip:-30" << true;
        QTest::newRow("random bytes over the records") << "random:120" << true;
    }
    void damagedJournals()
    {
        QFETCH(QString, damage);
        QFETCH(bool, losesRecords);
        RomBytes start, end;
        const QString path = editWithJournal(start, end);
        QByteArray bytes = Read(path);
        QString error;
        const auto whole = ReadJournal(path, error);
        QVERIFY(whole);
        const QStringList what = damage.split(QLatin1Char(':'));
        const int at = what[1].toInt();
        if (what[0] == QLatin1String("cut"))
            bytes.chop(-at);
        else if (what[0] == QLatin1String("append"))
            bytes += what[1].toLatin1();
        else if (what[0] == QLatin1String("flip"))
            bytes[bytes.size() + at] = char(bytes[bytes.size() + at] ^ 0x40);
        else
            for (int i = at; i < bytes.size(); ++i)
                bytes[i] = char((i * 131) ^ 0x5C);
        Write(path, bytes);

        const auto journal = ReadJournal(path, error);
        QVERIFY2(journal, qPrintable(error));
        QVERIFY(!journal->Damage.isEmpty());
        if (losesRecords)
            QVERIFY(journal->Records.size() < whole->Records.size());
        else
            QCOMPARE(journal->Records.size(), whole->Records.size());
        // Every whole record before the damage is given back, in order.
        const JournalReplay replay = ReplayJournal(*journal, start);
        QCOMPARE(replay.Applied, int(journal->Records.size()));
        JournalContents prefix = *whole;
        prefix.Records.resize(journal->Records.size());
        QVERIFY(ReplayJournal(prefix, start).Image == replay.Image);
    }

    void notAJournal_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("hello, this is not a journal at all");
        QTest::newRow("magic only") << QByteArray("VORNJRN1");
        QTest::newRow("magic and a bad header") << QByteArray("VORNJRN1\x30\x00\x00\x00zzzz", 16);
    }
    void notAJournal()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(QStringLiteral("bad.journal"));
        Write(path, bytes);
        QString error;
        QVERIFY(!ReadJournal(path, error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!ReadJournal(m_dir.filePath(QStringLiteral("missing.journal")), error));
        QVERIFY(!ReadJournal(m_dir.path(), error));   // a folder
    }

    void recordsThatDoNotFitStopTheReplay()
    {
        RomBytes start, end;
        const QString path = editWithJournal(start, end);
        QString error;
        const auto journal = ReadJournal(path, error);
        QVERIFY(journal);
        // Replayed over other bytes, the first record's old bytes disagree.
        const JournalReplay other = ReplayJournal(*journal, Image(300, 1));
        QCOMPARE(other.Applied, 0);
        QVERIFY(other.Damage.contains(QLatin1String("record 1")));
        QVERIFY(other.Image == Image(300, 1));
        // Over an image of another size nothing fits either.
        QCOMPARE(ReplayJournal(*journal, Image(299)).Applied, 0);
    }

    void killedInTheMiddleLosesNoEdit()
    {
        const QString imagePath = m_dir.filePath(QStringLiteral("child.nes"));
        const RomBytes start = Image(4096, 5);
        QString error;
        QVERIFY(SaveRomFile(imagePath, start, error));
        const QString journalFolder = m_dir.filePath(QStringLiteral("child-recovery"));

        QProcess child;
        child.start(QStringLiteral(JOURNAL_CHILD), {journalFolder, imagePath, QStringLiteral("100000")});
        QVERIFY(child.waitForStarted(10000));
        // Wait until it reports 200 edits, then kill it without warning.
        int reported = -1;
        QDeadlineTimer deadline(60000);
        while (reported < 200 && !deadline.hasExpired()) {
            if (!child.canReadLine() && !child.waitForReadyRead(1000))
                continue;
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                if (line.startsWith("edit "))
                    reported = line.mid(5).toInt();
            }
        }
        QVERIFY2(reported >= 200, "the child did not report its edits in time");
        child.kill();   // SIGKILL
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const auto journal = ReadJournal(RecoveryJournal::PathFor(journalFolder, imagePath), error);
        QVERIFY2(journal, qPrintable(error));
        // The child may have gone on after its last report; never fewer.
        // Whatever was cut off by the kill is a damaged tail, not a lost edit.
        const JournalReplay replay = ReplayJournal(*journal, start);
        QVERIFY(replay.Damage.isEmpty());
        RomBytes expected = start;
        EditHistory history(expected);
        history.reset(imagePath);
        int edits = 0;
        while (true) {
            const RomBytes before = expected;
            RunChildEdit(history, expected, edits++);
            if (expected == replay.Image && edits > reported)
                break;
            QVERIFY2(edits <= reported + 1000, "the journal does not match the child's edits");
        }
        QVERIFY(edits >= reported + 1);
    }
};

QTEST_GUILESS_MAIN(TestRecoveryJournal)
#include "test_recovery_journal.moc"
