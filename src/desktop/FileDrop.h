#pragma once
// Opening a file by dropping it on a window: the window accepts a drag that
// carries exactly one local file and, once the drop is done, hands the
// file's path to `open` (the same routine File > Open ends in).
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

// The one local file a drag carries, or empty text when it carries none,
// several, or something that is not a local file.
QString DroppedFile(const QMimeData* data);

void AcceptFileDrops(QWidget* window, std::function<void(const QString& path)> open);
