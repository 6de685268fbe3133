#include "widgets/SheetWindow.h"

#include "widgets/PictureBox.h"

#include <QLabel>
#include <QVBoxLayout>

SheetWindow::SheetWindow(QWidget* owner, const QString& title, const SheetLayout& layout)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_layout(layout)
{
    setWindowTitle(title);
    m_picture = new PictureBox(layout.width(), layout.height(), this);
    m_info = new QLabel(this);
    m_info->setMinimumHeight(m_info->fontMetrics().height() + 4);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(4, 4, 4, 4);
    box->setSpacing(4);
    box->addWidget(m_picture);
    box->addWidget(m_info);
    box->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_picture, &PictureBox::mouseDown, this, [this](int button, Qt::KeyboardModifiers, double x, double y) {
        const int index = m_layout.cellAt(x, y);
        if (index >= 0)
            emit cellPressed(index, button);
    });
    // Hovering tells which cell is under the pointer, once per cell.
    connect(m_picture, &PictureBox::mouseMove, this, [this](int, Qt::KeyboardModifiers, double x, double y) {
        const int index = m_layout.cellAt(x, y);
        if (index != m_hovered) {
            m_hovered = index;
            emit cellHovered(index);
        }
    });
    connect(m_picture, &PictureBox::mouseLeft, this, [this] {
        if (m_hovered != -1) {
            m_hovered = -1;
            emit cellHovered(-1);
        }
    });
}

Canvas& SheetWindow::canvas()
{
    return m_picture->canvas();
}

void SheetWindow::setInfo(const QString& text)
{
    m_info->setText(text);
}

QString SheetWindow::info() const
{
    return m_info->text();
}
