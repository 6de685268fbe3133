// The main window's graphics entries: tiles as PNG (File), the palette
// editor and the uses of the selected metatile (Tools), their frames in the
// level view (View). Kept apart from the specified window so that each
// handler stays a few lines over the core.
#include "shell/frmVornEd.h"

#include "editors/frmPaletteEditor.h"
#include "gfx/Grid.h"
#include "gfx/LevelContext.h"
#include "gfx/Metatile.h"
#include "gfx/TilePng.h"
#include "rom/ProgramState.h"
#include "rom/RomFile.h"
#include "shell/clsDialog.h"
#include "uses/MetatileUses.h"
#include "uses/frmFindUses.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>

namespace {
const char* const TilePngFilter = "PNG Images (*.png)|*.png|All Files (*.*)|*.*";

LevelContext ShownLevel()
{
    return LevelContext{RomImage, ZoneTable, CurrentZone};
}

// Where the tile pictures are looked for and put: beside the open image.
QString PictureFolder()
{
    return RomFileName.isEmpty() ? QString() : QFileInfo(RomFileName).absolutePath();
}
}

void frmVornEd::buildGraphicsMenus()
{
    auto named = [](QAction* a, const char* name) { a->setObjectName(QLatin1String(name)); return a; };
    FileFiller4 = named(mnuFIle->addSeparator(), "FileFiller4");
    mnuExportTiles = named(mnuFIle->addAction(QStringLiteral("Export &Tiles…")), "mnuExportTiles");
    mnuImportTiles = named(mnuFIle->addAction(QStringLiteral("&Import Tiles…")), "mnuImportTiles");
    ToolsFiller2 = named(mnuTools->addSeparator(), "ToolsFiller2");
    mnuPaletteEditor = named(mnuTools->addAction(QStringLiteral("Pa&lette Editor")), "mnuPaletteEditor");
    mnuFindUses = named(mnuTools->addAction(QStringLiteral("&Find Uses")), "mnuFindUses");
    ViewFiller3 = named(mnuView->addSeparator(), "ViewFiller3");
    mnuHighlightUses = named(mnuView->addAction(QStringLiteral("&Highlight Uses")), "mnuHighlightUses");
    mnuHighlightUses->setCheckable(true);
    // They work on the zone on show: enabled by the first zone choice.
    for (QAction* a : {mnuExportTiles, mnuImportTiles, mnuPaletteEditor, mnuFindUses, mnuHighlightUses})
        a->setEnabled(false);
    connect(mnuExportTiles, &QAction::triggered, this, &frmVornEd::mnuExportTiles_Click);
    connect(mnuImportTiles, &QAction::triggered, this, &frmVornEd::mnuImportTiles_Click);
    connect(mnuPaletteEditor, &QAction::triggered, this, &frmVornEd::mnuPaletteEditor_Click);
    connect(mnuFindUses, &QAction::triggered, this, &frmVornEd::mnuFindUses_Click);
    connect(mnuHighlightUses, &QAction::triggered, this, &frmVornEd::mnuHighlightUses_Click);
}

void frmVornEd::GraphicsZoneChosen()
{
    for (QAction* a : {mnuExportTiles, mnuImportTiles, mnuPaletteEditor, mnuFindUses, mnuHighlightUses})
        a->setEnabled(true);
}

void frmVornEd::UsesSelectionChanged()
{
    RefreshUsesViews();
    if (mnuHighlightUses->isChecked())
        DrawLevel();
}

void frmVornEd::RefreshUsesViews()
{
    if (frmFindUses* uses = LoadedFindUses())
        uses->Init();
}

bool frmVornEd::DrawUseHighlight(Canvas& view)
{
    const int m = SelectedMetatile();
    if (!mnuHighlightUses || !mnuHighlightUses->isChecked() || m < 0 || !ZoneShown())
        return false;
    const std::vector<RoomCell> cells = CellsHolding(ShownLevel(), hLevel_Frames->value(), m);
    for (const RoomCell& cell : cells)
        DrawSelectionFrame(view, cell.Column * CellSize, cell.Row * CellSize, CellSize, CellSize);
    return !cells.empty();
}

