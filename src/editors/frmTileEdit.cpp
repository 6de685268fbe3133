#include "editors/frmTileEdit.h"

#include "editors/PaletteSlots.h"
#include "gfx/Grid.h"
#include "gfx/Metatile.h"
#include "gfx/TilePixels.h"
#include "gfx/TileSheet.h"
#include "history/EditHistory.h"
#include "rom/ProgramState.h"
#include "uses/MetatileUses.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"
#include "widgets/SheetWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// The specified window is 176 x 306; the panel of explanations sits to its right.
constexpr int SpecifiedWidth = 176;
constexpr int ClientWidth = 364;
constexpr int ClientHeight = 306;
constexpr int PanelLeft = SpecifiedWidth + 8;
constexpr int PanelWidth = ClientWidth - PanelLeft - 4;
constexpr int TileSheetScale = 3;
const char* const PropertyNames[6] = {"Solid", "Solid (Can Fall Through)", "Shootable",
                                      "Damage Tile", "?", "Hide Behind"};
const char* const QuadrantNames[4] = {"Top Left", "Top Right", "Bottom Left", "Bottom Right"};
const char* const PartNames[4] = {"top-left", "top-right", "bottom-left", "bottom-right"};
// Why the property boxes are greyed, after each flag's name.
const char* const FlagsNotStored =
    " (not stored: the zone's attribute byte holds the four quadrant palettes, so this flag has "
    "nowhere to live in the image)";

QPointer<frmTileEdit>& Instance()
{
    static QPointer<frmTileEdit> editor;
    return editor;
}

QString Hex(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

// "2A, 2B, 30" and at most `limit` numbers, then "...".
QString HexList(const std::vector<int>& numbers, std::size_t limit)
{
    QStringList shown;
    for (std::size_t i = 0; i < numbers.size() && i < limit; ++i)
        shown << Hex(numbers[i]);
    QString text = shown.join(QStringLiteral(", "));
    if (numbers.size() > limit)
        text += QStringLiteral(", ...");
    return text;
}

QLabel* SmallLabel(QWidget* parent, const char* name, const QRect& place, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    QFont small = label->font();
    small.setPixelSize(10);
    label->setFont(small);
    return label;
}

// A preview pixel as a point of the 16 x 16 tile pixel grid of the quadrant, and back.
std::pair<int, int> PreviewGridPoint(const PreviewPixel& pixel)
{
    return {(pixel.Part % 2) * TileSide + pixel.Column, (pixel.Part / 2) * TileSide + pixel.Row};
}
PreviewPixel PreviewPixelOf(int x, int y)
{
    return PreviewPixel{(y / TileSide) * 2 + x / TileSide, y % TileSide, x % TileSide};
}

// Red text where an edit changes more than one place; the style is only
// set when it changes (setting it restyles the label).
void ShowAsWarning(QLabel* label, bool warning)
{
    const QString style = warning ? QStringLiteral("color: #A00000;") : QString();
    if (label->styleSheet() != style)
        label->setStyleSheet(style);
}

// Merge keys: successive changes of one control on the same bytes are one step.
constexpr int TilePartControl = 1;
}

frmTileEdit::frmTileEdit(QWidget* owner, MainViewCalls calls)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_calls(std::move(calls))
{
    setWindowTitle(QStringLiteral("Tile Editor"));
    setFixedSize(ClientWidth, ClientHeight);
    buildControls();
    buildPanel();
    Form_Load();
    // Every change of the bytes this editor shows, wherever it was made; a
    // change of the rooms only changes where the metatile is used.
    m_usesLater.setSingleShot(true);
    m_usesLater.setInterval(0);
    connect(&m_usesLater, &QTimer::timeout, this, &frmTileEdit::ShowPartsAndUses);
    connect(&RomHistory(), &EditHistory::imageChanged, this, [this](const ImageChange& change) {
        if (change.touchesAny(ZoneGraphicsRanges(CurrentLevel())))
            Refresh();
        else
            m_usesLater.start();
    });
}

