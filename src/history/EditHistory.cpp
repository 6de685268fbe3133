#include "history/EditHistory.h"

#include "history/EditStep.h"
#include "history/RecoveryJournal.h"
#include "rom/ProgramState.h"
#include "rom/RomFile.h"

#include <QFile>

#include <algorithm>
#include <cstring>

bool ImageChange::touches(std::int64_t offset, std::int64_t length) const
{
    if (Resized)
        return true;
    const std::int64_t end = offset + length;
    // Ranges are ascending: the first range ending after `offset` decides.
    const auto it = std::lower_bound(Ranges.begin(), Ranges.end(), offset,
                                     [](const std::pair<std::int64_t, std::int64_t>& r, std::int64_t o) {
                                         return r.first + r.second <= o;
                                     });
    return it != Ranges.end() && it->first < end;
}

bool ImageChange::touchesAny(const std::vector<ByteRange>& ranges) const
{
    return std::any_of(ranges.begin(), ranges.end(), [this](const ByteRange& r) { return touches(r); });
}

EditHistory::EditHistory(RomBytes& image, QObject* parent)
    : QObject(parent), m_image(image), m_opened(std::make_shared<RomBytes>(image)), m_saved(m_opened)
{
}

EditHistory::~EditHistory() = default;

QString EditHistory::intern(const QString& name)
{
    return *m_names.insert(name);
}

void EditHistory::reset(const QString& path)
{
    // The old image's journal stays on disk only while it holds unsaved edits.
    if (m_journal && !m_modified)
        m_journal->remove();
    m_journal.reset();
    m_journalBroken = false;
    m_stack.clear();
    m_names.clear();
    m_opened = std::make_shared<RomBytes>(m_image);
    m_saved = m_opened;
    m_path = path;
    m_differences = 0;
    const bool was = m_modified;
    m_modified = false;
    if (was)
        emit modifiedChanged(false);
}

EditResult EditHistory::apply(const QString& name, std::vector<ByteWrite> writes, std::uint64_t mergeKey)
{
    for (const ByteWrite& w : writes)
        if (!m_image.contains(w.Offset))
            return EditResult::OutsideImage;
    // A later write to the same offset wins.
    std::stable_sort(writes.begin(), writes.end(),
                     [](const ByteWrite& a, const ByteWrite& b) { return a.Offset < b.Offset; });
    std::vector<ByteChange> changes;
    changes.reserve(writes.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        if (i + 1 < writes.size() && writes[i + 1].Offset == writes[i].Offset)
            continue;
        const auto old = std::uint8_t(m_image.read(writes[i].Offset));
        if (old != writes[i].Value)
            changes.push_back({writes[i].Offset, old, writes[i].Value});
    }
    if (changes.empty())
        return EditResult::NoChange;
    const EditResult result = push(new EditStep(*this, intern(name), ChangeList(changes), mergeKey));
    if (mergeKey == 0)
        sync();
    return result;
}

EditResult EditHistory::replaceImage(const QString& name, const std::vector<std::uint8_t>& bytes)
{
    if (std::int64_t(bytes.size()) > MaxRomFileSize)
        return EditResult::OutsideImage;
    const std::size_t oldSize = std::size_t(m_image.size()), newSize = bytes.size();
    const std::size_t common = std::min(oldSize, newSize);
    ChangeList changes = ChangeList::Difference(m_image.data(), bytes.data(), common);
    std::unique_ptr<StepResize> resize;
    if (oldSize != newSize) {
        resize = std::make_unique<StepResize>();
        resize->OldSize = std::uint32_t(oldSize);
        resize->NewSize = std::uint32_t(newSize);
        if (newSize < oldSize)
            resize->OldTail.assign(m_image.data() + newSize, m_image.data() + oldSize);
        else
            resize->NewTail.assign(bytes.begin() + std::ptrdiff_t(oldSize), bytes.end());
    } else if (changes.empty()) {
        return EditResult::NoChange;
    }
    const EditResult result = push(new EditStep(*this, intern(name), std::move(changes), 0, std::move(resize)));
    sync();
    return result;
}

EditResult EditHistory::push(EditStep* step)
{
    const int before = m_stack.index();
    m_origin = ChangeOrigin::Edit;
    m_stack.push(step);   // runs the step's redo, then tries to merge it
    return m_stack.index() > before ? EditResult::Recorded : EditResult::Merged;
}

void EditHistory::endStep()
{
    if (m_stack.index() > 0)
        stepAt(m_stack.index() - 1)->end();
    sync();
}

EditStep* EditHistory::stepAt(int index)
{
    // Every command on the stack is an EditStep: only push() adds them.
    return static_cast<EditStep*>(const_cast<QUndoCommand*>(m_stack.command(index)));
}

void EditHistory::sync()
{
    if (!m_journal)
        return;
    QString error;
    if (!m_journal->sync(error))
        journalFailure(error);
}

std::uint64_t EditHistory::newMergeKey()
{
    return (std::uint64_t(1) << 63) | ++m_nextKey;
}

std::uint64_t EditHistory::ControlKey(int kind, int a, int b, int c, int d)
{
    auto field = [](int v) { return std::uint64_t(v) & 0x3FFF; };
    return (std::uint64_t(kind & 0x7F) << 56 | field(a) << 42 | field(b) << 28 | field(c) << 14 | field(d)) |
           (std::uint64_t(1) << 62);
}

