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
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas.image());
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
    emit mouseDown(button, event->modifiers(), event->position().x(), event->position().y());
}
