#include "history/EditStep.h"

#include "history/EditHistory.h"

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
    // The first old value and the last new value of every byte: both lists
    // are sorted by offset, so one pass merges them (a stroke merges a cell
    // at a time into a step that grows).
    const std::vector<ByteChange> first = m_changes.toChanges(), then = next->m_changes.toChanges();
    std::vector<ByteChange> merged;
    merged.reserve(first.size() + then.size());
    auto keep = [&merged](const ByteChange& c) {
        if (c.Old != c.New)
            merged.push_back(c);
    };
    std::size_t i = 0, j = 0;
    while (i < first.size() || j < then.size()) {
        if (j == then.size() || (i < first.size() && first[i].Offset < then[j].Offset))
            keep(first[i++]);
        else if (i == first.size() || then[j].Offset < first[i].Offset)
            keep(then[j++]);
        else {
            keep({first[i].Offset, first[i].Old, then[j].New});
            ++i;
            ++j;
        }
    }
    m_changes = ChangeList(merged);
    setText(next->text());
    // Changed and changed back: the step is gone.
    setObsolete(m_changes.empty());
    return true;
}
