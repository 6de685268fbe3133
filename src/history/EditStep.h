#pragma once
// One undo step: the byte changes of one user action, and when the image
// grew or shrank, its sizes and the bytes beyond the smaller size.
#include "history/ChangeList.h"

#include <QUndoCommand>

#include <cstdint>
#include <memory>
#include <vector>

class EditHistory;

struct StepResize {
    std::uint32_t OldSize = 0;
    std::uint32_t NewSize = 0;
    std::vector<std::uint8_t> OldTail;   // bytes from NewSize on, when the image shrank
    std::vector<std::uint8_t> NewTail;   // bytes from OldSize on, when it grew
};

class EditStep : public QUndoCommand {
public:
    EditStep(EditHistory& history, const QString& name, ChangeList changes, std::uint64_t mergeKey,
             std::unique_ptr<StepResize> resize = nullptr);

    void redo() override;
    void undo() override;
    int id() const override { return m_mergeKey != 0 ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override;

    const ChangeList& changes() const { return m_changes; }
    const StepResize* resize() const { return m_resize.get(); }
    std::uint64_t mergeKey() const { return m_mergeKey; }
    void end() { m_open = false; }

private:
    EditHistory& m_history;
    ChangeList m_changes;
    std::unique_ptr<StepResize> m_resize;
    std::uint64_t m_mergeKey;
    bool m_open = true;
};
