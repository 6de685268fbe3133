#include "shell/ODMenuStyle.h"

#include "shell/MenuImages.h"
#include "shell/MenuScheme.h"

#include <QApplication>
#include <qdrawutil.h>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace {
// The platform's style as the base; the proxy owns its own copy of it.
QStyle* platformStyle()
{
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    return base ? base : QStyleFactory::create(QStringLiteral("Fusion"));
}

struct CaptionParts {
    QString Text;        // before the tab
    QString Accelerator; // after the tab
};

// The text as shown: "&" marks the mnemonic, "&&" stands for one "&".
QString withoutMnemonic(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 >= text.size())
                break;
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

CaptionParts splitCaption(const QString& caption)
{
    const qsizetype tab = caption.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return {caption, QString()};
    return {caption.left(tab), caption.mid(tab + 1)};
}

// One-pixel raised edge: light above and left, dark below and right.
void drawRaisedEdge(QPainter* p, const QRect& r, const QPalette& pal)
{
    qDrawShadeRect(p, r, pal, false, 1, 0);
}

// Disabled text, etched: a light copy one pixel down and right under a dark one.
void drawEtchedText(QPainter* p, const QRect& r, int flags, const QString& text, const QPalette& pal)
{
    p->setPen(pal.color(QPalette::Light));
    p->drawText(r.translated(1, 1), flags, text);
    p->setPen(pal.color(QPalette::Dark));
    p->drawText(r, flags, text);
}
}

ODMenuStyle::ODMenuStyle() : QProxyStyle(platformStyle()) {}

QString ODMenuStyle::ShownCaption(const QString& caption)
{
    return caption.startsWith(QLatin1Char('|')) ? caption.mid(1) : caption;
}

QString ODMenuStyle::MeasuredText(const QString& caption)
{
    const CaptionParts parts = splitCaption(ShownCaption(caption));
    if (parts.Accelerator.isNull())
        return parts.Text;
    return parts.Text + QLatin1Char(' ') + parts.Accelerator;
}

QSize ODMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                    const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item || (type != CT_MenuItem && type != CT_MenuBarItem))
        return QProxyStyle::sizeFromContents(type, option, size, widget);

    if (type == CT_MenuItem && item->menuItemType == QStyleOptionMenuItem::Separator)
        return QSize(ImageColumn + 6, SeparatorHeight);

    const QString caption = ShownCaption(item->text);
    const QSize text(item->fontMetrics.horizontalAdvance(withoutMnemonic(MeasuredText(caption))),
                     item->fontMetrics.height());
    const QImage image = MenuImageFor(splitCaption(caption).Text);
    const int imageHeight = image.isNull() ? 0 : image.height();
    int width = text.width() + 6;
    if (type == CT_MenuItem) {
        width += ImageColumn;
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
            width += SubMenuArrowRoom;
    }
    return QSize(width, qMax(text.height(), imageHeight) + 6);
}

int ODMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth: return 2;
    case PM_MenuHMargin: return 0;
    case PM_MenuVMargin: return 1;
    case PM_MenuBarPanelWidth: return 0;
    case PM_MenuBarItemSpacing: return 0;
    case PM_MenuBarHMargin: return 0;
    case PM_MenuBarVMargin: return 1;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int ODMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const
{
    switch (hint) {
    case SH_MenuBar_MouseTracking:
    case SH_Menu_MouseTracking:
        return 1;
    case SH_Menu_FlashTriggeredItem:
    case SH_DrawMenuBarSeparator:
    case SH_Menu_FadeOutOnHide:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

void ODMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    switch (element) {
    case PE_PanelMenu:
    case PE_PanelMenuBar:
    case PE_PanelToolBar:
        painter->fillRect(option->rect, SchemeColour(QStringLiteral("menubg")));
        return;
    case PE_FrameMenu:
        // A raised two-pixel frame round the popup.
        qDrawWinPanel(painter, option->rect, option->palette, false, nullptr);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void ODMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    switch (element) {
    case CE_MenuItem:
        if (item) {
            painter->save();
            drawPopupItem(item, painter);
            painter->restore();
            // The submenu arrow, in the item's text colour.
            if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
                QStyleOption arrow(*option);
                const bool selected = (item->state & State_Selected) && (item->state & State_Enabled);
                arrow.rect = QRect(item->rect.right() - SubMenuArrowRoom, item->rect.top(), SubMenuArrowRoom - 2,
                                   item->rect.height());
                arrow.palette.setColor(QPalette::ButtonText,
                                       SchemeColour(selected ? QStringLiteral("SelectedText")
                                                             : QStringLiteral("menutext")));
                arrow.palette.setColor(QPalette::WindowText, arrow.palette.color(QPalette::ButtonText));
                arrow.palette.setColor(QPalette::Text, arrow.palette.color(QPalette::ButtonText));
                arrow.state &= ~State_Selected;
                QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
            }
            return;
        }
        break;
    case CE_MenuBarItem:
        if (item) {
            painter->save();
            drawBarItem(item, painter);
            painter->restore();
            return;
        }
        break;
    case CE_MenuEmptyArea:
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, SchemeColour(QStringLiteral("menubg")));
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void ODMenuStyle::drawPopupItem(const QStyleOptionMenuItem* item, QPainter* p) const
{
    const QRect r = item->rect;
    p->fillRect(r, SchemeColour(QStringLiteral("menubg")));

    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = r.top() + (r.height() - 2) / 2;
        qDrawShadeLine(p, r.left() + 5, y, r.right() - 5, y, item->palette, true, 1, 0);
        return;
    }

    const bool enabled = item->state & State_Enabled;
    const bool selected = enabled && (item->state & State_Selected);
    const bool checked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;
    const CaptionParts parts = splitCaption(ShownCaption(item->text));

    // A checked item shows the check mark, also in place of a picture of its
    // own, so the check stays visible on items that have one.
    QImage image = checked ? LoadMenuImage(ImgCheck, ImgCheckMask) : MenuImageFor(parts.Text);
    if (!image.isNull()) {
        QPixmap pixmap = QPixmap::fromImage(image);
        if (!enabled) {
            QStyleOption plain(*item);
            pixmap = generatedIconPixmap(QIcon::Disabled, pixmap, &plain);
        }
        p->drawPixmap(r.left() + 2, r.top() + (r.height() - pixmap.height()) / 2, pixmap);
        if (selected)
            drawRaisedEdge(p, QRect(r.left(), r.top(), ImageColumn, r.height()), item->palette);
    }

    QColor textColour = SchemeColour(QStringLiteral("menutext"));
    if (selected) {
        p->fillRect(QRect(r.left() + ImageColumn + 1, r.top(), r.width() - ImageColumn - 1, r.height()),
                    SchemeColour(QStringLiteral("Selected")));
        textColour = SchemeColour(QStringLiteral("SelectedText"));
    }

    // Every caption starts after the image column, so items with and without
    // a picture line up; the accelerator ends 10 pixels before the edge.
    const QRect textRect(r.left() + ImageColumn + 2, r.top(), r.width() - ImageColumn - 2 - 10, r.height());
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip
        | (styleHint(SH_UnderlineShortcut, item, nullptr) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
    p->setFont(item->font);
    const auto draw = [&](int align, const QString& text) {
        if (text.isEmpty())
            return;
        if (enabled) {
            p->setPen(textColour);
            p->drawText(textRect, flags | align, text);
        } else {
            drawEtchedText(p, textRect, flags | align, text, item->palette);
        }
    };
    draw(Qt::AlignLeft, parts.Text);
    draw(Qt::AlignRight, parts.Accelerator);
}

void ODMenuStyle::drawBarItem(const QStyleOptionMenuItem* item, QPainter* p) const
{
    const QRect r = item->rect;
    p->fillRect(r, SchemeColour(QStringLiteral("menubg")));

    const bool enabled = item->state & State_Enabled;
    const bool current = enabled && (item->state & State_Selected);
    const bool open = current && (item->state & State_Sunken);
    QColor textColour = SchemeColour(QStringLiteral("GeneralText"));
    if (open) {
        p->fillRect(r, SchemeColour(QStringLiteral("Selected")));
        p->setPen(QPen(SchemeColour(QStringLiteral("BorderColor")), 1));
        p->setBrush(Qt::NoBrush);
        p->drawRect(r.adjusted(0, 0, -1, -1));
        textColour = SchemeColour(QStringLiteral("SelectedText"));
    } else if (current) {
        drawRaisedEdge(p, r, item->palette);
    }

    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip
        | (styleHint(SH_UnderlineShortcut, item, nullptr) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
    const QString text = splitCaption(ShownCaption(item->text)).Text;
    p->setFont(item->font);
    if (enabled) {
        p->setPen(textColour);
        p->drawText(r, flags, text);
    } else {
        drawEtchedText(p, r, flags, text, item->palette);
    }
}
