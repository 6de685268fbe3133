// Draws the menu pictures of the editor once, as 16 x 16 PNG files: for each
// picture an image and its mask (black shows the image, white lets the menu
// show through). Usage: make_menu_images <output folder>
#include <QColor>
#include <QDir>
#include <QHash>
#include <QImage>

#include <cstdio>
#include <vector>

namespace {
struct Picture {
    int imageId;
    std::vector<const char*> rows; // 16 rows of 16 characters; '.' is transparent
};

const QHash<char, QColor>& colours()
{
    static const QHash<char, QColor> c{
        {'K', QColor(24, 24, 40)},    {'W', QColor(255, 255, 255)}, {'L', QColor(150, 150, 150)},
        {'Y', QColor(255, 222, 96)},  {'O', QColor(224, 176, 40)},  {'N', QColor(128, 84, 0)},
        {'B', QColor(40, 80, 170)},   {'G', QColor(192, 192, 204)}, {'R', QColor(232, 120, 32)},
        {'S', QColor(240, 212, 160)}, {'D', QColor(150, 90, 40)},   {'A', QColor(30, 150, 50)},
        {'T', QColor(70, 160, 80)},   {'C', QColor(70, 110, 180)},  {'E', QColor(170, 120, 60)},
        {'F', QColor(176, 176, 176)},
    };
    return c;
}

std::vector<Picture> pictures()
{
    return {
        {101, {"................", "................", "..NNNN..........", ".NYYYYN.........",
               ".NYYYYNNNNNNN...", ".NYYYYYYYYYYN...", ".NYYNNNNNNNNNNN.", ".NYNOOOOOOOOOON.",
               ".NYNOOOOOOOOON..", ".NNOOOOOOOOOON..", ".NNOOOOOOOOON...", ".NOOOOOOOOOON...",
               ".NNNNNNNNNNN....", "................", "................", "................"}},
        {103, {"................", ".KKKKKKKKKKKKK..", ".KBWWWWWWWWWBKK.", ".KBWWWWWWWWWBBK.",
               ".KBWLLLLLLLWBBK.", ".KBWWWWWWWWWBBK.", ".KBWLLLLLLLWBBK.", ".KBBBBBBBBBBBBK.",
               ".KBBBBBBBBBBBBK.", ".KBBGGGGGGGGBBK.", ".KBBGGGGKKGGBBK.", ".KBBGGGGKKGGBBK.",
               ".KBBGGGGKKGGBBK.", ".KKKKKKKKKKKKKK.", "................", "................"}},
        {105, {"KKKKKKKKKKK.....", "KBWWWWWWWBK.....", "KBWLLLLLWBK.....", "KBWWWWWWWBK.....",
               "KBWLLLLLWBK.....", "KBBBBBBBBBK..KK.", "KBBBBBBBBBK.KRRK", "KBBGGGGGBBKKRRRK",
               "KBBGGKKGBBKRRRK.", "KBBGGKKGBBRRRK..", "KKKKKKKKKRRRK...", "........KRRK....",
               ".......KSSK.....", ".......KSK......", ".......KK.......", "................"}},
        {107, {"................", "......KKKKKKKKK.", "......KDDDDDDDK.", "......KDDDDDDDK.",
               "...A..KDDDDDDDK.", "..AA..KDDDDDDDK.", ".AAAAAAAAADDDDK.", "AAAAAAAAAADDYDK.",
               ".AAAAAAAAADDDDK.", "..AA..KDDDDDDDK.", "...A..KDDDDDDDK.", "......KDDDDDDDK.",
               "......KDDDDDDDK.", "......KDDDDDDDK.", "......KKKKKKKKK.", "................"}},
        {996, {"................", ".KKKKKKKKKKKKKKK", ".KTTTTTTKCCCCCCK", ".KTTTTTTKCCCCCCK",
               ".KTTTTTTKCCCCCCK", ".KTTTTTTKCCCCCCK", ".KTTTTTTKCCCCCCK", ".KTTTTTTKCCCCCCK",
               ".KKKKKKKKKKKKKKK", ".KEEEEEEKFFFFFFK", ".KEEEEEEKFFFFFFK", ".KEEEEEEKFFFFFFK",
               ".KEEEEEEKFFFFFFK", ".KEEEEEEKFFFFFFK", ".KEEEEEEKFFFFFFK", ".KKKKKKKKKKKKKKK"}},
        {998, {"................", "................", "................", "................",
               "...........K....", "..........KK....", ".........KKK....", "..K.....KKK.....",
               "..KK...KKK......", "..KKK.KKK.......", "...KKKKK........", "....KKK.........",
               ".....K..........", "................", "................", "................"}},
    };
}
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_menu_images <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const Picture& pic : pictures()) {
        if (pic.rows.size() != 16) {
            std::fprintf(stderr, "picture %d: %zu rows\n", pic.imageId, pic.rows.size());
            return 1;
        }
        QImage image(16, 16, QImage::Format_RGB32);
        QImage mask(16, 16, QImage::Format_Mono);
        mask.setColorCount(2);
        mask.setColor(0, qRgb(0, 0, 0));
        mask.setColor(1, qRgb(255, 255, 255));
        for (int y = 0; y < 16; ++y) {
            const QByteArray row(pic.rows[y]);
            if (row.size() != 16) {
                std::fprintf(stderr, "picture %d row %d: %lld characters\n", pic.imageId, y,
                             static_cast<long long>(row.size()));
                return 1;
            }
            for (int x = 0; x < 16; ++x) {
                const char c = row[x];
                const bool clear = c == '.';
                if (!clear && !colours().contains(c)) {
                    std::fprintf(stderr, "picture %d: unknown colour '%c'\n", pic.imageId, c);
                    return 1;
                }
                // Under the mask the image holds the menu grey, so it also looks
                // right where it is drawn without its mask.
                image.setPixel(x, y, clear ? qRgb(192, 192, 192) : colours().value(c).rgb());
                mask.setPixel(x, y, clear ? 1 : 0);
            }
        }
        const QString base = out.filePath(QString::number(pic.imageId));
        const QString maskName = out.filePath(QString::number(pic.imageId + 1));
        if (!image.save(base + QStringLiteral(".png")) || !mask.save(maskName + QStringLiteral(".png"))) {
            std::fprintf(stderr, "cannot write picture %d\n", pic.imageId);
            return 1;
        }
    }
    return 0;
}
