#pragma once
// View › Metatile Sheet: the current zone's 256 metatiles, the selected one
// framed, the number of the one under the pointer under the sheet. A left
// click chooses a metatile. The sheet follows every change of the image.
#include "gfx/Canvas.h"
#include "widgets/SheetWindow.h"

struct ImageChange;

class frmMetatileSheet : public SheetWindow {
    Q_OBJECT
public:
    explicit frmMetatileSheet(QWidget* owner);

    // Draws the current zone's metatiles with `selected` framed (-1: none).
    void Redraw(int selected);
    // Moves the frame to `selected`.
    void SetSelected(int selected);
    int Selected() const { return m_selected; }

signals:
    // A left click on metatile m.
    void metatileChosen(int m);
    // The metatile under the pointer; -1 when it leaves the sheet.
    void metatileHovered(int m);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnImageChanged(const ImageChange& change);

    Canvas m_scratch;
    int m_selected = -1;
    bool m_drawn = false;   // Redraw was called: a zone is there to show
};
