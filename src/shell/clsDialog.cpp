#include "shell/clsDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPalette>
#include <QPrinter>

namespace {

FileDialogRunner& fileDialogRunner()
{
    static FileDialogRunner runner;
    return runner;
}

// Qt's own file dialog, driven by a request.
FileDialogAnswer RunQtFileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(request.Owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.Title.isEmpty())
        dialog.setWindowTitle(request.Title);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (request.Save) {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.Flags & Ofn::OverwritePrompt));
    } else {
        dialog.setFileMode((request.Flags & Ofn::AllowMultiSelect) ? QFileDialog::ExistingFiles
                           : (request.Flags & Ofn::FileMustExist) ? QFileDialog::ExistingFile
                                                                  : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
    }
    if (!request.DefaultExt.isEmpty())
        dialog.setDefaultSuffix(request.DefaultExt);

    const QStringList names = DialogNameFilters(request.Filter);
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        if (request.FilterIndex >= 1 && request.FilterIndex <= names.size())
            dialog.selectNameFilter(names[request.FilterIndex - 1]);
    }

    if (!request.FileName.isEmpty()) {
        const QFileInfo info(request.FileName);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    } else if (!request.InitDir.isEmpty()) {
        dialog.setDirectory(request.InitDir);
    }

    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.Confirmed = true;
    answer.FileName = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
    answer.FilterIndex = static_cast<std::int32_t>(names.indexOf(dialog.selectedNameFilter()) + 1);
    if (answer.FilterIndex <= 0)
        answer.FilterIndex = request.FilterIndex;
    answer.Flags = request.Flags;
    return answer;
}

FileDialogAnswer RunFileDialog(const FileDialogRequest& request)
{
    return fileDialogRunner() ? fileDialogRunner()(request) : RunQtFileDialog(request);
}

} // namespace

std::uint32_t OpenDialogFlags(bool fileMustExist, bool multiSelect, bool readOnly,
                              bool hideReadOnly, std::uint32_t flags)
{
    std::uint32_t f = flags & ~(Ofn::EnableHook | Ofn::EnableTemplate);
    if (fileMustExist) f |= Ofn::FileMustExist;
    if (multiSelect) f |= Ofn::AllowMultiSelect;
    if (readOnly) f |= Ofn::ReadOnly;
    if (hideReadOnly) f |= Ofn::HideReadOnly;
    return f;
}

std::uint32_t SaveDialogFlags(bool overWritePrompt, std::uint32_t flags)
{
    return (overWritePrompt ? Ofn::OverwritePrompt : 0u)
         | (flags & ~(Ofn::EnableHook | Ofn::EnableTemplate))
         | Ofn::HideReadOnly | Ofn::Explorer | Ofn::LongNames;
}

QString ConvertDialogFilter(const QString& filter)
{
    QString out = filter;
    for (QChar& c : out)
        if (c == QLatin1Char('|') || c == QLatin1Char(':'))
            c = QChar(0);
    out += QChar(0);
    out += QChar(0);
    return out;
}

QString DialogFilterPair(const QString& converted, std::int32_t index)
{
    if (index < 1)
        return {};
    // The list ends at the first empty string.
    QStringList parts = converted.split(QChar(0));
    const int end = static_cast<int>(parts.indexOf(QString()));
    if (end >= 0)
        parts = parts.mid(0, end);
    const qsizetype first = 2 * static_cast<qsizetype>(index - 1);
    if (first + 1 >= parts.size())
        return {};
    return parts[first] + QChar(0) + parts[first + 1];
}

