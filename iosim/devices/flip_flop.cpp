// The push-button flip-flop and its interrupt request.
#include "iosim/devices/flip_flop.h"

namespace torva {

uint8_t FlipFlop::read(uint32_t offset) {
    if (offset != 0) return 0xFF;
    const uint8_t value = set_ ? 0x01 : 0x00;
    clear();
    return value;
}

void FlipFlop::write(uint32_t offset, uint8_t /*value*/) {
    if (offset == 0) clear();
}

void FlipFlop::press_button() {
    set_ = true;
    ++presses_;
    changed();
}

void FlipFlop::clear() {
    if (!set_) return;
    set_ = false;
    changed();
}

} // namespace torva
