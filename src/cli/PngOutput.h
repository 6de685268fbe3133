#pragma once
// Writing a picture as a PNG file through the file layer's one writer: a
// failure leaves no file behind and an existing file as it was; a device or
// named pipe is written through, never replaced.
#include <QImage>
#include <QString>

// Returns false and sets `error` to a sentence with the system's reason.
bool SavePng(const QString& path, const QImage& image, QString& error);
