// A flip-flop that a push button sets and that requests an interrupt while
// set; the program clears it by reading (or writing) its register.
#pragma once

#include "iosim/device.h"

namespace torva {

class FlipFlop final : public Device {
public:
    explicit FlipFlop(std::string address_text)
        : Device(DeviceType::kFlipFlop, std::move(address_text)) {}

    // Offset 0: a read gives $01 when set, $00 when clear, and clears it;
    // a write of any value clears it.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;
    bool irq_pending() const override { return set_; }

    // The user's button.
    void press_button();
    bool is_set() const { return set_; }
    uint32_t presses() const { return presses_; }

private:
    void clear();

    bool set_ = false;
    uint32_t presses_ = 0;
};

} // namespace torva
