#pragma once
// "Palette Editor": the current zone's four background palettes as 16
// swatches and the 64 NES colours as a grid. A swatch click chooses the slot
// to change; a grid click stores the colour there and redraws the main view.
#include "editors/MainViewCalls.h"
#include "gfx/LevelContext.h"

#include <QWidget>

#include <array>
#include <cstdint>

class PictureBox;
class QLabel;

class frmPaletteEditor : public QWidget {
    Q_OBJECT
public:
    frmPaletteEditor(QWidget* owner, MainViewCalls calls);

    // Repaints the swatches from the image for the current zone.
    void Init();
    // Loads the window's controls afresh (grid blank, no swatch framed) and
    // runs Init; the selected slot and swatch are kept.
    void Form_Load();
    bool IsLoaded() const { return m_loaded; }

    // The slot a grid click changes and the swatch clicked last.
    std::int16_t SelectedSlot = 0;
    std::int16_t SelectedSwatch = 0;

    std::array<PictureBox*, 16> picLoadedPal{};
    PictureBox* picPalGrid = nullptr;
    // Above the swatches: what the chosen swatch is and what a grid click
    // does to it (the background is fixed, palette 3 is shared by every zone).
    QLabel* lblSlotInfo = nullptr;

public slots:
    void picLoadedPal_Click(int Index);
    void picPalGrid_MouseDown(int Button, Qt::KeyboardModifiers Shift, double X, double Y);

protected:
    // Closing unloads the controls; the window object stays for the next load.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void ShowSlotInfo();
    LevelContext CurrentLevel() const;

    MainViewCalls m_calls;
    bool m_loaded = false;
    bool m_swatchChosen = false;   // since the last load
    int m_toldFailure = -1;   // zone x 13 + slot of the last failed write told
};

// The palette editor, created and loaded hidden on first use (or loaded
// again after a close); owned by `owner`. LoadedPaletteEditor returns it or
// nullptr.
frmPaletteEditor* LoadPaletteEditor(QWidget* owner, const MainViewCalls& calls);
frmPaletteEditor* LoadedPaletteEditor();
