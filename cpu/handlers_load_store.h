// Loads, stores, effective-address loads, index increments, accumulator
// copies, memory-to-memory moves and the stack pushes and pulls.
// Inline, so that step.cpp's per-opcode entry points see the row's values
// as constants through them.

#pragma once

#include "cpu/cpu.h"

#include <algorithm>

namespace torva {

namespace load_store_detail {
constexpr bool is_wide(Reg r) {
    return r == Reg::D || r == Reg::X || r == Reg::Y || r == Reg::SP;
}

// The 5-bit and 9-bit constant-offset indexed forms, which the store
// timing treats apart from the others.
constexpr bool short_offset_postbyte(uint8_t pb) {
    return (pb & 0x20) == 0 || (pb & 0xE6) == 0xE0;
}
} // namespace load_store_detail

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_load(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const bool wide = load_store_detail::is_wide(e.reg);
    const uint16_t value =
        uint16_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, wide, e.mode));
    if (!execute) return;
    set_reg(e.reg, value);
    set_nz_clear_v(value, wide);
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_store(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const bool wide = load_store_detail::is_wide(e.reg);
    const uint16_t value = reg_value(e.reg);
    decode_operand<kPlain>(execute, OperandAccess::Write, value, wide, e.mode);
    if (!execute) return;
    set_nz_clear_v(value, wide);
    if (e.mode == AddrMode::Direct ||
        (e.mode == AddrMode::Indexed && !load_store_detail::short_offset_postbyte(ctx.postbyte)))
        take_back(1);
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_lea(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const uint16_t address =
        uint16_t(decode_operand<kPlain>(execute, OperandAccess::Address, 0, true, e.mode));
    if (!execute) return;
    // After any auto-increment of the same register: LEAX 2,X+ leaves X at
    // the address, which is its old value.
    set_reg(e.reg, address);
    ctx.cycles = 2;
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_incdec16(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    const uint16_t value = uint16_t(reg_value(e.reg) + (e.param ? 1 : -1));
    set_reg(e.reg, value);
    regs.ccr = uint8_t((regs.ccr & ~ccr_bits::Z) | (value == 0 ? ccr_bits::Z : 0));
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_tab_tba(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    const uint8_t value = e.family == Family::Tab ? regs.a : regs.b;
    (e.family == Family::Tab ? regs.b : regs.a) = value;
    set_nz_clear_v(value, false);
}

template <bool kPlain>
inline void Cpu::op_move(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const bool wide = e.reg == Reg::D;
    const int form = e.param;
    if (form <= 1) {
        // The indexed destination's postbyte comes first but is decoded
        // last: skip it, decode the source behind it, come back.
        const uint32_t postbyte_address = ctx.fetch_address;
        ctx.fetch_address = postbyte_address + 1;
        const uint16_t value =
            uint16_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, wide,
                                            form == 0 ? AddrMode::Immediate : AddrMode::Extended));
        const uint32_t source_end = ctx.fetch_address;
        trace<kPlain>(",");
        ctx.fetch_address = postbyte_address;
        decode_operand<kPlain>(execute, OperandAccess::Write, value, wide, AddrMode::Indexed);
        ctx.fetch_address = std::max(ctx.fetch_address, source_end);
        if (execute && form == 0) {
            if (wide)
                take_back(1);
            else
                ++ctx.cycles;
        }
        return;
    }
    static constexpr AddrMode kSource[] = {AddrMode::None,     AddrMode::None,
                                           AddrMode::Indexed,  AddrMode::Immediate,
                                           AddrMode::Extended, AddrMode::Indexed};
    const AddrMode destination = form == 2 ? AddrMode::Indexed : AddrMode::Extended;
    const uint16_t value =
        uint16_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, wide, kSource[form]));
    trace<kPlain>(",");
    decode_operand<kPlain>(execute, OperandAccess::Write, value, wide, destination);
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_push(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    switch (e.reg) {
    case Reg::D: // B first, so that A stands at the lower address
        push_byte(regs.b);
        push_byte(regs.a);
        break;
    case Reg::X:
    case Reg::Y: push_word(reg_value(e.reg)); break;
    default: push_byte(uint8_t(reg_value(e.reg))); break;
    }
    ++ctx.cycles;
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_pull(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    switch (e.reg) {
    case Reg::D:
        regs.a = pull_byte();
        regs.b = pull_byte();
        break;
    case Reg::X:
    case Reg::Y: set_reg(e.reg, pull_word()); break;
    default: set_reg(e.reg, pull_byte()); break;
    }
    ++ctx.cycles;
}

} // namespace torva
