#include "desktop/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

namespace {

const char* const Key = "RecentFiles";

// ~/.config/VornEd/VornEd.conf (the test location when tests ask for it).
QSettings Settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VornEd"), QStringLiteral("VornEd"));
}

QString Normalised(const QString& path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStringList Tidied(const QStringList& paths)
{
    QStringList tidy;
    for (const QString& path : paths) {
        if (path.isEmpty() || !QDir::isAbsolutePath(path))
            continue;
        const QString clean = QDir::cleanPath(path);
        if (!tidy.contains(clean))
            tidy << clean;
        if (tidy.size() == RecentFileLimit)
            break;
    }
    return tidy;
}

void Store(const QStringList& paths)
{
    QSettings settings = Settings();
    settings.setValue(QLatin1String(Key), paths);
    settings.sync();
}

} // namespace

QStringList RecentFiles()
{
    const QVariant stored = Settings().value(QLatin1String(Key));
    // A single entry reads back as text, several as a list; anything else
    // (a hand-edited file) counts as no list.
    if (stored.typeId() == QMetaType::QString)
        return Tidied({stored.toString()});
    if (stored.typeId() == QMetaType::QStringList || stored.typeId() == QMetaType::QVariantList)
        return Tidied(stored.toStringList());
    return {};
}

void RememberRecentFile(const QString& path)
{
    const QString clean = Normalised(path);
    if (clean.isEmpty())
        return;
    QStringList paths = RecentFiles();
    paths.removeAll(clean);
    paths.prepend(clean);
    Store(Tidied(paths));
}

void ForgetRecentFile(const QString& path)
{
    QStringList paths = RecentFiles();
    if (paths.removeAll(Normalised(path)) > 0)
        Store(paths);
}

void ClearRecentFiles()
{
    Store({});
}

QString RecentFilesSettingsPath()
{
    return Settings().fileName();
}
