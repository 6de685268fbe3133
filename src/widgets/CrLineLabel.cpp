#include "widgets/CrLineLabel.h"

#include <QPainter>
#include <QStyle>

CrLineLabel::CrLineLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QString CrLineLabel::DisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QSize CrLineLabel::sizeHint() const
{
    const QRect r = fontMetrics().boundingRect(QRect(), int(alignment()), DisplayText(text()));
    const int m = 2 * (frameWidth() + margin());
    return r.size() + QSize(m, m);
}

QSize CrLineLabel::minimumSizeHint() const
{
    return sizeHint();
}

void CrLineLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawFrame(&p);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&p, area, int(alignment()), palette(), isEnabled(), DisplayText(text()),
                          foregroundRole());
}
