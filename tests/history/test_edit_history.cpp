// The edit layer without windows: steps that write exactly their bytes
// forwards and backwards, merging, the modified state, growing and shrinking
// images, and what the views are told.
#include "history/EditHistory.h"
#include "history/EditStep.h"

#include <QSignalSpy>
#include <QtTest>

#include <map>

namespace {
RomBytes Image(int size)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        bytes[std::size_t(i)] = std::uint8_t(i * 7 + 3);
    return RomBytes(std::move(bytes));
}

// Offset -> value wherever `now` differs from `before` (sizes equal).
std::map<qint64, int> Differences(const RomBytes& before, const RomBytes& now)
{
    std::map<qint64, int> d;
    for (qint64 i = 0; i < std::min(before.size(), now.size()); ++i)
        if (before.read(i) != now.read(i))
            d[i] = now.read(i);
    return d;
}

// One scripted action: "w:OFF=VAL[,OFF=VAL...][@KEY]" applies, "u" undoes,
// "r" redoes, "e" ends the step on top, "s" marks the image saved.
void Run(EditHistory& history, const QString& script)
{
    for (const QString& action : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (action == QLatin1String("u")) {
            history.undo();
        } else if (action == QLatin1String("r")) {
            history.redo();
        } else if (action == QLatin1String("e")) {
            history.endStep();
        } else if (action == QLatin1String("s")) {
            history.markSaved(QStringLiteral("x.nes"));
        } else {
            QVERIFY2(action.startsWith(QLatin1String("w:")), qPrintable(action));
            const QStringList keyed = action.mid(2).split(QLatin1Char('@'));
            std::vector<ByteWrite> writes;
            for (const QString& pair : keyed[0].split(QLatin1Char(','))) {
                const QStringList ov = pair.split(QLatin1Char('='));
                writes.push_back({ov[0].toLongLong(), std::uint8_t(ov[1].toInt())});
            }
            history.apply(QStringLiteral("Step"), writes, keyed.size() > 1 ? keyed[1].toULongLong() : 0);
        }
    }
}
}

class TestEditHistory : public QObject {
    Q_OBJECT
private slots:
    void bytesAfterActions_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");   // "off=val ..." that differ from the start
        QTest::addColumn<int>("steps");          // steps on the stack
        QTest::addColumn<int>("index");          // steps that are done

