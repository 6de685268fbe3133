#include "testplay/TestPlaySession.h"

#include "rom/RomFile.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

TestPlaySession::TestPlaySession() = default;
TestPlaySession::~TestPlaySession() = default;

QString TestPlaySession::Folder() const
{
    return m_dir ? m_dir->path() : QString();
}

bool TestPlaySession::Start(const RomBytes& image, const QString& imageName, const QString& storedCommand,
                            const QString& pathVariable, QString& error)
{
    if (image.empty()) {
        error = QStringLiteral("There is no cartridge image to play: open one first.");
        return false;
    }
    if (!m_dir) {
        // Made with permissions for its owner only.
        auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vorned-testplay-XXXXXX"));
        if (!dir->isValid()) {
            error = QStringLiteral("Could not make a temporary folder for test play: %1").arg(dir->errorString());
            return false;
        }
        m_dir = std::move(dir);
    }
    QString name = QFileInfo(imageName).fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name = QStringLiteral("testplay.nes");
    const QString file = m_dir->filePath(name);

    // Choose first, so that nothing is written when nothing can be started.
    const std::optional<EmulatorLaunch> launch = ChooseEmulator(storedCommand, file, pathVariable, error);
    if (!launch)
        return false;
    // Written atomically: an emulator still running on the last copy keeps it.
    if (!SaveRomFile(file, image, error))
        return false;
    m_lastFile = file;

    QProcess process;
    process.setProgram(launch->program);
    process.setArguments(launch->arguments);
    process.setWorkingDirectory(m_dir->path());
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        const QString reason = process.errorString();
        error = QStringLiteral("The emulator \"%1\" could not be started: %2")
                    .arg(launch->program, reason.isEmpty() ? QStringLiteral("the system refused to run it") : reason);
        return false;
    }
    return true;
}
