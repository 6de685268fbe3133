#include "widgets/ElidedLabel.h"

#include "files/FileNames.h"

#include <QPainter>
#include <QStyle>

namespace {
constexpr int HintCharacters = 8;
}

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QString ElidedLabel::ShownText(const QString& text, const QFontMetrics& metrics, int width)
{
    const QString shown = DisplayName(text);
    if (metrics.horizontalAdvance(shown) <= width)
        return shown;
    // The file's own name is what tells files apart: the folders before it
    // give way first, then the name itself.
    const qsizetype slash = shown.lastIndexOf(QLatin1Char('/'));
    if (slash > 0) {
        const QString name = shown.mid(slash);
        const int left = width - metrics.horizontalAdvance(name);
        const QString folder = metrics.elidedText(shown.left(slash), Qt::ElideMiddle, left);
        if (left > metrics.horizontalAdvance(QStringLiteral("/…")) && !folder.isEmpty())
            return folder + name;
    }
    return metrics.elidedText(shown, Qt::ElideMiddle, width);
}

QRect ElidedLabel::textArea() const
{
    return contentsRect().adjusted(margin() + 2, margin(), -margin() - 2, -margin());
}

QString ElidedLabel::shownText() const
{
    return ShownText(text(), fontMetrics(), textArea().width());
}

QString ElidedLabel::FullTextToolTip(const QString& text)
{
    if (text.isEmpty())
        return QString();
    QString escaped = DisplayName(text).toHtmlEscaped();
    escaped.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    return QStringLiteral("<p>%1</p>").arg(escaped);
}

QSize ElidedLabel::sizeHint() const
{
    const int m = 2 * (frameWidth() + margin());
    return QSize(fontMetrics().averageCharWidth() * HintCharacters + m, fontMetrics().height() + m);
}

QSize ElidedLabel::minimumSizeHint() const
{
    return sizeHint();
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawFrame(&p);
    style()->drawItemText(&p, textArea(), int(alignment()), palette(), isEnabled(), shownText(), foregroundRole());
}
