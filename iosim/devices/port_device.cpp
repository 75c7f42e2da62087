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
