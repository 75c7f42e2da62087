// All on-chip module models behind one register-block interface: reads and
// writes by offset, the common reset, and the interrupt request with its vector.
#pragma once

#include "cpu/memory_bus.h"
#include "cpu/onchip/clock_module.h"
#include "cpu/onchip/core_block.h"
#include "cpu/onchip/run_clock.h"
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
    // writes, kept by the run loop.
    void set_total_cycles(uint32_t total) { run_clock.set_total(total); }
    uint32_t total_cycles() const { return run_clock.total(); }

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

    // Whether the run loop has to look at every step for now: a request is
    // raised (whether or not the CPU masks it) or a serial line is busy.
    // Register writes that may change this, and reads that clear serial
    // flags, make the run clock attend.
    bool needs_service() const {
        return clock.requesting() || serial[0].needs_service() || serial[1].needs_service();
    }
    // The cycle at which the clock module's real-time interrupt comes next.
    std::optional<uint32_t> next_deadline() const {
        if (!clock.rti_running()) return std::nullopt;
        return clock.rti_deadline();
    }

    CoreBlock core;
    ClockModule clock;
    std::array<SerialInterface, 2> serial{SerialInterface(kFirstSerialVector),
                                          SerialInterface(kSecondSerialVector)};

    RunClock run_clock;
};

} // namespace torva
