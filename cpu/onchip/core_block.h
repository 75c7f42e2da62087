// The core register block of the microcontroller: ports A and B, the mapping
// registers, the part identification, the program page and the breakpoint module.
#pragma once

#include "cpu/memory_bus.h"

#include <array>
#include <cstdint>

namespace torva {

class CoreBlock {
public:
    // Offsets of the registers this block answers, relative to the register base.
    enum Offset : uint16_t {
        kPortA = 0x00,
        kPortB = 0x01,
        kDdrA = 0x02,
        kDdrB = 0x03,
        kRamMapping = 0x10,
        kRegisterMapping = 0x11,
        kEepromMapping = 0x12,
        kPartIdHigh = 0x1A,
        kPartIdLow = 0x1B,
        kMemorySize = 0x1C,
        kBreakControl0 = 0x28,
        kBreakControl1 = 0x29,
        kBreakAddress0 = 0x2A, // page, high, low
        kBreakAddress1 = 0x2D, // page, high, low
        kPpage = 0x30,
    };
    static constexpr uint16_t kSize = 0x34;

    // The program page register lives in the memory map; the block reaches it
    // through the bus so that paging and this register never disagree.
    explicit CoreBlock(MemoryBus& bus);

    uint8_t read(uint16_t offset) const;
    void write(uint16_t offset, uint8_t value);

    // Target reset: port data and direction, breakpoint control 0, the low
    // byte of breakpoint address 0 and the program page become 0.
    void reset();

    // Ports A and B exist only on the bare board; with the I/O bus their pins
    // carry the bus, so they read $FF and ignore writes.
    void set_ports_modelled(bool on) { ports_modelled_ = on; }
    bool ports_modelled() const { return ports_modelled_; }

    // Where the 1 KB register block starts, as the register-block mapping
    // register (offset $11) places it.
    uint16_t register_base() const { return uint16_t((regs_[kRegisterMapping] & 0x78) << 8); }

    // Whether the breakpoint module, armed in control 0, matches an
    // instruction address in the CPU's 64 KB view.
    bool breakpoint_match(uint16_t pc) const;

    // The bits a port drives: stored data where the direction is output.
    uint8_t port_output(int port) const;
    uint8_t port_direction(int port) const { return regs_[kDdrA + (port & 1)]; }

private:
    MemoryBus& bus_;
    std::array<uint8_t, kSize> regs_{};
    bool ports_modelled_ = false;
};

} // namespace torva
