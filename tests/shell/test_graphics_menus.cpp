// The main window's graphics entries: each after the specified entries of
// its popup, enabled by a zone choice; File › Export Tiles… and Import
// Tiles… through the dialog wrapper, the import one undo step, every refusal
// told with its reason and the image left as it was.
#include "../editors/EditorSession.h"
#include "../fixtures/FileFixture.h"
#include "../fixtures/LevelFixture.h"
#include "gfx/TilePng.h"
#include "level/RoomView.h"
#include "demo/DemoCartridge.h"

#include <QMenu>

#include <sys/stat.h>

namespace {
QStringList Captions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return captions;
}

QImage LevelView()
{
    Canvas scratch(64, 64);
    Canvas view(512, 384);
    DrawRoom(LevelContext{RomImage, ZoneTable, CurrentZone}, 0, scratch, view);
    return view.image();
}

// Answers the next file dialogs with `path` and keeps what they were asked.
struct DialogAnswers {
    QList<FileDialogRequest> Requests;
    QString Path;
    bool Confirm = true;
    DialogAnswers()
    {
        clsDialog::SetFileDialogRunner([this](const FileDialogRequest& r) {
            Requests << r;
            return FileDialogAnswer{Confirm, Path, r.FilterIndex, r.Flags};
        });
    }
};
}

class TestGraphicsMenus : public QObject {
    Q_OBJECT
private slots:
    void entriesFollowTheSpecifiedOnes()
    {
        EditorSession s;
        // The specified entries first, where they are; these last, a separator before them.
        const QStringList file = Captions(s.Main.mnuFIle), tools = Captions(s.Main.mnuTools),
                          view = Captions(s.Main.mnuView);
        QCOMPARE(file.mid(0, 6), (QStringList{"&Open", "-", "&Save", "S&ave As", "-", "E&xit"}));
        QCOMPARE(file.mid(file.size() - 3), (QStringList{"-", "Export &Tiles…", "&Import Tiles…"}));
        QCOMPARE(tools.first(), QStringLiteral("&Password Generator"));
        QCOMPARE(tools.mid(tools.size() - 3), (QStringList{"-", "Pa&lette Editor", "&Find Uses"}));
        QCOMPARE(view.mid(0, 2), (QStringList{"Editor Grid", "Tile Selector Grid"}));
        QCOMPARE(view.mid(view.size() - 2), (QStringList{"-", "&Highlight Uses"}));
        // No two entries of a popup share a mnemonic letter.
        for (const QMenu* menu : {s.Main.mnuFIle, s.Main.mnuTools, s.Main.mnuView}) {
            QSet<QChar> letters;
            for (const QString& caption : Captions(menu)) {
                const qsizetype amp = caption.indexOf(QLatin1Char('&'));
                if (amp < 0 || amp + 1 >= caption.size())
                    continue;
                const QChar letter = caption.at(amp + 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(caption));
                letters.insert(letter);
            }
        }
        const QList<QAction*> added{s.Main.mnuExportTiles, s.Main.mnuImportTiles, s.Main.mnuPaletteEditor,
                                    s.Main.mnuFindUses, s.Main.mnuHighlightUses};
        for (QAction* a : added)
            QVERIFY(!a->isEnabled());
        QVERIFY(s.Main.mnuHighlightUses->isCheckable());
        QVERIFY(s.Main.mnuTools->menuAction()->isEnabled());
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        for (QAction* a : added)
            QVERIFY(!a->isEnabled());
        QVERIFY(!s.Main.mnuView->menuAction()->isEnabled());
        s.chooseZone(6);
        for (QAction* a : added)
            QVERIFY(a->isEnabled());
        QVERIFY(s.Main.mnuView->menuAction()->isEnabled());
        // The specified entries keep their state.
        QVERIFY(!s.Main.mnuPalette->isEnabled());
        QVERIFY(!s.Main.mnuTileEditor->isEnabled());
    }

