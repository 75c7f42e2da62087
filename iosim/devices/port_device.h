// One-register parallel ports: eight LEDs, a hexadecimal or seven-segment
// display (outputs), eight switches (inputs), or LEDs and switches together.
#pragma once

#include "iosim/device.h"

#include <array>

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

    // How bright output bit n is shown, 0 to 1: its share of the last
    // display frame's time lit while frames are averaged, else the latched
    // bit. The time an output was lit is counted as time passes.
    double brightness(int bit) const;
    void advance(uint32_t cycles) override;
    void end_display_frame(bool averaged) override;

    // The switches as the user set them; bit n is switch n, 1 = on.
    uint8_t switches() const { return switches_; }
    void set_switches(uint8_t value);
    void set_switch(int bit, bool on);

private:
    bool has_outputs_;
    bool has_inputs_;
    uint8_t outputs_ = 0;
    uint8_t switches_ = 0;
    // The display frame in progress: its cycles, and those each bit was lit.
    uint64_t frame_cycles_ = 0;
    std::array<uint64_t, 8> lit_cycles_{};
    // The last averaged frame's levels, shown while averaged_ is set.
    std::array<double, 8> levels_{};
    bool averaged_ = false;
};

} // namespace torva
