#include "shell/PatchMenu.h"

#include "history/EditHistory.h"
#include "patch/Patch.h"
#include "patch/PatchFile.h"
#include "rom/ProgramState.h"
#include "rom/RomFile.h"
#include "shell/clsDialog.h"
#include "shell/frmVornEd.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
const char* const ExportFilter = "IPS Patches (*.ips)|*.ips|BPS Patches (*.bps)|*.bps";
const char* const ApplyFilter = "Patches (*.ips *.bps)|*.ips *.bps|IPS Patches (*.ips)|*.ips|"
                                "BPS Patches (*.bps)|*.bps|All Files (*.*)|*.*";

ByteView View(const RomBytes& bytes)
{
    return ByteView(bytes.data(), std::size_t(bytes.size()));
}

// The dialog starts beside the open file.
QString FolderOfImage()
{
    return QFileInfo(RomFileName).absolutePath();
}
}

PatchMenu::PatchMenu(frmVornEd* window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("PatchMenu"));
    QMenu* file = window->mnuFIle;
    FileFiller3 = file->addSeparator();
    FileFiller3->setObjectName(QStringLiteral("FileFiller3"));
    mnuExportPatch = file->addAction(QStringLiteral("Export &Patch…"));
    mnuExportPatch->setObjectName(QStringLiteral("mnuExportPatch"));
    mnuApplyPatch = file->addAction(QStringLiteral("Appl&y Patch…"));
    mnuApplyPatch->setObjectName(QStringLiteral("mnuApplyPatch"));
    // Both need an open image, exactly as Save does.
    auto follow = [this] {
        mnuExportPatch->setEnabled(m_window->mnuSave->isEnabled());
        mnuApplyPatch->setEnabled(m_window->mnuSave->isEnabled());
    };
    follow();
    connect(window->mnuSave, &QAction::changed, this, follow);
    connect(mnuExportPatch, &QAction::triggered, this, &PatchMenu::mnuExportPatch_Click);
    connect(mnuApplyPatch, &QAction::triggered, this, &PatchMenu::mnuApplyPatch_Click);
}

void PatchMenu::mnuExportPatch_Click()
{
    if (RomFileName.isEmpty())
        return;
    const RomBytes& opened = RomHistory().openedImage();
    if (opened == RomImage) {
        ShowAppMessage(m_window, QStringLiteral("The image is as it was opened from \"%1\": there are no changes "
                                                "to export.").arg(RomFileName),
                       QMessageBox::Information);
        return;
    }
    QString fileName = FolderOfImage() + QLatin1Char('/') + QFileInfo(RomFileName).completeBaseName() +
                       QStringLiteral(".ips");
    QString fileTitle;
    QString filter = QLatin1String(ExportFilter);
    std::int32_t filterIndex = 1;
    std::uint32_t flags = Ofn::PathMustExist;
    if (!m_window->Dialog().VBGetSaveFileName(fileName, fileTitle, true, &filter, &filterIndex, FolderOfImage(),
                                              QStringLiteral("Export Patch"), QStringLiteral("ips"), m_window,
                                              &flags))
        return;
    // The chosen filter decides the format.
    const PatchFormat format = filterIndex == 2 ? PatchFormat::Bps : PatchFormat::Ips;
    QString error;
    const std::optional<ByteVector> patch = CreatePatch(format, View(opened), View(RomImage), error);
    if (!patch) {
        ShowAppMessage(m_window, QStringLiteral("Could not make the patch for \"%1\": %2").arg(fileName, error));
        return;
    }
    if (!SaveRomFile(fileName, RomBytes(*patch), error))
        ShowAppMessage(m_window, error);
}

void PatchMenu::mnuApplyPatch_Click()
{
    if (RomFileName.isEmpty())
        return;
    QString fileName;
    QString fileTitle;
    bool readOnly = false;
    QString filter = QLatin1String(ApplyFilter);
    std::int32_t filterIndex = 1;
    std::uint32_t flags = 0;
    if (!m_window->Dialog().VBGetOpenFileName(fileName, fileTitle, true, false, &readOnly, false, &filter,
                                              &filterIndex, FolderOfImage(), QStringLiteral("Apply Patch"),
                                              QString(), m_window, &flags))
        return;
    ByteVector patch;
    QString error;
    if (!LoadPatchFile(fileName, patch, error)) {
        ShowAppMessage(m_window, error);
        return;
    }
    PatchApplyResult result = ApplyPatch(patch, View(RomImage), {}, error);
    if (!result.image && result.sourceMismatch) {
        MessageRequest question;
        question.Title = AppTitle();
        question.Icon = QMessageBox::Warning;
        question.Text = QStringLiteral("\"%1\" was made for another image: its size or checksum differs from the "
                                       "image that is open. Apply it anyway?").arg(fileName);
        question.Buttons = QMessageBox::Yes | QMessageBox::No;
        question.DefaultButton = QMessageBox::No;
        if (ShowMessage(m_window, question) != QMessageBox::Yes)
            return;
        PatchApplyOptions force;
        force.ignoreSourceMismatch = true;
        result = ApplyPatch(patch, View(RomImage), force, error);
    }
    if (!result.image) {
        ShowAppMessage(m_window, QStringLiteral("Could not apply \"%1\": %2").arg(fileName, error));
        return;
    }
    const EditResult applied = RomHistory().replaceImage(
        QStringLiteral("Apply Patch %1").arg(QFileInfo(fileName).fileName()), *result.image);
    if (applied == EditResult::NoChange)
        ShowAppMessage(m_window, QStringLiteral("\"%1\" changes nothing in this image.").arg(fileName),
                       QMessageBox::Information);
    else if (result.targetMismatch)
        ShowAppMessage(m_window, QStringLiteral("\"%1\" was applied, but the result is not the image the patch "
                                                "was made to give.").arg(fileName),
                       QMessageBox::Information);
}
