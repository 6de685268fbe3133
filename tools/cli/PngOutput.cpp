#include "PngOutput.h"

#include <QSaveFile>

bool SavePng(const QString& path, const QImage& image, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("Could not write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    if (!image.save(&file, "PNG")) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                                     : QStringLiteral("the PNG could not be encoded");
        file.cancelWriting();
        error = QStringLiteral("Could not write \"%1\": %2").arg(path, reason);
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("Could not write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
