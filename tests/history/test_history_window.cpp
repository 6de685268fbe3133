// Undo and redo as a user meets them in the editor: every kind of edit
// undone and redone byte for byte, the Undo and Redo entries, the Modified
// panel, the questions before unsaved changes are lost, views that always
// show the image as it is, and restoring unsaved changes after a crash.
#include "../editors/EditorSession.h"
#include "../fixtures/ExpectedPictures.h"
#include "../fixtures/LevelFixture.h"
#include "editors/MetatileEdits.h"
#include "editors/PaletteSlots.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "history/EditHistory.h"
#include "history/RecoveryJournal.h"
#include "level/RoomLayout.h"
#include "level/RoomView.h"
#include "rom/RomFile.h"

#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

namespace {
using fixture::ExpectedRoom;
using fixture::ExpectedPage;

QImage ExpectedBlock(int zone, int m, int q)
{
    Canvas block(128, 128);
    DrawTileBlock(LevelContext{RomImage, ZoneTable, zone}, block, m, q, EditorScale);
    DrawTileBlockGrid(block);
    return block.image();
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Bytes(const RomBytes& rom)
{
    return QByteArray(reinterpret_cast<const char*>(rom.data()), int(rom.size()));
}

QString FailingWrite(qint64)
{
    return QStringLiteral("No space left on device");
}

// Offsets that differ, as "offset=value" texts, for readable failures.
QStringList Diff(const RomBytes& before, const RomBytes& after)
{
    QStringList d;
    for (qint64 i : ChangedOffsets(before, after))
        d << QStringLiteral("%1=%2").arg(i).arg(after.read(i));
    return d;
}
}

class TestHistoryWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_journals;

    // Answers the questions of the window: the button for each title/text
    // that contains the key; OK for plain messages.
    struct Answers {
        QList<MessageRequest> Asked;
        QMessageBox::StandardButton Unsaved = QMessageBox::Cancel;
        QMessageBox::StandardButton Quit = QMessageBox::No;
        QMessageBox::StandardButton Restore = QMessageBox::Yes;
    };
    Answers* m_answers = nullptr;

    void answerWith(Answers& answers)
    {
        m_answers = &answers;
        SetMessageResponder([&answers](const MessageRequest& m) {
            answers.Asked << m;
            if (m.Buttons.testFlag(QMessageBox::Discard) && m.Buttons.testFlag(QMessageBox::Save))
                return answers.Unsaved;
            if (m.Title == QLatin1String("Quit"))
                return answers.Quit;
            if (m.ButtonTexts.contains(QMessageBox::Yes))
                return answers.Restore;
            return QMessageBox::Ok;
        });
    }

    static void clickCell(EditorSession& s, int column, int row)
    {
        s.Main.picEditor_MouseDown(1, {}, column * 64 + 10, row * 64 + 10);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        RomHistory().setJournalFolder(m_journals.filePath(QStringLiteral("recovery")));
    }
    void cleanupTestCase()
    {
        RomHistory().setJournalFolder(QString());
    }

