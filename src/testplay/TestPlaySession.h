#pragma once
// One run of the editor's test play: each start writes the image as it is
// now to a file in a private temporary folder and starts the emulator on it
// without waiting. The folder and its files go when the session ends.
#include "rom/RomBytes.h"
#include "testplay/Emulator.h"

#include <QString>

#include <memory>

class QTemporaryDir;

class TestPlaySession {
public:
    TestPlaySession();
    ~TestPlaySession();
    TestPlaySession(const TestPlaySession&) = delete;
    TestPlaySession& operator=(const TestPlaySession&) = delete;

    // Writes `image` to the folder under the file name of `imageName` (a
    // fixed name when it has none) and starts the emulator chosen by
    // ChooseEmulator. False with `error` for the user when no emulator is
    // found, the file cannot be written or the program cannot be started.
    bool Start(const RomBytes& image, const QString& imageName, const QString& storedCommand,
               const QString& pathVariable, QString& error);

    // The private folder (empty before the first start) and the file
    // written last.
    QString Folder() const;
    QString LastFile() const { return m_lastFile; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_lastFile;
};
