// The memory pane's arithmetic, texts and cell writes.
#include "sim/memory_pane.h"

#include "sim/breakpoint_dialog.h"
#include "sim/debug_map.h"
#include "sim/simulator_ui.h"

#include <algorithm>
#include <cstdio>

namespace torva {

void MemoryPane::scroll(Scroll action) {
    switch (action) {
    case Scroll::kLineUp: scroll_to_row(row_ - 1); break;
    case Scroll::kLineDown: scroll_to_row(row_ + 1); break;
    case Scroll::kPageUp: scroll_to_row(row_ - kPageRows); break;
    case Scroll::kPageDown: scroll_to_row(row_ + kPageRows); break;
    case Scroll::kTop: scroll_to_row(0); break;
    case Scroll::kBottom: scroll_to_row(kLastRow); break;
    }
}

void MemoryPane::scroll_to_row(int row) {
    row_ = std::clamp(row, 0, kLastRow);
}

std::string MemoryPane::row_address_text(int row) const {
    char text[8];
    std::snprintf(text, sizeof text, "%4.4X", unsigned(base() + uint32_t(row) * kColumns));
    return text;
}

uint32_t MemoryPane::cell_address(int cell) const {
    // Only addresses inside the page window take the page: a pane that
    // starts just below $C000 or $8000 shows fixed memory beside the window.
    const uint32_t address = base() + uint32_t(cell);
    if (address >= 0x8000 && address <= 0xBFFF)
        return uint32_t(memory_.get_ppage()) << 16 | address;
    return address;
}

std::string MemoryPane::cell_text(int cell) const {
    uint8_t byte = 0;
    if (memory_.peek_byte(cell_address(cell), byte) != 0) return "XX";
    char text[4];
    std::snprintf(text, sizeof text, "%2.2X", byte);
    return text;
}

bool MemoryPane::cell_read_only(int cell) const {
    return !memory_.writable(cell_address(cell));
}

std::optional<std::string> MemoryPane::edit_cell(int cell, std::string_view text) {
    const uint32_t address = cell_address(cell);
    uint8_t current = 0;
    if (memory_.peek_byte(address, current) != 0) return cell_text(cell);
    const auto typed = text.empty() ? std::nullopt : parse_break_address(text);
    const uint8_t wanted = typed ? uint8_t(*typed) : current;
    memory_.mem_write_byte(address, wanted);
    uint8_t back = 0;
    memory_.peek_byte(address, back);
    if (typed && back == wanted) return std::nullopt;
    return cell_text(cell);
}

std::optional<std::string> MemoryPane::press_address_button(std::string_view field,
                                                            const DebugMap* map) {
    if (!entering_) {
        entering_ = true;
        return std::nullopt;
    }
    entering_ = false;
    // A number wins over a symbol that happens to be spelt in hex digits,
    // so an address typed before a map was loaded means the same after.
    auto address = parse_break_address(field);
    if (!address && map)
        if (const DebugMapSymbol* symbol = map->symbol(field)) address = symbol->value;
    if (!address) return std::string(sim_message::kBadlyFormedAddress);
    scroll_to_row(int((*address & 0xFFFF) / kColumns));
    return std::nullopt;
}

int MemoryPane::move_focus(int cell, Move move) {
    int delta = 0;
    switch (move) {
    case Move::kLeft: delta = -1; break;
    case Move::kRight: delta = 1; break;
    case Move::kUp: delta = -kColumns; break;
    case Move::kDown: delta = kColumns; break;
    }
    return ((cell + delta) % kCells + kCells) % kCells;
}

} // namespace torva
