#pragma once
// View › Zone Overview: every room of the current zone as a labelled
// thumbnail, the current room framed; a left click chooses a room. The
// thumbnails follow every change of the image.
#include "gfx/Canvas.h"
#include "widgets/SheetWindow.h"

struct ImageChange;

class frmZoneOverview : public SheetWindow {
    Q_OBJECT
public:
    explicit frmZoneOverview(QWidget* owner);

    // Draws rooms 0 .. lastRoom of the current zone with `current` framed.
    void Redraw(int lastRoom, int current);
    // Moves the frame to room `current`.
    void SetCurrentRoom(int current);
    int CurrentRoom() const { return m_current; }

signals:
    // A left click on room `room`.
    void roomChosen(int room);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnImageChanged(const ImageChange& change);

    Canvas m_scratch;
    int m_lastRoom = -1;
    int m_current = -1;
    bool m_drawn = false;
};
