// Connection slots, the row binding rules of both boards, and opening and
// closing devices through the device library.
#include "io/device_setup.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace torva {

DeviceSetup::DeviceSetup(IoSimLibrary& library, std::array<SerialInterface, 2>& serial,
                         MessageSink messages)
    : library_(library), serial_(serial), messages_(std::move(messages)) {
    bus_.fill(row_value::kFree);
    bare_.fill(row_value::kFree);
}

void DeviceSetup::show(const std::string& text) const {
    if (messages_) messages_(text);
}

const DeviceTypeList& DeviceSetup::types() {
    types_.fetch(library_);
    return types_;
}

int32_t DeviceSetup::row_value(BoardKind board, int row) const {
    if (row < 0 || size_t(row) >= device_rows(board).size()) return row_value::kFree;
    return values(board)[size_t(row)];
}

std::string DeviceSetup::device_list_line(int row) const {
    const auto rows = device_rows(board());
    if (row < 0 || size_t(row) >= rows.size()) return {};
    // A free row that cannot take a device (its serial interface serves a
    // device of the other board's table) is not available.
    const int32_t value = row_value(row);
    return torva::device_list_line(rows[size_t(row)], value == row_value::kFree && !can_bind(row)
                                                          ? row_value::kNotAvailable
                                                          : value);
}

int32_t DeviceSetup::row_handle(BoardKind board, int row) {
    const int32_t value = row_value(board, row);
    return value >= 0 && library_.QuerySim(value) != 0 ? value : -1;
}

int DeviceSetup::open_device(int row, int32_t type, uint32_t address, int32_t option,
                             std::string_view address_text) {
    const auto free_slot = std::find_if(slots_.begin(), slots_.end(),
                                        [](const ConnectionSlot& slot) { return !slot.used(); });
    if (free_slot == slots_.end()) {
        show(format_message(setup_message::kTooManyDevices, kSlotCount));
        return -1;
    }
    std::string text(address_text);
    if (text.empty()) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "$%X", unsigned(address));
        text = buffer;
    }
    const int32_t handle = library_.OpenSim(type, text, 0);
    if (handle < 0) return -1;
    if (option >= 1) library_.SetOptionSim(handle, option);

    ConnectionSlot& slot = *free_slot;
    slot.base = address;
    slot.handle = handle;
    slot.type = type;
    slot.is_new = true;
    slot.row = row;
    slot.board = board();
    slot.name = std::string(address_text.substr(0, kMaxSlotName));
    return int(free_slot - slots_.begin());
}

bool DeviceSetup::can_bind(int row) const {
    const BoardKind kind = board();
    const auto rows = device_rows(kind);
    if (row < 0 || size_t(row) >= rows.size()) return false;
    const RowValues& value = values(kind);
    if (value[size_t(row)] != row_value::kFree) return false;
    // The drill takes the outport's and the inport's places as well.
    if (kind == BoardKind::kBus && row == bus_row::kDrill &&
        (value[bus_row::kOutport] != row_value::kFree ||
         value[bus_row::kInport] != row_value::kFree))
        return false;
    const int interface = rows[size_t(row)].serial_interface;
    return interface < 0 || serial_handles_[size_t(interface)] < 0;
}

bool DeviceSetup::bind(int row, int32_t handle) {
    if (handle < 0 || !can_bind(row)) return false;
    const BoardKind kind = board();
    RowValues& value = values(kind);
    if (kind == BoardKind::kBus && row == bus_row::kDrill) {
        value[bus_row::kOutport] = value[bus_row::kInport] = value[bus_row::kDrill] = handle;
        return true;
    }
    value[size_t(row)] = handle;
    if (kind == BoardKind::kBus && (row == bus_row::kOutport || row == bus_row::kInport))
        value[bus_row::kDrill] = row_value::kNotAvailable;
    const int interface = device_rows(kind)[size_t(row)].serial_interface;
    if (interface >= 0) attach_serial(interface, handle);
    return true;
}

int32_t DeviceSetup::unbind(int row) {
    return unbind(board(), row);
}

int32_t DeviceSetup::unbind(BoardKind kind, int row) {
    const auto rows = device_rows(kind);
    if (row < 0 || size_t(row) >= rows.size()) return -1;
    RowValues& value = values(kind);
    const int32_t handle = value[size_t(row)];
    // A row without a device ("No", "NA") has nothing to give; freeing the
    // drill's place here would orphan the ports bound beside it.
    if (handle < 0) return -1;

    if (kind == BoardKind::kBus && row <= bus_row::kDrill) {
        if (value[bus_row::kDrill] >= 0) {
            value[bus_row::kOutport] = value[bus_row::kInport] = value[bus_row::kDrill] =
                row_value::kFree;
        } else {
            value[size_t(row)] = row_value::kFree;
            if (value[bus_row::kOutport] == row_value::kFree &&
                value[bus_row::kInport] == row_value::kFree)
                value[bus_row::kDrill] = row_value::kFree;
        }
        return handle;
    }
    value[size_t(row)] = row_value::kFree;
    const int interface = rows[size_t(row)].serial_interface;
    if (interface >= 0 && serial_handles_[size_t(interface)] == handle) detach_serial(interface);
    return handle;
}

