// The instruction cycle: fetch the opcode, dispatch it through the page-1 or
// page-2 map to its family's handler, and report length, cycles and whether
// the instruction transferred control.
#include "cpu/cpu.h"
#include "cpu/decode_operand.h"
#include "cpu/handlers_arith.h"
#include "cpu/handlers_branch.h"
#include "cpu/handlers_load_store.h"

#include <type_traits>
#include <utility>

namespace torva {

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::dispatch(const OpcodeEntry& e, bool execute) {
    switch (e.family) {
    case Family::Load: op_load<kPlain>(e, execute); break;
    case Family::Store: op_store<kPlain>(e, execute); break;
    case Family::Alu8: op_alu8<kPlain>(e, execute); break;
    case Family::Alu16: op_alu16<kPlain>(e, execute); break;
    case Family::Unary: op_unary<kPlain>(e, execute); break;
    case Family::UnaryMem: op_unary_mem<kPlain>(e, execute); break;
    case Family::Lea: op_lea<kPlain>(e, execute); break;
    case Family::IncDec16: op_incdec16<kPlain>(e, execute); break;
    case Family::Tab:
    case Family::Tba: op_tab_tba<kPlain>(e, execute); break;
    case Family::Aba:
    case Family::Sba:
    case Family::Cba: op_accumulators<kPlain>(e, execute); break;
    case Family::Asld:
    case Family::Lsrd: op_shift_d<kPlain>(e, execute); break;
    case Family::Andcc:
    case Family::Orcc: op_ccr_logic<kPlain>(e, execute); break;
    case Family::Daa: op_daa<kPlain>(e, execute); break;
    case Family::Mul:
    case Family::Emul:
    case Family::Emuls: op_multiply(e, execute); break;
    case Family::Ediv:
    case Family::Edivs:
    case Family::Idiv:
    case Family::Idivs:
    case Family::Fdiv: op_divide(e, execute); break;
    case Family::MinMax: op_min_max<kPlain>(e, execute); break;
    case Family::Branch:
    case Family::LongBranch: op_branch<kPlain>(e, execute); break;
    case Family::Bsr:
    case Family::Jsr:
    case Family::Jmp:
    case Family::Rts: op_subroutine<kPlain>(e, execute); break;
    case Family::Call:
    case Family::Rtc: op_call_rtc<kPlain>(e, execute); break;
    case Family::Loop: op_loop<kPlain>(e, execute); break;
    case Family::Bset:
    case Family::Bclr:
    case Family::Brset:
    case Family::Brclr: op_bits<kPlain>(e, execute); break;
    case Family::Move: op_move<kPlain>(e, execute); break;
    case Family::Transfer: op_transfer(e, execute); break;
    case Family::Push: op_push<kPlain>(e, execute); break;
    case Family::Pull: op_pull<kPlain>(e, execute); break;
    case Family::Swi:
    case Family::Trap:
    case Family::Rti:
    case Family::Wai:
    case Family::Stop: op_exception(e, execute); break;
    case Family::Nop:
    case Family::Idle:
    case Family::Marker:
    case Family::Table:
    case Family::Emacs: op_not_modelled(e, execute); break;
    // Neither survives in a finished map (the maps assert it); a page-2 code
    // never dispatches to Page2.
    case Family::Page2:
    case Family::Missing: break;
    }
}

// Every opcode has an entry point of its own, made from its row: there the
// row's family, mode, register and parameter are constants, so that the
// handler's tests of them fold away. The finishing ones also end the step,
// so that cpu_step passes control to them as its last act and keeps nothing
// of its own across the handler.
// The plain ones execute without trace: their handlers and operand decoder
// are the plain versions, from which every trace and every test of execute
// is dropped.
template <bool kPage2, uint8_t kCode, bool kFinish, bool kPlain>
std::conditional_t<kFinish, uint32_t, void> Cpu::execute_row(Cpu& cpu, bool execute) {
    constexpr const OpcodeEntry& row = kPage2 ? kPage2Map[kCode] : kPage1Map[kCode];
    if constexpr (kPlain) execute = true;
    cpu.dispatch<kPlain>(row, execute);
    // Only a transfer postbyte can make an encoding undefined.
    if constexpr (kFinish)
        return cpu.finish_step(kPage2 ? kPage2Prefix : kCode, execute,
                               row.family == Family::Transfer, *cpu.step_cycles_,
                               *cpu.step_pc_written_);
}

// An undefined encoding leaves PC, cycles and pc_written as they were.
[[gnu::always_inline]] inline uint32_t Cpu::finish_step(uint8_t opcode, bool execute,
                                                        bool may_be_undefined, uint32_t& cycles,
                                                        uint32_t& pc_written) {
    if (may_be_undefined && ctx.illegal) [[unlikely]] {
        ctx.illegal = 0;
        tracef("FCB   $%2.2X", opcode);
        return 1;
    }
    if (execute && ctx.pc_written == 0) regs.pc = uint16_t(ctx.fetch_address);
    cycles = ctx.cycles;
    pc_written = ctx.pc_written;
    return ctx.fetch_address - step_address_;
}

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

static_assert(kPage1Map[0x18].family == Family::Page2);

template <bool kPage2, bool kFinish, bool kPlain, size_t... kCodes>
constexpr auto Cpu::row_table(std::index_sequence<kCodes...>) {
    return std::conditional_t<kFinish, RowTable, BodyTable>{
        &execute_row<kPage2, uint8_t(kCodes), kFinish, kPlain>...};
}

constinit const Cpu::RowTable Cpu::kPage1Rows =
    row_table<false, true, false>(std::make_index_sequence<256>());
constinit const Cpu::RowTable Cpu::kPage2Rows =
    row_table<true, true, false>(std::make_index_sequence<256>());
constinit const Cpu::RowTable Cpu::kPage1PlainRows =
    row_table<false, true, true>(std::make_index_sequence<256>());
constinit const Cpu::BodyTable Cpu::kPage1Bodies =
    row_table<false, false, true>(std::make_index_sequence<256>());
constinit const Cpu::BodyTable Cpu::kPage2Bodies =
    row_table<true, false, true>(std::make_index_sequence<256>());

template <bool kStops>
uint32_t Cpu::step(uint32_t start_address, bool execute, bool trace, uint32_t& cycles,
                   uint32_t& pc_written) {
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
            return kPage2Rows[page2_code_](*this, execute);
        }
        return kPage1Rows[opcode](*this, execute);
    } else {
        if (opcode == kPage2Prefix) [[unlikely]] {
            page2_code_ = fetch_byte();
            kPage2Bodies[page2_code_](*this, true);
        } else {
            kPage1Bodies[opcode](*this, true);
        }
        return finish_step(opcode, true, true, cycles, pc_written);
    }
}