    void exportWritesTheIndexedPicture()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(2);
        QTemporaryDir dir;
        DialogAnswers answers;
        answers.Path = dir.filePath(QStringLiteral("zone3.png"));
        const RomBytes before = RomImage;
        s.Main.mnuExportTiles->trigger();
        QCOMPARE(answers.Requests.size(), 1);
        const FileDialogRequest& r = answers.Requests.first();
        QVERIFY(r.Save);
        QCOMPARE(r.Title, QStringLiteral("Export Tiles of Zone 3"));
        QCOMPARE(r.Filter, ConvertDialogFilter(QStringLiteral("PNG Images (*.png)|*.png|All Files (*.*)|*.*")));
        QCOMPARE(r.DefaultExt, QStringLiteral("png"));
        QCOMPARE(r.FileName, QStringLiteral("image-zone3-tiles.png"));
        QCOMPARE(r.InitDir, QFileInfo(RomFileName).absolutePath());
        QCOMPARE(RomImage, before);
        QString reason;
        const QImage expected = ZoneTilesPicture(LevelContext{RomImage, ZoneTable, 2}, reason);
        const QImage written(answers.Path);
        QCOMPARE(written.size(), QSize(128, 128));
        QCOMPARE(written.colorTable(), expected.colorTable());
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                if (written.pixelIndex(x, y) != expected.pixelIndex(x, y))
                    QFAIL("the written picture differs");
        QVERIFY(!RomHistory().isModified());
        QVERIFY(s.Messages.isEmpty());