void frmVornEd::mnuHighlightUses_Click()
{
    DrawLevel();
}

void frmVornEd::mnuPaletteEditor_Click()
{
    // The same opening as the (disabled) Edit › Palette entry.
    mnuPalette_Click();
}

void frmVornEd::mnuFindUses_Click()
{
    if (!ZoneShown())
        return;
    frmFindUses* uses = LoadFindUses(this, [this] { return SelectedMetatile(); },
                                     [this](int room) { hLevel_Frames->setValue(room); });
    uses->Init();
    // The first time beside the main window, under the tile editor's place.
    static QPointer<frmFindUses> placed;
    if (placed != uses) {
        uses->move(frameGeometry().topRight() + QPoint(8, 340));
        placed = uses;
    }
    uses->show();
    uses->raise();
}

void frmVornEd::mnuExportTiles_Click()
{
    if (!ZoneShown())
        return;
    const int zone = CurrentZone + 1;
    QString reason;
    const QImage picture = ZoneTilesPicture(ShownLevel(), reason);
    if (picture.isNull()) {
        ShowAppMessage(this, QStringLiteral("The tiles of Zone %1 cannot be exported: %2.").arg(zone).arg(reason));
        return;
    }
    QString fileName = QStringLiteral("%1-zone%2-tiles.png").arg(QFileInfo(RomFileName).completeBaseName()).arg(zone);
    QString fileTitle;
    QString filter = QLatin1String(TilePngFilter);
    std::int32_t filterIndex = 1;
    std::uint32_t flags = Ofn::PathMustExist;
    if (!Dialog().VBGetSaveFileName(fileName, fileTitle, true, &filter, &filterIndex, PictureFolder(),
                                    QStringLiteral("Export Tiles of Zone %1").arg(zone), QStringLiteral("png"),
                                    this, &flags)) {
        if (Dialog().ExtendedError() == FnErrBufferTooSmall)
            ShowAppMessage(this, QStringLiteral("The file name is longer than %1 characters.").arg(DialogTextLimit));
        return;
    }
    // Written as the image is saved: a temporary file renamed over the target.
    const QByteArray png = EncodePng(picture);
    QString error;
    if (!SaveRomFile(fileName, RomBytes(std::vector<std::uint8_t>(png.begin(), png.end())), error))
        ShowAppMessage(this, error);
}

void frmVornEd::mnuImportTiles_Click()
{
    if (!ZoneShown())
        return;
    const int zone = CurrentZone + 1;
    QString fileName;
    QString fileTitle;
    QString filter = QLatin1String(TilePngFilter);
    std::int32_t filterIndex = 1;
    std::uint32_t flags = 0;
    if (!Dialog().VBGetOpenFileName(fileName, fileTitle, true, false, nullptr, true, &filter, &filterIndex,
                                    PictureFolder(), QStringLiteral("Import Tiles into Zone %1").arg(zone),
                                    QStringLiteral("png"), this, &flags)) {
        if (Dialog().ExtendedError() == FnErrBufferTooSmall)
            ShowAppMessage(this, QStringLiteral("The file name is longer than %1 characters.").arg(DialogTextLimit));
        return;
    }
    QByteArray png;
    QString error;
    if (!ReadTilesPngFile(fileName, png, error)) {
        ShowAppMessage(this, error);
        return;
    }
    QString reason;
    const std::optional<std::vector<ByteWrite>> writes = TileImportWrites(ShownLevel(), png, reason);
    if (!writes) {
        ShowAppMessage(this, QStringLiteral("The tiles of \"%1\" were not imported into Zone %2: %3. "
                                            "Nothing was changed.").arg(fileName).arg(zone).arg(reason));
        return;
    }
    // All 256 tiles are one step; every view redraws from the change.
    const EditResult result = RomHistory().apply(QStringLiteral("Import Tiles into Zone %1").arg(zone), *writes);
    RomHistory().endStep();
    if (result == EditResult::NoChange)
        ShowAppMessage(this, QStringLiteral("\"%1\" holds the tiles of Zone %2 as they are; nothing was changed.")
                                 .arg(fileName).arg(zone),
                       QMessageBox::Information);
}
