// The entry point of every opcode, made from its row of the opcode map, and
// the tables of them that a step dispatches through, one set per cycle
// model. The sets are made in files of their own (entry_points_*.cpp), so
// that the two large instantiations compile side by side.
#pragma once

#include "cpu/cpu.h"
#include "cpu/cpu12_cycles.h"
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
// Under the CPU12 model the handlers count as under the classic one, and
// the count is then replaced by the row's CPU12 count: a constant for most
// rows, a lookup by postbyte or a choice by taken branch for the others.
template <bool kPage2, uint8_t kCode, bool kFinish, bool kPlain, CycleModel kModel>
std::conditional_t<kFinish, uint32_t, void> Cpu::execute_row(Cpu& cpu, bool execute) {
    constexpr const OpcodeEntry& row = kPage2 ? kPage2Map[kCode] : kPage1Map[kCode];
    if constexpr (kPlain) execute = true;
    cpu.dispatch<kPlain>(row, execute);
    if constexpr (kModel == CycleModel::Cpu12)
        cpu.ctx.cycles = cpu12_cycles<kPage2, kCode>(cpu.ctx, cpu.regs.ccr);
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
        if (execute && undefined_out) undefined_out(step_address_, false);
        return 1;
    }
    if (execute && ctx.pc_written == 0) regs.pc = uint16_t(ctx.fetch_address);
    cycles = ctx.cycles;
    pc_written = ctx.pc_written;
    return ctx.fetch_address - step_address_;
}

static_assert(kPage1Map[0x18].family == Family::Page2);

struct Cpu::EntryPoints {
    RowTable page1_rows;
    RowTable page2_rows;
    RowTable page1_plain_rows;
    BodyTable page1_bodies;
    BodyTable page2_bodies;
};

template <bool kPage2, bool kFinish, bool kPlain, CycleModel kModel, size_t... kCodes>
constexpr auto Cpu::row_table(std::index_sequence<kCodes...>) {
    return std::conditional_t<kFinish, RowTable, BodyTable>{
        &execute_row<kPage2, uint8_t(kCodes), kFinish, kPlain, kModel>...};
}

template <CycleModel kModel>
constexpr Cpu::EntryPoints Cpu::entry_points() {
    constexpr auto codes = std::make_index_sequence<256>();
    return {
        row_table<false, true, false, kModel>(codes), row_table<true, true, false, kModel>(codes),
        row_table<false, true, true, kModel>(codes), row_table<false, false, true, kModel>(codes),
        row_table<true, false, true, kModel>(codes)};
}

} // namespace torva
