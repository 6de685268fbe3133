// File › Export Patch… and File › Apply Patch… in the main window: their
// place in the menu, patches of the changes since the file was opened in
// both formats, a patch applied as one undo step that may grow or shrink the
// image, a patch made for another image, and patches that are refused.
#include "../editors/EditorSession.h"
#include "../fixtures/FileFixture.h"
#include "../fixtures/ExpectedPictures.h"
#include "../fixtures/LevelFixture.h"
#include "history/EditHistory.h"
#include "level/RoomView.h"
#include "patch/Patch.h"
#include "shell/PatchMenu.h"

#include <QMenu>
#include <QPushButton>

namespace {
using fixture::ExpectedRoom;

ByteView View(const RomBytes& bytes)
{
    return ByteView(bytes.data(), std::size_t(bytes.size()));
}

QByteArray Bytes(const ByteVector& v)
{
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}
}

class TestPatchMenu : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static PatchMenu* Menu(frmVornEd& w) { return w.findChild<PatchMenu*>(); }

    // Answers the next file dialog with `path` and filter `index`, keeping the request.
    FileDialogRequest m_request;
    void answerDialog(const QString& path, int index)
    {
        clsDialog::SetFileDialogRunner([this, path, index](const FileDialogRequest& r) {
            m_request = r;
            return FileDialogAnswer{!path.isEmpty(), path, index, r.Flags};
        });
    }

