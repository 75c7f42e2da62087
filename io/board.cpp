// Wiring of one board and the serial and device service around each step.
#include "io/board.h"

#include "iosim/devices/serial_device.h"

namespace torva {

Board::Board(MessageSink messages) : setup_(iosim_, modules_.serial, std::move(messages)) {
    memory_.attach_io(&routing_);
    setup_.set_option_word_callback([this] { memory_.invalidate_layout(); });
    routing_.set_layout_callback([this] { memory_.invalidate_layout(); });
    iosim_.set_time_source(clock().total_source());
    iosim_.set_change_hook([this] { clock().attend(); });
}

void Board::reset_clock() {
    iosim_.catch_up();
    clock().set_total(0);
    iosim_.set_time_source(clock().total_source());
}

void Board::after_instruction() {
    for (int interface = 0; interface < 2; ++interface) {
        // An interface without a device has no line time to pass.
        SerialInterface& serial = modules_.serial[size_t(interface)];
        if (!serial.present()) continue;
        const auto character = serial.transmit_progress();
        if (!character) continue;
        const int32_t handle = setup_.serial_handle(interface);
        if (handle >= 0) iosim_.OutputSim(handle, *character, 1);
        if (serial_transmit_observer_) serial_transmit_observer_(interface, *character);
    }
    iosim_.catch_up();
}

void Board::finish_transmission() {
    for (int interface = 0; interface < 2; ++interface) {
        SerialInterface& serial = modules_.serial[size_t(interface)];
        // The transmitter holds one character: a start step, the countdown
        // and the hand-over.
        for (int step = 0; step < SerialInterface::kTransmitSteps + 2 && serial.transmit_pending();
             ++step) {
            const auto character = serial.transmit_progress();
            if (!character) continue;
            const int32_t handle = setup_.serial_handle(interface);
            if (handle >= 0) iosim_.OutputSim(handle, *character, SerialDevice::kTransmit);
            if (serial_transmit_observer_) serial_transmit_observer_(interface, *character);
        }
    }
    iosim_.catch_up();
}

void Board::plan_service(bool run_control_busy) {
    RunClock& run_clock = clock();
    if (run_control_busy || modules_.needs_service() || iosim_.irq_count() != 0) {
        run_clock.attend();
        return;
    }
    run_clock.set_deadline(run_clock.total() + RunClock::kHorizon);
    if (const auto deadline = modules_.next_deadline()) run_clock.attend_at(*deadline);
    if (const auto change = iosim_.next_change()) run_clock.attend_at(*change);
}

void Board::poll_serial_input() {
    poll_countdown_ = kPollSteps;
    for (int interface = 0; interface < 2; ++interface) {
        const int32_t handle = setup_.serial_handle(interface);
        if (handle < 0) continue;
        if (iosim_.QuerySim(handle) == 0) {
            setup_.release_slot(setup_.slot_of_handle(handle));
            continue;
        }
        // The console holds a character back until the receiver can take it,
        // as a terminal with flow control does: nothing typed or piped in is
        // lost to an overrun while the program is busy elsewhere.
        SerialInterface& serial = modules_.serial[size_t(interface)];
        if (!serial.ready_to_receive()) continue;
        // Every byte value is data: the console says apart whether one waits.
        if (iosim_.InputSim(handle, SerialDevice::kReceiveReady) != 1) continue;
        serial.receive(uint8_t(iosim_.InputSim(handle, SerialDevice::kReceive)));
        // A full receiver may request an interrupt from the next step on.
        clock().attend();
        iosim_.OutputSim(handle, 0, SerialDevice::kReceive);
    }
}

Device* Board::device_at(uint32_t base) {
    for (const ConnectionSlot& slot : setup_.connection_slots())
        if (slot.used() && slot.base == base) return iosim_.device(slot.handle);
    return nullptr;
}

} // namespace torva
