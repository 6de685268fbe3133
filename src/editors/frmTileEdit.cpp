#include "editors/frmTileEdit.h"

#include "editors/MetatileEdits.h"
#include "editors/PaletteSlots.h"
#include "gfx/Metatile.h"
#include "history/EditHistory.h"
#include "rom/ProgramState.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {
constexpr int ClientWidth = 176;
constexpr int ClientHeight = 306;
const char* const PropertyNames[6] = {"Solid", "Solid (Can Fall Through)", "Shootable",
                                      "Damage Tile", "?", "Hide Behind"};
const char* const QuadrantNames[4] = {"Top Left", "Top Right", "Bottom Left", "Bottom Right"};

QPointer<frmTileEdit>& Instance()
{
    static QPointer<frmTileEdit> editor;
    return editor;
}
}

frmTileEdit::frmTileEdit(QWidget* owner, MainViewCalls calls)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_calls(std::move(calls))
{
    setWindowTitle(QStringLiteral("Tile Editor"));
    setFixedSize(ClientWidth, ClientHeight);
    buildControls();
    Form_Load();
    // Every change of the bytes this editor shows, wherever it was made.
    connect(&RomHistory(), &EditHistory::imageChanged, this, [this](const ImageChange& change) {
        if (change.touchesAny(ZoneGraphicsRanges(CurrentLevel())))
            Refresh();
    });
}

void frmTileEdit::buildControls()
{
    const int columns[4] = {24, 56, 88, 120};
    for (int c = 0; c < 4; ++c) {
        picPal[c] = new PictureBox(16, 16, this);
        picPal[c]->setObjectName(QStringLiteral("picPal%1").arg(c));
        picPal[c]->move(columns[c], 16);
    }

    const QPoint tilePlaces[4] = {{16, 40}, {80, 40}, {16, 184}, {80, 184}};
    for (int k = 0; k < 4; ++k) {
        hsTile[k] = new QScrollBar(Qt::Horizontal, this);
        hsTile[k]->setObjectName(QStringLiteral("hsTile%1").arg(k));
        hsTile[k]->setGeometry(tilePlaces[k].x(), tilePlaces[k].y(), 64, 17);
        hsTile[k]->setRange(0, 255);
        // Dragging writes at every step, as a click does.
        hsTile[k]->setTracking(true);
        connect(hsTile[k], &QScrollBar::valueChanged, this, [this, k] { hsTile_Change(k); });
        // A drag is one step; it is made durable when the bar is let go.
        connect(hsTile[k], &QScrollBar::sliderReleased, this, [] { RomHistory().sync(); });
    }

    picTile = new PictureBox(QuadrantPictureSide, QuadrantPictureSide, this);
    picTile->setObjectName(QStringLiteral("picTile"));
    picTile->move(16, 56);

    vsTile = new QScrollBar(Qt::Vertical, this);
    vsTile->setObjectName(QStringLiteral("vsTile"));
    vsTile->setGeometry(144, 56, 17, 128);
    vsTile->setRange(0, 255);
    vsTile->setTracking(true);
    connect(vsTile, &QScrollBar::valueChanged, this, &frmTileEdit::vsTile_Change);

    m_palettes = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        optPal[i] = new QRadioButton(this);
        optPal[i]->setObjectName(QStringLiteral("optPal%1").arg(i));
        optPal[i]->setGeometry(columns[i], 208, 17, 13);
        m_palettes->addButton(optPal[i], i);
    }
    connect(m_palettes, &QButtonGroup::idToggled, this, [this](int i, bool checked) {
        if (checked && !m_loading)
            optPal_MouseDown(i);
    });

    // The property flags have no place in the attribute byte the level view
    // reads (it holds the four quadrant palettes): shown for their names only.
    for (int b = 0; b < 6; ++b) {
        chkTileProp[b] = new QCheckBox(this);
        chkTileProp[b]->setObjectName(QStringLiteral("chkTileProp%1").arg(b));
        chkTileProp[b]->setGeometry(32 + 16 * (5 - b), 224, 17, 17);
        chkTileProp[b]->setToolTip(QLatin1String(PropertyNames[b]));
        chkTileProp[b]->setEnabled(false);
    }

    cmdRefresh = new QPushButton(QStringLiteral("Refresh Editor"), this);
    cmdRefresh->setObjectName(QStringLiteral("cmdRefresh"));
    cmdRefresh->setGeometry(40, 256, 81, 25);
    // The caption fits the button's fixed width in a small font.
    QFont small = cmdRefresh->font();
    small.setPixelSize(10);
    cmdRefresh->setFont(small);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmTileEdit::cmdRefresh_Click);

    // The quadrant chooser, 2 x 2 like the quadrants, top right.
    m_quadrants = new QButtonGroup(this);
    for (int q = 0; q < 4; ++q) {
        optQuadrant[q] = new QRadioButton(this);
        optQuadrant[q]->setObjectName(QStringLiteral("optQuadrant%1").arg(q));
        optQuadrant[q]->setGeometry(141 + 17 * (q % 2), 10 + 15 * (q / 2), 17, 13);
        optQuadrant[q]->setToolTip(QLatin1String(QuadrantNames[q]));
        m_quadrants->addButton(optQuadrant[q], q);
    }
    connect(m_quadrants, &QButtonGroup::idToggled, this, [this](int q, bool checked) {
        if (checked && !m_loading)
            optQuadrant_Click(q);
    });
}

