// The table of device types and the device-type list text.
#include "iosim/device_types.h"

#include "iosim/devices/display.h"
#include "iosim/devices/door.h"
#include "iosim/devices/drill.h"
#include "iosim/devices/flip_flop.h"
#include "iosim/devices/keyboard.h"
#include "iosim/devices/port_device.h"
#include "iosim/devices/printer.h"
#include "iosim/devices/serial_device.h"

#include <algorithm>
#include <array>

namespace torva {

namespace {

template <typename Model>
std::unique_ptr<Device> make(DeviceType /*type*/, std::string address_text) {
    return std::make_unique<Model>(std::move(address_text));
}

std::unique_ptr<Device> make_port(DeviceType type, std::string address_text) {
    return std::make_unique<PortDevice>(type, std::move(address_text));
}

using T = DeviceType;
constexpr std::array kTypes = {
    DeviceTypeInfo{T::kOutport, "Outport", 1, "Eight LEDs, lit by the bits written", make_port},
    DeviceTypeInfo{T::kInport, "Inport", 1, "Eight switches, read as one byte", make_port},
    DeviceTypeInfo{T::kHexDisplay, "HexDisplay", 1,
                   "Two hexadecimal digits showing the byte written", make_port},
    DeviceTypeInfo{T::kFlipFlop, "FlipFlop", 1, "Push button setting a flip-flop that requests IRQ",
                   make<FlipFlop>},
    DeviceTypeInfo{T::kPrinter, "Printer", 4, "Printer: data, status and control registers",
                   make<Printer>},
    DeviceTypeInfo{T::kKeyboard, "Keyboard", 2, "Hexadecimal keypad, 16 keys, latched key code",
                   make<Keyboard>},
    DeviceTypeInfo{T::kDisplay, "Display", 2, "Eight seven-segment digits, hexadecimal decoder",
                   make<Display>},
    DeviceTypeInfo{T::kDoor, "Door", 1, "Motor door with lock, lamp, alarm, button and photocell",
                   make<Door>},
    DeviceTypeInfo{T::kDrill, "Drill", 2, "Drilling machine: control at 400, status at 600",
                   make<Drill>},
    DeviceTypeInfo{T::kSerial, "Serial", 2, "Serial console on an on-chip serial interface",
                   make<SerialDevice>},
    DeviceTypeInfo{T::kInOutPort, "InOutPort", 1, "Eight LEDs written and eight switches read",
                   make_port},
    DeviceTypeInfo{T::kSegmentDigit, "SevenSegment", 1,
                   "One seven-segment digit, a bit per segment", make_port},
};

// The device dialog reads the name with "%d %s %d" and keeps 15 characters
// of it and 63 of the description; type numbers above 14 are not kept.
constexpr bool fits_the_dialog(const DeviceTypeInfo& info) {
    return info.name.size() <= 15 && info.name.find_first_of(" \t\r") == std::string_view::npos &&
           info.description.size() <= 63 &&
           info.description.find_first_of("\t\r") == std::string_view::npos &&
           int32_t(info.type) >= 0 && int32_t(info.type) <= 14 && info.size > 0;
}
static_assert(std::all_of(kTypes.begin(), kTypes.end(), fits_the_dialog));
static_assert(std::is_sorted(kTypes.begin(), kTypes.end(),
                             [](const auto& a, const auto& b) { return a.type < b.type; }));

} // namespace

std::span<const DeviceTypeInfo> device_types() {
    return kTypes;
}

const DeviceTypeInfo* find_device_type(int32_t type) {
    for (const DeviceTypeInfo& info : kTypes)
        if (int32_t(info.type) == type) return &info;
    return nullptr;
}

std::string device_type_list() {
    std::string list;
    for (const DeviceTypeInfo& info : kTypes) {
        if (!list.empty()) list += '\r';
        list += std::to_string(int32_t(info.type));
        list += '\t';
        list += info.name;
        list += '\t';
        list += std::to_string(info.size);
        list += '\t';
        list += info.description;
    }
    return list;
}

} // namespace torva
