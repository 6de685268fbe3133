#pragma once
// Drives the main window as a user would for the editor tests: opens a
// hand-made image through File > Open, chooses a zone, selects a metatile.
#include "editors/frmPaletteEditor.h"
#include "editors/frmTileEdit.h"
#include "gfx/NesColours.h"
#include "rom/ProgramState.h"
#include "shell/clsDialog.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

class EditorSession {
public:
    EditorSession()
    {
        ResetProgramState();
        m_path = m_dir.filePath(QStringLiteral("image.nes"));
        clsDialog::SetFileDialogRunner([this](const FileDialogRequest& r) {
            return FileDialogAnswer{true, m_path, r.FilterIndex, r.Flags};
        });
        SetMessageResponder([this](const MessageRequest& m) {
            Messages << m;
            return QMessageBox::Ok;
        });
    }
    ~EditorSession()
    {
        clsDialog::SetFileDialogRunner({});
        SetMessageResponder({});
    }

    // Writes the image to a file and opens it; false when that failed.
    bool open(const std::vector<std::uint8_t>& bytes)
    {
        QFile f(m_path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        f.close();
        Main.mnuOpen->trigger();
        return RomFileName == m_path;
    }

    void chooseZone(int zone) { Main.mnuStageSelect[std::size_t(zone)]->trigger(); }

    // Pages the selector to m and clicks its cell.
    void select(int m)
    {
        Main.hsTable->setValue(m / 4);
        Main.picTile_MouseDown(1, {}, 10, (m % 4) * 64 + 10);
    }

    // The metatile in cell (column, row) of the shown room, or -1.
    int roomMetatile(int column, int row) const
    {
        const std::int32_t at = ReadRomPointer(RomImage, ZoneTable[std::size_t(CurrentZone)].RoomTable,
                                               Main.hLevel_Frames->value());
        return at == NoOffset ? -1 : RomImage.read(std::int64_t(at) + 8 * row + column);
    }

    frmVornEd Main;
    QList<MessageRequest> Messages;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Offsets where two images differ.
inline QList<qint64> ChangedOffsets(const RomBytes& before, const RomBytes& after)
{
    QList<qint64> changed;
    for (qint64 i = 0; i < before.size(); ++i)
        if (before.read(i) != after.read(i))
            changed << i;
    return changed;
}

inline std::uint32_t Rgb(QRgb pixel) { return pixel & 0xFFFFFFu; }

// Pixel value 0..3 of pixel (r, c) of tile t of the bank at `bank`.
inline int TilePixelValue(const RomBytes& rom, std::int64_t bank, int t, int r, int c)
{
    const int lo = rom.read(bank + 16 * t + r), hi = rom.read(bank + 16 * t + 8 + r);
    return ((lo >> (7 - c)) & 1) | (((hi >> (7 - c)) & 1) << 1);
}
