// The simulator's breakpoint table: 4000 fixed entries of an address and a
// state (disabled, enabled, temporary), looked up first match first.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

namespace torva {

enum class BreakState : uint8_t { kDisabled = 0, kEnabled = 1, kTemporary = 2 };

struct Breakpoint {
    static constexpr uint32_t kFree = 0xFFFFFFFF;
    uint32_t address = kFree;
    BreakState state = BreakState::kDisabled;

    bool used() const { return address != kFree; }
};

class BreakpointTable {
public:
    static constexpr int kCapacity = 4000;

    // The index of the first entry holding the address, or -1.
    int find(uint32_t address) const;
    // Cheap test for the run loop: false means the address surely has no
    // entry. Keyed by the low 16 bits, so a true needs find() to confirm.
    bool may_hold(uint32_t address) const { return used_ != 0 && filter_[address & 0xFFFF]; }
    // The same as a set of 16-bit addresses; null while the table is empty.
    const std::bitset<0x10000>* filter() const { return used_ != 0 ? &filter_ : nullptr; }

    // Enters an address with a state in the first free entry. An address
    // already present keeps its entry unchanged; a full table silently takes
    // nothing. Gives the entry's index, or -1 when nothing was entered.
    int add(uint32_t address, BreakState state);
    // Frees the entry of an address (none: nothing happens).
    void remove(uint32_t address);
    void remove_at(int index);
    // Sets the state of an address's entry; false when it has none.
    bool set_state(uint32_t address, BreakState state);
    void set_state_at(int index, BreakState state);
    // The state of an address's entry, if any.
    std::optional<BreakState> state_of(uint32_t address) const;
    // Frees all entries.
    void clear();

    const Breakpoint& at(int index) const { return entries_[size_t(index)]; }
    int used_count() const { return used_; }
    // Counts every change of the entries, so that a view of the table (the
    // Breakpoints dialog while a run hits a temporary entry) can tell it is
    // out of date.
    uint64_t changes() const { return changes_; }

private:
    void rebuild_filter();

    std::array<Breakpoint, kCapacity> entries_{};
    std::bitset<0x10000> filter_;
    int used_ = 0;
    uint64_t changes_ = 0;
};

} // namespace torva
