#include "shell/MenuImages.h"

#include <QAction>
#include <QHash>

// The resources live in a static library; registering them by hand keeps
// the linker from dropping them. Outside any namespace, as the macro needs.
static void initMenuImageResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(MenuImages);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {
constexpr int ArrayIndicesTried = 100;

QImage resourceImage(int id)
{
    initMenuImageResources();
    return QImage(QStringLiteral(":/menuimages/%1.png").arg(id));
}
}

QMap<QString, MenuImagePair>& MenuImageStore()
{
    static QMap<QString, MenuImagePair> store;
    return store;
}

bool RegisterMenuImage(const QString& caption, int imageId, int maskId)
{
    if (caption.isEmpty() || MenuImageStore().contains(caption))
        return false;
    MenuImageStore().insert(caption, {imageId, maskId});
    return true;
}

void RegisterMenuArrayImages(const QList<QAction*>& elements, int imageId, int maskId, bool alsoWithoutFirst)
{
    for (int i = 0; i < ArrayIndicesTried; ++i) {
        const QAction* element = elements.value(i, nullptr);
        if (!element)
            continue;
        const QString caption = element->text();
        RegisterMenuImage(caption, imageId, maskId);
        if (alsoWithoutFirst)
            RegisterMenuImage(caption.mid(1), imageId, maskId);
    }
}

QImage LoadMenuImage(int imageId, int maskId)
{
    static QHash<quint64, QImage> cache;
    const quint64 key = (quint64(quint32(imageId)) << 32) | quint32(maskId);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;

    QImage image = resourceImage(imageId).convertToFormat(QImage::Format_ARGB32);
    const QImage mask = resourceImage(maskId).convertToFormat(QImage::Format_Grayscale8);
    if (image.isNull() || mask.isNull() || image.size() != mask.size()) {
        cache.insert(key, QImage());
        return QImage();
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* m = mask.constScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            if (m[x] >= 128)
                line[x] = qRgba(0, 0, 0, 0);
    }
    cache.insert(key, image);
    return image;
}

QImage MenuImageFor(const QString& caption)
{
    const auto it = MenuImageStore().constFind(caption);
    if (it == MenuImageStore().constEnd())
        return QImage();
    return LoadMenuImage(it->Image, it->Mask);
}
