// The memory pane without the window: a 4 x 16 byte window over simulated
// memory, its scroll arithmetic, the "mem"/"set" address entry, cell texts,
// read-only cells, cell writes with read-back and the arrow-key moves.
#pragma once

#include "io/memory_map.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

struct DebugMap;

class MemoryPane {
public:
    static constexpr int kRows = 4;
    static constexpr int kColumns = 16;
    static constexpr int kCells = kRows * kColumns;
    // The scroll bar's range is rows 0-4096; the base stops at row 4092,
    // which shows $FFC0-$FFFF.
    static constexpr int kRowRange = 4096;
    static constexpr int kLastRow = 4092;
    static constexpr int kPageRows = 16;
    static constexpr char kMemLabel[] = "mem";
    static constexpr char kSetLabel[] = "set";

    enum class Scroll { kLineUp, kLineDown, kPageUp, kPageDown, kTop, kBottom };
    enum class Move { kLeft, kRight, kUp, kDown };

    explicit MemoryPane(MemoryMap& memory) : memory_(memory) {}

    int row() const { return row_; }
    // The first address shown, a multiple of 16.
    uint32_t base() const { return uint32_t(row_) * kColumns; }
    void scroll(Scroll action);
    // Clamped to 0..kLastRow.
    void scroll_to_row(int row);

    // "%4.4X" of a row's first address.
    std::string row_address_text(int row) const;
    // The address a cell reads; one in $8000-$BFFF carries the program page
    // selected now in bits 16 and up.
    uint32_t cell_address(int cell) const;
    // "%2.2X" of the byte, or "XX" where nothing answers (or only a device
    // would, which a look must not disturb).
    std::string cell_text(int cell) const;
    bool cell_read_only(int cell) const;

    // A change of a cell's text: writes the text read as hexadecimal (low 8
    // bits) or, if it is not hexadecimal, the byte in memory; then reads the
    // byte back. Gives the text the cell must show instead of what was
    // typed, or none when the typed text stands.
    std::optional<std::string> edit_cell(int cell, std::string_view text);

    // Address entry: the button reads "mem"; pressing it starts the entry
    // ("set", the first row field editable); pressing "set" reads the field
    // as hexadecimal or, failing that, as a symbol of the debug map (letter
    // case as defined) and scrolls to its row. Gives the error text for a
    // malformed address or unknown name; either way the entry ends.
    bool entering_address() const { return entering_; }
    std::string_view button_text() const { return entering_ ? kSetLabel : kMemLabel; }
    std::optional<std::string> press_address_button(std::string_view field,
                                                    const DebugMap* map = nullptr);

    // The cell the focus moves to: left -1, right +1, up -16, down +16,
    // wrapping around the 64 cells.
    static int move_focus(int cell, Move move);

private:
    MemoryMap& memory_;
    int row_ = 0;
    bool entering_ = false;
};

} // namespace torva