void frmTileEdit::buildControls()
{
    const int columns[4] = {24, 56, 88, 120};
    for (int c = 0; c < 4; ++c) {
        picPal[c] = new PictureBox(16, 16, this);
        picPal[c]->setObjectName(QStringLiteral("picPal%1").arg(c));
        picPal[c]->move(columns[c], 16);
        connect(picPal[c], &PictureBox::mouseDown, this, [this, c] { picPal_MouseDown(c); });
    }

    const QPoint tilePlaces[4] = {{16, 40}, {80, 40}, {16, 184}, {80, 184}};
    for (int k = 0; k < 4; ++k) {
        hsTile[k] = new QScrollBar(Qt::Horizontal, this);
        hsTile[k]->setObjectName(QStringLiteral("hsTile%1").arg(k));
        hsTile[k]->setGeometry(tilePlaces[k].x(), tilePlaces[k].y(), 64, 17);
        hsTile[k]->setRange(0, 255);
        // Dragging writes at every step, as a click does.
        hsTile[k]->setTracking(true);
        hsTile[k]->installEventFilter(this);
        connect(hsTile[k], &QScrollBar::valueChanged, this, [this, k] { hsTile_Change(k); });
        // A drag is one step; it is made durable when the bar is let go.
        connect(hsTile[k], &QScrollBar::sliderReleased, this, [] { RomHistory().sync(); });
    }

    picTile = new PictureBox(QuadrantPictureSide, QuadrantPictureSide, this);
    picTile->setObjectName(QStringLiteral("picTile"));
    picTile->move(16, 56);
    picTile->setCursor(Qt::CrossCursor);
    connect(picTile, &PictureBox::mouseDown, this, &frmTileEdit::picTile_MouseDown);
    connect(picTile, &PictureBox::mouseMove, this, &frmTileEdit::picTile_MouseMove);
    connect(picTile, &PictureBox::mouseUp, this, &frmTileEdit::picTile_MouseUp);

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
        // The write happens on the press (eventFilter), with any button.
        optPal[i]->installEventFilter(this);
        m_palettes->addButton(optPal[i], i);
    }
    // A toggle that no press made (keys, release) writes nothing: the
    // options go back to the palette the image holds.
    connect(m_palettes, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked && !m_loading)
            Refresh();
    });

    // The property flags have no place in the attribute byte the level view
    // reads (it holds the four quadrant palettes): shown for their names only.
    for (int b = 0; b < 6; ++b) {
        chkTileProp[b] = new QCheckBox(this);
        chkTileProp[b]->setObjectName(QStringLiteral("chkTileProp%1").arg(b));
        chkTileProp[b]->setGeometry(32 + 16 * (5 - b), 224, 17, 17);
        chkTileProp[b]->setToolTip(QLatin1String(PropertyNames[b]) + QLatin1String(FlagsNotStored));
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
}

void frmTileEdit::buildPanel()
{
    // Each part's tile number in hex, outside its bar.
    const QRect tileLabels[4] = {{0, 42, 16, 13}, {146, 42, 28, 13}, {0, 186, 16, 13}, {146, 186, 28, 13}};
    for (int k = 0; k < 4; ++k) {
        lblTile[k] = SmallLabel(this, "lblTile", tileLabels[k]);
        lblTile[k]->setObjectName(QStringLiteral("lblTile%1").arg(k));
        lblTile[k]->setAlignment(Qt::AlignCenter);
        lblTile[k]->setToolTip(QStringLiteral("Tile number of the %1 part (hexadecimal); the framed part is the "
                                              "one a click in the tile sheet sets")
                                   .arg(QLatin1String(PartNames[k])));
    }
    lblPen = SmallLabel(this, "lblPen", {0, 18, 24, 12}, QStringLiteral("Pen"));
    lblPen->setAlignment(Qt::AlignCenter);
    lblPen->setToolTip(QStringLiteral("Click a swatch to choose the colour the left button draws with"));
    // The palette options' numbers beside them, then what they are.
    const int columns[4] = {24, 56, 88, 120};
    for (int i = 0; i < 4; ++i) {
        lblPalNumber[i] = SmallLabel(this, "lblPalNumber", {columns[i] + 17, 208, 12, 13}, QString::number(i));
        lblPalNumber[i]->setObjectName(QStringLiteral("lblPalNumber%1").arg(i));
    }
    lblPalette = SmallLabel(this, "lblPalette", {152, 207, 140, 14}, QStringLiteral("Palette of the quadrant"));
    lblFlags = SmallLabel(this, "lblFlags", {132, 226, 160, 14}, QStringLiteral("Flags: not stored (see tips)"));
    lblFlags->setToolTip(QString::fromUtf8(FlagsNotStored).trimmed().mid(1).chopped(1));

    lblMetatile = SmallLabel(this, "lblMetatile", {PanelLeft, 4, PanelWidth, 16});
    QFont bold = lblMetatile->font();
    bold.setBold(true);
    lblMetatile->setFont(bold);

    lblQuadrant = SmallLabel(this, "lblQuadrant", {PanelLeft, 22, PanelWidth, 14},
                             QStringLiteral("Quadrant (2 x 2 tiles) edited:"));
    // The quadrant chooser, 2 x 2 like the quadrants.
    m_quadrants = new QButtonGroup(this);
    for (int q = 0; q < 4; ++q) {
        optQuadrant[q] = new QRadioButton(QLatin1String(QuadrantNames[q]), this);
        optQuadrant[q]->setObjectName(QStringLiteral("optQuadrant%1").arg(q));
        optQuadrant[q]->setGeometry(PanelLeft + (PanelWidth / 2) * (q % 2), 38 + 18 * (q / 2), PanelWidth / 2, 16);
        optQuadrant[q]->setFont(lblQuadrant->font());
        optQuadrant[q]->setToolTip(QLatin1String(QuadrantNames[q]));
        m_quadrants->addButton(optQuadrant[q], q);
    }
    connect(m_quadrants, &QButtonGroup::idToggled, this, [this](int q, bool checked) {
        if (checked && !m_loading)
            optQuadrant_Click(q);
    });

    cmdTileSheet = new QPushButton(QStringLiteral("Tile Sheet..."), this);
    cmdTileSheet->setObjectName(QStringLiteral("cmdTileSheet"));
    cmdTileSheet->setGeometry(PanelLeft, 78, 96, 22);
    cmdTileSheet->setFont(lblQuadrant->font());
    cmdTileSheet->setToolTip(QStringLiteral("The zone's 256 tiles: a click gives the framed part that tile"));
    connect(cmdTileSheet, &QPushButton::clicked, this, &frmTileEdit::cmdTileSheet_Click);

    lblDraw = SmallLabel(this, "lblDraw", {PanelLeft, 104, PanelWidth, 40},
                         QStringLiteral("Left button: draw tile pixels with the pen. Right button: take a "
                                        "pixel's colour and choose its part."));
    lblDraw->setWordWrap(true);
    lblUses = SmallLabel(this, "lblUses", {PanelLeft, 146, PanelWidth, 58});
    lblUses->setWordWrap(true);
    lblUses->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTileUses = SmallLabel(this, "lblTileUses", {PanelLeft, 244, PanelWidth, 58});
    lblTileUses->setWordWrap(true);
    lblTileUses->setAlignment(Qt::AlignLeft | Qt::AlignTop);
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
    m_pen = 1;
    m_part = 0;
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
    EndStroke();
    Refresh();
}

