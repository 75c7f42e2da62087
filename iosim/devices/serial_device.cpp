// The two byte queues of the serial console and their stream ties.
#include "iosim/devices/serial_device.h"

namespace torva {

uint8_t SerialDevice::read(uint32_t offset) {
    if (offset != kReceive) return 0xFF;
    if (polls_since_taken_ < receive_gap_) {
        ++polls_since_taken_;
        return 0;
    }
    refill();
    return to_board_.empty() ? 0 : to_board_.front();
}

void SerialDevice::write(uint32_t offset, uint8_t value) {
    switch (offset) {
    case kReceive:
        if (to_board_.empty()) return;
        to_board_.pop_front();
        polls_since_taken_ = 0;
        changed();
        break;
    case kTransmit:
        // Tied to a stream, the byte goes there and is not also kept.
        if (output_)
            output_->put(char(value)).flush();
        else
            from_board_.push_back(char(value));
        changed();
        break;
    default: break;
    }
}

void SerialDevice::type_text(std::string_view text) {
    for (char c : text)
        if (c != 0) to_board_.push_back(uint8_t(c));
    changed();
}

std::string SerialDevice::take_output() {
    std::string taken;
    taken.swap(from_board_);
    if (!taken.empty()) changed();
    return taken;
}

void SerialDevice::set_linked(bool linked) {
    if (linked == linked_) return;
    linked_ = linked;
    changed();
}

bool SerialDevice::input_ended() {
    refill();
    return to_board_.empty() && !input_;
}

void SerialDevice::refill() {
    while (input_ && to_board_.empty()) {
        const int c = input_->get();
        if (c == std::char_traits<char>::eof()) {
            input_ = nullptr;
            return;
        }
        if (c != 0) to_board_.push_back(uint8_t(c));
    }
}

} // namespace torva
