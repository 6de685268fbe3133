// The windows on a scaled screen (run once per QT_SCALE_FACTOR, see
// CMakeLists.txt): pictures stay crisp, clicks land in the cells the
// rounding rules give in logical pixels, and every text fits its control.
#include "desktop/AppIcon.h"
#include "editors/frmPaletteEditor.h"
#include "editors/frmTileEdit.h"
#include "editors/PaletteSlots.h"
#include "level/RoomLayout.h"
#include "password/frmPassword.h"
#include "demo/DemoCartridge.h"
#include "rom/ProgramState.h"
#include "sheets/frmMetatileSheet.h"
#include "sheets/frmZoneOverview.h"
#include "shell/frmAbout.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"
#include "widgets/SheetWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <cmath>

#include "../fixtures/FileFixture.h"

// Qt's own entry for test mouse events on a window: `local` is in logical
// pixels and is multiplied by the window's scale factor on the way in, just
// as a pointer position in screen pixels would arrive from the system.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace {

double ScaleFactor()
{
    const QByteArray text = qgetenv("QT_SCALE_FACTOR");
    return text.isEmpty() ? 1.0 : text.toDouble();
}

// True when every screen pixel of `shot` inside the picture (whose top-left
// corner is at screen pixel `origin`) shows the colour of one of the picture
// pixels it covers: nearest-neighbour scaling passes, any smoothing that
// mixes neighbours of different colours fails. `where` names the first
// pixel that failed.
bool Crisp(const QImage& shot, QPoint origin, const QImage& picture, double factor, QString* where)
{
    const int w = int(std::lround(picture.width() * factor));
    const int h = int(std::lround(picture.height() * factor));
    for (int dy = 0; dy < h; ++dy) {
        const int y0 = std::min(int(std::floor(dy / factor)), picture.height() - 1);
        const int y1 = std::min(int(std::ceil((dy + 1) / factor)) - 1, picture.height() - 1);
        for (int dx = 0; dx < w; ++dx) {
            const int x0 = std::min(int(std::floor(dx / factor)), picture.width() - 1);
            const int x1 = std::min(int(std::ceil((dx + 1) / factor)) - 1, picture.width() - 1);
            const QRgb seen = shot.pixel(origin.x() + dx, origin.y() + dy) & 0xFFFFFF;
            bool found = false;
            for (int y = y0; y <= y1 && !found; ++y)
                for (int x = x0; x <= x1 && !found; ++x)
                    found = (picture.pixel(x, y) & 0xFFFFFF) == seen;
            if (!found) {
                *where = QStringLiteral("screen pixel (%1, %2) shows %3").arg(dx).arg(dy).arg(seen, 6, 16, QLatin1Char('0'));
                return false;
            }
        }
    }
    return true;
}

