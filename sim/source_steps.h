// The steps that follow the source: Step Into, Step Over, Step Out and Run
// to an address, planned from the instruction at PC and the debug map, and
// run by the simulator's run loop at full speed.
#pragma once

#include "sim/debug_map.h"
#include "sim/step_goal.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace torva {

class MemoryMap;
class Simulator;

// What a step needs to know of an instruction: its length, and whether it
// calls (JSR, BSR, CALL, SWI, TRAP) or returns (RTS, RTC, RTI).
struct InstructionFacts {
    uint32_t length = 1;
    bool call = false;
    bool returns = false;
};
std::optional<InstructionFacts> instruction_facts(MemoryMap& memory, uint32_t address);

enum class SourceStep { kInto, kOver, kOut };

class SourceSteps {
public:
    explicit SourceSteps(Simulator& simulator) : sim_(simulator) {}

    // Starts a step while the simulator is halted; false otherwise.
    // Into: until PC reaches the start of a source line, entering calls (a
    // call into code without source runs until code with source comes
    // back). Over: a call runs to completion, until PC is back after it
    // with SP at or above its value before the call; anything else steps
    // into. Out: until the current subroutine's return has run, then on to
    // a line. Without a debug map every address counts as a line.
    bool start(SourceStep kind);
    // Runs until PC reaches the address (Run to Cursor).
    bool run_to(uint32_t address);

private:
    // The first addresses of the map's lines; every address without one.
    std::shared_ptr<const AddressSet> line_starts();

    Simulator& sim_;
    std::shared_ptr<const DebugMap> map_of_lines_;
    std::shared_ptr<const AddressSet> line_starts_;
};

} // namespace torva
