// The dialog wrapper: flag words, filter conversion, the filters the dialog
// shows, and the results of a confirmed or cancelled dialog.
#include "shell/clsDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
const QString RomFilter = QStringLiteral("NES Images (*.NES)|*.nes|All Files (*.*)|*.*");
QString Nul() { return QString(QChar(0)); }
}

class TestDialog : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { clsDialog::SetFileDialogRunner({}); }

    void flagWords_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("option");
        QTest::addColumn<uint>("flags");
        QTest::addColumn<uint>("expected");
        QTest::newRow("File > Open") << false << true << 0u << 0x1000u;
        QTest::newRow("File > Save As") << true << true << 0x800u << 0x280806u;
        QTest::newRow("open drops hook and template") << false << false << 0x60u << 0x0u;
        QTest::newRow("save without prompt") << true << false << 0x0u << 0x280004u;
        QTest::newRow("save drops hook and template") << true << true << 0x861u << 0x280807u;
    }
    void flagWords()
    {
        QFETCH(bool, save);
        QFETCH(bool, option);
        QFETCH(uint, flags);
        QFETCH(uint, expected);
        const std::uint32_t got = save ? SaveDialogFlags(option, flags)
                                       : OpenDialogFlags(option, false, false, false, flags);
        QCOMPARE(uint(got), expected);
    }

    void openFlagBooleans()
    {
        QCOMPARE(OpenDialogFlags(false, true, true, true, 0), std::uint32_t(0x205));
    }

    void filterConversion_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("pair");
        QTest::newRow("first pair") << RomFilter << 1 << "NES Images (*.NES)" + Nul() + "*.nes";
        QTest::newRow("second pair") << RomFilter << 2 << "All Files (*.*)" + Nul() + "*.*";
        QTest::newRow("beyond the list") << RomFilter << 3 << QString();
        QTest::newRow("index 0") << RomFilter << 0 << QString();
        QTest::newRow("colon splits like a bar") << "Images: NES|*.nes|All|*.*" << 1 << "Images" + Nul() + " NES";
        QTest::newRow("colon shifts later pairs") << "Images: NES|*.nes|All|*.*" << 2 << "*.nes" + Nul() + "All";
        QTest::newRow("default filter") << DefaultDialogFilter() << 1 << "All (*.*)" + Nul() + " *.*";
    }
    void filterConversion()
    {
        QFETCH(QString, filter);
        QFETCH(int, index);
        QFETCH(QString, pair);
        const QString converted = ConvertDialogFilter(filter);
        QVERIFY(converted.endsWith(Nul() + Nul()));
        QCOMPARE(converted.count(QChar(0)), filter.count('|') + filter.count(':') + 2);
        QCOMPARE(DialogFilterPair(converted, index), pair);
    }

    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("the program's filter") << RomFilter
                                              << QStringList{"NES Images (*.NES)", "All Files (*.*)"};
        QTest::newRow("default filter") << DefaultDialogFilter() << QStringList{"All (*.*)"};
        QTest::newRow("description without pattern") << "Images|*.nes" << QStringList{"Images (*.nes)"};
        QTest::newRow("description naming another pattern")
            << "Images (*.png)|*.nes" << QStringList{"Images (*.png) (*.nes)"};
        QTest::newRow("pattern only mentioned") << "(*.nes) images|*.nes" << QStringList{"(*.nes) images (*.nes)"};
    }
    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, names);
        QCOMPARE(DialogNameFilters(ConvertDialogFilter(filter)), names);
    }

    // Qt's own dialog, as File > Open shows it: each filter once, and the
    // images listed whatever the case of their extension.
    void openDialogListsFiltersOnce()
    {
        QTemporaryDir dir;
        for (const char* name : {"lower.nes", "UPPER.NES", "notes.txt"}) {
            QFile f(dir.filePath(QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QStringList shownFilters, listed;
        int polls = 0;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shownFilters = dialog->nameFilters();
            auto* model = dialog->findChild<QFileSystemModel*>();
            listed.clear();
            if (model) {
                const QModelIndex folder = model->index(dir.path());
                for (int r = 0; r < model->rowCount(folder); ++r) {
                    const QModelIndex item = model->index(r, 0, folder);
                    if (model->flags(item) & Qt::ItemIsEnabled)
                        listed << model->fileName(item);
                }
            }
            listed.sort();
            // The folder is read in the background; give up after a while.
            if (listed.size() >= 2 || ++polls > 500) {
                poll.stop();
                dialog->reject();
            }
        });
        poll.start();
        clsDialog dialog;
        QString name, title, filter = RomFilter;
        std::int32_t index = 1;
        QVERIFY(!dialog.VBGetOpenFileName(name, title, true, false, nullptr, false, &filter, &index, dir.path()));
        QCOMPARE(shownFilters, (QStringList{"NES Images (*.NES)", "All Files (*.*)"}));
        QCOMPARE(listed, (QStringList{"UPPER.NES", "lower.nes"}));
    }

    void confirmedOpenReturnsChoice()
    {
        FileDialogRequest seen;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest& r) {
            seen = r;
            return FileDialogAnswer{true, QStringLiteral("/data/roms/game.nes"), 2, r.Flags};
        });
        clsDialog dialog;
        QString name = QStringLiteral("/old/x.nes"), title, filter = RomFilter;
        std::int32_t index = 1;
        std::uint32_t flags = 0;
        bool readOnly = false;
        QVERIFY(dialog.VBGetOpenFileName(name, title, true, false, &readOnly, false, &filter, &index,
                                         QStringLiteral("/init"), QString(), QStringLiteral("NES"),
                                         nullptr, &flags));
        QCOMPARE(seen.Flags, std::uint32_t(0x1000));
        QCOMPARE(seen.FileName, QStringLiteral("/old/x.nes"));
        QCOMPARE(seen.InitDir, QStringLiteral("/init"));
        QCOMPARE(seen.DefaultExt, QStringLiteral("NES"));
        QCOMPARE(name, QStringLiteral("/data/roms/game.nes"));
        QCOMPARE(title, QStringLiteral("game.nes"));
        QCOMPARE(index, 2);
        QCOMPARE(filter, "All Files (*.*)" + Nul() + "*.*");
        QCOMPARE(dialog.APIReturn(), 1);
        QVERIFY(!readOnly);
    }

    void cancelResults_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("filterIndex");
        QTest::newRow("open") << false << -1;
        QTest::newRow("save") << true << 0;
    }
    void cancelResults()
    {
        QFETCH(bool, save);
        QFETCH(int, filterIndex);
        clsDialog::SetFileDialogRunner([](const FileDialogRequest&) { return FileDialogAnswer{}; });
        clsDialog dialog;
        QString name = QStringLiteral("/old/x.nes"), title = QStringLiteral("x"), filter = RomFilter;
        std::int32_t index = 1;
        std::uint32_t flags = 0x800;
        const bool ok = save
            ? dialog.VBGetSaveFileName(name, title, true, &filter, &index, {}, {}, {}, nullptr, &flags)
            : dialog.VBGetOpenFileName(name, title, true, false, nullptr, false, &filter, &index, {}, {}, {}, nullptr, &flags);
        QVERIFY(!ok);
        QVERIFY(name.isEmpty());
        QVERIFY(title.isEmpty());
        QVERIFY(filter.isEmpty());
        QCOMPARE(flags, std::uint32_t(0));
        QCOMPARE(index, filterIndex);
        QCOMPARE(dialog.APIReturn(), 0);
        QCOMPARE(dialog.ExtendedError(), 0);
    }

    void tooLongNameFailsBeforeAnyDialog()
    {
        bool shown = false;
        clsDialog::SetFileDialogRunner([&](const FileDialogRequest&) { shown = true; return FileDialogAnswer{}; });
        clsDialog dialog;
        QString name(261, QLatin1Char('a')), title;
        QVERIFY(!dialog.VBGetOpenFileName(name, title));
        QVERIFY(!shown);
        QCOMPARE(dialog.ExtendedError(), FnErrBufferTooSmall);
        QString exact(260, QLatin1Char('a'));
        QVERIFY(!dialog.VBGetSaveFileName(exact, title));
        QVERIFY(shown);
    }

    void tooLongChoiceFails()
    {
        clsDialog::SetFileDialogRunner([](const FileDialogRequest&) {
            return FileDialogAnswer{true, "/" + QString(300, QLatin1Char('b')), 1, 0};
        });
        clsDialog dialog;
        QString name, title;
        QVERIFY(!dialog.VBGetOpenFileName(name, title));
        QVERIFY(name.isEmpty());
        QCOMPARE(dialog.ExtendedError(), FnErrBufferTooSmall);
    }

    void fileTitle_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("full path") << "/home/u/roms/Vorn (E).nes" << "Vorn (E).nes";
        QTest::newRow("bare name") << "game.NES" << "game.NES";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("folder path") << "/home/u/" << "";
    }
    void fileTitle()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(clsDialog().VBGetFileTitle(path), title);
    }

    void customColours()
    {
        clsDialog dialog;
        QVERIFY(!dialog.CustomColor(16).isValid());
        QVERIFY(!dialog.CustomColor(-1).isValid());
        const QColor before = dialog.CustomColor(0);
        dialog.SetCustomColor(-1, Qt::red);
        QCOMPARE(dialog.CustomColor(0), before);
        dialog.SetCustomColor(3, QColor(1, 2, 3));
        QCOMPARE(dialog.CustomColor(3), QColor(1, 2, 3));
    }
};

QTEST_MAIN(TestDialog)
#include "test_dialog.moc"
