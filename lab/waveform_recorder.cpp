// Naming the board's signals and recording their changes.
#include "lab/waveform_recorder.h"

#include "io/board.h"
#include "iosim/devices/port_device.h"

#include <array>
#include <cstdio>

namespace torva::lab {
namespace {

// The registers of the bus board's devices, by address: the place whose
// device answers there and the register's name in the waveform.
struct BusRegister {
    uint16_t address;
    std::string_view place;
    std::string_view name;
};
// clang-format off
constexpr std::array<BusRegister, 11> kBusRegisters = {{
    {0x400, "drill",    "drill_control"},   // before the outport: the drill takes $400 when there
    {0x400, "leds",     "leds"},
    {0x800, "printer",  "printer_data"},
    {0x802, "printer",  "printer_control"},
    {0x9C1, "keypad2",  "keypad2_control"},
    {0x9C2, "display2", "display2_control"},
    {0x9C3, "display2", "display2_data"},
    {0xB00, "door",     "door_control"},
    {0xC00, "keypad",   "keypad_control"},
    {0xC02, "display",  "display_control"},
    {0xC03, "display",  "display_data"},
}};
// clang-format on
constexpr std::array<std::string_view, 4> kPortRegisters = {"PORTA", "PORTB", "DDRA", "DDRB"};

} // namespace

WaveformRecorder::WaveformRecorder(Board& board, std::function<Cycles()> now)
    : board_(board), now_(std::move(now)) {
    for (size_t i = 0; i < kPortRegisters.size(); ++i)
        ports_[i] = waveform_->add_signal(kPortRegisters[i], 8);
    for (int line = 0; line < 2; ++line) {
        const std::string name = "sci" + std::to_string(line);
        serial_[line] = waveform_->add_signal(name + "_tx", 8);
        serial_count_[line] = waveform_->add_signal(name + "_tx_count", 32);
        waveform_->change(serial_count_[line], 0, 0);
    }
    // The switches as they stand at the start.
    for (const BoardPlace& place : kPlaces) {
        if (!place.inputs) continue;
        if (const auto* port = dynamic_cast<PortDevice*>(place_device(board_, place)))
            if (port->has_inputs()) input(place, port->switches());
    }
}

void WaveformRecorder::attach() {
    board_.routing().set_device_write_observer(
        [this](uint32_t address, uint8_t byte) { bus_write(address, byte); });
    board_.routing().set_register_write_observer(
        [this](uint16_t offset, uint8_t byte) { register_write(offset, byte); });
    board_.set_serial_transmit_observer(
        [this](int interface, uint8_t byte) { serial_byte(interface, byte); });
}

uint32_t WaveformRecorder::bus_signal(uint32_t address) {
    for (const BusRegister& known : kBusRegisters) {
        if (known.address != address) continue;
        const BoardPlace* place = find_place(known.place);
        if (place && place_device(board_, *place)) return waveform_->add_signal(known.name, 8);
    }
    // A bare board's port passes its pins to the device on it.
    const uint32_t offset = address - board_.routing().register_base();
    if (offset < 2) return waveform_->add_signal(offset == 0 ? "porta_pins" : "portb_pins", 8);
    char name[16];
    std::snprintf(name, sizeof name, "bus_%03X", unsigned(address));
    return waveform_->add_signal(name, 8);
}

void WaveformRecorder::bus_write(uint32_t address, uint8_t byte) {
    waveform_->change(bus_signal(address), now_(), byte);
}

void WaveformRecorder::register_write(uint16_t offset, uint8_t byte) {
    if (offset < kPortRegisters.size()) waveform_->change(ports_[offset], now_(), byte);
}

void WaveformRecorder::serial_byte(int interface, uint8_t byte) {
    if (interface < 0 || interface > 1) return;
    const Cycles at = now_();
    waveform_->change(serial_[interface], at, byte);
    // The count shows a byte sent twice in a row, which the byte alone does not.
    waveform_->change(serial_count_[interface], at, ++sent_[interface]);
}

void WaveformRecorder::input(const BoardPlace& place, uint8_t value) {
    const std::string name =
        place.name == "switches" ? "switches" : std::string(place.name) + "_switches";
    waveform_->change(waveform_->add_signal(name, 8), now_(), value);
}

} // namespace torva::lab
