#pragma once
// The look of the menus drawn by the program: a style over the platform's
// that draws the menu bar and every popup item itself, with a 20-pixel image
// column, the colour scheme of SchemeColour and the pictures of MenuImages.
// Everything that is not a menu is left to the platform's style.
#include <QProxyStyle>

class ODMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    ODMenuStyle();

    // Width of the image column of popup items.
    static constexpr int ImageColumn = 20;
    // Room for the arrow of an item that opens a submenu.
    static constexpr int SubMenuArrowRoom = 12;
    // Height of a separator.
    static constexpr int SeparatorHeight = 9;

    // Caption as the item shows it: a leading "|" (new column) dropped.
    static QString ShownCaption(const QString& caption);
    // The text measured for a caption: the part before a tab, and the part
    // after it joined with one space.
    static QString MeasuredText(const QString& caption);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    void drawPopupItem(const class QStyleOptionMenuItem* item, QPainter* p) const;
    void drawBarItem(const class QStyleOptionMenuItem* item, QPainter* p) const;
};
