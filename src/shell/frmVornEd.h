#pragma once
// The main window: menu bar, level view with its room bar, tile selector with
// its page bar and preview, the "Edit Tile" button and the status bar.
#include "editors/MainViewCalls.h"
#include "history/EditHistory.h"
#include "level/RoomLayout.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class Canvas;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QStatusBar;
class PictureBox;
class RecentFilesMenu;
class clsDialog;
class frmMetatileSheet;
class frmZoneOverview;
class PaintStroke;
struct RoomClipboard;

class frmVornEd : public QMainWindow {
    Q_OBJECT
public:
    explicit frmVornEd(QWidget* parent = nullptr);
    ~frmVornEd() override;

    // Window caption: "VornEd V0.3", with " - " and the file title when a file is open.
    static QString CaptionFor(const QString& fileTitle);

    // Text of status bar panel 1, 2 or 3 ("Modified" while the image has
    // unsaved changes), or 4 (what the pointer is over).
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);

    clsDialog& Dialog();

    // What File › Open does once a path is chosen: reads the file whole and,
    // only when that succeeds, makes it the open image. A refused file is
    // told in a message and leaves everything as it was.
    bool OpenRomPath(const QString& fileName);

    // Asked before anything replaces the open image (Open, a dropped file,
    // a recent file): true when the image may be replaced now.
    bool MayReplaceImage();

    // Redraw the level view (current room, preview, level grid, room text)
    // and the tile selector (current page, preview, selector grid). They draw
    // nothing before a file is open and a zone chosen.
    void DrawLevel();
    void DrawTable();

    // SelectedMetatile: the number in the preview's Tag, -1 for none.
    int SelectedMetatile() const;

    // Makes metatile m the selected one as a click on it in the selector
    // does (preview, SelectedMetatile), and pages the selector to show it.
    void SelectMetatile(int m);
    // The metatile under the pointer in the level view becomes the selected
    // one (the I key); nothing when the pointer is elsewhere or a stroke is
    // being painted.
    void PickMetatile();

    // The tool windows of the View menu, once opened (else nullptr).
    frmMetatileSheet* MetatileSheet() const { return m_metatileSheet; }
    frmZoneOverview* ZoneOverview() const { return m_zoneOverview; }

    // Ends the program after the close question was answered Yes. Tests
    // replace it; by default it leaves the event loop at once.
    static std::function<void()>& EndProgram();

    // Controls (names as the window describes them).
    PictureBox* picEditor = nullptr;
    QScrollBar* hLevel_Frames = nullptr;
    PictureBox* picTile = nullptr;
    QScrollBar* hsTable = nullptr;
    PictureBox* picSelectedTile = nullptr;
    QPushButton* cmdEditTile = nullptr;
    QStatusBar* SB1 = nullptr;
    // The selected metatile's number, beside the preview.
    QLabel* lblSelectedTile = nullptr;

    // Menus.
    QMenu* mnuFIle = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* FileFiller1 = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAS = nullptr;
    QAction* FileFiller2 = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuPalette = nullptr;
    QAction* mnuTileEditor = nullptr;
    QMenu* mnuLevel = nullptr;
    std::array<QAction*, 7> mnuStageSelect{};
    QAction* EditFiller1 = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* EditFiller2 = nullptr;
    QAction* mnuCopyRoom = nullptr;
    QAction* mnuPasteRoom = nullptr;
    QMenu* mnuView = nullptr;
    std::array<QAction*, 2> mnuGrid{};
    QAction* ViewFiller1 = nullptr;
    QAction* mnuMetatileSheet = nullptr;
    QAction* mnuZoneOverview = nullptr;
    QAction* ViewFiller2 = nullptr;
    QAction* mnuNextRoom = nullptr;
    QAction* mnuPreviousRoom = nullptr;
    QAction* mnuFirstRoom = nullptr;
    QAction* mnuLastRoom = nullptr;
    // The I key (no menu entry: it acts on the cell under the pointer).
    QAction* keyPickMetatile = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuGenerator = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    QMenu* mnuInternet = nullptr;
    QAction* mnuGantrow = nullptr;
    QAction* mnuEmal = nullptr;

    // Graphics entries, each after the specified entries of its popup:
    // File › Export Tiles… / Import Tiles…, Tools › Palette Editor and
    // Find Uses, View › Highlight Uses.
    QAction* FileFiller4 = nullptr;
    QAction* mnuExportTiles = nullptr;
    QAction* mnuImportTiles = nullptr;
    QAction* ToolsFiller2 = nullptr;
    QAction* mnuPaletteEditor = nullptr;
    QAction* mnuFindUses = nullptr;
    QAction* ViewFiller3 = nullptr;
    QAction* mnuHighlightUses = nullptr;

