// The programmer-visible register file of the CPU12 and the per-step working
// state shared by the step routine, the operand decoder and the handlers.
#pragma once

#include <cstdint>

namespace torva {

struct CpuRegisters {
    uint8_t ccr = 0xD0;
    uint8_t a = 0;
    uint8_t b = 0;
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t sp = 0x3C80;
    uint16_t pc = 0;

    // D is not stored: it is always A:B.
    uint16_t d() const { return uint16_t(a << 8 | b); }
    void set_d(uint16_t value) {
        a = uint8_t(value >> 8);
        b = uint8_t(value);
    }
};

// X, Y and SP by the rr field (0-2) of an indexed postbyte.
inline constexpr uint16_t CpuRegisters::*kIndexRegisters[] = {&CpuRegisters::x, &CpuRegisters::y,
                                                              &CpuRegisters::sp};

// Condition code bits; handlers use these masks literally.
namespace ccr_bits {
constexpr uint8_t S = 0x80; // stop disable
constexpr uint8_t X = 0x40; // XIRQ mask
constexpr uint8_t H = 0x20; // half carry
constexpr uint8_t I = 0x10; // IRQ mask
constexpr uint8_t N = 0x08;
constexpr uint8_t Z = 0x04;
constexpr uint8_t V = 0x02;
constexpr uint8_t C = 0x01;
} // namespace ccr_bits

// Register numbers used by the simulator window and run control.
enum RegisterNumber : int {
    kRegPc = 0,
    kRegSp = 1,
    kRegCcr = 2,
    kRegA = 3,
    kRegB = 4,
    kRegX = 5,
    kRegY = 6,
};

// Register numbers of the transfer and loop instructions' postbytes.
enum TransferRegister : int {
    kXferA = 0,
    kXferB = 1,
    kXferD = 4,
    kXferX = 5,
    kXferY = 6,
    kXferSp = 7,
};

// Working values of one step. Every step starts with the first four set;
// the bit instructions clear pc_rel_adjust again after their operand,
// postbyte is written by every indexed operand before it is read, and the
// end of a step that reports an undefined encoding clears illegal.
struct StepContext {
    uint32_t fetch_address = 0;
    uint32_t cycles = 0;
    uint32_t pc_written = 0;
    uint32_t trace = 0;
    uint32_t pc_rel_adjust = 0;
    uint16_t illegal = 0;
    uint8_t postbyte = 0;
};

} // namespace torva
