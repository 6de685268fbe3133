#include "desktop/AppIcon.h"

#include <QPainter>

#include <array>

namespace {

// One letter a square; '.' is transparent.
constexpr std::array<const char*, AppIconGrid> Rows{{
    ".KKKKKKKKKKKKKK.",
    "KSSSSSSSSSSSSSSK",
    "KSSSSSSSSWWWWWWK",
    "KSSSSSSSSWGGGGWK",
    "KSSSSSSSSWBbBbWK",
    "KSSSSSSSSWbBbBWK",
    "KSSSSSSSSWWWWWWK",
    "KSSGGGGSSSSSSSSK",
    "KSSBbBbSSSSSSSSK",
    "KSSbBbBSSSSSSSSK",
    "KSSSSSSSSSSSSSSK",
    "KGGGGGGGGGGGGGGK",
    "KBBBbBBBbBBBbBBK",
    "KbbbbbbbbbbbbbbK",
    "KBbBBBbBBBbBBBbK",
    ".KKKKKKKKKKKKKK.",
}};

QRgb ColourOf(char c)
{
    switch (c) {
    case 'K': return qRgb(24, 24, 40);     // outline
    case 'S': return qRgb(92, 148, 252);   // sky
    case 'G': return qRgb(0, 168, 0);      // grass
    case 'B': return qRgb(200, 76, 12);    // brick
    case 'b': return qRgb(124, 40, 0);     // mortar
    case 'W': return qRgb(255, 255, 255);  // selection frame
    default: return 0;
    }
}

// The grid as runs of one colour along each row: x, y, length, colour.
struct Run {
    int X, Y, Length;
    QRgb Colour;
};

std::vector<Run> Runs()
{
    std::vector<Run> runs;
    for (int y = 0; y < AppIconGrid; ++y) {
        const char* row = Rows[std::size_t(y)];
        for (int x = 0; x < AppIconGrid;) {
            int end = x + 1;
            while (end < AppIconGrid && row[end] == row[x])
                ++end;
            if (row[x] != '.')
                runs.push_back({x, y, end - x, ColourOf(row[x])});
            x = end;
        }
    }
    return runs;
}

} // namespace

const std::vector<int>& AppIconSizes()
{
    static const std::vector<int> sizes{16, 32, 48, 64, 128, 256};
    return sizes;
}

QImage DrawAppIcon(int size)
{
    if (size <= 0)
        return {};
    const int square = (size + AppIconGrid - 1) / AppIconGrid;
    QImage image(square * AppIconGrid, square * AppIconGrid, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        for (const Run& r : Runs())
            painter.fillRect(r.X * square, r.Y * square, r.Length * square, square, QColor(r.Colour));
    }
    if (image.width() != size)
        image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QByteArray AppIconSvg()
{
    QByteArray svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 16 16\""
           " shape-rendering=\"crispEdges\">\n";
    svg += "  <title>VornEd</title>\n";
    for (const Run& r : Runs())
        svg += QByteArray("  <rect x=\"") + QByteArray::number(r.X) + "\" y=\"" + QByteArray::number(r.Y)
             + "\" width=\"" + QByteArray::number(r.Length) + "\" height=\"1\" fill=\"#"
             + QByteArray::number(r.Colour & 0xFFFFFF, 16).rightJustified(6, '0') + "\"/>\n";
    svg += "</svg>\n";
    return svg;
}

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : AppIconSizes())
        icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
    return icon;
}
