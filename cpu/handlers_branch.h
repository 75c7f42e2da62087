// Control transfer: conditional branches, subroutine call and return,
// jumps, CALL/RTC across program pages, the loop primitives and the bit
// test-and-branch instructions with their bit set/clear siblings.
// Inline, so that step.cpp's per-opcode entry points see the row's values
// as constants through them.

#pragma once

#include "cpu/conditions.h"
#include "cpu/cpu.h"

namespace torva {

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_branch(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const bool is_long = e.family == Family::LongBranch;
    const uint16_t target = branch_target<kPlain>(is_long);
    if (!execute) return;
    if (branch_taken(e.param, regs.ccr))
        jump(target);
    else
        take_back(is_long ? 1 : 2);
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_subroutine(const OpcodeEntry& e, bool execute) {
    if (e.family == Family::Rts) {
        trace<kPlain>(e.mnemonic);
        if (!execute) return;
        jump(pull_word());
        ctx.cycles += 4;
        return;
    }
    trace_mnemonic<kPlain>(e.mnemonic);
    uint16_t target;
    if (e.family == Family::Bsr) {
        target = branch_target<kPlain>(false);
    } else {
        target =
            uint16_t(decode_operand<kPlain>(execute, OperandAccess::Address, 0, false, e.mode));
    }
    if (!execute) return;
    if (e.family != Family::Jmp) {
        push_word(uint16_t(ctx.fetch_address));
        ++ctx.cycles;
    }
    jump(target);
}

template <bool kPlain>
inline void Cpu::op_call_rtc(const OpcodeEntry& e, bool execute) {
    if (e.family == Family::Rtc) {
        trace<kPlain>(e.mnemonic);
        if (!execute) return;
        set_ppage(pull_byte());
        jump(pull_word());
        ctx.cycles += 5;
        return;
    }
    trace_mnemonic<kPlain>(e.mnemonic);
    const uint16_t target =
        uint16_t(decode_operand<kPlain>(execute, OperandAccess::Address, 0, false, e.mode));
    // The indirect indexed forms carry no page byte: the page stays.
    const bool indirect = e.mode == AddrMode::Indexed && (ctx.postbyte & 0xE3) == 0xE3;
    uint8_t page = get_ppage();
    if (!indirect) {
        page = fetch_byte();
        tracef<kPlain>(",$%2.2X", page);
    }
    if (!execute) return;
    push_word(uint16_t(ctx.fetch_address));
    push_byte(get_ppage());
    set_ppage(page);
    jump(target);
    ctx.cycles += 3;
}

template <bool kPlain>
[[gnu::always_inline]] inline void Cpu::op_loop(const OpcodeEntry&, bool execute) {
    // Postbyte: bits 7-5 operation, bit 4 offset sign, bits 2-0 register.
    static constexpr const char* kOperation[] = {"DBEQ  ", "DBNE  ", "TBEQ  ", "TBNE  ",
                                                 "IBEQ  ", "IBNE  ", nullptr,  nullptr};
    static constexpr const char* kRegister[] = {"A,", "B,", nullptr, nullptr,
                                                "D,", "X,", "Y,",    "SP,"};
    const uint8_t lb = fetch_byte();
    const uint8_t offset = fetch_byte();
    const uint16_t target = uint16_t(ctx.fetch_address + ((lb & 0x10) ? offset - 256 : offset));
    const int operation = lb >> 5;
    const int reg = lb & 7;
    const bool defined = kOperation[operation] && kRegister[reg];
    trace<kPlain>(kOperation[operation] ? kOperation[operation] : "????  ");
    trace<kPlain>(kRegister[reg] ? kRegister[reg] : "????  ");
    tracef<kPlain>("$%4.4X", target);
    if (!execute || !defined) return;
    const Reg r = Reg(reg);
    const uint16_t mask = reg >= 4 ? 0xFFFF : 0xFF;
    uint16_t value = reg_value(r);
    if (operation <= 1) value = uint16_t((value - 1) & mask);
    if (operation >= 4) value = uint16_t((value + 1) & mask);
    set_reg(r, value);
    const bool branch_on_zero = (operation & 1) == 0;
    if ((value == 0) == branch_on_zero) jump(target);
    ctx.cycles += 3;
}

template <bool kPlain>
inline void Cpu::op_bits(const OpcodeEntry& e, bool execute) {
    trace_mnemonic<kPlain>(e.mnemonic);
    const bool branches = e.family == Family::Brset || e.family == Family::Brclr;
    if (branches) {
        // A 16-bit PC-relative operand still has the mask and the branch
        // offset after it: its base moves two bytes on.
        uint8_t next = 0;
        const bool known = read_direct(ctx.fetch_address, next) ||
                           bus().mem_read_byte(ctx.fetch_address, next) == 0;
        if (known && next == 0xFA) ctx.pc_rel_adjust = 2;
    }
    const uint16_t address =
        uint16_t(decode_operand<kPlain>(execute, OperandAccess::Address, 0, false, e.mode));
    ctx.pc_rel_adjust = 0;
    const uint8_t mask = fetch_byte();
    tracef<kPlain>(branches ? ",#$%2.2x," : ",#$%2.2x", mask);
    const uint16_t target = branches ? branch_target<kPlain>(false) : 0;
    if (!execute) return;
    const uint8_t byte = read_byte(address);
    switch (e.family) {
    case Family::Brset:
        if ((byte & mask) == mask) jump(target);
        break;
    case Family::Brclr:
        if ((byte & mask) == 0) jump(target);
        break;
    default: {
        const uint8_t r = e.family == Family::Bset ? byte | mask : byte & ~mask;
        write_byte(address, r);
        set_nz_clear_v(r, false);
        break;
    }
    }
}

} // namespace torva
