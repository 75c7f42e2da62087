// The board option word: which form of the RT12 is simulated and whether the
// monitor image is loaded with every program.
#pragma once

#include <cstdint>

namespace torva {

namespace board_option {
// Set: the bare board, without the I/O bus; its ports A and B are plain ports.
inline constexpr uint32_t kBareBoard = 0x1;
// Set: every load chain loads the board's monitor image first.
inline constexpr uint32_t kLoadMonitor = 0x2;
// The bits a descriptor file or the setup dialog may set.
inline constexpr uint32_t kUsedBits = kBareBoard | kLoadMonitor;
} // namespace board_option

constexpr bool is_bare_board(uint32_t option_word) {
    return (option_word & board_option::kBareBoard) != 0;
}

} // namespace torva
