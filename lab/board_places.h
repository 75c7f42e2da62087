// The names a lab file gives the board's places and their devices ("leds",
// "switches", "display", "sci0", ...), the device types a place may take,
// and the user actions of the device models.
#pragma once

#include "io/device_table.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace torva {
class Board;
class Device;
} // namespace torva

namespace torva::lab {

// What a place's value is to a check: a byte the program drives or reads, the
// text of a display, a stream of bytes (serial line, printer paper), or
// nothing a check reads (a keypad).
enum class PlaceValue { kByte, kText, kStream, kNone };

struct BoardPlace {
    std::string_view name;
    int bus_row;  // row of the bus board's device table, -1 for none
    int bare_row; // row of the bare board's table, -1 for none
    // The type `devices` connects when the lab names no type (0: the row's own).
    int32_t default_type;
    PlaceValue value;
    // Whether a stimulus sets its switches.
    bool inputs;
};

// clang-format off
inline constexpr BoardPlace kPlaces[] = {
    // name        bus row                 bare row             type value              inputs
    {"leds",       bus_row::kOutport,      -1,                  1,  PlaceValue::kByte,   false},
    {"switches",   bus_row::kInport,       -1,                  2,  PlaceValue::kByte,   true},
    {"porta",      -1,                     bare_row::kPortA,    11, PlaceValue::kByte,   true},
    {"portb",      -1,                     bare_row::kPortB,    11, PlaceValue::kByte,   true},
    {"drill",      bus_row::kDrill,        -1,                  0,  PlaceValue::kByte,   false},
    {"keypad",     bus_row::kKeyboardC00,  -1,                  0,  PlaceValue::kNone,   false},
    {"display",    bus_row::kDisplayC02,   -1,                  0,  PlaceValue::kText,   false},
    {"keypad2",    bus_row::kKeyboard9C0,  -1,                  0,  PlaceValue::kNone,   false},
    {"display2",   bus_row::kDisplay9C2,   -1,                  0,  PlaceValue::kText,   false},
    {"door",       bus_row::kDoor,         -1,                  0,  PlaceValue::kByte,   false},
    {"flipflop",   bus_row::kFlipFlop,     -1,                  0,  PlaceValue::kByte,   false},
    {"sci0",       bus_row::kSerial0,      bare_row::kSerial0,  0,  PlaceValue::kStream, false},
    {"sci1",       bus_row::kSerial1,      bare_row::kSerial1,  0,  PlaceValue::kStream, false},
    {"printer",    bus_row::kPrinter,      -1,                  0,  PlaceValue::kStream, false},
};
// clang-format on

const BoardPlace* find_place(std::string_view name);
// The place's row on a board, -1 when the board has none.
int place_row(const BoardPlace& place, BoardKind board);
// The device connected at a place of the board, or null.
Device* place_device(Board& board, const BoardPlace& place);
// The serial interface (0 or 1) of a serial place, -1 for other places.
int place_serial_interface(const BoardPlace& place);

// Device types by the names `devices = ["leds:hexdisplay"]` gives them.
std::optional<int32_t> device_type_by_name(std::string_view name);
std::span<const std::string_view> device_type_names();

// What a user does at a device between the program's accesses.
enum class DeviceAction {
    kDoorButtonDown,
    kDoorButtonUp,
    kDoorwayBlocked,
    kDoorwayClear,
    kPaperOut,
    kPaperIn,
    kFlipFlopPress,
    kWorkpieceIn,
    kWorkpieceOut,
    kDrillRepair,
};
struct ActionName {
    std::string_view name;
    DeviceAction action;
    std::string_view place;
};
// clang-format off
inline constexpr ActionName kActions[] = {
    {"door_button_down", DeviceAction::kDoorButtonDown, "door"},
    {"door_button_up",   DeviceAction::kDoorButtonUp,   "door"},
    {"doorway_blocked",  DeviceAction::kDoorwayBlocked, "door"},
    {"doorway_clear",    DeviceAction::kDoorwayClear,   "door"},
    {"paper_out",        DeviceAction::kPaperOut,       "printer"},
    {"paper_in",         DeviceAction::kPaperIn,        "printer"},
    {"flipflop_press",   DeviceAction::kFlipFlopPress,  "flipflop"},
    {"workpiece_in",     DeviceAction::kWorkpieceIn,    "drill"},
    {"workpiece_out",    DeviceAction::kWorkpieceOut,   "drill"},
    {"drill_repair",     DeviceAction::kDrillRepair,    "drill"},
};
// clang-format on
const ActionName* find_action(std::string_view name);
// Performs the action on the device; false when the device is not of the
// model the action needs.
bool perform_action(Device& device, DeviceAction action);

} // namespace torva::lab
