#pragma once
// Writing a picture as a PNG file, atomically: a failure leaves no file
// behind and an existing file as it was.
#include <QImage>
#include <QString>

// Returns false and sets `error` to a sentence with the system's reason.
bool SavePng(const QString& path, const QImage& image, QString& error);
