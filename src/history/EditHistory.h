#pragma once
// The one edit layer of the image: every byte the program changes in the
// image is written here, as a step that can be undone and redone. Each step
// records every changed byte's offset, old and new value; applying or
// reverting it writes exactly those bytes. Every write is reported to the
// views (imageChanged) and appended to the image's recovery journal before
// the call returns. The image counts as modified while it differs from the
// bytes last opened or saved.
#include "history/ChangeList.h"
#include "rom/RomBytes.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class EditStep;
class RecoveryJournal;

// Why the image changed.
enum class ChangeOrigin { Edit, Undo, Redo };

// What one write into the image touched.
struct ImageChange {
    ChangeOrigin Origin = ChangeOrigin::Edit;
    std::vector<std::pair<std::int64_t, std::int64_t>> Ranges;   // offset, length; ascending
    bool Resized = false;                                          // the image grew or shrank

    // True when a byte of [offset, offset + length) changed (always after a resize).
    bool touches(std::int64_t offset, std::int64_t length) const;
    bool touches(const ByteRange& range) const { return touches(range.Offset, range.Length); }
    bool touchesAny(const std::vector<ByteRange>& ranges) const;
};

Q_DECLARE_METATYPE(ImageChange)

enum class EditResult {
    Recorded,       // a new step
    Merged,         // joined the step on top
    NoChange,       // every byte already held its value: no step
    OutsideImage,   // a byte lies outside the image: nothing written
};

class EditHistory : public QObject {
    Q_OBJECT
public:
    explicit EditHistory(RomBytes& image, QObject* parent = nullptr);
    ~EditHistory() override;

    // A new image is in memory (File › Open): clears every step, takes the
    // image as it is now as opened and saved, and forgets the journal file
    // of the previous image (it is not deleted).
    void reset(const QString& path);

    // Writes `writes` as one step named `name`; a later write to the same
    // offset wins. Writes that would not change their byte are dropped.
    // With a mergeKey other than 0 the step joins the step on top when that
    // was made with the same key and has not been ended (endStep); a step
    // whose net change becomes nothing disappears.
    EditResult apply(const QString& name, std::vector<ByteWrite> writes, std::uint64_t mergeKey = 0);
    // Makes `bytes` the whole image as one step (patches, restored edits);
    // the image may grow or shrink.
    EditResult replaceImage(const QString& name, const std::vector<std::uint8_t>& bytes);

    // Nothing more joins the step on top; the journal is made durable.
    void endStep();
    // Makes the journal durable (each step calls it when it ends).
    void sync();

    // A merge key no other step has, for one stroke of the pointer.
    std::uint64_t newMergeKey();
    // The merge key of a control editing one item: the same arguments give
    // the same key. kind is a small number naming the kind of control.
    static std::uint64_t ControlKey(int kind, int a, int b = 0, int c = 0, int d = 0);

    bool undo();
    bool redo();
    QUndoStack& stack() { return m_stack; }
    const QUndoStack& stack() const { return m_stack; }

    // True while the image differs from what was last opened or saved.
    bool isModified() const { return m_modified; }
    // The image was written to `path` (Save, Save As): it is the saved state
    // now, and the journal of the old state is removed.
    void markSaved(const QString& path);

    // The bytes as last opened (kept for patches) and as last opened or saved.
    const RomBytes& openedImage() const { return *m_opened; }
    const RomBytes& savedImage() const { return *m_saved; }
    QString path() const { return m_path; }

    // Journals are written in `folder` (empty: no journal, the default).
    void setJournalFolder(const QString& folder);
    QString journalFolder() const { return m_journalFolder; }
    // The journal file of the open image: the one being written, or the
    // name it will get.
    QString journalPath() const;
    // Deletes the journal this history writes (unsaved edits discarded on purpose).
    void discardJournal();

signals:
    void imageChanged(const ImageChange& change);
    void modifiedChanged(bool modified);
    // The journal could not be written; edits go on without it.
    void journalFailed(const QString& reason);

private:
    friend class EditStep;
    // Writes a step's bytes forwards (redo) or backwards (undo), journals
    // them, updates the modified state and tells the views.
    void write(const EditStep& step, bool forward);
    void journal(const EditStep& step, bool forward);
    void journalFailure(const QString& reason);
    void updateModified(bool recount);
    EditResult push(EditStep* step);
    EditStep* stepAt(int index);
    QString intern(const QString& name);

    RomBytes& m_image;
    std::shared_ptr<const RomBytes> m_opened;
    std::shared_ptr<const RomBytes> m_saved;
    std::int64_t m_differences = 0;   // bytes below both sizes that differ from m_saved
    bool m_modified = false;
    QUndoStack m_stack;
    QSet<QString> m_names;             // step names, shared by the steps that use them
    QString m_path;
    QString m_journalFolder;
    std::unique_ptr<RecoveryJournal> m_journal;
    bool m_journalBroken = false;
    std::uint64_t m_nextKey = 0;
    ChangeOrigin m_origin = ChangeOrigin::Edit;
    EditResult m_lastPush = EditResult::NoChange;
};

// The history of the program's image (RomImage).
EditHistory& RomHistory();
