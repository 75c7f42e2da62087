// Operand decoding: immediate, direct, extended and every indexed postbyte
// form, the final memory transfer, and relative branch targets.
// Inline, so that step.cpp's per-opcode entry points see the row's values
// as constants through them.

#pragma once

#include "cpu/cpu.h"

namespace torva {

namespace operand_text {
// Index register field rr of a postbyte: 0 X, 1 Y, 2 SP, 3 PC.
constexpr const char* kSuffix[] = {",X", ",Y", ",SP", ",PC"};
constexpr const char* kName[] = {"X", "Y", "SP", "PC"};
} // namespace operand_text

template <bool kPlain>
[[gnu::always_inline]] inline uint32_t Cpu::decode_operand(bool execute, OperandAccess access,
                                                           uint16_t value, bool is_word,
                                                           AddrMode mode) {
    switch (mode) {
    case AddrMode::Immediate: {
        // The operand byte itself costs nothing: an 8-bit immediate is free,
        // a 16-bit one costs the second byte.
        uint16_t v = fetch_free_byte();
        if (is_word) v = uint16_t(v << 8 | fetch_byte());
        tracef<kPlain>(is_word ? "#$%4.4X" : "#$%2.2X", v);
        return execute ? v : 0;
    }
    case AddrMode::Direct: {
        const uint16_t address = fetch_byte();
        tracef<kPlain>("<$%2.2X", address);
        if (!execute) return 0;
        ++ctx.cycles;
        return finish_operand(address, access, value, is_word);
    }
    case AddrMode::Extended: {
        const uint8_t high = fetch_byte();
        const uint16_t address = uint16_t(high << 8 | fetch_byte());
        tracef<kPlain>("$%4.4X", address);
        if (!execute) return 0;
        return finish_operand(address, access, value, is_word);
    }
    case AddrMode::Indexed: {
        const uint16_t address = indexed_address<kPlain>(execute, access);
        if (!execute) return 0;
        return finish_operand(address, access, value, is_word);
    }
    default: return 1;
    }
}

// The postbyte forms of the common case (executing without trace, a 5-bit
// offset or an increment or decrement of X, Y or SP) are decoded where the
// operand is needed; the others, and every traced step, by the full decoder.
template <bool kPlain>
[[gnu::always_inline]] inline uint16_t Cpu::indexed_address(bool execute, OperandAccess access) {
    const uint8_t pb = fetch_byte();
    ctx.postbyte = pb;
    if (execute && (kPlain || !ctx.trace) && (pb & 0xC0) != 0xC0) [[likely]] {
        uint16_t& reg = regs.*kIndexRegisters[pb >> 6];
        if ((pb & 0x20) == 0) {
            // rr0nnnnn
            const int offset = (pb & 0x10) ? (pb & 0x1F) - 32 : (pb & 0x1F);
            ++ctx.cycles;
            if (access == OperandAccess::Address) ++ctx.cycles;
            return uint16_t(reg + offset);
        }
        if ((pb & 0xE0) != 0xE0) {
            // rr1pnnnn
            const int n = pb & 0x0F;
            const int step = (n & 8) ? n - 16 : n + 1;
            const uint16_t old = reg;
            const uint16_t moved = uint16_t(old + step);
            if (access != OperandAccess::ReadInPlace) reg = moved;
            ++ctx.cycles;
            return (pb & 0x10) ? old : moved;
        }
    }
    return indexed_address_of(pb, execute, access);
}

[[gnu::noinline]] inline uint16_t Cpu::indexed_address_of(uint8_t pb, bool execute,
                                                          OperandAccess access) {
    // rr0nnnnn: 5-bit signed constant offset.
    if ((pb & 0x20) == 0) {
        const int rr = pb >> 6;
        const int offset = (pb & 0x10) ? (pb & 0x1F) - 32 : (pb & 0x1F);
        uint16_t address;
        if (rr == 3) {
            // The base is the end of a 2-byte instruction, even when the
            // postbyte belongs to a longer one (page 2, moves).
            address = uint16_t(step_address_ + 2 + offset);
            tracef("$%4.4X", address);
        } else {
            address = uint16_t(reg_value(Reg(rr + 5)) + offset);
            tracef("%d", offset);
        }
        trace(operand_text::kSuffix[rr]);
        if (!execute) return 0;
        ++ctx.cycles;
        // An address of its own (LEA, JMP) costs one more cycle.
        if (access == OperandAccess::Address) ++ctx.cycles;
        return address;
    }

    // 111rrxxx: offsets with extension bytes, accumulator offsets, indirect.
    if ((pb & 0xE0) == 0xE0) {
        const int rr = (pb >> 3) & 3;
        const uint16_t base = rr == 3 ? 0 : reg_value(Reg(rr + 5));
        const int form = pb & 7;
        if ((form & 4) == 0 && form != 3) {
            int32_t offset;
            uint16_t address;
            if (form == 2) {
                // 16-bit offset; PC-relative makes it the absolute address
                // counted from the end of the instruction.
                const uint8_t high = fetch_byte();
                offset = uint16_t(high << 8 | fetch_byte());
                if (rr == 3) offset = uint16_t(ctx.fetch_address + ctx.pc_rel_adjust + offset);
                address = uint16_t(base + offset);
                tracef("$%4.4X", unsigned(offset));
            } else {
                // 9-bit offset, sign in bit 0 of the postbyte.
                offset = fetch_byte();
                if (form & 1) offset -= 256;
                if (rr == 3) {
                    address = uint16_t(step_address_ + 3 + offset);
                    tracef("$%4.4X", address);
                } else {
                    address = uint16_t(base + offset);
                    tracef("%d", offset);
                }
            }
            trace(operand_text::kSuffix[rr]);
            if (!execute) return 0;
            // An address of its own (LEA, JMP) costs one more cycle.
            if (access == OperandAccess::Address) ++ctx.cycles;
            return address;
        }
        if (form == 3) {
            // [K,r]: the operand's address is the word stored at r + K.
            const uint8_t high = fetch_byte();
            uint16_t k = uint16_t(high << 8 | fetch_byte());
            if (rr == 3) k = uint16_t(ctx.fetch_address + ctx.pc_rel_adjust + k);
            tracef("[$%4.4X", k);
            trace(operand_text::kSuffix[rr]);
            trace("]");
            if (!execute) return 0;
            ctx.cycles += 2;
            return read_word(uint16_t(base + k));
        }
        // With PC as the register, the accumulator forms count from the end
        // of the instruction, as the 16-bit PC-relative form does.
        const uint16_t pc_base = uint16_t(ctx.fetch_address + ctx.pc_rel_adjust);
        const uint16_t reg_base = rr == 3 ? pc_base : base;
        if (form == 7) {
            // [D,r]: the operand's address is the word stored at r + D.
            trace("[D");
            trace(operand_text::kSuffix[rr]);
            trace("]");
            if (!execute) return 0;
            ctx.cycles += 4;
            return read_word(uint16_t(reg_base + regs.d()));
        }
        // 111rr1aa: accumulator A, B or D added to the register.
        static constexpr const char* kAcc[] = {"A", "B", "D"};
        trace(kAcc[form & 3]);
        trace(operand_text::kSuffix[rr]);
        if (!execute) return 0;
        const uint16_t acc = (form & 3) == 0 ? regs.a : (form & 3) == 1 ? regs.b : regs.d();
        ++ctx.cycles;
        return uint16_t(reg_base + acc);
    }

    // rr1pnnnn: pre/post increment/decrement by 1..8.
    const int rr = pb >> 6;
    const int n = pb & 0x0F;
    const int step = (n & 8) ? n - 16 : n + 1;
    const bool post = (pb & 0x10) != 0;
    const char* sign = step < 0 ? "-" : "+";
    tracef("%d,", step < 0 ? -step : step);
    if (post) {
        trace(operand_text::kName[rr]);
        trace(sign);
    } else {
        trace(sign);
        trace(operand_text::kName[rr]);
    }
    if (!execute) return 0;
    const Reg reg = Reg(rr + 5);
    const uint16_t old = reg_value(reg);
    const uint16_t moved = uint16_t(old + step);
    if (access != OperandAccess::ReadInPlace) set_reg(reg, moved);
    ++ctx.cycles;
    return post ? old : moved;
}

template <bool kPlain>
[[gnu::always_inline]] inline uint16_t Cpu::branch_target(bool is_long) {
    const uint32_t offset_address = ctx.fetch_address;
    uint16_t target;
    if (is_long) {
        const uint8_t high = fetch_byte();
        const uint16_t offset = uint16_t(high << 8 | fetch_byte());
        target = uint16_t(offset_address + 2 + offset);
    } else {
        const int8_t offset = int8_t(fetch_byte());
        ++ctx.cycles;
        target = uint16_t(offset_address + 1 + offset);
    }
    tracef<kPlain>("$%4.4X", target);
    return target;
}

} // namespace torva
