#include "widgets/PictureBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <QPainter>

PictureBox::PictureBox(int width, int height, QWidget* parent)
    : QWidget(parent), m_canvas(width, height)
{
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Only the part drawn on since the last refresh is shown again (one cell
    // of a stroke, not the whole room); a margin of one pixel covers the
    // rounding of a fractional screen scale. A refresh with nothing drawn
    // shows the whole picture again.
    m_canvas.setRefreshHandler([this] {
        const QRect area = m_canvas.takeChangedArea();
        if (area.isEmpty())
            update();
        else
            update(area.adjusted(-1, -1, 1, 1));
    });
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    // On a scaled screen every picture pixel becomes a block of whole screen
    // pixels, copied, never smoothed. Only the part asked for is drawn.
    const QRect area = event->rect().intersected(m_canvas.image().rect());
    if (area.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(area), m_canvas.image(), QRectF(area));
}

QPointF PictureBox::PointerPosition(const QMouseEvent* event) const
{
    // The event's own position is rounded to whole logical pixels; on a
    // scaled screen the pointer can lie between them, and the handlers round
    // it by their own rule. The global position keeps the fraction.
    return mapFromGlobal(event->globalPosition());
}

namespace {
// 1 left, 2 right, 4 middle, added together.
int ButtonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = PointerPosition(event);
    emit mouseDown(ButtonCode(event->button()), event->modifiers(), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = PointerPosition(event);
    emit mouseMove(ButtonCode(event->buttons()), event->modifiers(), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = PointerPosition(event);
    emit mouseUp(ButtonCode(event->button()), event->modifiers(), at.x(), at.y());
}

void PictureBox::leaveEvent(QEvent*)
{
    emit mouseLeft();
}

void PictureBox::wheelEvent(QWheelEvent* event)
{
    // A notch is 15 degrees, 120 eighths of a degree.
    constexpr int Notch = 120;
    m_wheelAngle += event->angleDelta().y();
    const int notches = m_wheelAngle / Notch;
    m_wheelAngle -= notches * Notch;
    event->accept();
    if (notches != 0)
        emit mouseWheel(notches, event->modifiers());
}