        QTest::newRow("one write") << "w:5=200" << "5=200" << 1 << 1;
        QTest::newRow("undo it") << "w:5=200 u" << "" << 1 << 0;
        QTest::newRow("undo then redo") << "w:5=200 u r" << "5=200" << 1 << 1;
        QTest::newRow("several bytes, one step") << "w:1=9,2=9,40=9 u" << "" << 1 << 0;
        QTest::newRow("later write to an offset wins") << "w:3=1,3=2" << "3=2" << 1 << 1;
        QTest::newRow("two steps, undo one") << "w:5=1 w:6=2 u" << "5=1" << 2 << 1;
        QTest::newRow("undo both, redo one") << "w:5=1 w:5=2 u u r" << "5=1" << 2 << 1;
        QTest::newRow("a new step drops what was undone") << "w:5=1 w:6=2 u w:7=3" << "5=1 7=3" << 2 << 2;
        QTest::newRow("same value records nothing") << "w:5=38" << "" << 0 << 0;
        QTest::newRow("same key merges") << "w:5=1@9 w:5=2@9 w:6=4@9" << "5=2 6=4" << 1 << 1;
        QTest::newRow("merged step undoes whole") << "w:5=1@9 w:5=2@9 w:6=4@9 u" << "" << 1 << 0;
        QTest::newRow("other key does not merge") << "w:5=1@9 w:5=2@8 u" << "5=1" << 2 << 1;
        QTest::newRow("no key does not merge") << "w:5=1 w:5=2 u" << "5=1" << 2 << 1;
        QTest::newRow("ended step takes no more") << "w:5=1@9 e w:5=2@9 u" << "5=1" << 2 << 1;
        QTest::newRow("no merge into the saved step") << "w:5=1@9 s w:5=2@9 u" << "5=1" << 2 << 1;
        QTest::newRow("no merge after an undo") << "w:5=1@9 w:6=1 u w:5=2@9 u" << "5=1" << 2 << 1;
        QTest::newRow("changed and changed back is no step") << "w:5=1@9 w:5=38@9" << "" << 0 << 0;
        QTest::newRow("outside the image writes nothing") << "w:5=1,64=1" << "" << 0 << 0;
        QTest::newRow("negative offset writes nothing") << "w:-1=1" << "" << 0 << 0;
    }
    void bytesAfterActions()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QFETCH(int, steps);
        QFETCH(int, index);
        RomBytes image = Image(64);
        const RomBytes start = image;
        EditHistory history(image);
        history.reset(QStringLiteral("x.nes"));
        Run(history, script);

        std::map<qint64, int> want;
        for (const QString& pair : expected.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList ov = pair.split(QLatin1Char('='));
            want[ov[0].toLongLong()] = ov[1].toInt();
        }
        QCOMPARE(image.size(), start.size());
        QVERIFY(Differences(start, image) == want);
        QCOMPARE(history.stack().count(), steps);
        QCOMPARE(history.stack().index(), index);
        // Undoing everything gives back the start, redoing everything the end.
        const RomBytes end = image;
        while (history.undo()) {}
        QVERIFY(image == start);
        while (history.redo()) {}
        QCOMPARE(history.stack().index(), steps);
    }

    void modifiedFollowsTheBytes()
    {
        RomBytes image = Image(32);
        EditHistory history(image);
        history.reset(QStringLiteral("x.nes"));
        QSignalSpy spy(&history, &EditHistory::modifiedChanged);
        QVERIFY(!history.isModified());
        history.apply(QStringLiteral("a"), {{4, 1}});
        QVERIFY(history.isModified());
        history.undo();
        QVERIFY(!history.isModified());
        history.redo();
        QVERIFY(history.isModified());
        // Writing the old value back by hand is unmodified too: the bytes decide.
        history.apply(QStringLiteral("b"), {{4, Image(32).data()[4]}});
        QVERIFY(!history.isModified());
        history.markSaved(QStringLiteral("x.nes"));
        history.undo();   // undo "b": differs from the saved bytes again
        QVERIFY(history.isModified());
        history.redo();
        QVERIFY(!history.isModified());
        QCOMPARE(spy.count(), 6);
        QCOMPARE(spy.last().at(0).toBool(), false);
    }

    void growAndShrink_data()
    {
        QTest::addColumn<int>("newSize");
        QTest::newRow("grow") << 100;
        QTest::newRow("shrink") << 10;
        QTest::newRow("same size") << 40;
        QTest::newRow("to nothing") << 0;
    }
    void growAndShrink()
    {
        QFETCH(int, newSize);
        RomBytes image = Image(40);
        const RomBytes start = image;
        EditHistory history(image);
        history.reset(QStringLiteral("x.nes"));
        std::vector<std::uint8_t> target(static_cast<std::size_t>(newSize));
        for (int i = 0; i < newSize; ++i)
            target[std::size_t(i)] = std::uint8_t(i % 3 == 0 ? start.read(i % 40) : 255 - i);
        QSignalSpy changes(&history, &EditHistory::imageChanged);
        QCOMPARE(history.replaceImage(QStringLiteral("Apply Patch"), target), EditResult::Recorded);
        QCOMPARE(image.bytes(), target);
        QVERIFY(history.isModified());
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).value<ImageChange>().Resized, newSize != 40);
        history.undo();
        QVERIFY(image == start);
        QVERIFY(!history.isModified());
        history.redo();
        QCOMPARE(image.bytes(), target);
        // The same bytes again are no step.
        QCOMPARE(history.replaceImage(QStringLiteral("again"), target), EditResult::NoChange);
    }

    void viewsAreToldWhatChanged()
    {
        RomBytes image = Image(64);
        EditHistory history(image);
        history.reset(QStringLiteral("x.nes"));
        std::vector<ImageChange> seen;
        connect(&history, &EditHistory::imageChanged, this, [&](const ImageChange& c) { seen.push_back(c); });
        history.apply(QStringLiteral("a"), {{10, 0}, {11, 0}, {12, 0}, {30, 0}});
        history.undo();
        history.redo();
        QCOMPARE(int(seen.size()), 3);
        const std::vector<std::pair<std::int64_t, std::int64_t>> ranges{{10, 3}, {30, 1}};
        QVERIFY(seen[0].Ranges == ranges);
        QVERIFY(seen[1].Ranges == ranges);
        QCOMPARE(seen[0].Origin, ChangeOrigin::Edit);
        QCOMPARE(seen[1].Origin, ChangeOrigin::Undo);
        QCOMPARE(seen[2].Origin, ChangeOrigin::Redo);
        QVERIFY(seen[0].touches(12, 1));
        QVERIFY(seen[0].touches(0, 11));
        QVERIFY(!seen[0].touches(13, 17));
        QVERIFY(seen[0].touches(13, 18));
        QVERIFY(!seen[0].touches(31, 100));
    }

    void stepNamesAndUndoText()
    {
        RomBytes image = Image(64);
        EditHistory history(image);
        history.reset(QStringLiteral("x.nes"));
        const std::uint64_t stroke = history.newMergeKey();
        history.apply(QStringLiteral("Place Metatile 2A in Room 05"), {{1, 0x2A}}, stroke);
        history.apply(QStringLiteral("Paint 2 Cells in Room 05"), {{2, 0x2A}}, stroke);
        history.endStep();
        QCOMPARE(history.stack().undoText(), QStringLiteral("Paint 2 Cells in Room 05"));
        history.undo();
        QCOMPARE(history.stack().redoText(), QStringLiteral("Paint 2 Cells in Room 05"));
        QVERIFY(history.newMergeKey() != stroke);
        QCOMPARE(EditHistory::ControlKey(1, 2, 3), EditHistory::ControlKey(1, 2, 3));
        QVERIFY(EditHistory::ControlKey(1, 2, 3) != EditHistory::ControlKey(1, 2, 4));
        QVERIFY(EditHistory::ControlKey(1, 2, 3) != EditHistory::ControlKey(2, 2, 3));
    }

    void openingClearsTheHistory()
    {
        RomBytes image = Image(64);
        EditHistory history(image);
        history.reset(QStringLiteral("a.nes"));
        history.apply(QStringLiteral("a"), {{1, 0}});
        image = Image(20);
        history.reset(QStringLiteral("b.nes"));
        QVERIFY(!history.stack().canUndo());
        QVERIFY(!history.isModified());
        QVERIFY(history.openedImage() == Image(20));
        history.apply(QStringLiteral("b"), {{1, 0}});
        history.markSaved(QStringLiteral("c.nes"));
        // What was opened stays the reference for patches; the saved state moves.
        QVERIFY(history.openedImage() == Image(20));
        QVERIFY(history.savedImage() == image);
    }

    void changeListEncoding()
    {
        const std::vector<ByteChange> changes{{0, 1, 2}, {1, 3, 4}, {9, 5, 6}, {0xFFFFFF, 7, 8}};
        const ChangeList list(changes);
        QVERIFY(list.toChanges() == changes);
        QCOMPARE(list.byteCount(), std::size_t(4));
        const std::vector<ByteChange> swapped{{0, 2, 1}, {1, 4, 3}, {9, 6, 5}, {0xFFFFFF, 8, 7}};
        QVERIFY(list.inverted().toChanges() == swapped);
        ChangeList back;
        QVERIFY(ChangeList::Decode(list.bytes(), list.encodedSize(), back));
        QVERIFY(back == list);
        // Cut short, overlapping or empty runs are not a change list.
        QVERIFY(!ChangeList::Decode(list.bytes(), list.encodedSize() - 1, back));
        const std::uint8_t empty[8] = {5, 0, 0, 0, 0, 0, 0, 0};
        QVERIFY(!ChangeList::Decode(empty, 8, back));
        const std::uint8_t overlapping[20] = {5, 0, 0, 0, 1, 0, 0, 0, 1, 2, 5, 0, 0, 0, 1, 0, 0, 0, 1, 2};
        QVERIFY(!ChangeList::Decode(overlapping, 20, back));
        QVERIFY(back == list);
        const std::uint8_t a[6] = {1, 2, 3, 4, 5, 6}, b[6] = {1, 9, 9, 4, 9, 6};
        const std::vector<ByteChange> diff{{1, 2, 9}, {2, 3, 9}, {4, 5, 9}};
        QVERIFY(ChangeList::Difference(a, b, 6).toChanges() == diff);
        QVERIFY(ChangeList::Difference(a, a, 6).empty());
    }
};

QTEST_GUILESS_MAIN(TestEditHistory)
#include "test_edit_history.moc"
