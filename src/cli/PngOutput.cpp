#include "PngOutput.h"

#include "files/FileNames.h"
#include "files/FileWriter.h"

#include <QBuffer>

bool SavePng(const QString& path, const QImage& image, QString& error)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QString reason;
    if (!image.save(&buffer, "PNG")) {
        reason = QStringLiteral("the PNG could not be encoded");
    } else {
        const WriteOutcome outcome = WriteWholeFile(path, reinterpret_cast<const std::uint8_t*>(png.constData()),
                                                    png.size(), FileAccess::FilesAndStreams);
        if (outcome.Ok)
            return true;
        reason = outcome.Reason;
    }
    error = QStringLiteral("Could not write \"%1\": %2").arg(DisplayName(path), reason);
    return false;
}
