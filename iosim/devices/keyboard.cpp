// Key latch, acknowledge and interrupt of the keypad.
#include "iosim/devices/keyboard.h"

namespace torva {

uint8_t Keyboard::key_register() const {
    return uint8_t((new_key_ ? kNewKey : 0) | (key_down_ ? kKeyDown : 0) | code_);
}

uint8_t Keyboard::read(uint32_t offset) {
    return offset <= 1 ? key_register() : 0xFF;
}

void Keyboard::write(uint32_t offset, uint8_t value) {
    if (offset > 1) return;
    new_key_ = false;
    interrupt_enabled_ = (value & kInterruptEnable) != 0;
    changed();
}

bool Keyboard::press_key(int code) {
    if (code < 0 || code > kCodeMask) return false;
    code_ = uint8_t(code);
    new_key_ = true;
    key_down_ = true;
    changed();
    return true;
}

void Keyboard::release_key() {
    if (!key_down_) return;
    key_down_ = false;
    changed();
}

} // namespace torva
