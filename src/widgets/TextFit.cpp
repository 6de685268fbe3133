#include "widgets/TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOption>

#include <algorithm>

namespace {

QString WithoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

double Widest(const QFont& font, const QStringList& texts)
{
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

} // namespace

QStringList ControlTexts(const QWidget* control)
{
    QStringList texts;
    if (auto* label = qobject_cast<const QLabel*>(control)) {
        // Lines end at a carriage return, a line feed or both; a label that
        // wraps its words or shows a picture has no line to fit.
        if (!label->wordWrap() && label->pixmap().isNull() && !label->text().isEmpty())
            texts = label->text().split(QRegularExpression(QStringLiteral("\r\n|[\r\n]")));
    } else if (auto* combo = qobject_cast<const QComboBox*>(control)) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    } else if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        if (!button->text().isEmpty())
            texts << WithoutMnemonics(button->text());
    } else if (auto* box = qobject_cast<const QGroupBox*>(control)) {
        if (!box->title().isEmpty())
            texts << WithoutMnemonics(box->title());
    }
    return texts;
}

double TextRoom(const QWidget* control)
{
    QStyle* style = control->style();
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
    if (auto* combo = qobject_cast<const QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        // The entry is drawn one pixel inside the field on either side.
        return field.width() - 2;
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<const QCheckBox*>(button))
            contents = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<const QRadioButton*>(button))
            contents = QStyle::SE_RadioButtonContents;
        return style->subElementRect(contents, &option, button).width();
    }
    if (auto* box = qobject_cast<const QGroupBox*>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        return box->width() - label.left();
    }
    return -1;
}

void FitControlText(QWidget* control)
{
    const QStringList texts = ControlTexts(control);
    const double room = TextRoom(control);
    if (texts.isEmpty() || room <= 0)
        return;
    QFont font = control->font();
    if (Widest(font, texts) <= room)
        return;
    // Condensed first: the letters keep their height.
    for (int stretch = 95; stretch >= 75; stretch -= 5) {
        font.setStretch(stretch);
        if (Widest(font, texts) <= room) {
            control->setFont(font);
            return;
        }
    }
    // Then smaller, half a point at a time, while it stays readable.
    const bool inPixels = font.pixelSize() > 0;
    double size = inPixels ? font.pixelSize() : font.pointSizeF();
    const double smallest = inPixels ? 7 : 5;
    while (Widest(font, texts) > room && size > smallest) {
        size -= inPixels ? 1 : 0.5;
        if (inPixels)
            font.setPixelSize(int(size));
        else
            font.setPointSizeF(size);
    }
    control->setFont(font);
}

void FitWindowTexts(QWidget* window)
{
    FitControlText(window);
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->window() == window)
            FitControlText(child);
}
