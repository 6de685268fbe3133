#pragma once
// "Tile Editor": one quadrant of a metatile of the current zone, its four
// tile numbers and its palette number, with a preview at scale 8. Every
// change is written into the image at once.
#include "editors/MainViewCalls.h"
#include "gfx/LevelContext.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
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

    // Controls (control arrays indexed as the window describes them).
    std::array<PictureBox*, 4> picPal{};
    std::array<QScrollBar*, 4> hsTile{};
    PictureBox* picTile = nullptr;
    QScrollBar* vsTile = nullptr;
    std::array<QRadioButton*, 4> optPal{};
    std::array<QCheckBox*, 6> chkTileProp{};
    QPushButton* cmdRefresh = nullptr;
    std::array<QRadioButton*, 4> optQuadrant{};

public slots:
    void vsTile_Change();
    void hsTile_Change(int Index);
    void optPal_MouseDown(int Index);
    void optQuadrant_Click(int Index);
    void cmdRefresh_Click();

protected:
    // Closing hides the window and loads it afresh with its defaults.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void Refresh();
    void ShowSwatches();
    void DrawTilePreview();
    void WriteFailed();
    LevelContext CurrentLevel() const;

    QButtonGroup* m_palettes = nullptr;
    QButtonGroup* m_quadrants = nullptr;
    MainViewCalls m_calls;
    bool m_loading = false;
    bool m_failureShown = false;
};

// The loaded tile editor, created hidden (and loaded) on first use; owned by
// `owner`. LoadedTileEdit returns it, or nullptr when none exists.
frmTileEdit* LoadTileEdit(QWidget* owner, const MainViewCalls& calls);
frmTileEdit* LoadedTileEdit();

// Shows the editor modeless beside its owner (placed there the first time).
void ShowTileEdit(frmTileEdit* editor);
