// Writes the program's icon for installing: a PNG file in each installed
// size and the scalable SVG, in the folder layout of the hicolor icon theme.
// Usage: make_app_icon <output folder>   (creates <output>/hicolor/...)
#include "desktop/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_app_icon <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QLatin1String(AppId);
    for (const int size : AppIconSizes()) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString path = out.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!out.mkpath(folder) || !DrawAppIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "make_app_icon: could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    const QString folder = QStringLiteral("hicolor/scalable/apps");
    QFile svg(out.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".svg")));
    if (!out.mkpath(folder) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || svg.write(AppIconSvg()) != AppIconSvg().size()) {
        std::fprintf(stderr, "make_app_icon: could not write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    return 0;
}