// The run loop's step. Its common case is taken without the general step:
// the layout unchanged, the opcode in a block already handed out, neither
// the page-2 prefix nor a stop opcode. The block of PC is the one of the
// execution address, paged or not: the window's blocks are the program
// page's.
[[gnu::always_inline]] inline uint32_t Cpu::run_step(uint32_t& cycles, uint32_t& pc_written) {
    const uint16_t pc = regs.pc;
    if (layout_generation_ && *layout_generation_ == blocks_generation_) [[likely]] {
        if (const uint8_t* block = blocks_[pc >> MemoryBus::kDirectBlockBits]) [[likely]] {
            const uint8_t opcode = block[pc & kDirectOffsetMask];
            if (opcode != kPage2Prefix && !stop_opcodes_[opcode]) [[likely]] {
                begin_step_in_block(execution_address(uint8_t(blocks_ppage_), pc), block, false);
                kPage1Bodies[opcode](*this, true);
                return finish_step(opcode, true, true, cycles, pc_written);
            }
        }
    }
    sync_layout();
    // Blocks current: their page is the program page.
    const uint8_t page = layout_generation_ ? uint8_t(blocks_ppage_) : bus_.get_ppage();
    return step<true>(execution_address(page, pc), true, false, cycles, pc_written);
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
                        return kPage1PlainRows[opcode](*this, true);
                    return kPage1Rows[opcode](*this, execute);
                }
            }
        }
    }
    return cpu_step_slow(start_address, execute, trace, cycles, pc_written);
}

uint32_t Cpu::cpu_step_slow(uint32_t start_address, bool execute, bool trace, uint32_t& cycles,
                            uint32_t& pc_written) {
    sync_layout();
    return step<false>(start_address, execute, trace, cycles, pc_written);
}

uint32_t Cpu::execute_next(uint32_t& cycles, uint32_t& pc_written) {
    return run_step(cycles, pc_written);
}

Cpu::Stretch Cpu::execute_stretch(uint64_t max_steps, RunClock& clock,
                                  const std::bitset<0x10000>* stop_at) {
    Stretch run;
    while (run.steps < max_steps && (run.steps == 0 || !stop_at || !(*stop_at)[regs.pc])) {
        uint32_t cycles = 0, pc_written = 0;
        const uint32_t length = run_step(cycles, pc_written);
        if (length == 0) break;
        run.cycles += cycles;
        clock.add(cycles);
        run.bytes += length;
        ++run.steps;
        if (clock.due() || cpu_waiting) break;
    }
    return run;
}

} // namespace torva