    // Each edit kind through its control, then undo and redo: the bytes
    // that differ from the opened image are exactly those of the steps done.
    void everyEditUndoesAndRedoes_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("undoText");
        QTest::newRow("place a metatile") << "place" << "Place Metatile 2A in Room 05";
        QTest::newRow("tile editor part") << "part" << "Tile 7 of Metatile 11";
        QTest::newRow("tile editor bar dragged") << "drag" << "Tile 2 of Metatile 11";
        QTest::newRow("tile editor palette") << "palette" << "Palette of Metatile 11";
        QTest::newRow("palette editor colour") << "colour" << "Colour 2 of Palette 1";
    }
    void everyEditUndoesAndRedoes()
    {
        QFETCH(QString, edit);
        QFETCH(QString, undoText);
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        const RomBytes opened = RomImage;
        s.chooseZone(2);
        s.Main.hLevel_Frames->setValue(5);
        QVERIFY(!s.Main.mnuUndo->isEnabled());
        QCOMPARE(s.Main.mnuUndo->text(), QStringLiteral("&Undo"));

        const LevelContext level{RomImage, ZoneTable, 2};
        QList<qint64> expected;
        if (edit == QLatin1String("place")) {
            s.select(0x2A);
            const std::int64_t at = RoomLayoutOffset(level, 5) + 8 * 1 + 2;
            if (RomImage.read(at) == 0x2A)
                QSKIP("the fixture already holds the metatile there");
            s.Main.picEditor_MouseDown(1, {}, 130, 70);
            expected << at;
        } else {
            s.select(0x11);
            s.Main.cmdEditTile->click();
            frmTileEdit* editor = LoadedTileEdit();
            QVERIFY(editor);
            editor->optQuadrant[1]->click();   // top right: tile positions 2, 3, 6, 7
            if (edit == QLatin1String("part")) {
                const int before = editor->hsTile[3]->value();
                editor->hsTile[3]->setValue(before == 0x41 ? 0x42 : 0x41);
                expected << QuadrantTileOffset(level, 0x11, 1, 3);
            } else if (edit == QLatin1String("drag")) {
                // A drag of the bar is many changes of one control: one step.
                editor->hsTile[0]->setSliderDown(true);
                for (int v = 0; v <= 200; v += 8)
                    editor->hsTile[0]->setValue(v);
                editor->hsTile[0]->setSliderDown(false);
                expected << QuadrantTileOffset(level, 0x11, 1, 0);
                if (opened.read(expected[0]) == RomImage.read(expected[0]))
                    expected.clear();
            } else if (edit == QLatin1String("palette")) {
                const int palette = ReadQuadrantPalette(level, 0x11, 1);
                editor->optPal_MouseDown((palette + 1) % 4);
                expected << MetatileAttrOffset(level, 0x11);
            } else {
                frmPaletteEditor* palettes = LoadedPaletteEditor();
                QVERIFY(palettes);
                palettes->picLoadedPal_Click(6);   // slot 5: colour 2 of palette 1
                const int colour = ReadPaletteSlot(level, 5);
                palettes->picPalGrid_MouseDown(1, {}, colour == 0x13 ? 132 : 100, 40);
                expected << PaletteSlotOffset(level, 5);
            }
        }
        QCOMPARE(ChangedOffsets(opened, RomImage), expected);
        QCOMPARE(RomHistory().stack().count(), 1);
        QVERIFY(s.Main.mnuUndo->isEnabled());
        QCOMPARE(s.Main.mnuUndo->text(), QStringLiteral("&Undo ") + undoText);
        QCOMPARE(s.Main.PanelText(3), QStringLiteral("Modified"));
        // The level view, selector and editor show the image as it is.
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(2, 5));
        QCOMPARE(s.Main.picTile->canvas().image(), ExpectedPage(2, s.Main.hsTable->value()));

        s.Main.mnuUndo->trigger();
        QCOMPARE(Diff(opened, RomImage), QStringList());
        QCOMPARE(s.Main.PanelText(3), QString());
        QVERIFY(!s.Main.mnuUndo->isEnabled());
        QCOMPARE(s.Main.mnuRedo->text(), QStringLiteral("&Redo ") + undoText);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(2, 5));
        QCOMPARE(s.Main.picTile->canvas().image(), ExpectedPage(2, s.Main.hsTable->value()));
        if (frmTileEdit* editor = LoadedTileEdit(); editor && editor->isVisible())
            QCOMPARE(editor->picTile->canvas().image(), ExpectedBlock(2, editor->Metatile(), editor->Quadrant()));

        s.Main.mnuRedo->trigger();
        QCOMPARE(ChangedOffsets(opened, RomImage), expected);
        QCOMPARE(s.Main.PanelText(3), QStringLiteral("Modified"));
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(2, 5));
    }

    void undoGoesToTheRoomThatChanged()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        s.chooseZone(0);
        s.Main.hLevel_Frames->setValue(4);
        s.select(0x33);
        clickCell(s, 6, 2);
        s.Main.hLevel_Frames->setValue(9);
        s.Main.mnuUndo->trigger();
        QCOMPARE(s.Main.hLevel_Frames->value(), 4);
        QCOMPARE(s.Main.PanelText(2), QStringLiteral("Room: 04"));
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(0, 4));
        s.Main.hLevel_Frames->setValue(0);
        s.Main.mnuRedo->trigger();
        QCOMPARE(s.Main.hLevel_Frames->value(), 4);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(0, 4));
        // A room that shares its layout with the one on show stays on show.
        s.Main.hLevel_Frames->setValue(fixture::SharedRoomA);
        clickCell(s, 1, 1);
        s.Main.hLevel_Frames->setValue(fixture::SharedRoomB);
        s.Main.mnuUndo->trigger();
        QCOMPARE(s.Main.hLevel_Frames->value(), fixture::SharedRoomB);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(0, fixture::SharedRoomB));
    }

    void editorEditsShowInTheLevelViewAtOnce()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        s.chooseZone(1);
        // Find a metatile that room 0 shows, and change one of its tiles.
        const int m = s.roomMetatile(3, 2);
        s.select(m);
        s.Main.cmdEditTile->click();
        frmTileEdit* editor = LoadedTileEdit();
        const int before = editor->hsTile[0]->value();
        editor->hsTile[0]->setValue((before + 17) % 256);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(1, 0));
        QCOMPARE(s.Main.picSelectedTile->canvas().image(), [&] {
            Canvas preview(64, 64);
            DrawMetatile(LevelContext{RomImage, ZoneTable, 1}, preview, std::uint8_t(m), 2);
            return preview.image();
        }());
    }

    void openingAnotherFileRedrawsEverything()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage(7).bytes()));
        s.chooseZone(3);
        s.Main.hLevel_Frames->setValue(6);
        s.Main.hsTable->setValue(9);
        s.select(0x25);
        s.Main.cmdEditTile->click();
        QVERIFY(s.open(fixture::MakeLevelImage(99).bytes()));
        QCOMPARE(s.Main.hLevel_Frames->value(), 6);
        QCOMPARE(s.Main.hsTable->value(), 9);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(3, 6));
        QCOMPARE(s.Main.picTile->canvas().image(), ExpectedPage(3, 9));
        frmTileEdit* editor = LoadedTileEdit();
        QCOMPARE(editor->picTile->canvas().image(), ExpectedBlock(3, editor->Metatile(), editor->Quadrant()));
        QVERIFY(!RomHistory().stack().canUndo());
        // A click now writes what the user sees into the image that is open.
        const RomBytes opened = RomImage;
        clickCell(s, 0, 0);
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(3, 6));
        QVERIFY(ChangedOffsets(opened, RomImage).size() <= 1);
    }

    // The questions asked before unsaved changes could be lost.
    void closeAndOpenAsk_data()
    {
        QTest::addColumn<QString>("request");   // "close" or "open"
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("proceeds");     // closed / opened
        QTest::addColumn<bool>("fileHasEdit");
        QTest::newRow("close, save") << "close" << int(QMessageBox::Save) << false << true << true;
        QTest::newRow("close, discard") << "close" << int(QMessageBox::Discard) << false << true << false;
        QTest::newRow("close, cancel") << "close" << int(QMessageBox::Cancel) << false << false << false;
        QTest::newRow("close, save fails") << "close" << int(QMessageBox::Save) << true << false << false;
        QTest::newRow("open, save") << "open" << int(QMessageBox::Save) << false << true << true;
        QTest::newRow("open, discard") << "open" << int(QMessageBox::Discard) << false << true << false;
        QTest::newRow("open, cancel") << "open" << int(QMessageBox::Cancel) << false << false << false;
        QTest::newRow("open, save fails") << "open" << int(QMessageBox::Save) << true << false << false;
    }
    void closeAndOpenAsk()
    {
        QFETCH(QString, request);
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, proceeds);
        QFETCH(bool, fileHasEdit);
        EditorSession s;
        int ended = 0;
        frmVornEd::EndProgram() = [&ended] { ++ended; };
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        const QString path = RomFileName;
        const QByteArray onDisk = FileBytes(path);
        s.chooseZone(0);
        s.select(0x7E);
        clickCell(s, 7, 5);
        QVERIFY(RomHistory().isModified());
        const QString journal = RomHistory().journalPath();
        QVERIFY(QFileInfo::exists(journal));
        const QByteArray edited = Bytes(RomImage);

        Answers answers;
        answers.Unsaved = QMessageBox::StandardButton(answer);
        answerWith(answers);
        if (saveFails)
            SetRomWriteFault(FailingWrite);
        int dialogs = 0;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest& r) {
            ++dialogs;
            return FileDialogAnswer{true, path, r.FilterIndex, r.Flags};
        });
        if (request == QLatin1String("close"))
            s.Main.close();
        else
            s.Main.mnuOpen->trigger();
        SetRomWriteFault(nullptr);
        frmVornEd::EndProgram() = [] { QCoreApplication::exit(0); };

        // One question, captioned "VornEd", naming the file, Save the default.
        QVERIFY(!answers.Asked.isEmpty());
        const MessageRequest& asked = answers.Asked.first();
        QCOMPARE(asked.Title, QStringLiteral("VornEd"));
        QVERIFY(asked.Text.contains(path));
        QCOMPARE(asked.Buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(asked.DefaultButton, QMessageBox::Save);
        QVERIFY(!std::any_of(answers.Asked.begin(), answers.Asked.end(),
                             [](const MessageRequest& m) { return m.Title == QLatin1String("Quit"); }));
        if (saveFails)
            QVERIFY(answers.Asked.last().Text.contains(QLatin1String("No space left on device")));

        if (request == QLatin1String("close")) {
            QCOMPARE(ended, proceeds ? 1 : 0);
        } else {
            QCOMPARE(dialogs, proceeds ? 1 : 0);
            // A reopened file shows the file as it is on disk.
            QCOMPARE(Bytes(RomImage), proceeds ? FileBytes(path) : edited);
        }
        QCOMPARE(FileBytes(path), fileHasEdit ? edited : onDisk);
        // The journal stays exactly while unsaved edits exist in memory only.
        QCOMPARE(QFileInfo::exists(journal), !proceeds && !fileHasEdit);
        SetMessageResponder({});
    }

    void unmodifiedCloseAsksTheQuitQuestion()
    {
        EditorSession s;
        int ended = 0;
        frmVornEd::EndProgram() = [&ended] { ++ended; };
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        s.chooseZone(0);
        s.select(0x7E);
        clickCell(s, 7, 5);
        s.Main.mnuUndo->trigger();   // back to the file: nothing unsaved
        Answers answers;
        answers.Quit = QMessageBox::Yes;
        answerWith(answers);
        s.Main.close();
        frmVornEd::EndProgram() = [] { QCoreApplication::exit(0); };
        SetMessageResponder({});
        QCOMPARE(answers.Asked.size(), 1);
        QCOMPARE(answers.Asked[0].Title, QStringLiteral("Quit"));
        QCOMPARE(answers.Asked[0].Text, QStringLiteral("Are You Sure You Want To Exit?"));
        QCOMPARE(answers.Asked[0].Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(answers.Asked[0].DefaultButton, QMessageBox::No);
        QCOMPARE(ended, 1);
    }

    void saveMakesItUnmodified()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        const RomBytes opened = RomImage;
        s.chooseZone(0);
        const int first = (s.roomMetatile(0, 0) + 1) % 256, second = (s.roomMetatile(1, 0) + 1) % 256;
        s.select(first);
        clickCell(s, 0, 0);
        s.select(second);
        clickCell(s, 1, 0);
        s.Main.mnuUndo->trigger();
        s.Main.mnuSave->trigger();
        QCOMPARE(s.Main.PanelText(3), QString());
        // On disk: the opened file with exactly the step not undone.
        RomBytes onDisk;
        QString error;
        QVERIFY(LoadRomFile(RomFileName, onDisk, error));
        QVERIFY(onDisk == RomImage);
        const std::int64_t cell0 = RoomLayoutOffset(LevelContext{RomImage, ZoneTable, 0}, 0);
        QCOMPARE(ChangedOffsets(opened, onDisk), QList<qint64>{cell0});
        QCOMPARE(onDisk.read(cell0), first);
        // Undoing past the save is a change again, and redoing it is none.
        s.Main.mnuUndo->trigger();
        QVERIFY(RomImage == opened);
        QCOMPARE(s.Main.PanelText(3), QStringLiteral("Modified"));
        s.Main.mnuRedo->trigger();
        QCOMPARE(s.Main.PanelText(3), QString());
        QCOMPARE(s.Main.PanelText(1), RomFileName);
        QCOMPARE(s.Main.PanelText(2), QStringLiteral("Room: 00"));
    }

    // A journal left behind by an editor that ended without saving.
    void restoreAfterACrash_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("cutBytes");   // bytes cut off the journal's end
        QTest::addColumn<int>("restored");   // edits given back on Restore
        QTest::newRow("restore") << int(QMessageBox::Yes) << 0 << 3;
        QTest::newRow("discard") << int(QMessageBox::Discard) << 0 << 0;
        QTest::newRow("restore a journal cut short") << int(QMessageBox::Yes) << 5 << 2;
    }
    void restoreAfterACrash()
    {
        QFETCH(int, answer);
        QFETCH(int, cutBytes);
        QFETCH(int, restored);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("crashed.nes"));
        QString error;
        const RomBytes original = fixture::MakeLevelImage(3);
        QVERIFY(SaveRomFile(path, original, error));
        // Edits of a program that then died: nothing cleans its journal up.
        const std::vector<ByteWrite> edits{{0x4100, 0x11}, {0x4101, 0x22}, {0x4102, 0x33}};
        QString journal;
        {
            RomBytes crashed = original;
            EditHistory other(crashed);
            other.reset(path);
            other.setJournalFolder(RomHistory().journalFolder());
            for (const ByteWrite& w : edits)
                other.apply(QStringLiteral("edit"), {w});
            journal = other.journalPath();
        }
        QVERIFY(QFileInfo::exists(journal));
        if (cutBytes > 0)
            QVERIFY(QFile::resize(journal, QFileInfo(journal).size() - cutBytes));

        ResetProgramState();
        frmVornEd w;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest& r) {
            return FileDialogAnswer{true, path, r.FilterIndex, r.Flags};
        });
        Answers answers;
        answers.Restore = QMessageBox::StandardButton(answer);
        answerWith(answers);
        w.mnuOpen->trigger();
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});

        QCOMPARE(answers.Asked.size(), 1);
        const MessageRequest& asked = answers.Asked[0];
        QCOMPARE(asked.Title, QStringLiteral("VornEd"));
        QVERIFY(asked.Text.contains(path));
        QCOMPARE(asked.DefaultButton, QMessageBox::Yes);
        QCOMPARE(asked.ButtonTexts.value(QMessageBox::Yes), QStringLiteral("&Restore"));
        QVERIFY(asked.Buttons.testFlag(QMessageBox::Discard));
        QCOMPARE(asked.Text.contains(QLatin1String("damaged")), cutBytes > 0);

        RomBytes expected = original;
        for (int i = 0; i < restored; ++i)
            expected.write(edits[std::size_t(i)].Offset, edits[std::size_t(i)].Value);
        QVERIFY(RomImage == expected);
        QCOMPARE(w.PanelText(3), QString(restored > 0 ? "Modified" : ""));
        if (restored == 0) {
            QVERIFY(!QFileInfo::exists(journal));
            return;
        }
        // Restored as one step, which undoes like any other.
        QCOMPARE(w.mnuUndo->text(), QStringLiteral("&Undo Restore Unsaved Changes"));
        w.mnuUndo->trigger();
        QVERIFY(RomImage == original);
        w.mnuRedo->trigger();
        QVERIFY(QFileInfo::exists(journal));
        w.mnuSave->trigger();
        QCOMPARE(FileBytes(path), Bytes(expected));
        QVERIFY(!QFileInfo::exists(journal));
    }

    void journalOfAnOlderFileIsNotOffered()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("changed.nes"));
        QString error;
        RomBytes original = fixture::MakeLevelImage(4);
        QVERIFY(SaveRomFile(path, original, error));
        {
            RomBytes crashed = original;
            EditHistory other(crashed);
            other.reset(path);
            other.setJournalFolder(RomHistory().journalFolder());
            other.apply(QStringLiteral("edit"), {{10, 1}});
        }
        // The file was changed by another program since.
        original.write(20, 0xEE);
        QVERIFY(SaveRomFile(path, original, error));
        ResetProgramState();
        frmVornEd w;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest& r) {
            return FileDialogAnswer{true, path, r.FilterIndex, r.Flags};
        });
        Answers answers;
        answerWith(answers);
        w.mnuOpen->trigger();
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});
        QCOMPARE(answers.Asked.size(), 1);
        QCOMPARE(answers.Asked[0].Buttons, QMessageBox::Ok);
        QVERIFY(answers.Asked[0].Text.contains(QLatin1String("changed since")));
        QVERIFY(RomImage == original);
        QCOMPARE(w.PanelText(3), QString());
    }

    void journalThatIsNotOneIsRemovedWithANote()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("garbage.nes"));
        QString error;
        QVERIFY(SaveRomFile(path, fixture::MakeLevelImage(5), error));
        const QString journal = RecoveryJournal::PathFor(RomHistory().journalFolder(), path);
        QDir().mkpath(QFileInfo(journal).path());
        {
            QFile f(journal);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("this is not a journal");
        }
        ResetProgramState();
        frmVornEd w;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest& r) {
            return FileDialogAnswer{true, path, r.FilterIndex, r.Flags};
        });
        Answers answers;
        answerWith(answers);
        w.mnuOpen->trigger();
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});
        QCOMPARE(RomFileName, path);
        QCOMPARE(answers.Asked.size(), 1);
        QVERIFY(answers.Asked[0].Text.contains(QLatin1String("cannot be used")));
        QVERIFY(!QFileInfo::exists(journal));
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "test_history_window.moc"
