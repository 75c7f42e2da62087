// A 16-key hexadecimal keypad with an encoder: the last key pressed is
// latched with a "new key" flag that the program acknowledges, optionally by
// interrupt.
#pragma once

#include "iosim/device.h"

namespace torva {

class Keyboard final : public Device {
public:
    // Key register bits.
    static constexpr uint8_t kNewKey = 0x80;
    static constexpr uint8_t kKeyDown = 0x40;
    static constexpr uint8_t kCodeMask = 0x0F;
    // Bit 7 of a control write enables the interrupt.
    static constexpr uint8_t kInterruptEnable = 0x80;

    explicit Keyboard(std::string address_text)
        : Device(DeviceType::kKeyboard, std::move(address_text)) {}

    // Offsets 0 and 1 both read the key register: new-key flag, key-down
    // flag, code of the last key. A write to either acknowledges the key
    // (clears the new-key flag) and sets the interrupt enable from bit 7.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;
    bool irq_pending() const override { return interrupt_enabled_ && new_key_; }

    // The user's keys 0-F. A press latches the code; false for a code out of range.
    bool press_key(int code);
    void release_key();

    uint8_t key_register() const;
    bool interrupt_enabled() const { return interrupt_enabled_; }

private:
    uint8_t code_ = 0;
    bool new_key_ = false;
    bool key_down_ = false;
    bool interrupt_enabled_ = false;
};

} // namespace torva
