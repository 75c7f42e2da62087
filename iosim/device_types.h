// The device types this library offers: number, name, register-space size,
// description, and how to make one; and the device-type list text built from them.
#pragma once

#include "iosim/device.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace torva {

struct DeviceTypeInfo {
    DeviceType type;
    std::string_view name;        // one word, at most 15 characters
    int32_t size;                 // bytes of register space from the base address
    std::string_view description; // at most 63 characters
    std::unique_ptr<Device> (*make)(DeviceType type, std::string address_text);
};

// Every type, in type-number order.
std::span<const DeviceTypeInfo> device_types();
// The type with this number, or null.
const DeviceTypeInfo* find_device_type(int32_t type);

// The list as the device dialog reads it: one record per type,
// "type\tname\tsize\tdescription", records separated by a carriage return.
// The zero byte that ends the list in a caller's buffer is not part of it.
std::string device_type_list();

} // namespace torva
