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
#include <functional>
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

    // The run's cycle total, the time base of the on-chip modules and the
    // devices, and the run loop's deadline.
    RunClock& clock() { return modules_.run_clock; }
    // The cycle total starts again from 0; the devices keep their state.
    void reset_clock();

    // The I/O service of one step, in two halves around its instruction (or
    // around a cycle of a CPU waiting in WAI or STOP), as the run loop gives
    // it. Before: once per character time of the serial interfaces, each
    // interface with a device takes the device's next character; a serial
    // device the user closed is disconnected. After: the serial lines move
    // on by a step, and the devices' time catches up with the clock.
    void before_instruction() {
        if (!serial_devices()) return;
        if (--poll_countdown_ == 0) poll_serial_input();
    }
    void after_instruction();
    // At the end of a run: each transmitter hands over the character the
    // program wrote last, as if the line had the time; no instruction runs
    // and the clock stands. A run that stops right after a write (SWI
    // behind STAB) loses nothing.
    void finish_transmission();
    // The serial input is polled on its own cadence, so the run loop may
    // leave out before_instruction between polls: after a step's
    // before_instruction, this many steps (that one included) can run before
    // the next poll is due, and pass_steps_without_poll tells how many of
    // the following ones did without it.
    uint64_t steps_until_poll() const { return serial_devices() ? poll_countdown_ : UINT64_MAX; }
    void pass_steps_without_poll(uint64_t steps) {
        if (serial_devices()) poll_countdown_ -= uint32_t(steps);
    }

    // Sets the run clock's deadline: due at once when the run loop must look
    // at every step (run_control_busy, an interrupt request raised, a serial
    // line busy, a device requesting an interrupt), else at the next real-time
    // interrupt or device change.
    void plan_service(bool run_control_busy);
    // The devices' state as of the clock's total (windows and callers that
    // read models directly call this first).
    void catch_up_devices() { iosim_.catch_up(); }
    // A frame of the devices' display ended (see Device::end_display_frame).
    void end_display_frame(bool averaged) { iosim_.end_display_frame(averaged); }

    // Whether any connected device requests an interrupt.
    bool device_interrupt_pending() {
        iosim_.catch_up();
        return iosim_.irq_count() != 0;
    }
    // The vector of an on-chip module's request (clock, then serial 0 and 1).
    std::optional<uint16_t> onchip_interrupt_vector(uint32_t total_cycles) {
        return routing_.interrupt_vector(total_cycles);
    }

    // Told of every byte a serial interface (0 or 1) hands to its line,
    // whether or not a device takes it there.
    using SerialTransmitObserver = std::function<void(int interface, uint8_t byte)>;
    void set_serial_transmit_observer(SerialTransmitObserver observer) {
        serial_transmit_observer_ = std::move(observer);
    }

    // The model of the connected device whose base address this is (first
    // slot first), or null; for presetting switches and reading LEDs.
    Device* device_at(uint32_t base);

    // Serial input is polled once per character time.
    static constexpr uint32_t kPollSteps = SerialInterface::kIdleSteps;

private:
    bool serial_devices() const {
        return setup_.serial_handle(0) >= 0 || setup_.serial_handle(1) >= 0;
    }
    void poll_serial_input();

    IoSimulator iosim_;
    SerialTransmitObserver serial_transmit_observer_;
    MemoryMap memory_;
    OnChipModules modules_{memory_};
    DeviceSetup setup_;
    BoardRouting routing_{modules_, setup_};
    // Steps until the next serial input poll; the first step polls.
    uint32_t poll_countdown_ = 1;
};

} // namespace torva
