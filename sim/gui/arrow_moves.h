// The arrow keys among the memory cells: each arrow as a key typed into a
// cell and as the frame's accelerator command, with the move it makes.
#pragma once

#include "shell/command_ids.h"
#include "sim/memory_pane.h"

#include <qnamespace.h>

#include <optional>

namespace torva {

struct ArrowMove {
    int key;     // Qt::Key
    int command; // the frame's accelerator
    MemoryPane::Move move;
};

inline constexpr ArrowMove kArrowMoves[] = {
    {Qt::Key_Left, cmd::kArrowLeft, MemoryPane::Move::kLeft},
    {Qt::Key_Right, cmd::kArrowRight, MemoryPane::Move::kRight},
    {Qt::Key_Up, cmd::kArrowUp, MemoryPane::Move::kUp},
    {Qt::Key_Down, cmd::kArrowDown, MemoryPane::Move::kDown},
};

constexpr std::optional<MemoryPane::Move> arrow_move_for_key(int key) {
    for (const ArrowMove& row : kArrowMoves)
        if (row.key == key) return row.move;
    return std::nullopt;
}

constexpr std::optional<MemoryPane::Move> arrow_move_for_command(int command) {
    for (const ArrowMove& row : kArrowMoves)
        if (row.command == command) return row.move;
    return std::nullopt;
}

} // namespace torva
