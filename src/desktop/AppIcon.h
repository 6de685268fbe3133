#pragma once
// The program's icon: a room of the game in miniature (sky, a platform, a
// brick floor) with the editor's selection frame on one block. It is drawn
// from one 16 x 16 grid of coloured squares, so every size shows the same
// picture with crisp edges, and the scalable version is the same squares.
#include <QByteArray>
#include <QIcon>
#include <QImage>

#include <vector>

// Name under which the icon, the desktop entry and the AppStream data are
// installed.
inline constexpr const char* AppId = "org.example.VornEd";

// Pixel sizes the icon is installed in (each a whole multiple of the grid).
inline constexpr int AppIconGrid = 16;
const std::vector<int>& AppIconSizes();

// The icon as a size x size picture; a size that is not a multiple of the
// grid is drawn at the next multiple and scaled down smoothly.
QImage DrawAppIcon(int size);

// The same squares as a scalable picture (SVG document).
QByteArray AppIconSvg();

// The icon in every installed size, for the windows.
QIcon AppIcon();
