#pragma once
// The main window: menu bar, level view with its room bar, tile selector with
// its page bar and preview, the "Edit Tile" button and the status bar.
#include "editors/MainViewCalls.h"
#include "history/EditHistory.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QStatusBar;
class PictureBox;
class RecentFilesMenu;
class clsDialog;

class frmVornEd : public QMainWindow {
    Q_OBJECT
public:
    explicit frmVornEd(QWidget* parent = nullptr);
    ~frmVornEd() override;

    // Window caption: "VornEd V0.3", with " - " and the file title when a file is open.
    static QString CaptionFor(const QString& fileTitle);

    // Text of status bar panel 1, 2 or 3 ("Modified" while the image has
    // unsaved changes).
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
    QMenu* mnuView = nullptr;
    std::array<QAction*, 2> mnuGrid{};
    QMenu* mnuTools = nullptr;
    QAction* mnuGenerator = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    QMenu* mnuInternet = nullptr;
    QAction* mnuGantrow = nullptr;
    QAction* mnuEmal = nullptr;

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

    std::array<QLabel*, 3> m_panels{};
    RecentFilesMenu* m_recent = nullptr;
    std::unique_ptr<clsDialog> m_dialog;
};
