#include "patch/PatchFile.h"

#include "files/FileNames.h"
#include "files/FileReader.h"
#include "files/SystemReason.h"

bool LoadPatchFile(const QString& path, ByteVector& out, QString& error)
{
    // The file layer's reader: the path is looked at before anything is
    // opened (a pipe or a device could block), and read to its end.
    ReadOutcome read = ReadWholeFile(path, MaxPatchFileSize, FileAccess::FilesOnly);
    const QString name = DisplayName(path);
    switch (read.Status) {
    case ReadStatus::Read:
        out = std::move(read.Bytes);
        return true;
    case ReadStatus::BadName:
        error = QStringLiteral("\"%1\" cannot be opened: no file can have this name.").arg(name);
        break;
    case ReadStatus::CannotOpen:
        error = QStringLiteral("Could not open \"%1\": %2").arg(name, SystemReason(read.Error));
        break;
    case ReadStatus::NotAFile:
        if (read.Facts.Kind == FileKind::Directory && !read.Facts.Link)
            error = QStringLiteral("\"%1\" is a folder, not a patch.").arg(name);
        else
            error = QStringLiteral("\"%1\" is not a regular file: it is %2%3.")
                        .arg(name, read.Facts.Link ? QStringLiteral("a symbolic link to ") : QString(),
                             KindName(read.Facts.Kind));
        break;
    case ReadStatus::Empty:
        error = QStringLiteral("\"%1\" is empty: there is no patch in it.").arg(name);
        break;
    case ReadStatus::TooLarge:
        error = QStringLiteral("\"%1\" is %2 bytes long, more than any patch of an image (at most %3 bytes).")
                    .arg(name, read.Size >= 0 ? QString::number(read.Size) : QStringLiteral("more than %1").arg(MaxPatchFileSize))
                    .arg(MaxPatchFileSize);
        break;
    case ReadStatus::CannotRead:
        error = QStringLiteral("Could not read \"%1\": %2").arg(name, SystemReason(read.Error));
        break;
    }
    return false;
}
