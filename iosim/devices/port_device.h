// One-register parallel ports: eight LEDs, a hexadecimal or seven-segment
// display (outputs), eight switches (inputs), or LEDs and switches together.
#pragma once

#include "iosim/device.h"

namespace torva {

class PortDevice final : public Device {
public:
    // The type decides which halves exist: outport, hex display and segment
    // digit have outputs only, the inport inputs only, the in/out port both.
    PortDevice(DeviceType type, std::string address_text);

    // Offset 0: a write latches the outputs; a read gives the switches, or
    // reads back the latched outputs on an output-only port.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;

    bool has_outputs() const { return has_outputs_; }
    bool has_inputs() const { return has_inputs_; }

    // The byte the program wrote last (LEDs lit, digits shown, segments on).
    uint8_t outputs() const { return outputs_; }

    // The switches as the user set them; bit n is switch n, 1 = on.
    uint8_t switches() const { return switches_; }
    void set_switches(uint8_t value);
    void set_switch(int bit, bool on);

private:
    bool has_outputs_;
    bool has_inputs_;
    uint8_t outputs_ = 0;
    uint8_t switches_ = 0;
};

} // namespace torva