void frmTileEdit::optQuadrant_Click(int Index)
{
    if (Index < 0 || Index >= QuadrantCount)
        return;
    optQuadrant[Index]->setChecked(true);
    m_failureShown = false;
    EndStroke();
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
    ShowPartsAndUses();
}

void frmTileEdit::ShowSwatches()
{
    const std::optional<ZonePalette> colours = QuadrantColours(CurrentLevel(), Metatile(), Quadrant());
    for (int c = 0; c < 4; ++c) {
        const int colour = colours ? (*colours)[std::size_t(c)] : -1;
        Canvas& swatch = picPal[c]->canvas();
        PaintSwatch(swatch, colour);
        // The pen's swatch is framed.
        if (c == m_pen)
            DrawSelectionFrame(swatch, 0, 0, swatch.width(), swatch.height());
        picPal[c]->setToolTip(ColourTooltip(colour));
        swatch.refresh();
    }
}

void frmTileEdit::DrawTilePreview()
{
    Canvas& picture = picTile->canvas();
    DrawTileBlock(CurrentLevel(), picture, Metatile(), Quadrant(), EditorScale);
    DrawTileBlockGrid(picture);
    picture.refresh();
}

void frmTileEdit::ShowPartsAndUses()
{
    const LevelContext level = CurrentLevel();
    const int m = Metatile(), q = Quadrant();
    lblMetatile->setText(QStringLiteral("Metatile %1 of Zone %2").arg(Hex(m)).arg(CurrentZone + 1));
    for (int k = 0; k < QuadrantTiles; ++k) {
        const int t = ReadQuadrantTile(level, m, q, k);
        lblTile[k]->setText(t < 0 ? QStringLiteral("--") : Hex(t));
        lblTile[k]->setFrameShape(k == m_part ? QFrame::Box : QFrame::NoFrame);
    }

    // Where the metatile is used: an edit of it changes every one of these cells.
    const std::vector<RoomUses> rooms = MetatileRoomUses(level, m);
    UseCount count;
    std::vector<int> roomNumbers;
    for (const RoomUses& room : rooms) {
        count.Cells += int(room.Cells.size());
        ++count.Rooms;
        roomNumbers.push_back(room.Room);
    }
    QString uses = QStringLiteral("Metatile %1 is %2").arg(Hex(m), UseCountText(count));
    if (!rooms.empty())
        uses += QStringLiteral(" (%1 %2)")
                    .arg(rooms.size() == 1 ? QStringLiteral("room") : QStringLiteral("rooms"), HexList(roomNumbers, 8));
    uses += QLatin1Char('.');
    if (count.Cells > 1)
        uses += QStringLiteral(" An edit changes all of them.");
    if (ReadQuadrantPalette(level, m, q) == SharedPaletteNumber)
        uses += QStringLiteral(" Palette 3 is shared by every zone.");
    lblUses->setText(uses);
    ShowAsWarning(lblUses, count.Cells > 1);

    // Where the chosen part's tile is used: drawing on it changes all of these.
    const int t = ReadQuadrantTile(level, m, q, m_part);
    if (t < 0) {
        lblTileUses->setText(QStringLiteral("The %1 part's tile number cannot be read.")
                                 .arg(QLatin1String(PartNames[m_part])));
        ShowAsWarning(lblTileUses, false);
    } else {
        const std::vector<int> users = MetatilesUsingTile(level, t);
        const UseCount cells = CountTileUses(level, t);
        lblTileUses->setText(QStringLiteral("Tile %1 (%2 part) is in %3 %4 (%5), %6.")
                                 .arg(Hex(t), QLatin1String(PartNames[m_part]))
                                 .arg(users.size())
                                 .arg(users.size() == 1 ? QStringLiteral("metatile") : QStringLiteral("metatiles"))
                                 .arg(HexList(users, 6), UseCountText(cells)));
        const bool shared = users.size() > 1 || cells.Cells > 1;
        ShowAsWarning(lblTileUses, shared);
    }
    RedrawTileSheet();
}

