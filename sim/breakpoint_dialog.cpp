// The Breakpoints dialog's logic over the breakpoint table.
#include "sim/breakpoint_dialog.h"

#include "sim/simulator_ui.h"

#include <cstdio>

namespace torva {

std::optional<uint32_t> parse_break_address(std::string_view text) {
    // More digits than an address holds would wrap silently; refuse them.
    if (text.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value << 4 | uint32_t(digit);
    }
    return value;
}

void BreakpointDialogLogic::rebuild() {
    built_at_ = table_.changes();
    lines_.clear();
    indices_.clear();
    addresses_.clear();
    for (int i = 0; i < BreakpointTable::kCapacity; ++i) {
        const Breakpoint& entry = table_.at(i);
        if (!entry.used()) continue;
        char text[32];
        std::snprintf(text, sizeof text, "%4.4X%s", unsigned(entry.address),
                      entry.state == BreakState::kDisabled ? " (Disabled)" : "");
        lines_.emplace_back(text);
        indices_.push_back(i);
        addresses_.push_back(entry.address);
    }
    if (selected_ >= int(lines_.size())) selected_ = -1;
}

std::optional<std::string> BreakpointDialogLogic::add(std::string_view field) {
    const auto address = parse_break_address(field);
    if (!address) return std::string(sim_message::kBadlyFormedAddress);
    table_.add(*address, BreakState::kEnabled);
    selected_ = -1;
    rebuild();
    return std::nullopt;
}

void BreakpointDialogLogic::select(int line) {
    selected_ = line >= 0 && line < int(lines_.size()) ? line : -1;
}

std::string_view BreakpointDialogLogic::toggle_label() const {
    if (selected_ >= 0 && table_.at(indices_[size_t(selected_)]).state == BreakState::kDisabled)
        return kEnableLabel;
    return kDisableLabel;
}

bool BreakpointDialogLogic::follow_table() {
    if (table_.changes() == built_at_) return false;
    // An address is in the table at most once: the selection follows it.
    const uint32_t selected = selected_ >= 0 ? addresses_[size_t(selected_)] : Breakpoint::kFree;
    rebuild();
    selected_ = -1;
    for (size_t line = 0; line < addresses_.size(); ++line)
        if (addresses_[line] == selected) selected_ = int(line);
    return true;
}

void BreakpointDialogLogic::toggle() {
    follow_table();
    if (selected_ < 0) return;
    const int index = indices_[size_t(selected_)];
    table_.set_state_at(index, table_.at(index).state == BreakState::kDisabled
                                   ? BreakState::kEnabled
                                   : BreakState::kDisabled);
    rebuild();
}

void BreakpointDialogLogic::remove() {
    follow_table();
    if (selected_ < 0) return;
    table_.remove_at(indices_[size_t(selected_)]);
    selected_ = -1;
    rebuild();
}

} // namespace torva
