#pragma once
// The recovery journal of one image: every change written into the image
// since it was last opened or saved, appended to a file the moment it is
// made, so that the edits survive the program being killed. Each record
// carries its own checksum; a journal cut short or damaged still gives back
// every whole record before the damage.
#include "history/ChangeList.h"
#include "rom/RomBytes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// One change of the image as the journal keeps it: the image's size before
// and after, the changed runs (offsets below both sizes), and the bytes
// added at the end when the image grew.
struct JournalRecord {
    std::uint32_t OldSize = 0;
    std::uint32_t NewSize = 0;
    ChangeList Runs;
    std::vector<std::uint8_t> Added;
};

class RecoveryJournal {
public:
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    // Where journals are kept: the user's data folder, "recovery".
    static QString DefaultFolder();
    // The journal file of the image at `imagePath` in `folder`. While
    // another editor holds that one, a journal goes to the next free name
    // beside it (PathFor with a number).
    static QString PathFor(const QString& folder, const QString& imagePath, int number = 1);
    // The journals of the image that no running editor holds: what a crash
    // or a kill left behind.
    static QStringList LeftBehind(const QString& folder, const QString& imagePath);

    // Starts the journal of `imagePath` whose starting point is `base` (the
    // file as it is on disk), replacing any older journal of that image.
    static std::unique_ptr<RecoveryJournal> Create(const QString& folder, const QString& imagePath,
                                                   const RomBytes& base, QString& error);

    // Appends one record with a single write before returning.
    bool append(const JournalRecord& record, QString& error);
    // Makes everything appended so far durable (fdatasync).
    bool sync(QString& error);
    // Closes the journal and deletes its file.
    void remove();

    QString path() const { return m_path; }

private:
    RecoveryJournal(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    int m_fd = -1;
    QString m_path;
};

// What a journal file holds.
struct JournalContents {
    QString ImagePath;
    std::int64_t BaseSize = 0;
    std::uint32_t BaseCrc = 0;
    QDateTime Created;
    std::vector<JournalRecord> Records;   // every whole record before any damage
    QString Damage;                       // empty when the file is whole
};

// Reads the journal at `path`. Nothing (and `error` set) when it is not a
// journal: no such file, not a regular file, unreadable, or a header that is
// not a journal's. A damaged tail is reported in Damage, never an error.
std::optional<JournalContents> ReadJournal(const QString& path, QString& error);

struct JournalReplay {
    RomBytes Image;
    int Applied = 0;   // records applied
    QString Damage;    // why replay stopped early; empty when every record fitted
};

// Applies the records in order to `base`, the journal's starting point. A
// record that does not fit the image (sizes, offsets or old bytes disagree)
// stops the replay; what came before it is kept.
JournalReplay ReplayJournal(const JournalContents& journal, RomBytes base);

// The checksum a journal records of its starting point.
std::uint32_t JournalChecksum(const RomBytes& bytes);