void frmTileEdit::Form_Load()
{
    // The defaults of a freshly loaded window, then the first refresh.
    m_loading = true;
    vsTile->setValue(0);
    for (QScrollBar* part : hsTile)
        part->setValue(0);
    optQuadrant[0]->setChecked(true);
    m_palettes->setExclusive(false);
    for (QRadioButton* option : optPal)
        option->setChecked(false);
    m_palettes->setExclusive(true);
    m_loading = false;
    Init();
}

LevelContext frmTileEdit::CurrentLevel() const
{
    return LevelContext{RomImage, ZoneTable, CurrentZone};
}

int frmTileEdit::Metatile() const { return vsTile->value(); }

int frmTileEdit::Quadrant() const
{
    const int q = m_quadrants->checkedId();
    return q < 0 ? 0 : q;
}

void frmTileEdit::Init()
{
    m_failureShown = false;
    Refresh();
}

void frmTileEdit::vsTile_Change()
{
    if (m_loading)
        return;
    m_failureShown = false;
    Refresh();
}

void frmTileEdit::optQuadrant_Click(int Index)
{
    if (Index < 0 || Index >= QuadrantCount)
        return;
    optQuadrant[Index]->setChecked(true);
    m_failureShown = false;
    Refresh();
}

void frmTileEdit::Refresh()
{
    // Loading the controls writes nothing into the image.
    const bool wasLoading = m_loading;
    m_loading = true;
    const LevelContext level = CurrentLevel();
    const int m = Metatile(), q = Quadrant();
    for (int k = 0; k < QuadrantTiles; ++k)
        hsTile[k]->setValue(std::max(0, ReadQuadrantTile(level, m, q, k)));
    const int palette = ReadQuadrantPalette(level, m, q);
    if (palette >= 0) {
        optPal[palette]->setChecked(true);
    } else {
        m_palettes->setExclusive(false);
        for (QRadioButton* option : optPal)
            option->setChecked(false);
        m_palettes->setExclusive(true);
    }
    m_loading = wasLoading;
    ShowSwatches();
    DrawTilePreview();
}

void frmTileEdit::ShowSwatches()
{
    const std::optional<ZonePalette> colours = QuadrantColours(CurrentLevel(), Metatile(), Quadrant());
    for (int c = 0; c < 4; ++c) {
        const int colour = colours ? (*colours)[std::size_t(c)] : -1;
        PaintSwatch(picPal[c]->canvas(), colour);
        picPal[c]->setToolTip(ColourTooltip(colour));
        picPal[c]->canvas().refresh();
    }
}

void frmTileEdit::DrawTilePreview()
{
    Canvas& picture = picTile->canvas();
    DrawTileBlock(CurrentLevel(), picture, Metatile(), Quadrant(), EditorScale);
    DrawTileBlockGrid(picture);
    picture.refresh();
}

void frmTileEdit::WriteFailed()
{
    if (m_failureShown)
        return;
    m_failureShown = true;
    ShowAppMessage(this, QStringLiteral("Metatile %1 of this zone lies outside the cartridge image; "
                                        "nothing was written.")
                             .arg(QString::number(Metatile(), 16).toUpper()));
}

namespace {
QString Hex(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
// Merge keys: successive changes of one control on the same bytes are one step.
constexpr int TilePartControl = 1;
}

void frmTileEdit::hsTile_Change(int Index)
{
    if (m_loading || Index < 0 || Index >= QuadrantTiles)
        return;
    const int m = Metatile(), q = Quadrant();
    const auto write = QuadrantTileWrite(CurrentLevel(), m, q, Index, std::uint8_t(hsTile[Index]->value()));
    if (!write) {
        WriteFailed();
    } else {
        RomHistory().apply(QStringLiteral("Tile %1 of Metatile %2").arg(QuadrantTilePosition(q, Index)).arg(Hex(m)),
                           {*write}, EditHistory::ControlKey(TilePartControl, CurrentZone, m, q, Index));
        if (!hsTile[Index]->isSliderDown())
            RomHistory().sync();
    }
    Refresh();
}

void frmTileEdit::optPal_MouseDown(int Index)
{
    if (Index < 0 || Index >= 4)
        return;
    const int m = Metatile(), q = Quadrant();
    const auto write = QuadrantPaletteWrite(CurrentLevel(), m, q, Index);
    if (!write)
        WriteFailed();
    else
        RomHistory().apply(QStringLiteral("Palette of Metatile %1").arg(Hex(m)), {*write});
    Refresh();
}

void frmTileEdit::cmdRefresh_Click()
{
    if (m_calls.DrawLevel)
        m_calls.DrawLevel();
    if (m_calls.DrawTable)
        m_calls.DrawTable();
}

void frmTileEdit::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
    Form_Load();
}

frmTileEdit* LoadTileEdit(QWidget* owner, const MainViewCalls& calls)
{
    QPointer<frmTileEdit>& editor = Instance();
    if (!editor)
        editor = new frmTileEdit(owner, calls);
    return editor;
}

frmTileEdit* LoadedTileEdit()
{
    return Instance();
}

void ShowTileEdit(frmTileEdit* editor)
{
    if (!editor)
        return;
    static QPointer<frmTileEdit> placed;
    QWidget* owner = editor->parentWidget();
    if (placed != editor && owner) {
        editor->move(owner->frameGeometry().topRight() + QPoint(8, 0));
        placed = editor;
    }
    editor->show();
    editor->raise();
    editor->activateWindow();
}
