// Source steps: the goals of Step Into, Over and Out from the decoder's
// facts about the instruction at PC.
#include "sim/source_steps.h"

#include "sim/disassembler.h"
#include "sim/simulator.h"

#include <array>

namespace torva {

namespace {

enum class Flow : uint8_t { kPlain, kCall, kReturn };

// The flow of each first opcode byte; $18 opens the second page, where
// only TRAP calls.
constexpr std::array<Flow, 256> kFirstPageFlow = [] {
    std::array<Flow, 256> flow{};
    for (const uint8_t call : {0x07, 0x15, 0x16, 0x17, 0x3F, 0x4A, 0x4B})
        flow[call] = Flow::kCall; // BSR, JSR (idx, ext, dir), SWI, CALL (ext, idx)
    for (const uint8_t ret : {0x0A, 0x0B, 0x3D})
        flow[ret] = Flow::kReturn; // RTC, RTI, RTS
    return flow;
}();

bool is_trap(uint8_t second) {
    return (second >= 0x30 && second <= 0x39) || second >= 0x40;
}

std::shared_ptr<const AddressSet> single(uint32_t address) {
    auto set = std::make_shared<AddressSet>();
    set->set(address & 0xFFFF);
    return set;
}

} // namespace

std::optional<InstructionFacts> instruction_facts(MemoryMap& memory, uint32_t address) {
    Disassembler disassembler(memory);
    const auto decoded = disassembler.disassemble(address);
    uint8_t first = 0, second = 0;
    if (!decoded || memory.peek_byte(address, first) != 0) return std::nullopt;
    InstructionFacts facts;
    facts.length = decoded->length;
    if (first == 0x18) {
        facts.call = memory.peek_byte(address + 1, second) == 0 && is_trap(second);
        return facts;
    }
    facts.call = kFirstPageFlow[first] == Flow::kCall;
    facts.returns = kFirstPageFlow[first] == Flow::kReturn;
    return facts;
}

std::shared_ptr<const AddressSet> SourceSteps::line_starts() {
    const std::shared_ptr<const DebugMap>& map = sim_.load_file().debug_map;
    if (line_starts_ && map == map_of_lines_) return line_starts_;
    auto set = std::make_shared<AddressSet>();
    if (!map || map->ranges.empty()) {
        set->set();
    } else {
        // Paged addresses above the 64 KB window are not where PC stands.
        for (const DebugMapRange& range : map->ranges)
            if (range.start <= 0xFFFF) set->set(range.start);
    }
    map_of_lines_ = map;
    line_starts_ = std::move(set);
    return line_starts_;
}

bool SourceSteps::start(SourceStep kind) {
    if (sim_.running()) return false;
    Cpu& cpu = sim_.cpu();
    const uint16_t pc = cpu.regs.pc;
    const uint16_t sp = cpu.regs.sp;
    const auto facts = instruction_facts(sim_.board().memory(), pc);
    StepGoal goal;
    goal.stops = line_starts();
    if (kind == SourceStep::kOver && facts && facts->call) {
        goal.stops = single(pc + facts->length);
        goal.guard = StepGoal::Guard::kAtOrAbove;
        goal.sp = sp;
    } else if (kind == SourceStep::kOut && !(facts && facts->returns)) {
        // The current subroutine's return is a return instruction met with
        // SP at or above its value now: a deeper call's return finds SP
        // below it. Without a map any address after SP rose will do.
        const std::shared_ptr<const DebugMap>& map = sim_.load_file().debug_map;
        goal.sp = sp;
        if (map && !map->ranges.empty()) {
            auto returns = std::make_shared<AddressSet>();
            for (const DebugMapRange& range : map->ranges) {
                uint8_t opcode = 0;
                if (range.start <= 0xFFFF &&
                    sim_.board().memory().peek_byte(range.start, opcode) == 0 &&
                    kFirstPageFlow[opcode] == Flow::kReturn)
                    returns->set(range.start);
            }
            goal.then = goal.stops;
            goal.stops = std::move(returns);
            goal.guard = StepGoal::Guard::kAtOrAbove;
        } else {
            goal.guard = StepGoal::Guard::kAbove;
        }
    }
    sim_.start_step(std::move(goal));
    return true;
}

bool SourceSteps::run_to(uint32_t address) {
    if (sim_.running()) return false;
    sim_.start_step(StepGoal{single(address), StepGoal::Guard::kNone, 0, nullptr});
    return true;
}

} // namespace torva
