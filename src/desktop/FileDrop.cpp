#include "desktop/FileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

class FileDropFilter : public QObject {
public:
    FileDropFilter(QWidget* window, std::function<void(const QString&)> open)
        : QObject(window), m_open(std::move(open))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!DroppedFile(drag->mimeData()).isEmpty())
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = DroppedFile(drop->mimeData());
            if (path.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // Opened after the drop has been answered: the program the file
            // came from is not kept waiting while a question or a message
            // is on screen.
            QMetaObject::invokeMethod(watched, [open = m_open, path] { open(path); }, Qt::QueuedConnection);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    std::function<void(const QString&)> m_open;
};

} // namespace

QString DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

void AcceptFileDrops(QWidget* window, std::function<void(const QString& path)> open)
{
    window->setAcceptDrops(true);
    window->installEventFilter(new FileDropFilter(window, std::move(open)));
}
