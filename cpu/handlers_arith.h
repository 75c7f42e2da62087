// Two-operand arithmetic and logic, one-operand operations on accumulators
// and memory, CCR logic, decimal adjust and the MIN/MAX family.
// Inline, so that step.cpp's per-opcode entry points see the row's values
// as constants through them.

#pragma once

#include "cpu/alu.h"
#include "cpu/cpu.h"

namespace torva {

using namespace ccr_bits;

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_alu8(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const uint8_t m =
        uint8_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, false, e.mode));
    if (!execute) return;
    const uint8_t a = uint8_t(reg_value(e.reg));
    const unsigned carry = regs.ccr & C;
    uint8_t& ccr = regs.ccr;
    switch (AluKind(e.param)) {
    case AluKind::Add: set_reg(e.reg, alu8('+', a, m, 0, alu_mask::HNZVC, ccr)); break;
    case AluKind::Adc: set_reg(e.reg, alu8('+', a, m, carry, alu_mask::HNZVC, ccr)); break;
    case AluKind::Sub: set_reg(e.reg, alu8('-', a, m, 0, alu_mask::HNZVC, ccr)); break;
    case AluKind::Sbc: set_reg(e.reg, alu8('-', a, m, carry, alu_mask::NZVC, ccr)); break;
    case AluKind::Cmp: alu8('-', a, m, 0, alu_mask::NZVC, ccr); break;
    case AluKind::And:
        set_reg(e.reg, alu8('A', a, m, 0, alu_mask::NZ, ccr));
        ccr &= uint8_t(~V);
        break;
    case AluKind::Bit:
        alu8('A', a, m, 0, alu_mask::NZ, ccr);
        ccr &= uint8_t(~V);
        break;
    case AluKind::Or: set_reg(e.reg, alu8('O', a, m, 0, alu_mask::NZ, ccr)); break;
    case AluKind::Eor: {
        const uint8_t r = a ^ m;
        set_reg(e.reg, r);
        set_nz_clear_v(r, false);
        break;
    }
    }
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_alu16(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const uint16_t m =
        uint16_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, true, e.mode));
    if (!execute) return;
    const uint16_t a = reg_value(e.reg);
    switch (AluKind(e.param)) {
    case AluKind::Add: set_reg(e.reg, alu16('+', a, m, 0, alu_mask::NZVC, regs.ccr)); break;
    case AluKind::Sub: set_reg(e.reg, alu16('-', a, m, 0, alu_mask::NZVC, regs.ccr)); break;
    default: alu16('-', a, m, 0, alu_mask::NZVC, regs.ccr); break;
    }
}

inline uint8_t Cpu::unary(UnaryOp op, uint8_t v) {
    uint8_t& ccr = regs.ccr;
    const uint8_t carry = ccr & C;
    switch (op) {
    case UnaryOp::Neg: {
        const uint8_t r = uint8_t(0 - v);
        set_nz_clear_v(r, false);
        ccr = uint8_t((ccr & ~C) | (v == 0x80 ? V : 0) | (v != 0 ? C : 0));
        return r;
    }
    case UnaryOp::Com: {
        const uint8_t r = uint8_t(~v);
        set_nz_clear_v(r, false);
        ccr |= C;
        return r;
    }
    case UnaryOp::Inc: return alu8('+', v, 1, 0, alu_mask::NZV, ccr);
    case UnaryOp::Dec: return alu8('-', v, 1, 0, alu_mask::NZV, ccr);
    // This simulator's right shifts: ASR clears V, LSR and ROR keep it.
    case UnaryOp::Lsr: return alu8('R', v, 0, 0, alu_mask::NZC, ccr);
    case UnaryOp::Ror: return alu8('R', v, carry, 0, alu_mask::NZC, ccr);
    case UnaryOp::Asr: return alu8('R', v, v & 0x80, 0, alu_mask::NZVC, ccr);
    case UnaryOp::Rol: return alu8('L', v, carry, 0, alu_mask::NZVC, ccr);
    case UnaryOp::Asl: return alu8('L', v, 0, 0, alu_mask::NZVC, ccr);
    case UnaryOp::Clr: ccr = uint8_t((ccr & 0xF4) | Z); return 0;
    case UnaryOp::Tst:
        set_nz_clear_v(v, false);
        ccr &= uint8_t(~C);
        return v;
    }
    return v;
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_unary(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    const uint8_t r = unary(UnaryOp(e.param), uint8_t(reg_value(e.reg)));
    if (UnaryOp(e.param) != UnaryOp::Tst) set_reg(e.reg, r);
}

template <bool kPlain>
inline uint16_t Cpu::rmw_read(bool execute, AddrMode mode, bool wide, RmwMark& mark) {
    // The read decodes without moving an auto-increment register; the
    // write-back decodes the same bytes again and moves it once.
    mark.fetch_address = ctx.fetch_address;
    const uint16_t value =
        uint16_t(decode_operand<kPlain>(execute, OperandAccess::ReadInPlace, 0, wide, mode));
    mark.cycles = ctx.cycles;
    return value;
}

template <bool kPlain>
inline void Cpu::rmw_write(const RmwMark& mark, AddrMode mode, bool wide, uint16_t value,
                           uint32_t extra) {
    const uint32_t end = ctx.fetch_address;
    const uint32_t tracing = ctx.trace;
    ctx.fetch_address = mark.fetch_address;
    ctx.trace = 0;
    decode_operand<kPlain>(true, OperandAccess::Write, value, wide, mode);
    ctx.trace = tracing;
    ctx.fetch_address = end;
    ctx.cycles = mark.cycles + (mode == AddrMode::Extended ? 1 : 0) + extra;
}

template <bool kPlain>
inline void Cpu::op_unary_mem(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const UnaryOp op = UnaryOp(e.param);
    if (op == UnaryOp::Clr) {
        decode_operand<kPlain>(execute, OperandAccess::Write, 0, false, e.mode);
        if (execute) unary(op, 0);
        return;
    }
    if (op == UnaryOp::Tst) {
        const uint8_t v =
            uint8_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, false, e.mode));
        if (execute) unary(op, v);
        return;
    }
    RmwMark mark;
    const uint8_t v = uint8_t(rmw_read<kPlain>(execute, e.mode, false, mark));
    if (!execute) return;
    rmw_write<kPlain>(mark, e.mode, false, unary(op, v), 0);
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_accumulators(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    switch (e.family) {
    case Family::Aba: regs.a = alu8('+', regs.a, regs.b, 0, alu_mask::HNZVC, regs.ccr); break;
    case Family::Sba: regs.a = alu8('-', regs.a, regs.b, 0, alu_mask::HNZVC, regs.ccr); break;
    default: alu8('-', regs.a, regs.b, 0, alu_mask::HNZVC, regs.ccr); break;
    }
}

