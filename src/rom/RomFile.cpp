#include "rom/RomFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
RomWriteFault g_writeFault = nullptr;
}

void SetRomWriteFault(RomWriteFault fault)
{
    g_writeFault = fault;
}

bool LoadRomFile(const QString& path, RomBytes& out, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Could not open \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    const qint64 length = file.size();
    if (QFileInfo(path).isDir() || (!file.isSequential() && length == 0)) {
        error = QStringLiteral("\"%1\" is empty: there is no cartridge image to load.").arg(path);
        return false;
    }
    if (length > MaxRomFileSize) {
        error = QStringLiteral("\"%1\" is %2 bytes long, more than any cartridge image (at most %3 bytes).")
                    .arg(path).arg(length).arg(MaxRomFileSize);
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    const qint64 got = file.read(reinterpret_cast<char*>(bytes.data()), length);
    if (got != length) {
        error = QStringLiteral("Could not read \"%1\": %2")
                    .arg(path, got < 0 ? file.errorString() : QStringLiteral("the file ended early"));
        return false;
    }
    out = RomBytes(std::move(bytes));
    return true;
}

bool SaveRomFile(const QString& path, const RomBytes& rom, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Could not save \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    if (g_writeFault) {
        const QString injected = g_writeFault(rom.size());
        if (!injected.isEmpty()) {
            // Write part of the data first so the fault happens mid-way.
            file.write(reinterpret_cast<const char*>(rom.data()), rom.size() / 2);
            file.cancelWriting();
            error = QStringLiteral("Could not save \"%1\": %2").arg(path, injected);
            return false;
        }
    }
    const qint64 written = file.write(reinterpret_cast<const char*>(rom.data()), rom.size());
    if (written != rom.size()) {
        error = QStringLiteral("Could not save \"%1\": %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("Could not save \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
