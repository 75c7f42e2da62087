// Register behaviour of the one-register parallel ports.
#include "iosim/devices/port_device.h"

namespace torva {

PortDevice::PortDevice(DeviceType type, std::string address_text)
    : Device(type, std::move(address_text)), has_outputs_(type != DeviceType::kInport),
      has_inputs_(type == DeviceType::kInport || type == DeviceType::kInOutPort) {}

uint8_t PortDevice::read(uint32_t offset) {
    if (offset != 0) return 0xFF;
    return has_inputs_ ? switches_ : outputs_;
}

void PortDevice::write(uint32_t offset, uint8_t value) {
    if (offset != 0 || !has_outputs_ || value == outputs_) return;
    outputs_ = value;
    changed();
}

double PortDevice::brightness(int bit) const {
    if (bit < 0 || bit > 7) return 0;
    return averaged_ ? levels_[size_t(bit)] : (outputs_ >> bit) & 1;
}

void PortDevice::advance(uint32_t cycles) {
    frame_cycles_ += cycles;
    for (int bit = 0; bit < 8; ++bit)
        if ((outputs_ >> bit) & 1) lit_cycles_[size_t(bit)] += cycles;
}

void PortDevice::end_display_frame(bool averaged) {
    if (!has_outputs_) return;
    std::array<double, 8> levels{};
    for (int bit = 0; bit < 8; ++bit)
        levels[size_t(bit)] = averaged && frame_cycles_ != 0
                                  ? double(lit_cycles_[size_t(bit)]) / double(frame_cycles_)
                                  : (outputs_ >> bit) & 1;
    frame_cycles_ = 0;
    lit_cycles_.fill(0);
    if (averaged == averaged_ && levels == levels_) return;
    averaged_ = averaged;
    levels_ = levels;
    changed(); // the window shows the new levels
}

void PortDevice::set_switches(uint8_t value) {
    if (value == switches_) return;
    switches_ = value;
    changed();
}

void PortDevice::set_switch(int bit, bool on) {
    if (bit < 0 || bit > 7) return;
    const uint8_t mask = uint8_t(1u << bit);
    set_switches(on ? uint8_t(switches_ | mask) : uint8_t(switches_ & ~mask));
}

} // namespace torva
