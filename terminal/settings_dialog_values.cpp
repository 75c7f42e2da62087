// Settings shown by the serial settings dialog's controls, and back.
#include "terminal/settings_dialog_values.h"

namespace torva::serial_dialog {
namespace {

// The id of the choice for value, or of the fallback value's choice.
int id_for(std::span<const Choice> group, uint32_t value, uint32_t fallback) {
    for (const Choice& choice : group)
        if (choice.value == value) return choice.id;
    for (const Choice& choice : group)
        if (choice.value == fallback) return choice.id;
    return group.front().id;
}

} // namespace

uint32_t value_of(std::span<const Choice> group, int id) {
    for (const Choice& choice : group)
        if (choice.id == id) return choice.value;
    return group.front().value;
}

Values values_for(const SerialSettings& serial, const TerminalSettings& terminal) {
    Values v;
    v.baud = id_for(kBaud, serial.baud, 9600);
    v.byte_size = id_for(kByteSize, serial.byte_size, 8);
    v.parity = id_for(kParity, serial.parity, 0);
    v.stop_bits = id_for(kStopBits, serial.stop_bits, 0);
    v.dtr = id_for(kDtr, line_control::dtr(serial.line_control), 0);
    v.rts = id_for(kRts, line_control::rts(serial.line_control), 0);
    v.keyboard = id_for(kKeyboard, uint32_t(terminal.keyboard), 2);
    v.receive = id_for(kReceive, uint32_t(terminal.receive), 2);
    v.flow = serial.flow_control & 0xF;
    v.load_command = terminal.load_command;
    return v;
}

void store_values(const Values& v, SerialSettings& serial, TerminalSettings& terminal) {
    serial.baud = value_of(kBaud, v.baud);
    serial.byte_size = uint8_t(value_of(kByteSize, v.byte_size));
    serial.parity = uint8_t(value_of(kParity, v.parity));
    serial.stop_bits = uint8_t(value_of(kStopBits, v.stop_bits));
    serial.line_control = line_control::make(value_of(kDtr, v.dtr), value_of(kRts, v.rts));
    serial.flow_control = v.flow & 0xF;
    terminal.keyboard = KeyboardTranslation(value_of(kKeyboard, v.keyboard));
    terminal.receive = ReceiveTranslation(value_of(kReceive, v.receive));
    terminal.load_command = v.load_command.substr(0, TerminalSettings::kLoadCommandMax);
}

} // namespace torva::serial_dialog
