#pragma once
// The edits of the journal child, shared with the test that replays them.
#include "history/EditHistory.h"

inline std::int64_t ChildOffset(int i, std::int64_t size) { return (std::int64_t(i) * 7919) % size; }
inline std::uint8_t ChildValue(int i) { return std::uint8_t(i * 37 + 11); }

inline void RunChildEdit(EditHistory& history, const RomBytes& image, int i)
{
    if (i % 4 == 3) {
        history.undo();
        return;
    }
    const std::int64_t at = ChildOffset(i, image.size());
    history.apply(QStringLiteral("Edit %1").arg(i), {{at, ChildValue(i)}});
}