bool EditHistory::undo()
{
    if (!m_stack.canUndo())
        return false;
    m_origin = ChangeOrigin::Undo;
    const int index = m_stack.index();
    m_stack.undo();
    // Nothing joins a step that was undone, or the one now on top.
    stepAt(index - 1)->end();
    if (index - 2 >= 0)
        stepAt(index - 2)->end();
    m_origin = ChangeOrigin::Edit;
    sync();
    return true;
}

bool EditHistory::redo()
{
    if (!m_stack.canRedo())
        return false;
    m_origin = ChangeOrigin::Redo;
    const int index = m_stack.index();
    m_stack.redo();
    stepAt(index)->end();
    m_origin = ChangeOrigin::Edit;
    sync();
    return true;
}

void EditHistory::write(const EditStep& step, bool forward)
{
    const RomBytes& saved = *m_saved;
    const std::int64_t savedSize = saved.size();
    std::uint8_t* image = m_image.writableData();
    ImageChange change;
    change.Origin = m_origin;
    step.changes().forEachRun([&](const ChangeRun& run) {
        const std::uint8_t* from = forward ? run.Old : run.New;
        const std::uint8_t* to = forward ? run.New : run.Old;
        for (std::uint32_t k = 0; k < run.Length; ++k) {
            const std::int64_t at = std::int64_t(run.Offset) + k;
            if (at < savedSize) {
                const std::uint8_t was = saved.data()[at];
                m_differences += int(to[k] != was) - int(from[k] != was);
            }
        }
        std::memcpy(image + run.Offset, to, run.Length);
        change.Ranges.emplace_back(run.Offset, run.Length);
    });
    if (const StepResize* r = step.resize()) {
        const std::uint32_t size = forward ? r->NewSize : r->OldSize;
        const std::uint32_t other = forward ? r->OldSize : r->NewSize;
        const std::vector<std::uint8_t>& tail = forward ? r->NewTail : r->OldTail;
        m_image.resize(size);
        if (size > other)
            std::memcpy(m_image.writableData() + other, tail.data(), tail.size());
        change.Resized = true;
    }
    journal(step, forward);
    updateModified(step.resize() != nullptr);
    emit imageChanged(change);
}

void EditHistory::journal(const EditStep& step, bool forward)
{
    if (m_journalFolder.isEmpty() || m_path.isEmpty() || m_journalBroken)
        return;
    QString error;
    if (!m_journal) {
        m_journal = RecoveryJournal::Create(m_journalFolder, m_path, *m_saved, error);
        if (!m_journal) {
            journalFailure(error);
            return;
        }
    }
    JournalRecord record;
    if (const StepResize* r = step.resize()) {
        record.OldSize = forward ? r->OldSize : r->NewSize;
        record.NewSize = forward ? r->NewSize : r->OldSize;
        record.Added = forward ? r->NewTail : r->OldTail;
    } else {
        record.OldSize = record.NewSize = std::uint32_t(m_image.size());
    }
    record.Runs = forward ? step.changes() : step.changes().inverted();
    if (!m_journal->append(record, error))
        journalFailure(error);
}

void EditHistory::journalFailure(const QString& reason)
{
    if (m_journalBroken)
        return;
    m_journalBroken = true;
    emit journalFailed(reason);
}

void EditHistory::updateModified(bool recount)
{
    const RomBytes& saved = *m_saved;
    if (recount) {
        const std::int64_t common = std::min(saved.size(), m_image.size());
        m_differences = 0;
        for (std::int64_t i = 0; i < common; ++i)
            m_differences += saved.data()[i] != m_image.data()[i];
    }
    const bool modified = m_differences != 0 || saved.size() != m_image.size();
    if (!modified && m_journal) {
        // Back where the file on disk is: nothing left to recover.
        m_journal->remove();
        m_journal.reset();
    }
    if (modified != m_modified) {
        m_modified = modified;
        emit modifiedChanged(modified);
    }
}

void EditHistory::markSaved(const QString& path)
{
    if (m_journal)
        m_journal->remove();
    m_journal.reset();
    m_journalBroken = false;
    m_saved = std::make_shared<RomBytes>(m_image);
    m_path = path;
    m_differences = 0;
    m_stack.setClean();
    // The step made before the save takes in no later change.
    if (m_stack.index() > 0)
        stepAt(m_stack.index() - 1)->end();
    if (m_modified) {
        m_modified = false;
        emit modifiedChanged(false);
    }
}

void EditHistory::setJournalFolder(const QString& folder)
{
    if (folder == m_journalFolder)
        return;
    m_journal.reset();
    m_journalBroken = false;
    m_journalFolder = folder;
}

QString EditHistory::journalPath() const
{
    if (m_journal)
        return m_journal->path();
    if (m_journalFolder.isEmpty() || m_path.isEmpty())
        return QString();
    return RecoveryJournal::PathFor(m_journalFolder, m_path);
}

void EditHistory::discardJournal()
{
    if (m_journal)
        m_journal->remove();
    m_journal.reset();
}

EditHistory& RomHistory()
{
    static EditHistory history(RomImage);
    return history;
}
