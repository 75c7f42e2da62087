// The fixed connection places of both board forms, as data: address, name and
// what connecting a row opens; and the connection values the rows hold.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace torva {

enum class BoardKind : uint8_t { kBus, kBare };

constexpr BoardKind board_kind(uint32_t option_word) {
    return (option_word & 1) ? BoardKind::kBare : BoardKind::kBus;
}

// What a row holds besides a device handle (0 or more).
namespace row_value {
inline constexpr int32_t kFree = -1;         // "No"
inline constexpr int32_t kNotAvailable = -2; // "NA": another row uses the same addresses
inline constexpr int32_t kDash = -3;         // "--"
} // namespace row_value

// Port rows let the user choose the device type from a short list per kind.
enum class PortKind : int8_t { kNone = -1, kOutport = 0, kInport = 1, kPortA = 2, kPortB = 3 };

struct DeviceRow {
    uint32_t address;              // shown in the device list
    std::string_view name;         // shown in the device list
    int32_t type;                  // device type Connect opens; 0 where the port kind decides
    PortKind port_kind;            // kNone for rows with a fixed type
    uint32_t open_address;         // base address the device gets
    std::string_view address_text; // empty: the base address as "$%X"
    int32_t option;                // 0: no option set after opening
    int8_t serial_interface;       // on-chip serial interface the row attaches, or -1
};

// Row numbers of the bus board that the I/O routing and the binding rules name.
namespace bus_row {
inline constexpr int kOutport = 0;
inline constexpr int kInport = 1;
inline constexpr int kDrill = 2;
inline constexpr int kKeyboardC00 = 3;
inline constexpr int kDisplayC02 = 4;
inline constexpr int kKeyboard9C0 = 5;
inline constexpr int kDisplay9C2 = 6;
inline constexpr int kDoor = 7;
inline constexpr int kFlipFlop = 8;
inline constexpr int kSerial0 = 9;
inline constexpr int kSerial1 = 10;
inline constexpr int kPrinter = 11;
inline constexpr int kCount = 12;
} // namespace bus_row

namespace bare_row {
inline constexpr int kSerial0 = 0;
inline constexpr int kSerial1 = 1;
inline constexpr int kPortA = 2;
inline constexpr int kPortB = 3;
inline constexpr int kCount = 4;
} // namespace bare_row

inline constexpr int kMaxRows = bus_row::kCount;

std::span<const DeviceRow> device_rows(BoardKind board);

// The device types a port row offers, in list order.
std::span<const int32_t> port_types(PortKind kind);

// One line of the setup dialog's device list: "%4.4X " of the row address,
// the connection state ("Yes ", "No  ", "NA  ", "--  ") and the row name.
std::string device_list_line(const DeviceRow& row, int32_t value);

} // namespace torva
