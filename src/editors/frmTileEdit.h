#pragma once
// "Tile Editor": one quadrant of a metatile of the current zone, its four
// tile numbers and its palette number, with a preview at scale 8 that is
// also a drawing surface for the tiles' pixels. Every change is written into
// the image at once. A panel beside the specified controls says what is
// edited and where else it is used.
#include "editors/MainViewCalls.h"
#include "editors/MetatileEdits.h"
#include "gfx/LevelContext.h"
#include "widgets/SheetWindow.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <set>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class PictureBox;

class frmTileEdit : public QWidget {
    Q_OBJECT
public:
    frmTileEdit(QWidget* owner, MainViewCalls calls);

    // Refreshes every control from the image for the current zone, metatile
    // (vsTile) and quadrant.
    void Init();

    // The edited metatile and quadrant (0 top-left .. 3 bottom-right).
    int Metatile() const;
    int Quadrant() const;
    // The pen's colour value (0..3) and the part (0..3) a tile sheet click sets.
    int Pen() const { return m_pen; }
    int ChosenPart() const { return m_part; }
    // The tile sheet, once "Tile Sheet..." has opened it.
    SheetWindow* TileSheet() const { return m_tileSheet; }

    // Controls (control arrays indexed as the window describes them).
    std::array<PictureBox*, 4> picPal{};
    std::array<QScrollBar*, 4> hsTile{};
    PictureBox* picTile = nullptr;
    QScrollBar* vsTile = nullptr;
    std::array<QRadioButton*, 4> optPal{};
    std::array<QCheckBox*, 6> chkTileProp{};
    QPushButton* cmdRefresh = nullptr;
    std::array<QRadioButton*, 4> optQuadrant{};
    // Beside them: each part's tile number, what is edited, the labels of
    // the choosers, where the metatile and the chosen tile are used.
    std::array<QLabel*, 4> lblTile{};
    QLabel* lblMetatile = nullptr;
    QLabel* lblQuadrant = nullptr;
    QLabel* lblPen = nullptr;
    QLabel* lblPalette = nullptr;
    std::array<QLabel*, 4> lblPalNumber{};
    QLabel* lblFlags = nullptr;
    QLabel* lblDraw = nullptr;
    QLabel* lblUses = nullptr;
    QLabel* lblTileUses = nullptr;
    QPushButton* cmdTileSheet = nullptr;

public slots:
    void vsTile_Change();
    void hsTile_Change(int Index);
    void optPal_MouseDown(int Index);
    void optQuadrant_Click(int Index);
    void cmdRefresh_Click();
    // A swatch chooses the pen's colour value.
    void picPal_MouseDown(int Index);
    // Left button: draws with the pen (press, drag, release is one stroke);
    // right button: chooses the part under the pointer and takes its pixel's
    // value as the pen.
    void picTile_MouseDown(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picTile_MouseMove(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picTile_MouseUp(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void cmdTileSheet_Click();
    // A left click on the sheet gives the chosen part that tile.
    void TileSheet_CellPressed(int Tile, int Button);

protected:
    // Closing hides the window and loads it afresh with its defaults.
    void closeEvent(QCloseEvent* event) override;
    // Presses on the palette options (any button) and on the bars.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildPanel();
    void Form_Load();
    void Refresh();
    void ShowSwatches();
    void DrawTilePreview();
    // Tile numbers beside the bars, what is edited, where it is used and the sheet.
    void ShowPartsAndUses();
    void RedrawTileSheet();
    void ShowSheetInfo();
    void ChoosePart(int part);
    void WriteFailed();
    void PaintPixel(const PreviewPixel& pixel);
    void EndStroke();
    LevelContext CurrentLevel() const;

    QButtonGroup* m_palettes = nullptr;
    QButtonGroup* m_quadrants = nullptr;
    MainViewCalls m_calls;
    bool m_loading = false;
    bool m_failureShown = false;
    int m_pen = 1;
    int m_part = 0;
    // The stroke in progress: its merge key, the last tile pixel (16 x 16
    // grid of the preview) and the tiles it drew on.
    bool m_stroking = false;
    std::uint64_t m_strokeKey = 0;
    std::optional<std::pair<int, int>> m_strokeLast;
    std::set<int> m_strokeTiles;
    QPointer<SheetWindow> m_tileSheet;
    int m_hoveredTile = -1;
    // Counts the uses again once the events queued now are handled: a stroke
    // in the level view changes many cells in one pointer move.
    QTimer m_usesLater;
};

// The loaded tile editor, created hidden (and loaded) on first use; owned by
// `owner`. LoadedTileEdit returns it, or nullptr when none exists.
frmTileEdit* LoadTileEdit(QWidget* owner, const MainViewCalls& calls);
frmTileEdit* LoadedTileEdit();

// Shows the editor modeless beside its owner (placed there the first time).
void ShowTileEdit(frmTileEdit* editor);
