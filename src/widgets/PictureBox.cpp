#include "widgets/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(int width, int height, QWidget* parent)
    : QWidget(parent), m_canvas(width, height)
{
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_canvas.setRefreshHandler([this] { update(); });
}

void PictureBox::paintEvent(QPaintEvent*)
{
    // On a scaled screen every picture pixel becomes a block of whole screen
    // pixels, copied, never smoothed.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(0, 0, m_canvas.width(), m_canvas.height()), m_canvas.image());
}

QPointF PictureBox::PointerPosition(const QMouseEvent* event) const
{
    // The event's own position is rounded to whole logical pixels; on a
    // scaled screen the pointer can lie between them, and the handlers round
    // it by their own rule. The global position keeps the fraction.
    return mapFromGlobal(event->globalPosition());
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: break;
    }
    const QPointF at = PointerPosition(event);
    emit mouseDown(button, event->modifiers(), at.x(), at.y());
}
