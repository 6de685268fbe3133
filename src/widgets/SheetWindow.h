#pragma once
// A tool window over the main window that shows a sheet of cells (the
// zone's metatiles, its tiles, its rooms) with a line of text under it,
// usually what the pointer is over. The owner draws the cells into
// canvas() and answers the presses and hovers.
#include "gfx/Grid.h"

#include <QWidget>

class PictureBox;
class QLabel;
class Canvas;

class SheetWindow : public QWidget {
    Q_OBJECT
public:
    SheetWindow(QWidget* owner, const QString& title, const SheetLayout& layout);

    PictureBox* picture() const { return m_picture; }
    Canvas& canvas();
    const SheetLayout& layout() const { return m_layout; }

    // The line under the sheet.
    void setInfo(const QString& text);
    QString info() const;

signals:
    // button: 1 left, 2 right, 4 middle.
    void cellPressed(int index, int button);
    // The cell under the pointer; -1 when the pointer leaves the sheet.
    void cellHovered(int index);

private:
    SheetLayout m_layout;
    PictureBox* m_picture = nullptr;
    QLabel* m_info = nullptr;
    int m_hovered = -1;
};
