#include "widgets/PictureBox.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

PictureBox::PictureBox(int width, int height, QWidget* parent)
    : QWidget(parent), m_canvas(width, height)
{
    setFixedSize(width, height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_canvas.setRefreshHandler([this] { update(); });
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas.image());
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
    emit mouseDown(ButtonCode(event->button()), event->modifiers(), event->position().x(), event->position().y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(ButtonCode(event->buttons()), event->modifiers(), event->position().x(), event->position().y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseUp(ButtonCode(event->button()), event->modifiers(), event->position().x(), event->position().y());
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
