#pragma once
// A tiny built-in 5 x 7 bitmap font for the labels of room sheets, so that
// vorned-cli draws text the same on every machine and needs neither a
// display nor installed fonts.
#include <QImage>
#include <QString>

constexpr int LabelGlyphWidth = 5;
constexpr int LabelGlyphHeight = 7;
constexpr int LabelAdvance = 6; // glyph width plus one column of space

// Draws `text` with its top-left corner at (x, y), each font pixel a
// `magnify` x `magnify` block of `colour`. Characters the font lacks are
// drawn as a hollow box. Pixels outside the image are skipped.
void DrawLabel(QImage& image, int x, int y, const QString& text, QRgb colour, int magnify);

// Width in pixels of `text` drawn at `magnify`.
int LabelWidth(const QString& text, int magnify);