// Text of a control as it is drawn: mnemonic marks removed.
QString Shown(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// Width that `text` needs in `widget`'s font, in logical pixels.
double Needed(const QWidget* widget, const QString& text)
{
    return QFontMetricsF(widget->font()).horizontalAdvance(Shown(text));
}

// Every problem of a text that does not fit its control, for the window
// `top` and its children.
QStringList Unfitted(QWidget* top)
{
    QStringList problems;
    auto tell = [&](const QWidget* w, const QString& text, double need, double room) {
        problems << QStringLiteral("%1 \"%2\": needs %3 px, has %4").arg(w->objectName(), text).arg(need).arg(room);
    };
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* w : widgets) {
        if (w->window() != top || !w->isVisibleTo(top))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || label->pixmap().isNull() == false)
                continue;
            const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                              -label->margin(), -label->margin());
            if (label->wordWrap()) {
                const QRect need = label->fontMetrics().boundingRect(room, Qt::TextWordWrap | int(label->alignment()),
                                                                     label->text());
                if (need.height() > room.height())
                    tell(label, label->text(), need.height(), room.height());
            } else {
                // Lines end at a carriage return or a line feed.
                const QStringList lines = label->text().split(QRegularExpression(QStringLiteral("\r\n|[\r\n]")));
                for (const QString& line : lines)
                    if (Needed(label, line) > room.width())
                        tell(label, line, Needed(label, line), room.width());
                const int height = label->fontMetrics().height() + (int(lines.size()) - 1) * label->fontMetrics().lineSpacing();
                if (height > room.height())
                    tell(label, label->text() + QStringLiteral(" (height)"), height, room.height());
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            // The label is drawn one pixel inside the field on each side.
            for (int i = 0; i < combo->count(); ++i)
                if (Needed(combo, combo->itemText(i)) > field.width() - 2)
                    tell(combo, combo->itemText(i), Needed(combo, combo->itemText(i)), field.width() - 2);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->text().isEmpty())
                continue;
            QStyle::SubElement contents = QStyle::SE_PushButtonContents;
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            if (qobject_cast<QCheckBox*>(button))
                contents = QStyle::SE_CheckBoxContents;
            else if (qobject_cast<QRadioButton*>(button))
                contents = QStyle::SE_RadioButtonContents;
            const QRect room = button->style()->subElementRect(contents, &option, button);
            if (Needed(button, button->text()) > room.width())
                tell(button, button->text(), Needed(button, button->text()), room.width());
            if (button->fontMetrics().height() > button->height())
                tell(button, button->text() + QStringLiteral(" (height)"), button->fontMetrics().height(),
                     button->height());
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, box);
            if (Needed(box, box->title()) > box->width() - label.left())
                tell(box, box->title(), Needed(box, box->title()), box->width() - label.left());
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            // Room for the longest text the box takes, in its own font.
            const QString widest(edit->maxLength() <= 8 ? edit->maxLength() : 8, QLatin1Char('W'));
            const double need = Needed(edit, widest);
            const double room = edit->contentsRect().width() - 4;   // the box's own text margins
            if (need > room)
                tell(edit, widest, need, room);
        }
    }
    return problems;
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_demo;
    QList<MessageRequest> m_messages;

    // The main window with the demo cartridge open, zone 3 shown and both
    // grids on; metatile `selected` picked in the selector.
    void openDemo(frmVornEd& w, int selected = 0x2A)
    {
        QVERIFY(w.OpenRomPath(m_demo));
        w.mnuStageSelect[2]->trigger();
        w.mnuGrid[0]->trigger();
        w.mnuGrid[1]->trigger();
        w.hsTable->setValue(selected / 4);
        w.picTile_MouseDown(1, {}, 10, (selected % 4) * 64 + 10);
        QCOMPARE(w.SelectedMetatile(), selected);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

    // A left click at screen pixel `device` of `window`'s top-left corner,
    // delivered as the system delivers a pointer press and release.
    static void clickAtScreenPixel(QWidget* window, QPointF device)
    {
        QWindow* handle = window->windowHandle();
        const QPointF local = device / handle->devicePixelRatio();
        const QPointF global = handle->mapToGlobal(QPoint(0, 0)) + local;
        qt_handleMouseEvent(handle, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress,
                            Qt::NoModifier, 0);
        qt_handleMouseEvent(handle, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                            Qt::NoModifier, 1);
    }

private slots:
    void initTestCase()
    {
        m_demo = m_dir.filePath(QStringLiteral("demo.nes"));
        const RomBytes demo = MakeDemoCartridge();
        QVERIFY(WriteFile(m_demo, QByteArray(reinterpret_cast<const char*>(demo.data()), qsizetype(demo.size()))));
        SetMessageResponder([this](const MessageRequest& m) {
            m_messages << m;
            return QMessageBox::Ok;
        });
        frmVornEd::EndProgram() = [] {};
    }

    void init()
    {
        ResetProgramState();
        m_messages.clear();
    }

    void runsAtTheRequestedScale()
    {
        frmVornEd w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.devicePixelRatioF(), ScaleFactor());
    }

    // The check below must tell smoothed pictures from crisp ones, or it
    // proves nothing: a picture drawn with smoothing fails it at any scale
    // that is not a whole number.
    void crispCheckRejectsSmoothing()
    {
        const double f = ScaleFactor();
        if (f == std::floor(f))
            QSKIP("whole-number scales have nothing between two pixels to smooth");
        QImage picture(32, 32, QImage::Format_RGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                picture.setPixel(x, y, (x + y) % 2 ? 0xFFFFFF : 0x000000);
        QImage shot(int(std::lround(32 * f)), int(std::lround(32 * f)), QImage::Format_RGB32);
        shot.fill(Qt::red);
        {
            QPainter painter(&shot);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.scale(f, f);
            painter.drawImage(0, 0, picture);
        }
        QString where;
        QVERIFY(!Crisp(shot, {0, 0}, picture, f, &where));
    }

    void picturesAreCrisp_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("level view") << "picEditor";
        QTest::newRow("tile selector") << "picTile";
        QTest::newRow("preview") << "picSelectedTile";
        QTest::newRow("tile editor quadrant") << "frmTileEdit/picTile";
        QTest::newRow("tile editor swatch") << "frmTileEdit/picPal1";
        QTest::newRow("palette editor swatch") << "frmPaletteEditor/picLoadedPal5";
        QTest::newRow("palette editor grid") << "frmPaletteEditor/picPalGrid";
        QTest::newRow("metatile sheet") << "frmMetatileSheet";
        QTest::newRow("zone overview") << "frmZoneOverview";
    }
    void picturesAreCrisp()
    {
        QFETCH(QString, picture);
        const double f = ScaleFactor();
        frmVornEd w;
        openDemo(w);
        QWidget* top = &w;
        PictureBox* box = nullptr;
        if (picture.startsWith(QLatin1String("frmTileEdit/"))) {
            w.cmdEditTile->click();
            top = LoadedTileEdit();
        } else if (picture.startsWith(QLatin1String("frmPaletteEditor/"))) {
            w.mnuPalette_Click();
            frmPaletteEditor* editor = LoadedPaletteEditor();
            editor->picLoadedPal_Click(5);   // frames a grid cell too
            top = editor;
        } else if (picture == QLatin1String("frmMetatileSheet")) {
            w.mnuMetatileSheet->trigger();
            top = w.MetatileSheet();
        } else if (picture == QLatin1String("frmZoneOverview")) {
            w.mnuZoneOverview->trigger();
            top = w.ZoneOverview();
        }
        QVERIFY(top);
        QVERIFY(QTest::qWaitForWindowExposed(top));
        if (auto* sheet = qobject_cast<SheetWindow*>(top))
            box = sheet->picture();
        else
            box = top->findChild<PictureBox*>(picture.section(QLatin1Char('/'), -1));
        QVERIFY(box);

        // The picture's corner falls on a whole screen pixel.
        const QPoint logical = box->mapTo(top, QPoint(0, 0));
        const QPointF corner = QPointF(logical) * f;
        QCOMPARE(corner, QPointF(std::round(corner.x()), std::round(corner.y())));

        const QImage shot = top->grab().toImage();
        QCOMPARE(shot.width(), int(std::lround(top->width() * f)));
        QString where;
        QVERIFY2(Crisp(shot, corner.toPoint(), box->canvas().image(), f, &where), qPrintable(where));
    }

    // The program's icon in the About box is drawn from the size made for
    // the screen's scale, pixel for pixel.
    void aboutIconIsCrisp()
    {
        const double f = ScaleFactor();
        const int side = int(std::lround(32 * f));
        if (std::find(AppIconSizes().begin(), AppIconSizes().end(), side) == AppIconSizes().end())
            QSKIP("no icon size is made for this scale");
        QApplication::setWindowIcon(AppIcon());
        frmAbout box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* icon = box.findChild<QLabel*>(QStringLiteral("picIcon"));
        QVERIFY(icon);
        const QPoint corner = (QPointF(icon->mapTo(&box, QPoint(0, 0))) * f).toPoint();
        const QImage shot = box.grab().toImage();
        const QImage expected = DrawAppIcon(side);
        QApplication::setWindowIcon(QIcon());
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (qAlpha(expected.pixel(x, y)) == 255
                    && (shot.pixel(corner.x() + x, corner.y() + y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF))
                    QFAIL(qPrintable(QStringLiteral("icon pixel (%1, %2) differs").arg(x).arg(y)));
    }

    // Positions in screen pixels of the window; the expected cell follows
    // from the logical position rounded half to even and divided by the
    // cell size.
    void levelClicksMapToCells_data()
    {
        QTest::addColumn<QPointF>("logical");   // position in the level view
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("(130, 70)") << QPointF(130, 70) << 2 << 1;
        QTest::newRow("x 63 is column 0") << QPointF(63, 10) << 0 << 0;
        QTest::newRow("x 63.5 rounds to 64: column 1") << QPointF(63.5, 10) << 1 << 0;
        QTest::newRow("x 63.25 rounds to 63: column 0") << QPointF(63.25, 10) << 0 << 0;
        QTest::newRow("x 64.5 rounds to 64: column 1") << QPointF(64.5, 10) << 1 << 0;
        QTest::newRow("x 127.75 rounds to 128: column 2") << QPointF(127.75, 10) << 2 << 0;
        QTest::newRow("y 383 is row 5") << QPointF(10, 383) << 0 << 5;
        QTest::newRow("y 383.25 is row 5") << QPointF(10, 383.25) << 0 << 5;
        QTest::newRow("x 511.25, last column") << QPointF(511.25, 200) << 7 << 3;
    }
    void levelClicksMapToCells()
    {
        QFETCH(QPointF, logical);
        QFETCH(int, column);
        QFETCH(int, row);
        const double f = ScaleFactor();
        frmVornEd w;
        openDemo(w, 0x2A);
        const int room = 5;
        w.hLevel_Frames->setValue(room);
        const std::int32_t start = RoomLayoutOffset(LevelContext{RomImage, ZoneTable, CurrentZone}, room);
        QVERIFY(start >= 0);
        // Every cell holds another metatile first.
        for (int i = 0; i < RoomColumns * RoomRows; ++i)
            QVERIFY(RomImage.write(start + i, 0x01));
        const RomBytes before = RomImage;

        const QPointF device = (QPointF(w.picEditor->mapTo(&w, QPoint(0, 0))) + logical) * f;
        clickAtScreenPixel(&w, device);

        const std::int64_t expected = start + RoomCellIndex({column, row});
        QCOMPARE(RomImage.read(expected), 0x2A);
        for (std::int64_t i = 0; i < std::int64_t(RomImage.size()); ++i)
            if (i != expected && RomImage.read(i) != before.read(i))
                QFAIL(qPrintable(QStringLiteral("byte 0x%1 changed too").arg(i, 0, 16)));
        QVERIFY(m_messages.isEmpty());
    }

    void selectorClicksMapToCells_data()
    {
        QTest::addColumn<double>("y");   // logical position in the selector
        QTest::addColumn<int>("cell");
        QTest::newRow("y 10") << 10.0 << 0;
        QTest::newRow("y 63.5 rounds to 64: cell 1") << 63.5 << 1;
        QTest::newRow("y 63.25 rounds to 63: cell 0") << 63.25 << 0;
        QTest::newRow("y 191.5 rounds to 192: cell 3") << 191.5 << 3;
        QTest::newRow("y 255.25, last cell") << 255.25 << 3;
    }
    void selectorClicksMapToCells()
    {
        QFETCH(double, y);
        QFETCH(int, cell);
        const double f = ScaleFactor();
        frmVornEd w;
        openDemo(w, 0);
        w.hsTable->setValue(7);
        const QPointF device = (QPointF(w.picTile->mapTo(&w, QPoint(0, 0))) + QPointF(30, y)) * f;
        clickAtScreenPixel(&w, device);
        QCOMPARE(w.SelectedMetatile(), 4 * 7 + cell);
    }

    void paletteGridClicksMapToCells_data()
    {
        QTest::addColumn<QPointF>("logical");   // position in the grid
        QTest::addColumn<int>("colour");
        QTest::newRow("(40, 10): colour 1") << QPointF(40, 10) << 0x01;
        QTest::newRow("x 31.5 rounds to 32: colour 1") << QPointF(31.5, 10) << 0x01;
        QTest::newRow("x 31.25 rounds to 31: colour 0") << QPointF(31.25, 10) << 0x00;
        QTest::newRow("y 95.5 rounds to 96: row 3") << QPointF(10, 95.5) << 0x30;
        QTest::newRow("bottom right corner") << QPointF(511.25, 127.25) << 0x3F;
    }
    void paletteGridClicksMapToCells()
    {
        QFETCH(QPointF, logical);
        QFETCH(int, colour);
        const double f = ScaleFactor();
        frmVornEd w;
        openDemo(w);
        w.mnuPalette_Click();
        frmPaletteEditor* editor = LoadedPaletteEditor();
        QVERIFY(editor && QTest::qWaitForWindowExposed(editor));
        const int swatch = 5;
        editor->picLoadedPal_Click(swatch);
        const std::int64_t at = PaletteSlotOffset(LevelContext{RomImage, ZoneTable, CurrentZone}, SwatchSlot(swatch));
        QVERIFY(at >= 0);
        QVERIFY(RomImage.write(at, 0x2D));
        const QPointF device = (QPointF(editor->picPalGrid->mapTo(editor, QPoint(0, 0))) + logical) * f;
        clickAtScreenPixel(editor, device);
        QCOMPARE(RomImage.read(at), colour);
    }

    // A sheet window: its cells drawn pixel for pixel, presses and hovers
    // given the cell the rounding rule names for the logical position.
    void sheetWindowAtScale_data()
    {
        QTest::addColumn<QPointF>("logical");   // position in the sheet
        QTest::addColumn<int>("cell");
        QTest::newRow("(40, 10): cell 1") << QPointF(40, 10) << 1;
        QTest::newRow("x 31.5 rounds to 32: cell 1") << QPointF(31.5, 10) << 1;
        QTest::newRow("x 31.25 rounds to 31: cell 0") << QPointF(31.25, 10) << 0;
        QTest::newRow("y 63.5 rounds to 64: row 2") << QPointF(10, 63.5) << 16 * 2;
        QTest::newRow("last cell") << QPointF(511.25, 127.25) << 16 * 4 - 1;
    }
    void sheetWindowAtScale()
    {
        QFETCH(QPointF, logical);
        QFETCH(int, cell);
        const double f = ScaleFactor();
        QWidget owner;
        SheetWindow sheet(&owner, QStringLiteral("Sheet"), SheetLayout{16, 4, 32, 32});
        // Every cell its own colour, with a one-pixel line of another.
        Canvas& canvas = sheet.canvas();
        for (int i = 0; i < 64; ++i) {
            const int x = sheet.layout().cellX(i), y = sheet.layout().cellY(i);
            for (int dy = 0; dy < 32; ++dy)
                canvas.line(x, y + dy, x + 32, y + dy, qRgb(4 * i, 255 - 4 * i, (i * 37) & 0xFF));
            canvas.line(x + 5, y, x + 5, y + 32, qRgb(255, 255, 255));
        }
        canvas.refresh();
        sheet.setInfo(QStringLiteral("Metatile 3F: tiles 10 11 12 13, palette 2"));
        QList<int> pressed, hovered;
        connect(&sheet, &SheetWindow::cellPressed, this, [&](int index, int button) {
            if (button == 1)
                pressed << index;
        });
        connect(&sheet, &SheetWindow::cellHovered, this, [&](int index) { hovered << index; });
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));

        const QPointF origin = QPointF(sheet.picture()->mapTo(&sheet, QPoint(0, 0))) * f;
        QCOMPARE(origin, QPointF(std::round(origin.x()), std::round(origin.y())));
        QString where;
        QVERIFY2(Crisp(sheet.grab().toImage(), origin.toPoint(), canvas.image(), f, &where), qPrintable(where));

        QWindow* handle = sheet.windowHandle();
        const QPointF device = (QPointF(sheet.picture()->mapTo(&sheet, QPoint(0, 0))) + logical) * f;
        const QPointF local = device / handle->devicePixelRatio();
        const QPointF global = handle->mapToGlobal(QPoint(0, 0)) + local;
        qt_handleMouseEvent(handle, local, global, Qt::NoButton, Qt::NoButton, QEvent::MouseMove, Qt::NoModifier, 0);
        clickAtScreenPixel(&sheet, device);
        QCOMPARE(pressed, QList<int>{cell});
        QVERIFY(!hovered.isEmpty());
        QCOMPARE(hovered.last(), cell);
        const QStringList problems = Unfitted(&sheet);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    void textsFitTheirControls_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main window") << "main";
        QTest::newRow("tile editor") << "tile";
        QTest::newRow("palette editor") << "palette";
        QTest::newRow("password window") << "password";
        QTest::newRow("About box") << "about";
    }
    void textsFitTheirControls()
    {
        QFETCH(QString, window);
        frmVornEd w;
        openDemo(w);
        QWidget* top = &w;
        std::unique_ptr<QWidget> owned;
        if (window == "tile") {
            w.cmdEditTile->click();
            top = LoadedTileEdit();
        } else if (window == "palette") {
            w.mnuPalette_Click();
            top = LoadedPaletteEditor();
        } else if (window == "password") {
            w.mnuGenerator->trigger();
            top = w.findChild<frmPassword*>();
        } else if (window == "about") {
            owned = std::make_unique<frmAbout>(&w);
            top = owned.get();
            top->show();
        }
        QVERIFY(top);
        QVERIFY(QTest::qWaitForWindowExposed(top));
        const QStringList problems = Unfitted(top);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    // "ID Aquired", the longest entry of the progress lists, is drawn whole:
    // the list shows it in a font whose text fits the field.
    void passwordProgressListShowsWholeEntry()
    {
        frmVornEd w;
        w.show();
        w.mnuGenerator->trigger();
        auto* password = w.findChild<frmPassword*>();
        QVERIFY(password);
        QVERIFY(QTest::qWaitForWindowExposed(password));
        for (QComboBox* list : password->cboSectorProgress) {
            QCOMPARE(list->itemText(1), QStringLiteral("ID Aquired"));
            list->setCurrentIndex(1);
            QCOMPARE(list->geometry().size(), QSize(1215 / 15, 315 / 15));
        }
        const QStringList problems = Unfitted(password);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(TestHighDpi)
#include "test_high_dpi.moc"
