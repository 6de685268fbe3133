#include "shell/MenuScheme.h"

#include <QApplication>
#include <QHash>
#include <QPalette>

QColor SchemeColour(const QString& name)
{
    static const QHash<QString, QColor> scheme{
        {QStringLiteral("body"), QColor(58, 110, 165)},
        {QStringLiteral("selected"), QColor(255, 255, 0)},
        {QStringLiteral("selectedtext"), QColor(0, 0, 0)},
        {QStringLiteral("generaltext"), QColor(0, 0, 0)},
        {QStringLiteral("bordercolor"), QColor(85, 85, 118)},
        {QStringLiteral("table1bg"), QColor(223, 223, 223)},
        {QStringLiteral("table2bg"), QColor(241, 241, 241)},
        {QStringLiteral("headingbg"), QColor(128, 128, 166)},
        {QStringLiteral("headingtext"), QColor(231, 231, 255)},
        {QStringLiteral("menutext"), QColor(0, 0, 0)},
    };
    const QString key = name.toLower();
    if (key == QLatin1String("menubg"))
        return QApplication::palette("QMenu").color(QPalette::Active, QPalette::Window);
    return scheme.value(key, QColor(0, 0, 0));
}
