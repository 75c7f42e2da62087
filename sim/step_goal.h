// Where a source step ends: the addresses it may stop at and a guard on
// the stack pointer, checked by the run loop before each instruction.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>

namespace torva {

using AddressSet = std::bitset<0x10000>;

struct StepGoal {
    enum class Guard { kNone, kAtOrAbove, kAbove };
    // The addresses the step may end at (before the instruction there runs).
    std::shared_ptr<const AddressSet> stops;
    Guard guard = Guard::kNone;
    uint16_t sp = 0;
    // Step Out: the instruction found is the current subroutine's return;
    // it runs, and the step goes on to the next address of `then`.
    std::shared_ptr<const AddressSet> then;

    bool guard_holds(uint16_t stack_pointer) const {
        switch (guard) {
        case Guard::kNone: return true;
        case Guard::kAtOrAbove: return stack_pointer >= sp;
        case Guard::kAbove: return stack_pointer > sp;
        }
        return true;
    }
};

} // namespace torva