private slots:
    void entriesFollowTheFileMenu()
    {
        EditorSession s;
        PatchMenu* menu = Menu(s.Main);
        QVERIFY(menu);
        const QList<QAction*> actions = s.Main.mnuFIle->actions();
        QVERIFY(actions.indexOf(s.Main.mnuExit) < actions.indexOf(menu->FileFiller3));
        QVERIFY(actions.indexOf(menu->FileFiller3) < actions.indexOf(menu->mnuExportPatch));
        QVERIFY(menu->FileFiller3->isSeparator());
        QVERIFY(!menu->mnuExportPatch->isEnabled());
        QVERIFY(!menu->mnuApplyPatch->isEnabled());
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        QVERIFY(menu->mnuExportPatch->isEnabled());
        QVERIFY(menu->mnuApplyPatch->isEnabled());
    }

    void exportGivesTheChangesSinceOpening_data()
    {
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("name");
        QTest::newRow("IPS") << 1 << "changes.ips";
        QTest::newRow("BPS") << 2 << "changes.bps";
    }
    void exportGivesTheChangesSinceOpening()
    {
        QFETCH(int, filterIndex);
        QFETCH(QString, name);
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        const RomBytes opened = RomImage;
        s.chooseZone(1);
        s.select((s.roomMetatile(4, 4) + 1) % 256);
        s.Main.picEditor_MouseDown(1, {}, 4 * 64 + 5, 4 * 64 + 5);
        // A save in between does not move what the patch starts from.
        s.Main.mnuSave->trigger();
        s.select((s.roomMetatile(5, 4) + 1) % 256);
        s.Main.picEditor_MouseDown(1, {}, 5 * 64 + 5, 4 * 64 + 5);
        QCOMPARE(ChangedOffsets(opened, RomImage).size(), 2);

        const QString path = m_dir.filePath(name);
        answerDialog(path, filterIndex);
        Menu(s.Main)->mnuExportPatch->trigger();
        clsDialog::SetFileDialogRunner({});
        QCOMPARE(m_request.Title, QStringLiteral("Export Patch"));
        QVERIFY(m_request.Save);
        QCOMPARE(m_request.Filter, ConvertDialogFilter(QStringLiteral("IPS Patches (*.ips)|*.ips|BPS Patches (*.bps)|*.bps")));

        const QByteArray patch = ReadFile(path);
        QVERIFY(!patch.isEmpty());
        QCOMPARE(DetectPatchFormat(ByteView(reinterpret_cast<const std::uint8_t*>(patch.constData()),
                                            std::size_t(patch.size()))),
                 filterIndex == 1 ? PatchFormat::Ips : PatchFormat::Bps);
        QString error;
        const PatchApplyResult applied =
            ApplyPatch(ByteView(reinterpret_cast<const std::uint8_t*>(patch.constData()), std::size_t(patch.size())),
                       View(opened), {}, error);
        QVERIFY2(applied.image, qPrintable(error));
        QVERIFY(RomBytes(*applied.image) == RomImage);
    }

    void exportWithoutChangesWritesNothing()
    {
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        const QString path = m_dir.filePath(QStringLiteral("nothing.ips"));
        int dialogs = 0;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest& r) {
            ++dialogs;
            return FileDialogAnswer{true, path, 1, r.Flags};
        });
        Menu(s.Main)->mnuExportPatch->trigger();
        clsDialog::SetFileDialogRunner({});
        QCOMPARE(dialogs, 0);
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(s.Messages.size(), 1);
        QVERIFY(s.Messages[0].Text.contains(QLatin1String("no changes")));
    }

    // A patch made elsewhere applies as one step that undoes and redoes,
    // whatever it does to the image's size; every view follows.
    void applyIsOneUndoStep_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("sizeChange");
        QTest::newRow("IPS, same size") << int(PatchFormat::Ips) << 0;
        QTest::newRow("IPS, grows") << int(PatchFormat::Ips) << 3000;
        QTest::newRow("IPS, shrinks") << int(PatchFormat::Ips) << -100;
        QTest::newRow("BPS, same size") << int(PatchFormat::Bps) << 0;
        QTest::newRow("BPS, grows") << int(PatchFormat::Bps) << 3000;
        QTest::newRow("BPS, shrinks") << int(PatchFormat::Bps) << -100;
    }
    void applyIsOneUndoStep()
    {
        QFETCH(int, format);
        QFETCH(int, sizeChange);
        const RomBytes original = fixture::MakeLevelImage();
        // The target: new metatile tiles and room layouts in zone 3, and a new size.
        std::vector<std::uint8_t> target = original.bytes();
        for (int i = 0; i < 400; ++i)
            target[std::size_t(fixture::TilesAt(2) + i)] ^= 0x3C;
        for (int i = 0; i < 48; ++i)
            target[std::size_t(fixture::RoomAt(2, 0) + i)] = std::uint8_t(i);
        target.resize(std::size_t(std::int64_t(target.size()) + sizeChange), 0x77);
        QString error;
        const auto patch = CreatePatch(PatchFormat(format), View(original), ByteView(target), error);
        QVERIFY2(patch, qPrintable(error));
        const QString path = m_dir.filePath(format == int(PatchFormat::Ips) ? "made.ips" : "made.bps");
        QVERIFY(WriteFile(path, Bytes(*patch)));

        EditorSession s;
        QVERIFY(s.open(original.bytes()));
        s.chooseZone(2);
        answerDialog(path, 1);
        Menu(s.Main)->mnuApplyPatch->trigger();
        clsDialog::SetFileDialogRunner({});
        QCOMPARE(m_request.Title, QStringLiteral("Apply Patch"));
        QVERIFY(!m_request.Save);
        QCOMPARE(s.Messages.size(), 0);

        QCOMPARE(RomImage.bytes(), target);
        QCOMPARE(RomHistory().stack().count(), 1);
        QCOMPARE(s.Main.mnuUndo->text(), QStringLiteral("&Undo Apply Patch ") + QFileInfo(path).fileName());
        QCOMPARE(s.Main.PanelText(3), QStringLiteral("Modified"));
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(2, 0));
        s.Main.mnuUndo->trigger();
        QVERIFY(RomImage == original);
        QCOMPARE(s.Main.PanelText(3), QString());
        QCOMPARE(s.Main.picEditor->canvas().image(), ExpectedRoom(2, 0));
        s.Main.mnuRedo->trigger();
        QCOMPARE(RomImage.bytes(), target);
        // Saved, the file holds the patched image exactly.
        s.Main.mnuSave->trigger();
        QCOMPARE(ReadFile(RomFileName), Bytes(target));
    }

    void patchForAnotherImageAsksFirst_data()
    {
        QTest::addColumn<bool>("apply");
        QTest::newRow("answered No") << false;
        QTest::newRow("answered Yes") << true;
    }
    void patchForAnotherImageAsksFirst()
    {
        QFETCH(bool, apply);
        // Made from a copy that differs in one byte that the patch does not touch.
        RomBytes other = fixture::MakeLevelImage();
        other.write(100, std::uint8_t(other.read(100) + 1));
        std::vector<std::uint8_t> target = other.bytes();
        target[0x5000] ^= 0xFF;
        QString error;
        const auto patch = CreatePatch(PatchFormat::Bps, View(other), ByteView(target), error);
        QVERIFY(patch);
        const QString path = m_dir.filePath(QStringLiteral("other.bps"));
        QVERIFY(WriteFile(path, Bytes(*patch)));

        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        const RomBytes opened = RomImage;
        QList<MessageRequest> asked;
        SetMessageResponder([&](const MessageRequest& m) {
            asked << m;
            return m.Buttons.testFlag(QMessageBox::Yes) ? (apply ? QMessageBox::Yes : QMessageBox::No)
                                                        : QMessageBox::Ok;
        });
        answerDialog(path, 1);
        Menu(s.Main)->mnuApplyPatch->trigger();
        clsDialog::SetFileDialogRunner({});
        QVERIFY(!asked.isEmpty());
        QVERIFY(asked[0].Text.contains(QLatin1String("another image")));
        QCOMPARE(asked[0].DefaultButton, QMessageBox::No);
        if (!apply) {
            QVERIFY(RomImage == opened);
            QCOMPARE(RomHistory().stack().count(), 0);
            return;
        }
        QCOMPARE(ChangedOffsets(opened, RomImage), QList<qint64>{0x5000});
        QCOMPARE(RomHistory().stack().count(), 1);
    }

    void refusedPatchesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("patch");
        QTest::newRow("not a patch") << QByteArray("this is not a patch at all");
        QTest::newRow("IPS without EOF") << QByteArray("PATCH\x00\x10\x00\x00\x01\x41", 11);
        QTest::newRow("IPS record cut short") << QByteArray("PATCH\x00\x10\x00\x00\x04\x41\x42", 12);
        QTest::newRow("BPS damaged") << QByteArray("BPS1\x80\x80\x80\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 18);
    }
    void refusedPatchesChangeNothing()
    {
        QFETCH(QByteArray, patch);
        const QString path = m_dir.filePath(QStringLiteral("bad.ips"));
        QVERIFY(WriteFile(path, patch));
        EditorSession s;
        QVERIFY(s.open(fixture::MakeLevelImage().bytes()));
        const RomBytes opened = RomImage;
        answerDialog(path, 1);
        Menu(s.Main)->mnuApplyPatch->trigger();
        clsDialog::SetFileDialogRunner({});
        QVERIFY(RomImage == opened);
        QCOMPARE(RomHistory().stack().count(), 0);
        QCOMPARE(s.Messages.size(), 1);
        QVERIFY(s.Messages[0].Text.contains(path));
        QCOMPARE(s.Messages[0].Title, QStringLiteral("VornEd"));
    }
};

QTEST_MAIN(TestPatchMenu)
#include "test_patch_menu.moc"
