// One simulated RT12 board without windows: memory map, on-chip modules,
// device library, device configuration and I/O routing, wired together; and
// the I/O service the run loop performs around each instruction.
#pragma once

#include "cpu/onchip/onchip_modules.h"
#include "cpu/registers.h"
#include "io/board_routing.h"
#include "io/device_setup.h"
#include "io/memory_map.h"
#include "iosim/io_simulator.h"

#include <cstdint>
#include <optional>

namespace torva {

class Board {
public:
    explicit Board(MessageSink messages = {});
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    MemoryMap& memory() { return memory_; }
    OnChipModules& modules() { return modules_; }
    IoSimulator& iosim() { return iosim_; }
    DeviceSetup& setup() { return setup_; }
    BoardRouting& routing() { return routing_; }

    // CPU reset with the I/O reset; with use_vector PC comes from $FFFE.
    void reset_cpu(CpuRegisters& regs, bool use_vector) { memory_.reset_cpu(regs, use_vector); }

    // Before an instruction: the on-chip modules learn the cycle total, and
    // each serial interface with a device takes the device's next character.
    // A serial device the user closed is disconnected.
    // The checks here run around every instruction and decide cheaply that
    // there is nothing to do.
    void before_instruction(uint32_t total_cycles) {
        modules_.set_total_cycles(total_cycles);
        if (setup_.serial_handle(0) >= 0 || setup_.serial_handle(1) >= 0) poll_serial_input();
    }
    // After an instruction: a character the transmitters finished goes to
    // its device, and the devices' time moves on by the instruction's cycles.
    void after_instruction(uint32_t cycles) {
        if (modules_.serial[0].present() || modules_.serial[1].present() ||
            iosim_.device_count() != 0)
            pass_serial_output(cycles);
    }

    // Whether any connected device requests an interrupt. Every slot's
    // device is one the library holds open.
    bool device_interrupt_pending() { return iosim_.device_count() != 0 && any_device_interrupt(); }
    // The vector of an on-chip module's request (clock, then serial 0 and 1).
    std::optional<uint16_t> onchip_interrupt_vector(uint32_t total_cycles) {
        return routing_.interrupt_vector(total_cycles);
    }

    // The model of the connected device whose base address this is (first
    // slot first), or null; for presetting switches and reading LEDs.
    Device* device_at(uint32_t base);

private:
    void poll_serial_input();
    void pass_serial_output(uint32_t cycles);
    bool any_device_interrupt();

    IoSimulator iosim_;
    MemoryMap memory_;
    OnChipModules modules_{memory_};
    DeviceSetup setup_;
    BoardRouting routing_{modules_, setup_};
};

} // namespace torva
