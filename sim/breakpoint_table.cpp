// Entering, finding and freeing breakpoints in the fixed table.
#include "sim/breakpoint_table.h"

namespace torva {

int BreakpointTable::find(uint32_t address) const {
    if (address == Breakpoint::kFree || !may_hold(address)) return -1;
    for (int i = 0; i < kCapacity; ++i)
        if (entries_[size_t(i)].address == address) return i;
    return -1;
}

int BreakpointTable::add(uint32_t address, BreakState state) {
    // The free marker cannot be entered as an address.
    if (address == Breakpoint::kFree || find(address) >= 0) return -1;
    for (int i = 0; i < kCapacity; ++i) {
        Breakpoint& entry = entries_[size_t(i)];
        if (entry.used()) continue;
        entry = {address, state};
        filter_.set(address & 0xFFFF);
        ++used_;
        ++changes_;
        return i;
    }
    return -1;
}

void BreakpointTable::remove(uint32_t address) {
    const int index = find(address);
    if (index >= 0) remove_at(index);
}

void BreakpointTable::remove_at(int index) {
    if (index < 0 || index >= kCapacity || !entries_[size_t(index)].used()) return;
    entries_[size_t(index)] = Breakpoint{};
    --used_;
    ++changes_;
    rebuild_filter();
}

bool BreakpointTable::set_state(uint32_t address, BreakState state) {
    const int index = find(address);
    if (index < 0) return false;
    set_state_at(index, state);
    return true;
}

void BreakpointTable::set_state_at(int index, BreakState state) {
    if (index < 0 || index >= kCapacity || !entries_[size_t(index)].used()) return;
    entries_[size_t(index)].state = state;
    ++changes_;
}

std::optional<BreakState> BreakpointTable::state_of(uint32_t address) const {
    const int index = find(address);
    if (index < 0) return std::nullopt;
    return entries_[size_t(index)].state;
}

void BreakpointTable::clear() {
    entries_.fill(Breakpoint{});
    filter_.reset();
    used_ = 0;
    ++changes_;
}

void BreakpointTable::rebuild_filter() {
    filter_.reset();
    for (const Breakpoint& entry : entries_)
        if (entry.used()) filter_.set(entry.address & 0xFFFF);
}

} // namespace torva