        // A folder that is not there: told, nothing written.
        answers.Path = dir.filePath(QStringLiteral("gone/zone3.png"));
        s.Main.mnuExportTiles->trigger();
        QCOMPARE(s.Messages.size(), 1);
        QCOMPARE(s.Messages[0].Title, AppTitle());
        QVERIFY(s.Messages[0].Text.contains(answers.Path));
        QVERIFY(!QFileInfo::exists(answers.Path));
        // Cancelled: nothing.
        answers.Confirm = false;
        answers.Path = dir.filePath(QStringLiteral("cancelled.png"));
        s.Main.mnuExportTiles->trigger();
        QVERIFY(!QFileInfo::exists(answers.Path));
        QCOMPARE(s.Messages.size(), 1);
    }

    void exportOfATileBankOutsideTheImage()
    {
        std::vector<std::uint8_t> bytes = fixture::MakeLevelImage(2).bytes();
        bytes.resize(std::size_t(ZoneConstantsTable[6].TileBank + 100));
        EditorSession s;
        QVERIFY(s.open(bytes));
        s.chooseZone(6);
        DialogAnswers answers;
        s.Main.mnuExportTiles->trigger();
        QVERIFY(answers.Requests.isEmpty());
        QCOMPARE(s.Messages.size(), 1);
        QVERIFY2(s.Messages[0].Text.contains(QLatin1String("The tiles of Zone 7 cannot be exported")),
                 qPrintable(s.Messages[0].Text));
        QVERIFY(s.Messages[0].Text.contains(QLatin1String("lies outside the cartridge image")));
    }

    // Export, change the picture as an image editor would, import: one
    // step, every view redrawn, undone byte for byte.
    void importIsOneUndoStep()
    {
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(0);
        QTemporaryDir dir;
        DialogAnswers answers;
        answers.Path = dir.filePath(QStringLiteral("tiles.png"));
        s.Main.mnuExportTiles->trigger();
        QImage picture(answers.Path);
        QCOMPARE(picture.format(), QImage::Format_Indexed8);
        for (int x = 0; x < 128; ++x)
            picture.setPixel(x, 5, uint(x % 4));   // row 5 of tiles 0..15
        QVERIFY(picture.save(answers.Path, "PNG"));

        const RomBytes before = RomImage;
        const int steps = RomHistory().stack().count();
        s.Main.mnuImportTiles->trigger();
        QCOMPARE(answers.Requests.size(), 2);
        const FileDialogRequest& r = answers.Requests.last();
        QVERIFY(!r.Save);
        QCOMPARE(r.Title, QStringLiteral("Import Tiles into Zone 1"));
        QCOMPARE(r.Filter, ConvertDialogFilter(QStringLiteral("PNG Images (*.png)|*.png|All Files (*.*)|*.*")));
        QVERIFY(s.Messages.isEmpty());
        QCOMPARE(RomHistory().stack().count(), steps + 1);
        QCOMPARE(RomHistory().stack().undoText(), QStringLiteral("Import Tiles into Zone 1"));
        const std::int64_t bank = ZoneTable[0].TileBank;
        for (qint64 at : ChangedOffsets(before, RomImage)) {
            QVERIFY(at >= bank && at < bank + 16 * 16);
            QCOMPARE((at - bank) % 8, qint64(5));
        }
        for (int x = 0; x < 128; ++x)
            QCOMPARE(TilePixelValue(RomImage, bank, x / 8, 5, x % 8), x % 4);
        QCOMPARE(s.Main.picEditor->canvas().image(), LevelView());
        RomHistory().undo();
        QCOMPARE(RomImage, before);
        QCOMPARE(s.Main.picEditor->canvas().image(), LevelView());

        // The same picture again after the undo's redo: nothing to change, said so.
        RomHistory().redo();
        const int now = RomHistory().stack().count();
        s.Main.mnuImportTiles->trigger();
        QCOMPARE(RomHistory().stack().count(), now);
        QCOMPARE(s.Messages.size(), 1);
        QVERIFY(s.Messages[0].Text.contains(QLatin1String("as they are; nothing was changed")));
    }

    void refusedImports_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("wrong size") << "small" << "is 64 x 64 pixels";
        QTest::newRow("index above 3") << "index" << "has palette index 6";
        QTest::newRow("other colours") << "colour" << "which is none of the four colours";
        QTest::newRow("not a PNG") << "text" << "it is not a PNG file";
        QTest::newRow("a named pipe") << "fifo" << "is a named pipe, not a file";
        QTest::newRow("a folder") << "folder" << "is a folder, not a file";
    }
    void refusedImports()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        EditorSession s;
        QVERIFY(s.open(MakeDemoCartridge().bytes()));
        s.chooseZone(3);
        QTemporaryDir dir;
        DialogAnswers answers;
        answers.Path = dir.filePath(QStringLiteral("tiles.png"));
        const QByteArray path = QFile::encodeName(answers.Path);
        if (kind == QLatin1String("small") || kind == QLatin1String("index")) {
            QImage image(kind == QLatin1String("small") ? QSize(64, 64) : QSize(128, 128), QImage::Format_Indexed8);
            image.setColorTable({qRgb(0, 9, 0), qRgb(1, 9, 1), qRgb(2, 9, 2), qRgb(3, 9, 3), qRgb(4, 9, 4),
                                 qRgb(5, 9, 5), qRgb(6, 9, 6)});
            image.fill(0);
            image.setPixel(100, 100, 6);
            QVERIFY(image.save(answers.Path, "PNG"));
        } else if (kind == QLatin1String("colour")) {
            QImage image(128, 128, QImage::Format_RGB32);
            image.fill(qRgb(1, 2, 3));
            QVERIFY(image.save(answers.Path, "PNG"));
        } else if (kind == QLatin1String("text")) {
            QVERIFY(WriteFile(answers.Path, "not a picture"));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(mkfifo(path.constData(), 0600), 0);
        } else {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tiles.png")));
        }
        const RomBytes before = RomImage;
        const int steps = RomHistory().stack().count();
        s.Main.mnuImportTiles->trigger();
        QCOMPARE(RomImage, before);
        QCOMPARE(RomHistory().stack().count(), steps);
        QVERIFY(!RomHistory().isModified());
        QCOMPARE(s.Messages.size(), 1);
        QCOMPARE(s.Messages[0].Title, AppTitle());
        QVERIFY2(s.Messages[0].Text.contains(reason), qPrintable(s.Messages[0].Text));
        QVERIFY(s.Messages[0].Text.contains(answers.Path));
    }
};

QTEST_MAIN(TestGraphicsMenus)
#include "test_graphics_menus.moc"
