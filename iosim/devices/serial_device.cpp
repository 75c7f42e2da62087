// The two byte queues of the serial console and their stream ties.
#include "iosim/devices/serial_device.h"

namespace torva {

uint8_t SerialDevice::read(uint32_t offset) {
    switch (offset) {
    case kReceiveReady:
        if (polls_since_taken_ < receive_gap_) {
            ++polls_since_taken_;
            return 0;
        }
        refill();
        return to_board_.empty() ? 0 : 1;
    case kReceive: return to_board_.empty() ? 0 : to_board_.front();
    default: return 0xFF;
    }
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
    to_board_.insert(to_board_.end(), text.begin(), text.end());
    changed();
}

void SerialDevice::drop_input() {
    if (to_board_.empty()) return;
    to_board_.clear();
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
    if (!input_ || !to_board_.empty()) return;
    std::string bytes;
    if (!input_->read_available(bytes)) {
        input_ = nullptr;
        return;
    }
    to_board_.insert(to_board_.end(), bytes.begin(), bytes.end());
}

} // namespace torva
