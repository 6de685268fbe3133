#include "history/EditStep.h"

#include "history/EditHistory.h"

#include <map>

EditStep::EditStep(EditHistory& history, const QString& name, ChangeList changes, std::uint64_t mergeKey,
                   std::unique_ptr<StepResize> resize)
    : m_history(history), m_changes(std::move(changes)), m_resize(std::move(resize)), m_mergeKey(mergeKey)
{
    setText(name);
}

void EditStep::redo()
{
    m_history.write(*this, true);
}

void EditStep::undo()
{
    m_history.write(*this, false);
}

bool EditStep::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const EditStep*>(other);
    if (!next || !m_open || next->m_mergeKey != m_mergeKey || m_resize || next->m_resize)
        return false;
    // The first old value and the last new value of every byte.
    std::map<std::int64_t, std::pair<std::uint8_t, std::uint8_t>> bytes;
    for (const ByteChange& c : m_changes.toChanges())
        bytes[c.Offset] = {c.Old, c.New};
    for (const ByteChange& c : next->m_changes.toChanges()) {
        const auto found = bytes.find(c.Offset);
        if (found == bytes.end())
            bytes[c.Offset] = {c.Old, c.New};
        else
            found->second.second = c.New;
    }
    std::vector<ByteChange> merged;
    merged.reserve(bytes.size());
    for (const auto& [offset, values] : bytes)
        if (values.first != values.second)
            merged.push_back({offset, values.first, values.second});
    m_changes = ChangeList(merged);
    setText(next->text());
    // Changed and changed back: the step is gone.
    setObsolete(m_changes.empty());
    return true;
}
