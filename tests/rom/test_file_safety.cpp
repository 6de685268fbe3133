// What the file layer does with every kind of path a user can name, in
// tables: each row makes its own file, pipe, socket, device, link or name in
// a temporary folder, reads or writes it as the editor (regular files only)
// or the command line (also pipes and devices) does, and states the result,
// what is on disk afterwards (type, bytes, owner, mode, link count, the
// folder's entries) and the message.
#include "files/FileFaults.h"
#include "files/FileNames.h"
#include "files/FileWriter.h"
#include "files/SystemReason.h"
#include "rom/RomFile.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>

#include "../fixtures/FileFixture.h"
#include "../fixtures/SpecialFiles.h"

Q_DECLARE_METATYPE(FileAccess)
Q_DECLARE_METATYPE(ReadStatus)
Q_DECLARE_METATYPE(WriteMethod)
Q_DECLARE_METATYPE(FileStep)

namespace {

constexpr FileAccess Editor = FileAccess::FilesOnly;
constexpr FileAccess CommandLine = FileAccess::FilesAndStreams;

const QByteArray OldBytes = Pattern(3000, 2);
const QByteArray NewBytes = Pattern(5000, 1);

// 250 bytes: a name the file system takes, but ".NAME.vorned-save-XXXXXX" is too long.
QByteArray LongName()
{
    return QByteArray(246, 'n') + ".nes";
}

QString FromNative(const QByteArray& native)
{
    return DecodeFileName(native);
}

// Makes what a row names at `path` (in `folder`); returns false (with
// `skip` set) when it needs rights the test does not have.
bool MakeThing(const QString& kind, const QByteArray& folder, QByteArray& path, QString& skip)
{
    const auto needRoot = [&] {
        if (RunningAsRoot())
            return true;
        skip = QStringLiteral("making a device node needs root");
        return false;
    };
    const auto target = [&](const QByteArray& name) { return folder + '/' + name; };
    if (kind == "file") return WriteBytes(path, OldBytes);
    if (kind == "file 0640") return WriteBytes(path, OldBytes, 0640);
    if (kind == "file 4750") return WriteBytes(path, OldBytes, 04750);
    if (kind == "missing") return true;
    if (kind == "empty") return WriteBytes(path, {});
    if (kind == "folder") return ::mkdir(path.constData(), 0755) == 0;
    if (kind == "named pipe") return MakeFifo(path);
    if (kind == "socket") return MakeSocketFile(path);
    if (kind == "null device") return needRoot() && MakeCharDevice(path, 3);
    if (kind == "huge") {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        const bool ok = fd >= 0 && ::ftruncate(fd, MaxRomFileSize + 1) == 0;
        ::close(fd);
        return ok;
    }
    if (kind == "hard-linked") return WriteBytes(path, OldBytes, 0640) && ::link(path.constData(), target("other-name").constData()) == 0;
    if (kind == "hard-linked 4750") return WriteBytes(path, OldBytes, 04750) && ::link(path.constData(), target("other-name").constData()) == 0;
    if (kind == "other owner") {
        if (!RunningAsRoot()) {
            skip = QStringLiteral("giving a file to another owner needs root");
            return false;
        }
        return WriteBytes(path, OldBytes, 0640) && ::chown(path.constData(), 65534, 65534) == 0;
    }
    if (kind == "other owner, hard-linked")
        return MakeThing(QStringLiteral("other owner"), folder, path, skip) && ::link(path.constData(), target("other-name").constData()) == 0;
    if (kind == "unreadable") {
        if (RunningAsRoot()) {
            skip = QStringLiteral("root reads a file without read permission");
            return false;
        }
        return WriteBytes(path, OldBytes, 0200);
    }
    if (kind.startsWith(QLatin1String("link to "))) {
        const QString what = kind.mid(8);
        QByteArray thing = target("thing");
        if (what != "nothing" && !MakeThing(what, folder, thing, skip))
            return false;
        return MakeSymlink("thing", path);
    }
    if (kind == "long name") {
        path = target(LongName());
        return WriteBytes(path, OldBytes);
    }
    if (kind == "long name, hard-linked") {
        path = target(LongName());
        return WriteBytes(path, OldBytes) && ::link(path.constData(), target("other-name").constData()) == 0;
    }
    if (kind == "name too long") {
        path = target(QByteArray(256, 'n'));
        return true;
    }
    if (kind == "raw name") {
        // Beside it, the name a lossy decoding would turn it into.
        path = target("bad\xff.nes");
        return WriteBytes(path, OldBytes) && WriteBytes(target("bad\xef\xbf\xbd.nes"), Pattern(77, 9));
    }
    if (kind == "new raw name") {
        path = target("new\xfe.nes");
        return WriteBytes(target("new\xef\xbf\xbd.nes"), Pattern(77, 9));
    }
    if (kind == "missing folder") {
        path = target("gone/game.nes");
        return true;
    }
    if (kind == "read-only folder") {
        if (RunningAsRoot()) {
            skip = QStringLiteral("root writes into a read-only folder");
            return false;
        }
        const QByteArray sub = target("locked");
        path = sub + "/game.nes";
        return ::mkdir(sub.constData(), 0755) == 0 && WriteBytes(path, OldBytes) && ::chmod(sub.constData(), 0555) == 0;
    }
    return false;
}

} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QByteArray m_folder;
    QByteArray m_mount; // a small file system mounted for the row, or empty

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_folder = QFile::encodeName(m_dir->path());
    }
    void cleanup()
    {
        SetFileFault({});
        if (!m_mount.isEmpty())
            ::umount2(m_mount.constData(), MNT_DETACH);
        m_mount.clear();
        ::chmod((m_folder + "/locked").constData(), 0755);
        RemoveContents(m_folder);
        delete m_dir;
        m_dir = nullptr;
    }

    // ---- Reading ----

    void reading_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FileAccess>("access");
        QTest::addColumn<ReadStatus>("status");
        QTest::addColumn<int>("bytes");      // read; -1: any number above 0
        QTest::addColumn<QString>("message"); // part of the sentence the user sees

        QTest::newRow("file") << "file" << Editor << ReadStatus::Read << 3000 << "";
        QTest::newRow("link to file") << "link to file" << Editor << ReadStatus::Read << 3000 << "";
        QTest::newRow("250-byte name") << "long name" << Editor << ReadStatus::Read << 3000 << "";
        QTest::newRow("non-UTF-8 name: that file, not its look-alike") << "raw name" << CommandLine << ReadStatus::Read << 3000 << "";
        QTest::newRow("/proc file of size 0 read to its end") << "proc" << Editor << ReadStatus::Read << -1 << "";
        QTest::newRow("missing") << "missing" << Editor << ReadStatus::CannotOpen << 0
                                 << "Could not open \"%1\": No such file or directory";
        QTest::newRow("dangling link") << "link to nothing" << Editor << ReadStatus::CannotOpen << 0
                                       << "Could not open \"%1\": No such file or directory";
        QTest::newRow("name too long") << "name too long" << Editor << ReadStatus::CannotOpen << 0
                                       << "Could not open \"%1\": File name too long";
        QTest::newRow("unreadable") << "unreadable" << Editor << ReadStatus::CannotOpen << 0
                                    << "Could not open \"%1\": Permission denied";
        QTest::newRow("empty") << "empty" << Editor << ReadStatus::Empty << 0
                               << "\"%1\" is empty: there is no cartridge image to load.";
        QTest::newRow("over 16 MiB") << "huge" << Editor << ReadStatus::TooLarge << 0
                                     << "\"%1\" is too large: 16777217 bytes, more than any cartridge image";
        QTest::newRow("folder") << "folder" << CommandLine << ReadStatus::NotAFile << 0 << "\"%1\" is a folder, not a file.";
        QTest::newRow("socket") << "socket" << CommandLine << ReadStatus::NotAFile << 0 << "\"%1\" is a socket, not a file.";
        QTest::newRow("null device") << "null device" << CommandLine << ReadStatus::NotAFile << 0
                                     << "\"%1\" is a character device, not a file.";
        QTest::newRow("editor: pipe without writer, at once") << "named pipe" << Editor << ReadStatus::NotAFile << 0
                                                              << "\"%1\" is a named pipe, not a file.";
        QTest::newRow("editor: link to pipe") << "link to named pipe" << Editor << ReadStatus::NotAFile << 0
                                              << "\"%1\" is a symbolic link to a named pipe, not a file.";
        QTest::newRow("link to folder") << "link to folder" << Editor << ReadStatus::NotAFile << 0
                                        << "\"%1\" is a symbolic link to a folder, not a file.";
        QTest::newRow("link to socket") << "link to socket" << CommandLine << ReadStatus::NotAFile << 0
                                        << "\"%1\" is a symbolic link to a socket, not a file.";
        QTest::newRow("link to null device") << "link to null device" << CommandLine << ReadStatus::NotAFile << 0
                                             << "\"%1\" is a symbolic link to a character device, not a file.";
        QTest::newRow("command line: pipe with a writer") << "pipe writer" << CommandLine << ReadStatus::Read << 3000 << "";
        QTest::newRow("command line: link to pipe with a writer") << "link pipe writer" << CommandLine << ReadStatus::Read << 3000 << "";
        QTest::newRow("command line: pipe whose writer writes nothing") << "pipe silent writer" << CommandLine
                                                                        << ReadStatus::Empty << 0
                                                                        << "\"%1\" gave no bytes: there is no cartridge image to load.";
        QTest::newRow("command line: pipe with 16 MiB + 1 byte") << "pipe flood" << CommandLine << ReadStatus::TooLarge << 0
                                                                 << "\"%1\" is too large: it gives more than 16777216 bytes";
        QTest::newRow("NUL in the name") << "nul" << Editor << ReadStatus::BadName << 0
                                         << "cannot be opened: no file can have this name.";
    }
    void reading()
    {
        QFETCH(QString, kind);
        QFETCH(FileAccess, access);
        QFETCH(ReadStatus, status);
        QFETCH(int, bytes);
        QFETCH(QString, message);

        QByteArray path = m_folder + "/image.nes";
        QString name;
        QString skip;
        std::unique_ptr<FifoWriter> writer;
        if (kind == "proc") {
            path = "/proc/self/status";
        } else if (kind == "nul") {
            name = FromNative(path) + QChar(0) + QStringLiteral("x");
        } else if (kind.startsWith(QLatin1String("pipe ")) || kind == "link pipe writer") {
            QByteArray fifo = m_folder + "/pipe";
            QVERIFY(MakeFifo(fifo));
            if (kind == "link pipe writer")
                QVERIFY(MakeSymlink("pipe", path));
            else
                path = fifo;
            const QByteArray content = kind == "pipe flood" ? QByteArray(int(MaxRomFileSize) + 1, 'x')
                                     : kind == "pipe silent writer" ? QByteArray() : OldBytes;
            writer = std::make_unique<FifoWriter>(fifo, content);
        } else if (!MakeThing(kind, m_folder, path, skip)) {
            if (!skip.isEmpty())
                QSKIP(qPrintable(skip));
            QFAIL("could not make the row's file");
        }
        if (name.isNull())
            name = FromNative(path);
        const DiskState before = StateOf(path);

        // A named pipe must be refused before it is opened, or read to its
        // end: never may the reader hang on it.
        const QByteArray fifo = kind == "named pipe" ? path
                              : kind == "link to named pipe" ? m_folder + "/thing"
                              : m_folder + "/pipe";
        ReadOutcome outcome;
        {
            HangGuard guard(fifo, true);
            outcome = ReadWholeFile(name, MaxRomFileSize, access);
            QVERIFY2(!guard.release(), "the read hung on a named pipe");
        }
        writer.reset();

        QCOMPARE(outcome.Status, status);
        if (status == ReadStatus::Read) {
            if (bytes < 0)
                QVERIFY(!outcome.Bytes.empty());
            else
                QCOMPARE(qsizetype(outcome.Bytes.size()), qsizetype(bytes));
            if (bytes == OldBytes.size())
                QCOMPARE(QByteArray(reinterpret_cast<const char*>(outcome.Bytes.data()), qsizetype(outcome.Bytes.size())),
                         OldBytes);
        } else {
            QVERIFY(outcome.Bytes.empty());
            const QString text = LoadFailureText(name, outcome);
            const QString expected = message.contains(QLatin1String("%1")) ? message.arg(DisplayName(name)) : message;
            QVERIFY2(text.contains(expected), qPrintable(text));
            QVERIFY2(!text.contains(QLatin1String("Unknown error")), qPrintable(text));
            // The editor's function says the same.
            RomBytes rom(std::vector<std::uint8_t>(5, 7));
            QString error;
            if (!kind.startsWith(QLatin1String("pipe")) && kind != "link pipe writer") {
                QVERIFY(!LoadRomFile(name, rom, error, access));
                QCOMPARE(error, text);
                QCOMPARE(rom.size(), 5);
            }
        }
        // Reading changes nothing on disk (a /proc file changes by itself).
        if (kind != "proc")
            QCOMPARE(StateOf(path).describe(), before.describe());
        if (kind == "raw name")
            QCOMPARE(ReadBytes(m_folder + "/bad\xef\xbf\xbd.nes"), Pattern(77, 9));
    }

    // ---- Writing ----

    void writing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FileAccess>("access");
        QTest::addColumn<WriteMethod>("method");   // Refused: nothing written
        QTest::addColumn<QString>("after");        // type afterwards ("link to named pipe" ...)
        QTest::addColumn<QString>("bytes");        // "new", "old", "none"
        QTest::addColumn<int>("mode");             // -1: not a file; -2: new file (0666 less umask)
        QTest::addColumn<int>("links");
        QTest::addColumn<QString>("owner");        // "me" or "other" (65534:65534)
        QTest::addColumn<QString>("message");

        const WriteMethod refused = WriteMethod::Refused;
        QTest::newRow("new file") << "missing" << Editor << WriteMethod::Created << "file" << "new" << -2 << 1 << "me" << "";
        QTest::newRow("file 0640") << "file 0640" << Editor << WriteMethod::Replaced << "file" << "new" << 0640 << 1 << "me" << "";
        QTest::newRow("file 4750: set-user-ID kept") << "file 4750" << Editor << WriteMethod::Replaced << "file" << "new" << 04750 << 1 << "me" << "";
        QTest::newRow("hard-linked 4750: set-user-ID kept") << "hard-linked 4750" << Editor << WriteMethod::InPlace << "file" << "new" << 04750 << 2 << "me" << "";
        QTest::newRow("another owner's file") << "other owner" << Editor << WriteMethod::Replaced << "file" << "new" << 0640 << 1 << "other" << "";
        QTest::newRow("hard-linked: in place") << "hard-linked" << Editor << WriteMethod::InPlace << "file" << "new" << 0640 << 2 << "me" << "";
        QTest::newRow("another owner's, hard-linked") << "other owner, hard-linked" << Editor << WriteMethod::InPlace << "file" << "new" << 0640 << 2 << "other" << "";
        QTest::newRow("link to file: target written") << "link to file 0640" << Editor << WriteMethod::Replaced << "link to file" << "new" << 0640 << 1 << "me" << "";
        QTest::newRow("dangling link: target made") << "link to nothing" << Editor << WriteMethod::Created << "link to file" << "new" << -2 << 1 << "me" << "";
        QTest::newRow("250-byte name: short temporary name") << "long name" << Editor << WriteMethod::Replaced << "file" << "new" << 0644 << 1 << "me" << "";
        QTest::newRow("250-byte name, hard-linked: short backup name") << "long name, hard-linked" << Editor << WriteMethod::InPlace << "file" << "new" << 0644 << 2 << "me" << "";
        QTest::newRow("non-UTF-8 name") << "raw name" << CommandLine << WriteMethod::Replaced << "file" << "new" << 0644 << 1 << "me" << "";
        QTest::newRow("new non-UTF-8 name") << "new raw name" << CommandLine << WriteMethod::Created << "file" << "new" << -2 << 1 << "me" << "";
        QTest::newRow("folder") << "folder" << CommandLine << refused << "folder" << "none" << -1 << 2 << "me" << "it is a folder, not a file";
        QTest::newRow("editor: named pipe") << "named pipe" << Editor << refused << "named pipe" << "none" << -1 << 1 << "me" << "it is a named pipe, not a file";
        QTest::newRow("command line: named pipe written through") << "named pipe" << CommandLine << WriteMethod::Through << "named pipe" << "none" << -1 << 1 << "me" << "";
        QTest::newRow("socket") << "socket" << CommandLine << refused << "socket" << "none" << -1 << 1 << "me" << "it is a socket, not a file";
        QTest::newRow("editor: null device") << "null device" << Editor << refused << "character device" << "none" << -1 << 1 << "me" << "it is a character device, not a file";
        QTest::newRow("command line: null device written through") << "null device" << CommandLine << WriteMethod::Through << "character device" << "none" << -1 << 1 << "me" << "";
        QTest::newRow("editor: link to named pipe") << "link to named pipe" << Editor << refused << "link to named pipe" << "none" << -1 << 1 << "me" << "it is a symbolic link to a named pipe, not a file";
        QTest::newRow("editor: link to null device") << "link to null device" << Editor << refused << "link to character device" << "none" << -1 << 1 << "me" << "it is a symbolic link to a character device, not a file";
        QTest::newRow("command line: link to null device") << "link to null device" << CommandLine << WriteMethod::Through << "link to character device" << "none" << -1 << 1 << "me" << "";
        QTest::newRow("link to socket") << "link to socket" << CommandLine << refused << "link to socket" << "none" << -1 << 1 << "me" << "it is a symbolic link to a socket, not a file";
        QTest::newRow("link to folder") << "link to folder" << CommandLine << refused << "link to folder" << "none" << -1 << 2 << "me" << "it is a symbolic link to a folder, not a file";
        QTest::newRow("name too long") << "name too long" << Editor << refused << "nothing" << "none" << -1 << 0 << "me" << "File name too long";
        QTest::newRow("folder is missing") << "missing folder" << Editor << refused << "nothing" << "none" << -1 << 0 << "me" << "No such file or directory";
        QTest::newRow("read-only folder") << "read-only folder" << Editor << refused << "file" << "old" << 0644 << 1 << "me" << "Permission denied";
    }
    void writing()
    {
        QFETCH(QString, kind);
        QFETCH(FileAccess, access);
        QFETCH(WriteMethod, method);
        QFETCH(QString, after);
        QFETCH(QString, bytes);
        QFETCH(int, mode);
        QFETCH(int, links);
        QFETCH(QString, owner);
        QFETCH(QString, message);

        QByteArray path = m_folder + "/image.nes";
        QString skip;
        if (!MakeThing(kind, m_folder, path, skip)) {
            if (!skip.isEmpty())
                QSKIP(qPrintable(skip));
            QFAIL("could not make the row's file");
        }
        const QByteArray folder = kind == "read-only folder" ? m_folder + "/locked" : m_folder;
        const QList<QByteArray> entriesBefore = EntriesOf(folder);
        const DiskState before = StateOf(path);

        std::unique_ptr<FifoReader> reader;
        if (kind == "named pipe" && access == CommandLine)
            reader = std::make_unique<FifoReader>(path);
        WriteOutcome outcome;
        {
            HangGuard guard(path, false);
            outcome = WriteWholeFile(FromNative(path), reinterpret_cast<const std::uint8_t*>(NewBytes.constData()),
                                     NewBytes.size(), access);
            QVERIFY2(!guard.release(), "the write hung");
        }
        QCOMPARE(outcome.Ok, method != WriteMethod::Refused);
        QCOMPARE(outcome.Method, method);
        if (message.isEmpty())
            QVERIFY2(outcome.Reason.isEmpty(), qPrintable(outcome.Reason));
        else
            QVERIFY2(outcome.Reason.contains(message), qPrintable(outcome.Reason));
        if (reader)
            QCOMPARE(reader->finish(), NewBytes);

        // What is on disk now.
        const DiskState state = StateOf(path);
        QCOMPARE(state.Link, after.startsWith(QLatin1String("link to ")));
        const QString type = state.Link ? after.mid(8) : after;
        QCOMPARE(state.Exists ? state.Type : QStringLiteral("nothing"), type);
        if (bytes == "new")
            QCOMPARE(state.Bytes, NewBytes);
        else if (bytes == "old")
            QCOMPARE(state.Bytes, OldBytes);
        if (mode == -2)
            QCOMPARE(state.Mode, 0666 & ~CurrentUmask());
        else if (mode >= 0)
            QCOMPARE(state.Mode, mode);
        if (state.Exists) {
            QCOMPARE(state.Links, links);
            QCOMPARE(state.Owner, owner == "other" ? uid_t(65534) : ::geteuid());
            if (owner == "other")
                QCOMPARE(state.Group, gid_t(65534));
            if (type == "character device")
                QCOMPARE(state.Device, before.Device);
        }
        if (links == 2 && type == "file")
            QCOMPARE(ReadBytes(m_folder + "/other-name"), state.Bytes);
        if (kind.contains(QLatin1String("raw name")))
            QCOMPARE(ReadBytes(m_folder + (kind == "raw name" ? "/bad" : "/new") + "\xef\xbf\xbd.nes"), Pattern(77, 9));

        // No temporary or backup file is left: the folder holds what it held,
        // and a made file under its own name.
        QList<QByteArray> expected = entriesBefore;
        if (method == WriteMethod::Created) {
            const QByteArray created = kind == "link to nothing" ? QByteArray("thing") : path.mid(folder.size() + 1);
            expected << created;
            std::sort(expected.begin(), expected.end());
        }
        QCOMPARE(EntriesOf(folder), expected);
    }

    void failureAtEachStep_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FileStep>("step");
        QTest::addColumn<bool>("alsoRestore"); // the copying back fails as well
        QTest::addColumn<QString>("message");

        QTest::newRow("new file: writing the temporary file") << "missing" << FileStep::WriteTemporary << false << "No space left on device";
        QTest::newRow("new file: renaming it into place") << "missing" << FileStep::ReplaceTarget << false << "No space left on device";
        QTest::newRow("file: writing the temporary file") << "file" << FileStep::WriteTemporary << false << "No space left on device";
        QTest::newRow("file: renaming over the old one") << "file" << FileStep::ReplaceTarget << false << "No space left on device";
        QTest::newRow("hard-linked: making the backup") << "hard-linked" << FileStep::WriteBackup << false
                                                        << "a backup copy could not be made beside it (No space left on device)";
        QTest::newRow("hard-linked: writing in place, restored") << "hard-linked" << FileStep::WriteInPlace << false
                                                                 << "No space left on device; the file was restored to its old content";
        QTest::newRow("hard-linked: writing in place and restoring") << "hard-linked" << FileStep::WriteInPlace << true
                                                                     << "putting the old content back failed too";
        QTest::newRow("250-byte name, hard-linked: writing in place") << "long name, hard-linked" << FileStep::WriteInPlace << false
                                                                      << "restored to its old content";
    }
    void failureAtEachStep()
    {
        QFETCH(QString, kind);
        QFETCH(FileStep, step);
        QFETCH(bool, alsoRestore);
        QFETCH(QString, message);

        QByteArray path = m_folder + "/image.nes";
        QString skip;
        QVERIFY(MakeThing(kind, m_folder, path, skip));
        const QList<QByteArray> entriesBefore = EntriesOf(m_folder);
        const DiskState before = StateOf(path);
        SetFileFault([&](FileStep at, long long) {
            return at == step || (alsoRestore && at == FileStep::RestoreFromBackup) ? SystemReason(ENOSPC) : QString();
        });
        const WriteOutcome outcome = WriteWholeFile(FromNative(path), reinterpret_cast<const std::uint8_t*>(NewBytes.constData()),
                                                    NewBytes.size(), Editor);
        SetFileFault({});
        QVERIFY(!outcome.Ok);
        QVERIFY2(outcome.Reason.contains(message), qPrintable(outcome.Reason));

        const DiskState after = StateOf(path);
        QList<QByteArray> left = EntriesOf(m_folder);
        if (!alsoRestore) {
            // The old file byte for byte, as it was, and nothing beside it.
            QCOMPARE(after.describe(), before.describe());
            QCOMPARE(after.Bytes, before.Bytes);
            QCOMPARE(left, entriesBefore);
            return;
        }
        // Only when the old content cannot be put back does the backup stay,
        // named in the message, holding the old bytes.
        QCOMPARE(left.size(), entriesBefore.size() + 1);
        QByteArray backup;
        for (const QByteArray& name : left)
            if (!entriesBefore.contains(name))
                backup = name;
        QVERIFY2(backup.contains("vorned-backup-"), backup.constData());
        QVERIFY2(outcome.Reason.contains(DisplayName(FromNative(backup))), qPrintable(outcome.Reason));
        QCOMPARE(ReadBytes(m_folder + '/' + backup), OldBytes);
        QCOMPARE(after.Links, 2);
    }

    void legacySeamReachesInPlaceWrites()
    {
        // SetRomWriteFault fails the data write of both ways of saving.
        QByteArray path = m_folder + "/image.nes";
        QString skip;
        QVERIFY(MakeThing(QStringLiteral("hard-linked"), m_folder, path, skip));
        SetRomWriteFault([](qint64) { return QStringLiteral("Input/output error"); });
        QString error;
        const bool saved = SaveRomFile(FromNative(path), RomBytes(std::vector<std::uint8_t>(100, 1)), error);
        SetRomWriteFault(nullptr);
        QVERIFY(!saved);
        QVERIFY2(error.startsWith(QStringLiteral("Could not save \"%1\": Input/output error").arg(FromNative(path))), qPrintable(error));
        QCOMPARE(ReadBytes(path), OldBytes);
        QCOMPARE(EntriesOf(m_folder), (QList<QByteArray>{"image.nes", "other-name"}));
    }

    // ---- A file system that fills up ----

    void fullFileSystem_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("spare");      // bytes left free before the save; -1: none
        QTest::addColumn<QString>("message");
        QTest::newRow("new file") << "missing" << -1 << "No space left on device";
        QTest::newRow("file: temporary file does not fit") << "file" << -1 << "No space left on device";
        QTest::newRow("hard-linked: backup does not fit") << "hard-linked" << -1
                                                          << "a backup copy could not be made beside it (No space left on device)";
        QTest::newRow("hard-linked: new content does not fit, restored") << "hard-linked" << 4096
                                                                         << "No space left on device; the file was restored to its old content";
    }
    void fullFileSystem()
    {
        QFETCH(QString, kind);
        QFETCH(int, spare);
        QFETCH(QString, message);
        if (!RunningAsRoot())
            QSKIP("mounting a small file system to fill needs root");
        const QByteArray fs = m_folder + "/fs";
        QVERIFY(::mkdir(fs.constData(), 0755) == 0);
        if (::mount("tmpfs", fs.constData(), "tmpfs", 0, "size=256k,mode=0755") != 0)
            QSKIP(qPrintable(QStringLiteral("a tmpfs cannot be mounted here: %1").arg(SystemReason(errno))));
        m_mount = fs;

        QByteArray path = fs + "/image.nes";
        QString skip;
        QVERIFY(MakeThing(kind, fs, path, skip));
        // Fill all of it, then give back `spare` bytes.
        const QByteArray filler = fs + "/filler";
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        QCOMPARE(errno, ENOSPC);
        if (spare > 0) {
            struct stat st {};
            QVERIFY(::fstat(fd, &st) == 0);
            QVERIFY(::ftruncate(fd, st.st_size - spare) == 0);
        }
        ::close(fd);
        const QList<QByteArray> entriesBefore = EntriesOf(fs);
        const DiskState before = StateOf(path);

        // Larger than the old file and than what is left.
        const QByteArray image = Pattern(3000 + 2 * 4096 + 100, 5);
        const WriteOutcome outcome = WriteWholeFile(FromNative(path), reinterpret_cast<const std::uint8_t*>(image.constData()),
                                                    image.size(), Editor);
        QVERIFY(!outcome.Ok);
        QVERIFY2(outcome.Reason.contains(message), qPrintable(outcome.Reason));
        const DiskState after = StateOf(path);
        QCOMPARE(after.describe(), before.describe());
        QCOMPARE(after.Bytes, before.Bytes);
        QCOMPARE(EntriesOf(fs), entriesBefore);
    }

    // ---- Names ----

    // A file replaced by a new one keeps its extended attributes (access
    // control lists live there too): the new file gets each of them before it
    // takes the old one's place.
    void extendedAttributesKept()
    {
        const QByteArray path = m_folder + "/image.nes";
        QVERIFY(WriteBytes(path, OldBytes, 0640));
        const QByteArray binary("\x00\x01\xff\x00value", 9);
        const QByteArray large(3000, 'a');
        if (::setxattr(path.constData(), "user.vorned.note", binary.constData(), std::size_t(binary.size()), 0) != 0) {
            if (errno == ENOTSUP || errno == EPERM)
                QSKIP("the test folder's file system keeps no user attributes");
            QFAIL(qPrintable(SystemReason(errno)));
        }
        QCOMPARE(::setxattr(path.constData(), "user.vorned.large", large.constData(), std::size_t(large.size()), 0), 0);
        struct stat before {};
        QCOMPARE(::stat(path.constData(), &before), 0);

        const WriteOutcome outcome = WriteWholeFile(FromNative(path), reinterpret_cast<const std::uint8_t*>(NewBytes.constData()),
                                                    NewBytes.size(), Editor);
        QVERIFY2(outcome.Ok, qPrintable(outcome.Reason));
        QCOMPARE(outcome.Method, WriteMethod::Replaced);
        struct stat after {};
        QCOMPARE(::stat(path.constData(), &after), 0);
        QVERIFY(after.st_ino != before.st_ino);   // a new file took the old one's place
        QCOMPARE(ReadBytes(path), NewBytes);
        QCOMPARE(int(after.st_mode & 07777), 0640);

        auto attribute = [&](const char* name) {
            QByteArray value(4096, '\0');
            const ssize_t n = ::getxattr(path.constData(), name, value.data(), std::size_t(value.size()));
            return n < 0 ? QByteArray("missing") : value.left(n);
        };
        QCOMPARE(attribute("user.vorned.note"), binary);
        QCOMPARE(attribute("user.vorned.large"), large);
        QCOMPARE(EntriesOf(m_folder), QList<QByteArray>{"image.nes"});
    }

    void namesKeepTheirBytes()
    {
        // Every byte string decodes to a name that encodes back to it.
        std::vector<QByteArray> samples;
        for (int b = 1; b < 256; ++b)
            samples.push_back(QByteArray(1, char(b)) + "x");
        samples.push_back("\xc3\xa9t\xc3\xa9.nes");      // valid UTF-8
        samples.push_back("\xc0\xaf");                  // overlong "/"
        samples.push_back("\xed\xa0\x80");              // an encoded surrogate
        samples.push_back("\xf4\x90\x80\x80");          // above U+10FFFF
        samples.push_back("\xe2\x82");                  // cut short
        samples.push_back("\xf0\x9f\x98\x80 ok");       // outside the BMP
        std::uint32_t seed = 12345;
        for (int i = 0; i < 500; ++i) {
            QByteArray random;
            for (int k = 0; k < 1 + i % 13; ++k) {
                seed = seed * 1103515245u + 12345u;
                random += char(1 + (seed >> 16) % 255);
            }
            samples.push_back(random);
        }
        for (const QByteArray& bytes : samples) {
            const QString name = DecodeFileName(bytes);
            const std::optional<QByteArray> back = EncodeFileName(name);
            QVERIFY(back.has_value());
            QCOMPARE(*back, bytes);
            QCOMPARE(HasRawBytes(name), QString::fromUtf8(bytes).toUtf8() != bytes);
        }
        QCOMPARE(DecodeFileName("\xc3\xa9"), QStringLiteral("\u00e9"));
        QVERIFY(!EncodeFileName(QString()).has_value());
        QVERIFY(!EncodeFileName(QStringLiteral("a") + QChar(0)).has_value());
        QVERIFY(!EncodeFileName(QString(QChar(0xDC10))).has_value()); // a lone surrogate that stands for no byte
        QVERIFY(!EncodeFileName(QString(QChar(0xD800))).has_value());
    }

    void displayNames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QByteArray("/tmp/a b.nes") << "/tmp/a b.nes";
        QTest::newRow("newline") << QByteArray("two\nlines.nes") << "two?lines.nes";
        QTest::newRow("tab and escape") << QByteArray("a\tb\x1b[31m.nes") << "a?b?[31m.nes";
        QTest::newRow("DEL and C1") << QByteArray("a\x7f\xc2\x85.nes") << "a??.nes";
        QTest::newRow("right-to-left override") << QByteArray("evil\xe2\x80\xaegpj.nes") << "evil?gpj.nes";
        QTest::newRow("raw byte") << QByteArray("bad\xff.nes") << "bad\\xFF.nes";
        QTest::newRow("accents kept") << QByteArray("\xc3\xa9t\xc3\xa9.nes") << "\u00e9t\u00e9.nes";
        QTest::newRow("outside the BMP kept") << QByteArray("\xf0\x9f\x98\x80.nes") << "\U0001F600.nes";
    }
    void displayNames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QCOMPARE(DisplayName(DecodeFileName(bytes)), shown);
    }

    void reasonsAreTheSystems()
    {
        for (int e : {ENOSPC, EACCES, ENAMETOOLONG, EROFS, EPIPE, EBADF, EIO, EDQUOT, EXDEV, ETXTBSY}) {
            const QString reason = SystemReason(e);
            QVERIFY(!reason.isEmpty());
            QVERIFY2(!reason.contains(QLatin1String("Unknown error")), qPrintable(reason));
        }
        QCOMPARE(SystemReason(ENOSPC), QStringLiteral("No space left on device"));
        QCOMPARE(SystemReason(ENAMETOOLONG), QStringLiteral("File name too long"));
    }
};

QTEST_GUILESS_MAIN(TestFileSafety)
#include "test_file_safety.moc"
