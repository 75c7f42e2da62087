// Looking up the board's places by name and working the device models'
// user inputs.
#include "lab/board_places.h"

#include "io/board.h"
#include "iosim/devices/door.h"
#include "iosim/devices/drill.h"
#include "iosim/devices/flip_flop.h"
#include "iosim/devices/printer.h"

#include <algorithm>
#include <array>

namespace torva::lab {
namespace {

struct TypeName {
    std::string_view name;
    int32_t type;
};
// The port types, by the names the device-type list gives them (lower case).
constexpr std::array<TypeName, 5> kTypeNames = {{
    {"outport", 1},
    {"inport", 2},
    {"hexdisplay", 3},
    {"inout", 11},
    {"segment", 12},
}};
constexpr std::array<std::string_view, kTypeNames.size()> kTypeNameList = [] {
    std::array<std::string_view, kTypeNames.size()> names{};
    for (size_t i = 0; i < kTypeNames.size(); ++i)
        names[i] = kTypeNames[i].name;
    return names;
}();

} // namespace

const BoardPlace* find_place(std::string_view name) {
    const auto it = std::ranges::find(kPlaces, name, &BoardPlace::name);
    return it == std::end(kPlaces) ? nullptr : &*it;
}

int place_row(const BoardPlace& place, BoardKind board) {
    return board == BoardKind::kBare ? place.bare_row : place.bus_row;
}

Device* place_device(Board& board, const BoardPlace& place) {
    DeviceSetup& setup = board.setup();
    const int row = place_row(place, setup.board());
    if (row < 0) return nullptr;
    const int32_t handle = setup.row_handle(setup.board(), row);
    return handle >= 0 ? board.iosim().device(handle) : nullptr;
}

int place_serial_interface(const BoardPlace& place) {
    if (place.bus_row < 0) return -1;
    return device_rows(BoardKind::kBus)[size_t(place.bus_row)].serial_interface;
}

std::optional<int32_t> device_type_by_name(std::string_view name) {
    const auto it = std::ranges::find(kTypeNames, name, &TypeName::name);
    if (it == kTypeNames.end()) return std::nullopt;
    return it->type;
}

std::span<const std::string_view> device_type_names() {
    return kTypeNameList;
}

const ActionName* find_action(std::string_view name) {
    const auto it = std::ranges::find(kActions, name, &ActionName::name);
    return it == std::end(kActions) ? nullptr : &*it;
}

bool perform_action(Device& device, DeviceAction action) {
    switch (action) {
    case DeviceAction::kDoorButtonDown:
    case DeviceAction::kDoorButtonUp:
    case DeviceAction::kDoorwayBlocked:
    case DeviceAction::kDoorwayClear: {
        auto* door = dynamic_cast<Door*>(&device);
        if (!door) return false;
        if (action == DeviceAction::kDoorButtonDown || action == DeviceAction::kDoorButtonUp)
            door->set_button(action == DeviceAction::kDoorButtonDown);
        else
            door->set_doorway_blocked(action == DeviceAction::kDoorwayBlocked);
        return true;
    }
    case DeviceAction::kPaperOut:
    case DeviceAction::kPaperIn: {
        auto* printer = dynamic_cast<Printer*>(&device);
        if (!printer) return false;
        printer->set_paper_out(action == DeviceAction::kPaperOut);
        return true;
    }
    case DeviceAction::kFlipFlopPress: {
        auto* flip_flop = dynamic_cast<FlipFlop*>(&device);
        if (!flip_flop) return false;
        flip_flop->press_button();
        return true;
    }
    case DeviceAction::kWorkpieceIn:
    case DeviceAction::kWorkpieceOut:
    case DeviceAction::kDrillRepair: {
        auto* drill = dynamic_cast<Drill*>(&device);
        if (!drill) return false;
        if (action == DeviceAction::kDrillRepair)
            drill->repair();
        else
            drill->set_workpiece_present(action == DeviceAction::kWorkpieceIn);
        return true;
    }
    }
    return false;
}

} // namespace torva::lab
