#include "rom/RomFile.h"

#include "files/FileFaults.h"
#include "files/FileNames.h"
#include "files/FileWriter.h"
#include "files/SystemReason.h"

void SetRomWriteFault(RomWriteFault fault)
{
    if (!fault) {
        SetFileFault({});
        return;
    }
    SetFileFault([fault](FileStep step, long long bytes) {
        return step == FileStep::WriteTemporary || step == FileStep::WriteInPlace ? fault(bytes) : QString();
    });
}

QString LoadFailureText(const QString& path, const ReadOutcome& outcome)
{
    const QString name = QuotedName(path);
    switch (outcome.Status) {
    case ReadStatus::Read:
        break;
    case ReadStatus::BadName:
        return QStringLiteral("%1 cannot be opened: no file can have this name.").arg(name);
    case ReadStatus::CannotOpen:
        return QStringLiteral("Could not open %1: %2").arg(name, SystemReason(outcome.Error));
    case ReadStatus::NotAFile:
        if (outcome.StandardInput)
            return QStringLiteral("standard input is %1, not a file.").arg(KindName(outcome.Facts.Kind));
        return QStringLiteral("%1 %2.").arg(name, NotAFileReason(outcome.Facts));
    case ReadStatus::Empty:
        if (outcome.Stream)
            return QStringLiteral("%1 gave no bytes: there is no cartridge image to load.").arg(name);
        return QStringLiteral("%1 is empty: there is no cartridge image to load.").arg(name);
    case ReadStatus::TooLarge:
        if (outcome.Size >= 0)
            return QStringLiteral("%1 is too large: %2 bytes, more than any cartridge image (at most %3 bytes).")
                .arg(name).arg(outcome.Size).arg(MaxRomFileSize);
        return QStringLiteral("%1 is too large: it gives more than %2 bytes, more than any cartridge image.")
            .arg(name).arg(MaxRomFileSize);
    case ReadStatus::CannotRead:
        return QStringLiteral("Could not read %1: %2").arg(name, SystemReason(outcome.Error));
    }
    return QString();
}

bool LoadRomFile(const QString& path, RomBytes& out, QString& error, FileAccess access)
{
    ReadOutcome outcome = ReadWholeFile(path, MaxRomFileSize, access);
    if (outcome.Status != ReadStatus::Read) {
        error = LoadFailureText(path, outcome);
        return false;
    }
    out = RomBytes(std::move(outcome.Bytes));
    return true;
}

bool SaveRomFile(const QString& path, const RomBytes& rom, QString& error, FileAccess access)
{
    const WriteOutcome outcome = WriteWholeFile(path, rom.data(), rom.size(), access);
    if (!outcome.Ok) {
        error = QStringLiteral("Could not save \"%1\": %2").arg(DisplayName(path), outcome.Reason);
        return false;
    }
    return true;
}
