// The instruction cycle: fetch the opcode, dispatch it through the page-1 or
// page-2 map to its family's handler, and report length, cycles and whether
// the instruction transferred control.
#include "cpu/entry_points.h"

namespace torva {

[[gnu::always_inline]] inline void Cpu::begin_step(uint32_t start_address, bool trace) {
    ctx.fetch_address = start_address;
    ctx.cycles = 0;
    ctx.pc_written = 0;
    ctx.trace = trace ? 1 : 0;
    step_address_ = start_address;
}

// The opcode has been fetched from the block (one cycle); a paged address
// read through the block is the window's.
[[gnu::always_inline]] inline void
Cpu::begin_step_in_block(uint32_t start_address, const uint8_t* opcode_block, bool trace) {
    begin_step(start_address, trace);
    fetch_block_ = opcode_block;
    fetch_base_ = start_address & ~kDirectOffsetMask;
    fetch_span_ = kDirectOffsetMask + 1;
    ctx.fetch_address = start_address + 1;
    ctx.cycles = 1;
}

void Cpu::set_cycle_model(CycleModel model) {
    cycle_model_ = model;
    entries_ = model == CycleModel::Cpu12 ? &kCpu12Entries : &kClassicEntries;
}

template <bool kStops>
uint32_t Cpu::step(const EntryPoints& entries, uint32_t start_address, bool execute, bool trace,
                   uint32_t& cycles, uint32_t& pc_written) {
    if constexpr (!kStops) {
        step_cycles_ = &cycles;
        step_pc_written_ = &pc_written;
    }

    // An opcode nothing answers for reads $FF: LDS extended. The stop test
    // looks only at plain storage: an I/O read could change what the
    // instruction itself then reads.
    uint8_t opcode;
    if (read_direct(start_address, opcode)) {
        if (kStops && stop_opcodes_[opcode]) return 0;
        begin_step_in_block(
            start_address, blocks_[(start_address & 0xFFFF) >> MemoryBus::kDirectBlockBits], trace);
    } else {
        begin_step(start_address, trace);
        opcode = fetch_byte();
    }
    if constexpr (!kStops) {
        if (opcode == kPage2Prefix) [[unlikely]] {
            // A failed second fetch reads $FF, which the page-2 map makes TRAP $FF.
            page2_code_ = fetch_byte();
            return entries.page2_rows[page2_code_](*this, execute);
        }
        return entries.page1_rows[opcode](*this, execute);
    } else {
        if (opcode == kPage2Prefix) [[unlikely]] {
            page2_code_ = fetch_byte();
            entries.page2_bodies[page2_code_](*this, true);
        } else {
            entries.page1_bodies[opcode](*this, true);
        }
        return finish_step(opcode, true, true, cycles, pc_written);
    }
}

// The run loop's step. Its common case is taken without the general step:
// the layout unchanged, the opcode in a block already handed out, neither
// the page-2 prefix nor a stop opcode. The block of PC is the one of the
// execution address, paged or not: the window's blocks are the program
// page's.
template <CycleModel kModel>
[[gnu::always_inline]] inline uint32_t Cpu::run_step(uint32_t& cycles, uint32_t& pc_written) {
    static constexpr const EntryPoints& entries =
        kModel == CycleModel::Cpu12 ? kCpu12Entries : kClassicEntries;
    const uint16_t pc = regs.pc;
    if (layout_generation_ && *layout_generation_ == blocks_generation_) [[likely]] {
        if (const uint8_t* block = blocks_[pc >> MemoryBus::kDirectBlockBits]) [[likely]] {
            const uint8_t opcode = block[pc & kDirectOffsetMask];
            if (opcode != kPage2Prefix && !stop_opcodes_[opcode]) [[likely]] {
                begin_step_in_block(execution_address(uint8_t(blocks_ppage_), pc), block, false);
                entries.page1_bodies[opcode](*this, true);
                return finish_step(opcode, true, true, cycles, pc_written);
            }
        }
    }
    sync_layout();
    // Blocks current: their page is the program page.
    const uint8_t page = layout_generation_ ? uint8_t(blocks_ppage_) : bus_.get_ppage();
    return step<true>(entries, execution_address(page, pc), true, false, cycles, pc_written);
}

// Whatever changed the memory layout since the last step (a reset, the
// loader, a window's edit) is seen from the step on. The common case is
// taken here without a call of its own: the layout unchanged and the
// opcode, not the page-2 prefix, in a block already handed out. It passes
// control to the opcode's entry point last, so that it needs no frame.
uint32_t Cpu::cpu_step(uint32_t start_address, bool execute, bool trace, uint32_t& cycles,
                       uint32_t& pc_written) {
    if (layout_generation_ && *layout_generation_ == blocks_generation_) {
        uint32_t address = start_address;
        if (window_address(address)) {
            if (const uint8_t* block = blocks_[address >> MemoryBus::kDirectBlockBits]) {
                const uint8_t opcode = block[address & kDirectOffsetMask];
                if (opcode != kPage2Prefix) {
                    begin_step_in_block(start_address, block, trace);
                    step_cycles_ = &cycles;
                    step_pc_written_ = &pc_written;
                    if (execute && !trace) [[likely]]
                        return entries_->page1_plain_rows[opcode](*this, true);
                    return entries_->page1_rows[opcode](*this, execute);
                }
            }
        }
    }
    return cpu_step_slow(start_address, execute, trace, cycles, pc_written);
}

uint32_t Cpu::cpu_step_slow(uint32_t start_address, bool execute, bool trace, uint32_t& cycles,
                            uint32_t& pc_written) {
    sync_layout();
    return step<false>(*entries_, start_address, execute, trace, cycles, pc_written);
}

uint32_t Cpu::execute_next(uint32_t& cycles, uint32_t& pc_written) {
    if (cycle_model_ == CycleModel::Cpu12) return run_step<CycleModel::Cpu12>(cycles, pc_written);
    return run_step<CycleModel::Classic>(cycles, pc_written);
}

template <CycleModel kModel>
Cpu::Stretch Cpu::run_stretch(uint64_t max_steps, RunClock& clock,
                              const std::bitset<0x10000>* stop_at) {
    Stretch run;
    while (run.steps < max_steps && (run.steps == 0 || !stop_at || !(*stop_at)[regs.pc])) {
        uint32_t cycles = 0, pc_written = 0;
        const uint32_t length = run_step<kModel>(cycles, pc_written);
        if (length == 0) break;
        run.cycles += cycles;
        clock.add(cycles);
        run.bytes += length;
        ++run.steps;
        if (clock.due() || cpu_waiting) break;
    }
    return run;
}

// The model is chosen once a stretch, not once a step.
Cpu::Stretch Cpu::execute_stretch(uint64_t max_steps, RunClock& clock,
                                  const std::bitset<0x10000>* stop_at) {
    if (cycle_model_ == CycleModel::Cpu12)
        return run_stretch<CycleModel::Cpu12>(max_steps, clock, stop_at);
    return run_stretch<CycleModel::Classic>(max_steps, clock, stop_at);
}

} // namespace torva
