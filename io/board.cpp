// Wiring of one board and the serial and device service around each step.
#include "io/board.h"

namespace torva {

Board::Board(MessageSink messages) : setup_(iosim_, modules_.serial, std::move(messages)) {
    memory_.attach_io(&routing_);
    setup_.set_option_word_callback([this] { memory_.invalidate_layout(); });
    routing_.set_layout_callback([this] { memory_.invalidate_layout(); });
}

void Board::poll_serial_input() {
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
        const uint8_t character = uint8_t(iosim_.InputSim(handle, 0));
        if (character == 0) continue;
        serial.receive(character);
        iosim_.OutputSim(handle, 0, 0);
    }
}

void Board::pass_serial_output(uint32_t cycles) {
    for (int interface = 0; interface < 2; ++interface) {
        // An interface without a device has no line time to pass.
        if (!modules_.serial[size_t(interface)].present()) continue;
        const auto character = modules_.serial[size_t(interface)].transmit_progress();
        const int32_t handle = setup_.serial_handle(interface);
        if (character && handle >= 0) iosim_.OutputSim(handle, *character, 1);
    }
    iosim_.advance(cycles);
}

bool Board::any_device_interrupt() {
    for (const ConnectionSlot& slot : setup_.connection_slots())
        if (slot.used() && iosim_.IsIosimPendingIrq(slot.handle) != 0) return true;
    return false;
}

Device* Board::device_at(uint32_t base) {
    for (const ConnectionSlot& slot : setup_.connection_slots())
        if (slot.used() && slot.base == base) return iosim_.device(slot.handle);
    return nullptr;
}

} // namespace torva