template <bool kPlain>
inline void Cpu::op_shift_d(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    const uint16_t d = regs.d();
    uint16_t r;
    bool c, n;
    if (e.family == Family::Asld) {
        r = uint16_t(d << 1);
        c = (d & 0x8000) != 0;
        n = (r & 0x8000) != 0;
    } else {
        // LSRD, unlike LSRA and LSRB, sets V (to C, as N is cleared).
        r = d >> 1;
        c = (d & 1) != 0;
        n = false;
    }
    regs.set_d(r);
    uint8_t f = (c ? C : 0) | (n ? N : 0) | (r == 0 ? Z : 0) | (n != c ? V : 0);
    regs.ccr = uint8_t((regs.ccr & ~0x0F) | f);
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_ccr_logic(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const uint8_t m =
        uint8_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, false, e.mode));
    if (!execute) return;
    if (e.family == Family::Andcc)
        regs.ccr &= m;
    else
        regs.ccr |= m;
}

template <bool kPlain>
inline void Cpu::op_daa(const OpcodeEntry& e, bool execute) {
    trace<kPlain>(e.mnemonic);
    if (!execute) return;
    const uint8_t a = regs.a;
    const int high = a >> 4, low = a & 0x0F;
    uint8_t correction = ((regs.ccr & H) || low > 9) ? 0x06 : 0x00;
    if ((regs.ccr & C) || high > 9 || (high == 9 && low > 9)) correction += 0x60;
    const uint8_t carry_before = regs.ccr & C;
    regs.a = alu8('+', a, correction, 0, alu_mask::NZC, regs.ccr);
    regs.ccr |= carry_before;
    ++ctx.cycles;
}

template <bool kPlain>
inline void Cpu::op_min_max(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const bool take_larger = e.param & 1;
    const bool wide = e.param & 2;
    const bool to_memory = e.param & 4;
    RmwMark mark;
    const uint16_t m =
        to_memory ? rmw_read<kPlain>(execute, e.mode, wide, mark)
                  : uint16_t(decode_operand<kPlain>(execute, OperandAccess::Read, 0, wide, e.mode));
    if (!execute) return;
    const uint16_t r = reg_value(e.reg);
    if (wide)
        alu16('-', r, m, 0, alu_mask::NZVC, regs.ccr);
    else
        alu8('-', uint8_t(r), uint8_t(m), 0, alu_mask::NZVC, regs.ccr);
    // C set: the register is below the memory operand (unsigned).
    const bool take_memory = ((regs.ccr & C) != 0) == take_larger;
    const uint16_t chosen = take_memory ? m : r;
    if (to_memory)
        rmw_write<kPlain>(mark, e.mode, wide, chosen, 1);
    else {
        set_reg(e.reg, chosen);
        ++ctx.cycles;
    }
}

} // namespace torva
