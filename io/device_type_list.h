// The device-type list as the device library gives it, read into a table:
// type number, name, register-space size and description of each type.
#pragma once

#include "iosim/iosim_library.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torva {

struct DeviceTypeEntry {
    bool known = false;
    std::string name;        // at most 15 characters
    int32_t size = 0;        // bytes of register space from the device's base
    std::string description; // at most 63 characters
};

class DeviceTypeList {
public:
    // Type numbers 0 to 14 are kept; others are ignored.
    static constexpr int kMaxTypes = 15;
    static constexpr size_t kMaxName = 15;
    static constexpr size_t kMaxDescription = 63;

    // Records "type\tname\tsize\tdescription" separated by carriage returns;
    // the text ends at its first zero byte. Broken records are skipped.
    void parse(std::string_view text);
    // Asks the library once; later calls keep the list already read.
    void fetch(IoSimLibrary& library);
    bool fetched() const { return fetched_; }

    // The entry of a type, or null for a type the list does not name.
    const DeviceTypeEntry* find(int32_t type) const;
    // The register-space size of a type; 0 for a type the list does not name.
    int32_t size(int32_t type) const;

private:
    std::array<DeviceTypeEntry, kMaxTypes> entries_{};
    bool fetched_ = false;
};

} // namespace torva
