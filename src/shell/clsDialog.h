#pragma once
// The program's file, colour, font and page-setup dialogs behind one small
// class: each method fills a request from its arguments, runs the dialog and
// copies the results back into the arguments it received by reference.
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

class QWidget;
class QPrinter;

// File dialog flag bits.
namespace Ofn {
constexpr std::uint32_t ReadOnly = 0x1;
constexpr std::uint32_t OverwritePrompt = 0x2;
constexpr std::uint32_t HideReadOnly = 0x4;
constexpr std::uint32_t EnableHook = 0x20;
constexpr std::uint32_t EnableTemplate = 0x40;
constexpr std::uint32_t AllowMultiSelect = 0x200;
constexpr std::uint32_t PathMustExist = 0x800;
constexpr std::uint32_t FileMustExist = 0x1000;
constexpr std::uint32_t Explorer = 0x80000;
constexpr std::uint32_t LongNames = 0x200000;
}

// Common-dialog error reported when a name does not fit its 260-character buffer.
constexpr std::int32_t FnErrBufferTooSmall = 0x3003;
constexpr int DialogTextLimit = 260;

// Flag words sent to the system by the open and save dialogs.
std::uint32_t OpenDialogFlags(bool fileMustExist, bool multiSelect, bool readOnly,
                              bool hideReadOnly, std::uint32_t flags);
std::uint32_t SaveDialogFlags(bool overWritePrompt, std::uint32_t flags);

// "Desc|*.a|Desc2|*.b" -> the NUL-separated list the dialog takes: every "|"
// and ":" becomes a NUL, and two NULs end it.
QString ConvertDialogFilter(const QString& filter);
// The 1-based entry pair `index` of a converted list: description, NUL,
// pattern; empty text when there is no such pair.
QString DialogFilterPair(const QString& converted, std::int32_t index);

// The filters a file dialog lists for a converted list, one per pair:
// "Description (pattern)", or the description alone when it already ends
// with that pattern in brackets ("NES Images (*.NES)" for "*.nes"), so the
// pattern is not shown twice.
QStringList DialogNameFilters(const QString& converted);

// What a file dialog is asked to do, and what it answered.
struct FileDialogRequest {
    bool Save = false;
    QString FileName;
    QString InitDir;
    QString Title;
    QString Filter;          // converted (NUL-separated)
    std::int32_t FilterIndex = 1;
    QString DefaultExt;
    std::uint32_t Flags = 0;
    QWidget* Owner = nullptr;
};
struct FileDialogAnswer {
    bool Confirmed = false;
    QString FileName;        // full path
    std::int32_t FilterIndex = 1;
    std::uint32_t Flags = 0;
};
using FileDialogRunner = std::function<FileDialogAnswer(const FileDialogRequest&)>;

class clsDialog {
public:
    clsDialog();

    bool VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist = true,
                           bool MultiSelect = false, bool* ReadOnly = nullptr,
                           bool HideReadOnly = false, QString* Filter = nullptr,
                           std::int32_t* FilterIndex = nullptr, const QString& InitDir = {},
                           const QString& DlgTitle = {}, const QString& DefaultExt = {},
                           QWidget* Owner = nullptr, std::uint32_t* flags = nullptr);

    bool VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt = true,
                           QString* Filter = nullptr, std::int32_t* FilterIndex = nullptr,
                           const QString& InitDir = {}, const QString& DlgTitle = {},
                           const QString& DefaultExt = {}, QWidget* Owner = nullptr,
                           std::uint32_t* flags = nullptr);

    // The title of a file as the system presents it: its name; empty on error.
    QString VBGetFileTitle(const QString& sFile) const;

    bool VBChooseColor(QColor& Color, bool AnyColor = true, bool FullOpen = false,
                       bool DisableFullOpen = false, QWidget* Owner = nullptr);
    QColor CustomColor(int index);
    void SetCustomColor(int index, const QColor& colour);

    bool VBChooseFont(QFont& CurFont, QWidget* Owner = nullptr);

    bool VBPageSetupDlg(QPrinter* Printer, QWidget* Owner = nullptr);

    std::int32_t APIReturn() const { return m_apiReturn; }
    std::int32_t ExtendedError() const { return m_extendedError; }

    // Replaces the file dialogs (tests); an empty runner restores Qt's.
    static void SetFileDialogRunner(FileDialogRunner runner);

private:
    void fillCustomColours();
    // Runs a file dialog for either method and copies its answer back;
    // `cancelledIndex` is what FilterIndex becomes when nothing was chosen.
    bool RunFileMethod(FileDialogRequest request, QString& Filename, QString& FileTitle,
                       QString* Filter, std::int32_t* FilterIndex, std::uint32_t* flags,
                       std::int32_t cancelledIndex, bool* ReadOnly);

    std::int32_t m_apiReturn = 0;
    std::int32_t m_extendedError = 0;
    bool m_customFilled = false;
    std::array<QColor, 16> m_customColours;
};

// Default filter of the file methods.
inline QString DefaultDialogFilter() { return QStringLiteral("All (*.*)| *.*"); }
