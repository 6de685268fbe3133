#pragma once
// The small pictures of the menus drawn by the program: each is a 16 x 16
// image with a mask of its own (dark mask pixels show the image, light ones
// let the menu show through), kept in the program's resources under their
// numbers. MenuImageStore says which menu caption shows which picture.
#include <QImage>
#include <QList>
#include <QMap>
#include <QString>

class QAction;

// Picture numbers (image, mask).
enum MenuImageId : int {
    ImgOpen = 101, ImgOpenMask = 102,
    ImgSave = 103, ImgSaveMask = 104,
    ImgSaveAs = 105, ImgSaveAsMask = 106,
    ImgExit = 107, ImgExitMask = 108,
    ImgZone = 996, ImgZoneMask = 997,
    ImgCheck = 998, ImgCheckMask = 999,
};

struct MenuImagePair {
    int Image = 0;
    int Mask = 0;
    bool operator==(const MenuImagePair&) const = default;
};

// Caption exactly as the menu shows it (with its "&" marker) -> picture pair.
QMap<QString, MenuImagePair>& MenuImageStore();

// Adds `caption` to MenuImageStore. A caption already there, or an empty one,
// is left alone (false).
bool RegisterMenuImage(const QString& caption, int imageId, int maskId);

// Registers every existing element of a menu control array: indices 0 to 99
// are tried and an element that does not exist (past the end, or null) is
// skipped. With `alsoWithoutFirst` each element is registered a second time
// under its caption without its first character.
void RegisterMenuArrayImages(const QList<QAction*>& elements, int imageId, int maskId,
                             bool alsoWithoutFirst);

// The picture `imageId` made transparent where `maskId` is light; a null
// image when either is not among the resources.
QImage LoadMenuImage(int imageId, int maskId);

// The picture registered for `caption` (without accelerator); null when none.
QImage MenuImageFor(const QString& caption);
