#include "editors/frmPaletteEditor.h"

#include "editors/PaletteSlots.h"
#include "gfx/Metatile.h"
#include "history/EditHistory.h"
#include "rom/ProgramState.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QCloseEvent>
#include <QPointer>

namespace {
constexpr int ClientWidth = 529;
constexpr int ClientHeight = 287;

QPointer<frmPaletteEditor>& Instance()
{
    static QPointer<frmPaletteEditor> editor;
    return editor;
}
}

frmPaletteEditor::frmPaletteEditor(QWidget* owner, MainViewCalls calls)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_calls(std::move(calls))
{
    setWindowTitle(QStringLiteral("Palette Editor"));
    setFixedSize(ClientWidth, ClientHeight);
    buildControls();
    Form_Load();
    // Colours changed anywhere (an undo, a patch) show in the swatches.
    connect(&RomHistory(), &EditHistory::imageChanged, this, [this](const ImageChange& change) {
        if (m_loaded && change.touchesAny(ZoneGraphicsRanges(CurrentLevel())))
            Init();
    });
}

void frmPaletteEditor::buildControls()
{
    const int lefts[8] = {56, 104, 152, 200, 288, 336, 384, 432};
    for (int i = 0; i < SwatchCount; ++i) {
        picLoadedPal[i] = new PictureBox(SwatchSide, SwatchSide, this);
        picLoadedPal[i]->setObjectName(QStringLiteral("picLoadedPal%1").arg(i));
        picLoadedPal[i]->move(lefts[i % 8], i < 8 ? 40 : 88);
        connect(picLoadedPal[i], &PictureBox::mouseDown, this,
                [this, i](int button, Qt::KeyboardModifiers, double, double) {
                    if (button == 1)
                        picLoadedPal_Click(i);
                });
    }
    picPalGrid = new PictureBox(GridColumns * GridCell, GridRows * GridCell, this);
    picPalGrid->setObjectName(QStringLiteral("picPalGrid"));
    picPalGrid->move(8, 144);
    connect(picPalGrid, &PictureBox::mouseDown, this, &frmPaletteEditor::picPalGrid_MouseDown);
}

void frmPaletteEditor::Form_Load()
{
    picPalGrid->canvas().clear();
    picPalGrid->canvas().refresh();
    m_loaded = true;
    m_toldFailure = -1;
    Init();
}

LevelContext frmPaletteEditor::CurrentLevel() const
{
    return LevelContext{RomImage, ZoneTable, CurrentZone};
}

void frmPaletteEditor::Init()
{
    const LevelContext level = CurrentLevel();
    // Colours first, then the four background swatches.
    const int order[SwatchCount] = {1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15, 0, 4, 8, 12};
    for (int i : order) {
        const int colour = ReadPaletteSlot(level, SwatchSlot(i));
        PaintSwatch(picLoadedPal[i]->canvas(), colour);
        picLoadedPal[i]->setToolTip(ColourTooltip(colour));
        picLoadedPal[i]->canvas().refresh();
    }
}

void frmPaletteEditor::picLoadedPal_Click(int Index)
{
    if (Index < 0 || Index >= SwatchCount)
        return;
    Init();
    SelectedSlot = std::int16_t(SwatchSlot(Index));
    SelectedSwatch = std::int16_t(Index);
    const int colour = ReadPaletteSlot(CurrentLevel(), SelectedSlot);
    // A byte that cannot be read frames no grid cell.
    if (colour >= 0) {
        DrawPaletteGrid(picPalGrid->canvas(), GridCellX(colour), GridCellY(colour));
    } else {
        FillPaletteGrid(picPalGrid->canvas());
    }
    picPalGrid->canvas().refresh();
    Canvas& swatch = picLoadedPal[Index]->canvas();
    DrawSelectionFrame(swatch, 0, 0, swatch.width(), swatch.height());
    swatch.refresh();
}

void frmPaletteEditor::picPalGrid_MouseDown(int, Qt::KeyboardModifiers, double X, double Y)
{
    const std::uint8_t colour = GridColourAt(X, Y);
    FillPaletteGrid(picPalGrid->canvas());
    picPalGrid->canvas().refresh();
    ByteWrite write{};
    const SlotWrite written = PaletteSlotWrite(CurrentLevel(), SelectedSlot, colour, write);
    if (written == SlotWrite::Written) {
        const int p = (SelectedSlot - 1) / 3, c = (SelectedSlot - 1) % 3 + 1;
        RomHistory().apply(QStringLiteral("Colour %1 of Palette %2").arg(c).arg(p), {write});
    } else if (written == SlotWrite::OutsideImage) {
        // Told once per zone and slot, not at every click.
        const int failure = CurrentZone * PaletteSlotCount + SelectedSlot;
        if (failure != m_toldFailure) {
            m_toldFailure = failure;
            ShowAppMessage(this, QStringLiteral("The colour bytes of this palette lie outside the "
                                                "cartridge image; nothing was written."));
        }
    }
    if (m_calls.DrawLevel)
        m_calls.DrawLevel();
    if (m_calls.DrawTable)
        m_calls.DrawTable();
    picLoadedPal_Click(SelectedSwatch);
}

void frmPaletteEditor::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_loaded = false;
}

frmPaletteEditor* LoadPaletteEditor(QWidget* owner, const MainViewCalls& calls)
{
    QPointer<frmPaletteEditor>& editor = Instance();
    if (!editor)
        editor = new frmPaletteEditor(owner, calls);
    else if (!editor->IsLoaded())
        editor->Form_Load();
    return editor;
}

frmPaletteEditor* LoadedPaletteEditor()
{
    return Instance();
}
