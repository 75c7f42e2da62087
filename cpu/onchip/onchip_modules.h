// All on-chip module models behind one register-block interface: reads and
// writes by offset, the common reset, and the interrupt request with its vector.
#pragma once

#include "cpu/memory_bus.h"
#include "cpu/onchip/clock_module.h"
#include "cpu/onchip/core_block.h"
#include "cpu/onchip/serial_interface.h"

#include <array>
#include <cstdint>
#include <optional>

namespace torva {

class OnChipModules {
public:
    static constexpr uint16_t kFirstSerialVector = 0xFFD6;
    static constexpr uint16_t kSecondSerialVector = 0xFFD4;

    explicit OnChipModules(MemoryBus& bus) : core(bus) {}

    // By offset from the register base. False (and the byte untouched) when
    // no module owns the offset; the caller decides what such offsets do.
    bool read(uint16_t offset, uint8_t& byte);
    bool write(uint16_t offset, uint8_t byte);
    // As read, but without the effects a read has (a view's read).
    bool peek(uint16_t offset, uint8_t& byte) const;

    // The run's cycle total, the time base of the clock module's register
    // writes. The run loop sets it before each step; the interrupt check
    // below sets it too.
    void set_total_cycles(uint32_t total) { total_cycles_ = total; }
    uint32_t total_cycles() const { return total_cycles_; }

    // Target reset of the clock module, both serial interfaces and the core block.
    void reset();

    // The vector of the first module that requests an interrupt: clock
    // module, first serial interface, second serial interface.
    std::optional<uint16_t> pending_vector(uint32_t total_cycles);
    // False when pending_vector would surely give none (the run loop's
    // cheap test before it asks).
    bool may_request(uint32_t total_cycles) const {
        return clock.may_request(total_cycles) || serial[0].may_request() ||
               serial[1].may_request();
    }

    CoreBlock core;
    ClockModule clock;
    std::array<SerialInterface, 2> serial{SerialInterface(kFirstSerialVector),
                                          SerialInterface(kSecondSerialVector)};

private:
    uint32_t total_cycles_ = 0;
};

} // namespace torva
