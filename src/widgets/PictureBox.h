#pragma once
// A picture control: shows a Canvas (its persistent image) and reports mouse
// presses in its own pixel coordinates.
#include "gfx/Canvas.h"

#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(int width, int height, QWidget* parent = nullptr);

    Canvas& canvas() { return m_canvas; }
    const Canvas& canvas() const { return m_canvas; }

    // Tag text, as the selection of the tile selector is kept.
    QString Tag;

signals:
    // button: 1 left, 2 right, 4 middle; x and y in logical pixels of the
    // picture, with the fraction a scaled screen gives.
    void mouseDown(int button, Qt::KeyboardModifiers shift, double x, double y);
    // The pointer moved over the picture (or, with a button held, anywhere
    // while the press lasts); buttons as for mouseDown, added together.
    void mouseMove(int buttons, Qt::KeyboardModifiers shift, double x, double y);
    void mouseUp(int button, Qt::KeyboardModifiers shift, double x, double y);
    // The pointer left the picture.
    void mouseLeft();
    // The wheel turned over the picture by whole notches: positive away from
    // the user, negative towards. Finer turns add up to notches.
    void mouseWheel(int notches, Qt::KeyboardModifiers shift);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Where the pointer was, in logical pixels of the picture, fractions kept.
    QPointF PointerPosition(const QMouseEvent* event) const;

    Canvas m_canvas;
    int m_wheelAngle = 0;   // eighths of a degree not yet a whole notch
};
