#pragma once
// A zone's 256 tiles as a picture for image editors: 128 x 128 pixels,
// indexed, tile t at column t mod 16, row t div 16 (8 x 8 pixels each), each
// pixel's index its value 0..3, the four palette entries the colours of the
// zone's palette 0. Import takes exactly such a picture back: an indexed PNG
// of that size whose indices are 0..3, or a PNG whose colours are exactly
// those four, and turns it into the tile bank's 4096 bytes.
#include "files/FileReader.h"
#include "gfx/LevelContext.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

constexpr int TilePictureSide = 128;
// Largest file import reads; a 128 x 128 PNG is a few kilobytes.
constexpr qint64 MaxTilePngFileSize = 16 * 1024 * 1024;

// Colours (opaque 0xFFRRGGBB) of pixel values 0..3 in the picture: the zone's
// palette 0 as the level view shows it (greys when it cannot be read).
std::array<QRgb, 4> TilePictureColours(const LevelContext& level);

// The zone's tiles as the 128 x 128 indexed picture (four colours). A null
// image, with `reason` set, when a byte of the tile bank lies outside the image.
QImage ZoneTilesPicture(const LevelContext& level, QString& reason);

// The picture encoded as a PNG file's bytes.
QByteArray EncodePng(const QImage& picture);

// The 4096 tile bank bytes a PNG file's bytes hold, read as import reads
// them; `colours` are the four colours of a picture without indices. Nothing,
// with `reason` set to a sentence for the user, when the bytes are not such a
// picture.
std::optional<std::vector<std::uint8_t>> TileBankFromPng(const QByteArray& png, const std::array<QRgb, 4>& colours,
                                                         QString& reason);

// The writes that store the PNG's tiles in the zone's tile bank (all 4096
// bytes; the history drops the unchanged ones). Nothing, with `reason`, when
// the PNG is refused or the tile bank lies outside the image.
std::optional<std::vector<ByteWrite>> TileImportWrites(const LevelContext& level, const QByteArray& png,
                                                       QString& reason);

// Reads a picture file for import through the file layer's one reader, at
// most MaxTilePngFileSize bytes. The editor takes a regular file (or a link
// to one) only: a folder, device, pipe or socket is refused before it is
// opened, so nothing can block; the command line also reads named pipes and
// standard input. On failure returns false with `error` naming the path and
// the reason.
bool ReadTilesPngFile(const QString& path, QByteArray& out, QString& error,
                      FileAccess access = FileAccess::FilesOnly);
