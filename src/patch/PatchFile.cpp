#include "patch/PatchFile.h"

#include <QFile>
#include <QFileInfo>

bool LoadPatchFile(const QString& path, ByteVector& out, QString& error)
{
    QFile file(path);
    const QFileInfo info(path);
    if (info.isDir()) {
        error = QStringLiteral("\"%1\" is a folder, not a patch.").arg(path);
        return false;
    }
    // Checked before opening: opening a pipe or a device could block.
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("\"%1\" is not a regular file.").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Could not open \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    if (file.isSequential()) {
        error = QStringLiteral("\"%1\" is not a regular file.").arg(path);
        return false;
    }
    const qint64 length = file.size();
    if (length == 0) {
        error = QStringLiteral("\"%1\" is empty: there is no patch in it.").arg(path);
        return false;
    }
    if (length > MaxPatchFileSize) {
        error = QStringLiteral("\"%1\" is %2 bytes long, more than any patch of an image (at most %3 bytes).")
                    .arg(path).arg(length).arg(MaxPatchFileSize);
        return false;
    }
    ByteVector bytes(static_cast<std::size_t>(length));
    const qint64 got = file.read(reinterpret_cast<char*>(bytes.data()), length);
    if (got != length) {
        error = QStringLiteral("Could not read \"%1\": %2")
                    .arg(path, got < 0 ? file.errorString() : QStringLiteral("the file ended early"));
        return false;
    }
    out = std::move(bytes);
    return true;
}