public slots:
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAS_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void mnuGantrow_Click();
    void mnuEmal_Click();
    void mnuGenerator_Click();
    void mnuStageSelect_Click(int Index);
    void mnuGrid_Click(int Index);
    void hsTable_Change();
    void hsTable_Scroll();
    void picTile_MouseDown(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void cmdEditTile_Click();
    void mnuPalette_Click();
    void mnuTileEditor_Click();
    void picEditor_MouseDown(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void hLevel_Frames_Change();
    void hLevel_Frames_Scroll();
    void mnuUndo_Click();
    void mnuRedo_Click();
    // Dragging with the left button paints every cell the pointer passes
    // through; the stroke is one step, ended by the release.
    void picEditor_MouseMove(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picEditor_MouseUp(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picEditor_MouseLeave();
    // Steps > 0: the wheel turned away from the user (previous room).
    void picEditor_MouseWheel(int Steps);
    void picTile_MouseMove(int Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picTile_MouseLeave();
    void mnuCopyRoom_Click();
    void mnuPasteRoom_Click();
    void mnuMetatileSheet_Click();
    void mnuZoneOverview_Click();
    void mnuNextRoom_Click();
    void mnuPreviousRoom_Click();
    void mnuFirstRoom_Click();
    void mnuLastRoom_Click();
    void mnuExportTiles_Click();
    void mnuImportTiles_Click();
    void mnuPaletteEditor_Click();
    void mnuFindUses_Click();
    void mnuHighlightUses_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    // Asks "Are You Sure You Want To Exit?"; true when the answer is Yes.
    // With unsaved changes it asks whether to save them instead.
    bool Form_QueryUnload();
    enum class UnsavedAnswer { Saved, Discarded, Cancelled };
    // Asks whether to save the unsaved changes: Save, Discard or Cancel. A
    // save that fails has told why and counts as Cancelled.
    UnsavedAnswer AskAboutUnsavedChanges();
    // Writes the image to RomFileName; false (after telling why) on failure.
    bool SaveImage();
    void buildEditHistoryMenus();
    // Every view that shows bytes the change touched is drawn again.
    void OnImageChanged(const ImageChange& change);
    // Offers to restore the unsaved changes a journal of the open file holds
    // (the first one left behind that fits the file).
    void OfferRecovery();
    // True when the user was asked about this journal.
    bool OfferRecovery(const QString& journalPath);
    void SetFileCaption();
    void connectLevelControls();
    // True once a file is open and a zone chosen (a zone entry is checked).
    bool ZoneShown() const;
    // The redraw calls the editor windows make on this window.
    MainViewCalls EditorCalls();
    // A file dropped on the window or chosen in File > Recent Files: opened
    // as File > Open opens the file its dialog gives.
    void OpenChosenFile(const QString& path);
    // Puts a file just opened or saved at the top of File > Recent Files.
    void RememberFile(const QString& path);

    // Graphics entries (frmVornEdGraphics.cpp): built after the specified
    // menus, enabled by a zone choice (GraphicsZoneChosen); the uses of the selected metatile
    // framed in the level view (true when a frame was drawn) and listed.
    void buildGraphicsMenus();
    void GraphicsZoneChosen();
    bool DrawUseHighlight(Canvas& view);
    // Called by SelectionChanged: the uses list and frames follow.
    void UsesSelectionChanged();
    void RefreshUsesViews();


    // Painting, picking, the sheets, hover texts, room keys, Copy/Paste Room.
    void buildPaintingControls();
    void buildPaintingMenus();
    // The zone on show was chosen anew or the image replaced: the views of
    // the painting tools follow.
    void ZoneViewsChanged();
    // SelectedMetatile changed: the number label and the sheet's frame follow.
    void SelectionChanged();
    void RoomChanged();
    void EndStroke();
    // Paints one cell of the stroke; false when it could not (and the
    // stroke was ended after telling why).
    bool PaintStrokeCell(const RoomCell& cell);
    // As a click repaints its cell: from the preview, then the grid and the
    // highlight of uses over it.
    void PaintCellFromPreview(RoomCell cell);
    // Panel 4 for the cell under the pointer (the text is made only when what
    // it says changed: a stroke changes the cell under the pointer often).
    void ShowPointerInfo();
    // Panel 4 for anything else.
    void SetPointerText(const QString& text);
    // Zone shortcuts Ctrl+1 .. Ctrl+7, given once an image is open.
    void EnableZoneKeys();

    std::array<QLabel*, 4> m_panels{};
    RecentFilesMenu* m_recent = nullptr;
    std::unique_ptr<clsDialog> m_dialog;
    std::unique_ptr<PaintStroke> m_stroke;
    std::unique_ptr<RoomClipboard> m_roomClipboard;
    // Where the pointer is over the level view, if it is.
    std::optional<std::pair<double, double>> m_pointer;
    // What panel 4 says about that cell: zone, room, cell, layout offset, metatile.
    std::array<std::int64_t, 5> m_pointerShown{-1, -1, -1, -1, -1};
    frmMetatileSheet* m_metatileSheet = nullptr;
    frmZoneOverview* m_zoneOverview = nullptr;
};