void frmTileEdit::ChoosePart(int part)
{
    if (part < 0 || part >= QuadrantTiles || part == m_part)
        return;
    m_part = part;
    ShowPartsAndUses();
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

void frmTileEdit::hsTile_Change(int Index)
{
    if (m_loading || Index < 0 || Index >= QuadrantTiles)
        return;
    ChoosePart(Index);
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

bool frmTileEdit::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        const auto* press = static_cast<QMouseEvent*>(event);
        for (int i = 0; i < 4; ++i)
            if (watched == optPal[i]) {
                optPal_MouseDown(i);
                // Other buttons than the left one do nothing more to the option.
                return press->button() != Qt::LeftButton;
            }
        for (int k = 0; k < QuadrantTiles; ++k)
            if (watched == hsTile[k])
                ChoosePart(k);
    }
    return QWidget::eventFilter(watched, event);
}

void frmTileEdit::picPal_MouseDown(int Index)
{
    if (Index < 0 || Index >= 4 || Index == m_pen)
        return;
    m_pen = Index;
    ShowSwatches();
}

void frmTileEdit::PaintPixel(const PreviewPixel& pixel)
{
    const LevelContext level = CurrentLevel();
    const int m = Metatile(), q = Quadrant();
    const auto writes = QuadrantPixelWrites(level, m, q, pixel, m_pen);
    if (!writes) {
        WriteFailed();
        return;
    }
    const int tile = ReadQuadrantTile(level, m, q, pixel.Part);
    m_strokeTiles.insert(tile);
    // The step's name is the last one given: it names every tile of the stroke.
    const QString name = m_strokeTiles.size() == 1
                             ? QStringLiteral("Draw on Tile %1").arg(Hex(tile))
                             : QStringLiteral("Draw on %1 Tiles").arg(m_strokeTiles.size());
    RomHistory().apply(name, {(*writes)[0], (*writes)[1]}, m_strokeKey);
}

void frmTileEdit::picTile_MouseDown(int Button, Qt::KeyboardModifiers, double X, double Y)
{
    const std::optional<PreviewPixel> pixel = PreviewPixelAt(X, Y);
    if (!pixel)
        return;
    if (Button == 2) {
        // Takes the pixel's value as the pen and chooses its part.
        const LevelContext level = CurrentLevel();
        const int tile = ReadQuadrantTile(level, Metatile(), Quadrant(), pixel->Part);
        const int value = tile < 0 ? -1 : ReadTilePixel(level.rom, ZoneTileOffset(level, tile), pixel->Row, pixel->Column);
        ChoosePart(pixel->Part);
        if (value >= 0)
            picPal_MouseDown(value);
        return;
    }
    if (Button != 1)
        return;
    EndStroke();
    m_stroking = true;
    m_strokeKey = RomHistory().newMergeKey();
    m_strokeTiles.clear();
    m_strokeLast = PreviewGridPoint(*pixel);
    ChoosePart(pixel->Part);
    PaintPixel(*pixel);
}