int DeviceSetup::connect_row(int row, int32_t chosen_type) {
    if (!can_bind(row)) return -1;
    const DeviceRow& entry = device_rows(board())[size_t(row)];
    int32_t type = entry.type;
    if (entry.port_kind != PortKind::kNone) {
        const auto offered = port_types(entry.port_kind);
        if (std::find(offered.begin(), offered.end(), chosen_type) == offered.end()) return -1;
        type = chosen_type;
    }
    const int slot = open_device(row, type, entry.open_address, entry.option, entry.address_text);
    if (slot < 0) return -1;
    bind(row, slots_[size_t(slot)].handle);
    return slot;
}

void DeviceSetup::disconnect_row(int row) {
    const int32_t handle = unbind(row);
    if (handle < 0) return;
    library_.CloseSim(handle);
    const int slot = slot_of_handle(handle);
    if (slot >= 0) slots_[size_t(slot)] = ConnectionSlot{};
}

void DeviceSetup::release_slot(int index) {
    if (index < 0 || index >= kSlotCount || !slots_[size_t(index)].used()) return;
    const ConnectionSlot slot = slots_[size_t(index)];
    if (slot.row >= 0 && row_value(slot.board, slot.row) == slot.handle)
        unbind(slot.board, slot.row);
    for (int interface = 0; interface < 2; ++interface)
        if (serial_handles_[size_t(interface)] == slot.handle) detach_serial(interface);
    library_.CloseSim(slot.handle);
    slots_[size_t(index)] = ConnectionSlot{};
}

void DeviceSetup::close_all() {
    for (ConnectionSlot& slot : slots_) {
        if (slot.used()) library_.CloseSim(slot.handle);
        slot = ConnectionSlot{};
    }
    bus_.fill(row_value::kFree);
    bare_.fill(row_value::kFree);
    for (int interface = 0; interface < 2; ++interface)
        if (serial_handles_[size_t(interface)] >= 0) detach_serial(interface);
}

void DeviceSetup::prune() {
    for (int index = 0; index < kSlotCount; ++index) {
        const ConnectionSlot& slot = slots_[size_t(index)];
        if (slot.used() && library_.QuerySim(slot.handle) == 0) release_slot(index);
    }
}

void DeviceSetup::close_other_board() {
    for (int index = 0; index < kSlotCount; ++index) {
        const ConnectionSlot& slot = slots_[size_t(index)];
        if (slot.used() && slot.board != board() && row_value(slot.board, slot.row) == slot.handle)
            release_slot(index);
    }
}

void DeviceSetup::commit() {
    for (ConnectionSlot& slot : slots_)
        slot.is_new = false;
}

void DeviceSetup::cancel_new() {
    for (int index = 0; index < kSlotCount; ++index)
        if (slots_[size_t(index)].used() && slots_[size_t(index)].is_new) release_slot(index);
}

int DeviceSetup::slot_of_handle(int32_t handle) const {
    if (handle < 0) return -1;
    for (int index = 0; index < kSlotCount; ++index)
        if (slots_[size_t(index)].handle == handle) return index;
    return -1;
}

std::string DeviceSetup::place_key(int32_t handle) const {
    const int slot = slot_of_handle(handle);
    if (slot < 0 || slots_[size_t(slot)].row < 0) return {};
    const ConnectionSlot& bound = slots_[size_t(slot)];
    return (bound.board == BoardKind::kBare ? "bare-row-" : "bus-row-") + std::to_string(bound.row);
}

std::string DeviceSetup::place_name(int32_t handle) const {
    const int slot = slot_of_handle(handle);
    if (slot < 0) return {};
    const ConnectionSlot& bound = slots_[size_t(slot)];
    if (row_value(bound.board, bound.row) != handle) return {};
    return std::string(device_rows(bound.board)[size_t(bound.row)].name);
}

void DeviceSetup::attach_serial(int interface, int32_t handle) {
    serial_handles_[size_t(interface)] = handle;
    serial_[size_t(interface)].attach();
}

void DeviceSetup::detach_serial(int interface) {
    serial_handles_[size_t(interface)] = -1;
    serial_[size_t(interface)].detach();
}

std::string DeviceSetup::descriptor_display_name() const {
    if (current_descriptor_.empty()) return "<DEFAULT>";
    return std::filesystem::path(current_descriptor_).stem().string().substr(0, 64);
}

} // namespace torva
