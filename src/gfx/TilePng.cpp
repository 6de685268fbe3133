#include "gfx/TilePng.h"

#include "gfx/Metatile.h"
#include "gfx/NesColours.h"
#include "gfx/TilePixels.h"
#include "gfx/TileSheet.h"

#include "files/FileReader.h"
#include "files/SystemReason.h"

#include <QBuffer>

namespace {
constexpr int BankBytes = TilesPerBank * TileBytes;
constexpr int PngColourTypePalette = 3;

QString Hex2(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString ColourName(QRgb c)
{
    return QStringLiteral("#%1").arg(QString::number(c & 0xFFFFFFu, 16).toUpper().rightJustified(6, QLatin1Char('0')));
}

// "pixel (13, 2) (tile 01, row 2, column 5)"
QString PixelName(int x, int y)
{
    const int t = (y / TileSide) * TileSheetColumns + x / TileSide;
    return QStringLiteral("pixel (%1, %2) (tile %3, row %4, column %5)")
        .arg(x).arg(y).arg(Hex2(t)).arg(y % TileSide).arg(x % TileSide);
}

std::uint32_t ReadBigEndian32(const QByteArray& bytes, int at)
{
    return std::uint32_t(std::uint8_t(bytes[at])) << 24 | std::uint32_t(std::uint8_t(bytes[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(bytes[at + 2])) << 8 | std::uint32_t(std::uint8_t(bytes[at + 3]));
}

// What the PNG's header chunk says.
struct PngHeader {
    std::uint32_t Width;
    std::uint32_t Height;
    int ColourType;
};

std::optional<PngHeader> ReadPngHeader(const QByteArray& png, QString& reason)
{
    static const char Signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
    if (png.size() < 8 || !png.startsWith(QByteArray(Signature, 8))) {
        reason = QStringLiteral("it is not a PNG file");
        return std::nullopt;
    }
    // The first chunk of every PNG is its 13-byte header.
    if (png.size() < 33 || ReadBigEndian32(png, 8) != 13 || png.mid(12, 4) != "IHDR") {
        reason = QStringLiteral("it is not a PNG file (its header is missing)");
        return std::nullopt;
    }
    // Every chunk whole, up to the end chunk: a file cut short is not read
    // as the rows it still has.
    qsizetype at = 8;
    bool ended = false;
    while (!ended && at + 12 <= png.size()) {
        const std::uint32_t length = ReadBigEndian32(png, int(at));
        if (length > std::uint32_t(png.size() - at - 12))
            break;
        ended = png.mid(at + 4, 4) == "IEND";
        at += 12 + qsizetype(length);
    }
    if (!ended) {
        reason = QStringLiteral("its picture data cannot be read (the PNG file is cut short or damaged)");
        return std::nullopt;
    }
    return PngHeader{ReadBigEndian32(png, 16), ReadBigEndian32(png, 20), int(std::uint8_t(png[25]))};
}

bool HasIndices(const QImage& image)
{
    return image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
           image.format() == QImage::Format_MonoLSB;
}

void PutPixel(std::vector<std::uint8_t>& bank, int x, int y, int value)
{
    const int t = (y / TileSide) * TileSheetColumns + x / TileSide;
    const int r = y % TileSide, bit = 7 - x % TileSide;
    bank[std::size_t(TileBytes * t + r)] |= std::uint8_t((value & 1) << bit);
    bank[std::size_t(TileBytes * t + TileSide + r)] |= std::uint8_t(((value >> 1) & 1) << bit);
}
}

std::array<QRgb, 4> TilePictureColours(const LevelContext& level)
{
    const ZonePalette palette = TileSheetPalette(level, 0);
    std::array<QRgb, 4> colours{};
    for (std::size_t v = 0; v < 4; ++v)
        colours[v] = 0xFF000000u | PackRgb(NesColourRgb[std::size_t(palette[v] & 0x3F)]);
    return colours;
}

QImage ZoneTilesPicture(const LevelContext& level, QString& reason)
{
    const std::int64_t bank = ZoneTileOffset(level, 0);
    if (bank == NoOffset || !level.rom.contains(bank, BankBytes)) {
        reason = bank == NoOffset ? QStringLiteral("the zone has no tile bank")
                                  : QStringLiteral("its tile bank (0x%1 to 0x%2) lies outside the cartridge image")
                                        .arg(QString::number(bank, 16).toUpper())
                                        .arg(QString::number(bank + BankBytes - 1, 16).toUpper());
        return QImage();
    }
    QImage picture(TilePictureSide, TilePictureSide, QImage::Format_Indexed8);
    const std::array<QRgb, 4> colours = TilePictureColours(level);
    picture.setColorTable(QList<QRgb>(colours.begin(), colours.end()));
    for (int y = 0; y < TilePictureSide; ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < TilePictureSide; ++x) {
            const int t = (y / TileSide) * TileSheetColumns + x / TileSide;
            line[x] = uchar(ReadTilePixel(level.rom, bank + std::int64_t(TileBytes) * t, y % TileSide, x % TileSide));
        }
    }
    return picture;
}

QByteArray EncodePng(const QImage& picture)
{
    // An indexed picture is stored as a palette PNG unless its table is the
    // grey ramp 0, 1, 2 ... (then as grey levels); a zone's picture never is,
    // since value 0 is 0x0F (#050505).
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

std::optional<std::vector<std::uint8_t>> TileBankFromPng(const QByteArray& png, const std::array<QRgb, 4>& colours,
                                                         QString& reason)
{
    const std::optional<PngHeader> header = ReadPngHeader(png, reason);
    if (!header)
        return std::nullopt;
    if (header->Width != TilePictureSide || header->Height != TilePictureSide) {
        reason = QStringLiteral("it is %1 x %2 pixels; a picture of the zone's tiles is exactly %3 x %3 "
                                "(16 x 16 tiles of 8 x 8 pixels)")
                     .arg(header->Width).arg(header->Height).arg(TilePictureSide);
        return std::nullopt;
    }
    QImage image;
    if (!image.loadFromData(png, "PNG") || image.size() != QSize(TilePictureSide, TilePictureSide)) {
        reason = QStringLiteral("its picture data cannot be read (the PNG file is damaged)");
        return std::nullopt;
    }
    std::vector<std::uint8_t> bank(std::size_t(BankBytes), 0);
    if (header->ColourType == PngColourTypePalette) {
        if (!HasIndices(image)) {
            reason = QStringLiteral("its palette indices cannot be read");
            return std::nullopt;
        }
        // The indices are the values, whatever colours the entries have now.
        for (int y = 0; y < TilePictureSide; ++y)
            for (int x = 0; x < TilePictureSide; ++x) {
                const int index = image.pixelIndex(x, y);
                if (index < 0 || index > 3) {
                    reason = QStringLiteral("%1 has palette index %2; tile pixels take the indices 0 to 3 only")
                                 .arg(PixelName(x, y)).arg(index);
                    return std::nullopt;
                }
                PutPixel(bank, x, y, index);
            }
        return bank;
    }
    // Without indices every pixel must be one of the four colours, and only one.
    for (int y = 0; y < TilePictureSide; ++y)
        for (int x = 0; x < TilePictureSide; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) != 255) {
                reason = QStringLiteral("%1 is not opaque; tile pixels take the four colours of the zone's "
                                        "palette 0 only").arg(PixelName(x, y));
                return std::nullopt;
            }
            int value = -1, matches = 0;
            for (int v = 0; v < 4; ++v)
                if ((colours[std::size_t(v)] & 0xFFFFFFu) == (pixel & 0xFFFFFFu)) {
                    if (matches++ == 0)
                        value = v;
                }
            if (matches == 0) {
                reason = QStringLiteral("%1 has the colour %2, which is none of the four colours of the zone's "
                                        "palette 0 (%3, %4, %5, %6 for the values 0 to 3)")
                             .arg(PixelName(x, y), ColourName(pixel), ColourName(colours[0]), ColourName(colours[1]),
                                  ColourName(colours[2]), ColourName(colours[3]));
                return std::nullopt;
            }
            if (matches > 1) {
                reason = QStringLiteral("%1 has the colour %2, which the zone's palette 0 has for more than one "
                                        "value, so the value cannot be told; save the picture as an indexed PNG")
                             .arg(PixelName(x, y), ColourName(pixel));
                return std::nullopt;
            }
            PutPixel(bank, x, y, value);
        }
    return bank;
}

std::optional<std::vector<ByteWrite>> TileImportWrites(const LevelContext& level, const QByteArray& png,
                                                       QString& reason)
{
    const std::int64_t bank = ZoneTileOffset(level, 0);
    if (bank == NoOffset || !level.rom.contains(bank, BankBytes)) {
        ZoneTilesPicture(level, reason);   // says where the bank lies
        return std::nullopt;
    }
    const std::optional<std::vector<std::uint8_t>> bytes = TileBankFromPng(png, TilePictureColours(level), reason);
    if (!bytes)
        return std::nullopt;
    std::vector<ByteWrite> writes;
    writes.reserve(bytes->size());
    for (std::size_t i = 0; i < bytes->size(); ++i)
        writes.push_back(ByteWrite{bank + std::int64_t(i), (*bytes)[i]});
    return writes;
}

bool ReadTilesPngFile(const QString& path, QByteArray& out, QString& error, FileAccess access)
{
    const ReadOutcome outcome = ReadWholeFile(path, MaxTilePngFileSize, access);
    const QString name = QuotedName(path);
    switch (outcome.Status) {
    case ReadStatus::Read:
        out = QByteArray(reinterpret_cast<const char*>(outcome.Bytes.data()), qsizetype(outcome.Bytes.size()));
        return true;
    case ReadStatus::BadName:
        error = QStringLiteral("%1 cannot be opened: no file can have this name.").arg(name);
        break;
    case ReadStatus::CannotOpen:
        error = QStringLiteral("Could not open %1: %2").arg(name, SystemReason(outcome.Error));
        break;
    case ReadStatus::NotAFile:
        error = outcome.StandardInput ? QStringLiteral("standard input is %1, not a file.").arg(KindName(outcome.Facts.Kind))
                                      : QStringLiteral("%1 %2.").arg(name, NotAFileReason(outcome.Facts));
        break;
    case ReadStatus::Empty:
        error = QStringLiteral("%1 is empty: it holds no picture.").arg(name);
        break;
    case ReadStatus::TooLarge:
        error = QStringLiteral("%1 is too large: more than %2 bytes, far more than a picture of 256 tiles.")
                    .arg(name).arg(MaxTilePngFileSize);
        break;
    case ReadStatus::CannotRead:
        error = QStringLiteral("Could not read %1: %2").arg(name, SystemReason(outcome.Error));
        break;
    }
    return false;
}