void frmTileEdit::picTile_MouseMove(int Button, Qt::KeyboardModifiers, double X, double Y)
{
    if (!m_stroking || !(Button & 1))
        return;
    const std::optional<PreviewPixel> pixel = PreviewPixelAt(X, Y);
    if (!pixel) {
        // Outside the picture nothing is drawn; coming back starts afresh there.
        m_strokeLast.reset();
        return;
    }
    const auto [px, py] = PreviewGridPoint(*pixel);
    if (!m_strokeLast) {
        PaintPixel(*pixel);
    } else {
        // Every tile pixel on the way from the last position, so that a
        // fast move leaves no gaps.
        const auto [fromX, fromY] = *m_strokeLast;
        const int steps = std::max(std::abs(px - fromX), std::abs(py - fromY));
        for (int i = 1; i <= steps; ++i)
            PaintPixel(PreviewPixelOf(fromX + int(std::lround(double(px - fromX) * i / steps)),
                                      fromY + int(std::lround(double(py - fromY) * i / steps))));
    }
    m_strokeLast = std::make_pair(px, py);
}

void frmTileEdit::picTile_MouseUp(int Button, Qt::KeyboardModifiers, double, double)
{
    if (Button == 1)
        EndStroke();
}

void frmTileEdit::EndStroke()
{
    if (!m_stroking)
        return;
    m_stroking = false;
    m_strokeLast.reset();
    RomHistory().endStep();
}

void frmTileEdit::cmdTileSheet_Click()
{
    if (!m_tileSheet) {
        QWidget* owner = parentWidget() ? parentWidget() : this;
        m_tileSheet = new SheetWindow(owner, QStringLiteral("Tile Sheet"), TileSheetLayout(TileSheetScale));
        m_tileSheet->setObjectName(QStringLiteral("TileSheet"));
        connect(m_tileSheet, &SheetWindow::cellPressed, this, &frmTileEdit::TileSheet_CellPressed);
        connect(m_tileSheet, &SheetWindow::cellHovered, this, [this](int t) {
            m_hoveredTile = t;
            ShowSheetInfo();
        });
        m_tileSheet->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    m_tileSheet->show();
    m_tileSheet->raise();
    RedrawTileSheet();
}

void frmTileEdit::RedrawTileSheet()
{
    if (!m_tileSheet || !m_tileSheet->isVisible())
        return;
    const LevelContext level = CurrentLevel();
    const int m = Metatile(), q = Quadrant();
    // The tiles in the colours of the edited quadrant, the chosen part's tile framed.
    ::DrawTileSheet(level, m_tileSheet->canvas(), std::max(0, ReadQuadrantPalette(level, m, q)), TileSheetScale,
                    ReadQuadrantTile(level, m, q, m_part));
    m_tileSheet->canvas().refresh();
    ShowSheetInfo();
}

void frmTileEdit::ShowSheetInfo()
{
    if (!m_tileSheet)
        return;
    const LevelContext level = CurrentLevel();
    if (m_hoveredTile >= 0) {
        const int users = TileMetatileCounts(level)[std::size_t(m_hoveredTile)];
        m_tileSheet->setInfo(QStringLiteral("Tile %1: in %2 %3 of Zone %4")
                                 .arg(Hex(m_hoveredTile))
                                 .arg(users)
                                 .arg(users == 1 ? QStringLiteral("metatile") : QStringLiteral("metatiles"))
                                 .arg(CurrentZone + 1));
        return;
    }
    const int t = ReadQuadrantTile(level, Metatile(), Quadrant(), m_part);
    m_tileSheet->setInfo(QStringLiteral("A click gives the %1 part of metatile %2 that tile (now %3).")
                             .arg(QLatin1String(PartNames[m_part]), Hex(Metatile()),
                                  t < 0 ? QStringLiteral("--") : Hex(t)));
}

void frmTileEdit::TileSheet_CellPressed(int Tile, int Button)
{
    if (Button != 1 || Tile < 0 || Tile > 255)
        return;
    const int m = Metatile(), q = Quadrant();
    const auto write = QuadrantTileWrite(CurrentLevel(), m, q, m_part, std::uint8_t(Tile));
    if (!write) {
        WriteFailed();
        return;
    }
    // Each click is a step of its own; the bar shows the new number.
    RomHistory().apply(QStringLiteral("Tile %1 of Metatile %2").arg(QuadrantTilePosition(q, m_part)).arg(Hex(m)),
                       {*write});
    RomHistory().endStep();
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
    EndStroke();
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