QStringList DialogNameFilters(const QString& converted)
{
    QStringList names;
    const QStringList parts = converted.split(QChar(0));
    for (int i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        // The dialog filters by the last bracketed group of the name, without
        // regard to case: a description ending in its own pattern says it all.
        const QString bracketed = QStringLiteral("(%1)").arg(pattern);
        if (description.endsWith(bracketed, Qt::CaseInsensitive))
            names << description;
        else
            names << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return names;
}

clsDialog::clsDialog() = default;

void clsDialog::SetFileDialogRunner(FileDialogRunner runner)
{
    fileDialogRunner() = std::move(runner);
}

bool clsDialog::RunFileMethod(FileDialogRequest request, QString& Filename, QString& FileTitle,
                              QString* Filter, std::int32_t* FilterIndex, std::uint32_t* flags,
                              std::int32_t cancelledIndex, bool* ReadOnly)
{
    m_apiReturn = 0;
    m_extendedError = 0;
    if (Filename.size() > DialogTextLimit || FileTitle.size() > DialogTextLimit) {
        m_extendedError = FnErrBufferTooSmall;
        return false;
    }
    request.FileName = Filename;
    request.Filter = ConvertDialogFilter(Filter ? *Filter : DefaultDialogFilter());
    request.FilterIndex = FilterIndex ? *FilterIndex : 1;

    FileDialogAnswer answer = RunFileDialog(request);
    if (answer.Confirmed && answer.FileName.size() > DialogTextLimit) {
        // The chosen path does not fit the name buffer: the dialog fails.
        answer = {};
        m_extendedError = FnErrBufferTooSmall;
    }
    m_apiReturn = answer.Confirmed ? 1 : 0;
    if (!answer.Confirmed) {
        Filename.clear();
        FileTitle.clear();
        if (Filter) Filter->clear();
        if (flags) *flags = 0;
        if (FilterIndex) *FilterIndex = cancelledIndex;
        return false;
    }
    Filename = answer.FileName;
    FileTitle = QFileInfo(answer.FileName).fileName();
    if (flags) *flags = answer.Flags;
    if (FilterIndex) *FilterIndex = answer.FilterIndex;
    if (Filter) *Filter = DialogFilterPair(request.Filter, answer.FilterIndex);
    if (ReadOnly && (answer.Flags & Ofn::ReadOnly))
        *ReadOnly = true;
    return true;
}

bool clsDialog::VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist,
                                  bool MultiSelect, bool* ReadOnly, bool HideReadOnly,
                                  QString* Filter, std::int32_t* FilterIndex,
                                  const QString& InitDir, const QString& DlgTitle,
                                  const QString& DefaultExt, QWidget* Owner, std::uint32_t* flags)
{
    FileDialogRequest request;
    request.InitDir = InitDir;
    request.Title = DlgTitle;
    request.DefaultExt = DefaultExt;
    request.Flags = OpenDialogFlags(FileMustExist, MultiSelect, ReadOnly && *ReadOnly,
                                    HideReadOnly, flags ? *flags : 0);
    request.Owner = Owner;
    return RunFileMethod(request, Filename, FileTitle, Filter, FilterIndex, flags, -1, ReadOnly);
}

bool clsDialog::VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt,
                                  QString* Filter, std::int32_t* FilterIndex,
                                  const QString& InitDir, const QString& DlgTitle,
                                  const QString& DefaultExt, QWidget* Owner, std::uint32_t* flags)
{
    FileDialogRequest request;
    request.Save = true;
    request.InitDir = InitDir;
    request.Title = DlgTitle;
    request.DefaultExt = DefaultExt;
    request.Flags = SaveDialogFlags(OverWritePrompt, flags ? *flags : 0);
    request.Owner = Owner;
    return RunFileMethod(request, Filename, FileTitle, Filter, FilterIndex, flags, 0, nullptr);
}

QString clsDialog::VBGetFileTitle(const QString& sFile) const
{
    if (sFile.isEmpty() || sFile.size() > DialogTextLimit)
        return {};
    const QString title = QFileInfo(sFile).fileName();
    return title.size() > DialogTextLimit ? QString() : title;
}

void clsDialog::fillCustomColours()
{
    if (m_customFilled)
        return;
    // One system colour for each of the 16 custom slots.
    const QPalette palette = QGuiApplication::palette();
    for (int i = 0; i < 16; ++i)
        m_customColours[i] = palette.color(static_cast<QPalette::ColorRole>(i % QPalette::NColorRoles));
    m_customFilled = true;
}

QColor clsDialog::CustomColor(int index)
{
    fillCustomColours();
    if (index < 0 || index > 15)
        return QColor(); // no such slot: an invalid colour (-1)
    return m_customColours[index];
}

void clsDialog::SetCustomColor(int index, const QColor& colour)
{
    fillCustomColours();
    if (index >= 0 && index <= 15)
        m_customColours[index] = colour;
}

bool clsDialog::VBChooseColor(QColor& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen,
                              QWidget* Owner)
{
    Q_UNUSED(AnyColor);
    Q_UNUSED(FullOpen);
    Q_UNUSED(DisableFullOpen);
    fillCustomColours();
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, m_customColours[i]);
    const QColor chosen = QColorDialog::getColor(Color, Owner);
    m_apiReturn = chosen.isValid() ? 1 : 0;
    for (int i = 0; i < 16; ++i)
        m_customColours[i] = QColorDialog::customColor(i);
    if (!chosen.isValid()) {
        m_extendedError = 0;
        Color = QColor();
        return false;
    }
    Color = chosen;
    return true;
}

bool clsDialog::VBChooseFont(QFont& CurFont, QWidget* Owner)
{
    m_apiReturn = 0;
    m_extendedError = 0;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, CurFont, Owner);
    m_apiReturn = ok ? 1 : 0;
    if (ok)
        CurFont = chosen;
    return ok;
}

bool clsDialog::VBPageSetupDlg(QPrinter* Printer, QWidget* Owner)
{
    QPrinter fallback;
    QPageSetupDialog dialog(Printer ? Printer : &fallback, Owner);
    return dialog.exec() == QDialog::Accepted;
}
