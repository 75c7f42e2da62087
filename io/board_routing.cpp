// Address decoding and routing of I/O accesses, and the I/O part of the reset.
#include "io/board_routing.h"

#include "io/board_option.h"

#include <algorithm>
#include <array>

namespace torva {

namespace {

// A device register behind a fixed bus address: the bus-board row whose
// device answers and the register offset it gets; row -1 for none.
struct Route {
    int8_t row;
    uint8_t offset;
};
constexpr Route kNothing{-1, 0};

// The fixed addresses of the bus board's I/O bus (used while the option word
// is 0). A read asks `read`, or `fallback` when the read row has no open
// device; nothing answering reads $FF. Writes without a row are ignored.
struct FixedAddress {
    uint16_t address;
    Route read;
    Route fallback;
    Route write;
};

// clang-format off
constexpr std::array<FixedAddress, 16> kFixedAddresses = {{
    // address  read                          fallback                write
    {0x400, kNothing,                     kNothing,             {bus_row::kOutport, 0}},
    // The drill's status shares its address with the inport.
    {0x600, {bus_row::kDrill, 1},         {bus_row::kInport, 0}, kNothing},
    {0x800, kNothing,                     kNothing,             {bus_row::kPrinter, 0}},
    {0x801, {bus_row::kPrinter, 0},       kNothing,             kNothing},
    {0x802, kNothing,                     kNothing,             {bus_row::kPrinter, 2}},
    {0x803, kNothing,                     kNothing,             kNothing},
    {0x9C0, {bus_row::kKeyboard9C0, 0},   kNothing,             kNothing},
    {0x9C1, kNothing,                     kNothing,             {bus_row::kKeyboard9C0, 0}},
    {0x9C2, kNothing,                     kNothing,             {bus_row::kDisplay9C2, 0}},
    {0x9C3, kNothing,                     kNothing,             {bus_row::kDisplay9C2, 1}},
    {0xB00, {bus_row::kDoor, 0},          kNothing,             {bus_row::kDoor, 0}},
    {0xC00, kNothing,                     kNothing,             {bus_row::kKeyboardC00, 0}},
    {0xC01, {bus_row::kKeyboardC00, 1},   kNothing,             kNothing},
    {0xC02, kNothing,                     kNothing,             {bus_row::kDisplayC02, 0}},
    {0xC03, kNothing,                     kNothing,             {bus_row::kDisplayC02, 1}},
    {0xDC0, {bus_row::kFlipFlop, 0},      kNothing,             kNothing},
}};
// clang-format on

static_assert(std::is_sorted(kFixedAddresses.begin(), kFixedAddresses.end(),
                             [](const auto& a, const auto& b) { return a.address < b.address; }));
static_assert(std::all_of(kFixedAddresses.begin(), kFixedAddresses.end(), [](const auto& entry) {
    return entry.address >= BoardRouting::kWindowFirst &&
           entry.address <= BoardRouting::kWindowLast;
}));

const FixedAddress* find_fixed(uint32_t address) {
    const auto it = std::lower_bound(
        kFixedAddresses.begin(), kFixedAddresses.end(), address,
        [](const FixedAddress& entry, uint32_t wanted) { return entry.address < wanted; });
    return it != kFixedAddresses.end() && it->address == address ? &*it : nullptr;
}

// Register-block offsets outside the modelled modules.
constexpr uint16_t kFlashStatus = 0x105;
constexpr uint8_t kFlashReady = 0xC0; // the flash controller never is busy
struct OffsetRange {
    uint16_t first;
    uint16_t last;
};
// Modules without a model; polling loops on them see both flag states.
constexpr OffsetRange kToggleRanges[] = {{0x140, 0x17F}, {0x280, 0x2BF}};

bool in_toggle_range(uint16_t offset) {
    return std::any_of(std::begin(kToggleRanges), std::end(kToggleRanges),
                       [&](const OffsetRange& r) { return offset >= r.first && offset <= r.last; });
}

// Device types behind the bare board's port rows that drive pins the
// microcontroller reads, and those that show what it drives.
bool drives_pins(int32_t type) {
    return type == 2 || type == 11; // inport, in/out port
}
bool shows_pins(int32_t type) {
    return type == 1 || type == 3 || type == 11 || type == 12;
}

} // namespace

BoardRouting::BoardRouting(OnChipModules& modules, DeviceSetup& setup)
    : modules_(modules), setup_(setup), library_(setup.library()) {}

bool BoardRouting::is_register_address(uint32_t address) const {
    if (address - register_base() < kRegisterBlockSize) return true;
    return fixed_bus_active() && find_fixed(address) != nullptr;
}

void BoardRouting::sync_board_mode() {
    modules_.core.set_ports_modelled(is_bare_board(setup_.option_word()));
}

int BoardRouting::io_read(uint32_t address, uint8_t& byte) {
    if (!claims(address)) return 1;
    if (break_check_ && break_check_(address)) {
        byte = kSuppressedRead;
        return 0;
    }
    sync_board_mode();
    byte = is_register_address(address) ? register_read(address) : range_read(address);
    return 0;
}

int BoardRouting::io_peek(uint32_t address, uint8_t& byte) const {
    const uint32_t offset = address - register_base();
    if (offset >= kRegisterBlockSize) return 1;
    if (fixed_bus_active() && find_fixed(address)) return 1;
    if (modules_.peek(uint16_t(offset), byte)) return 0;
    if (offset == kFlashStatus)
        byte = kFlashReady;
    else if (in_toggle_range(uint16_t(offset)))
        byte = toggle_;
    else
        byte = 0xFF;
    return 0;
}

int BoardRouting::io_write(uint32_t address, uint8_t byte) {
    if (!claims(address)) return 1;
    if (break_check_ && break_check_(address)) return 0;
    sync_board_mode();
    // Every write to the board's bus reaches the write observer, whether or
    // not a device answers there, so a log shows all that the program drove.
    if (device_write_observer_ &&
        (in_external_window(address) || (fixed_bus_active() && find_fixed(address))))
        device_write_observer_(address, byte);
    if (is_register_address(address))
        register_write(address, byte);
    else
        range_write(address, byte);
    return 0;
}

void BoardRouting::io_reset() {
    sync_board_mode();
    modules_.reset();
    // The microcontroller's reset puts the register block back at 0. Port A
    // needs no write: its direction was just cleared, so nothing written to
    // it would show.
    modules_.write(CoreBlock::kRegisterMapping, 0);
    set_up_serial0();
}

void BoardRouting::set_up_serial0() {
    constexpr std::pair<uint16_t, uint8_t> kSerialSetup[] = {
        {0xC8, 0x00}, {0xC9, 0x01}, {0xCB, 0x0C}};
    for (const auto& [offset, value] : kSerialSetup)
        block_write(offset, value);
}

int32_t BoardRouting::bus_device(int row) {
    return row < 0 ? -1 : setup_.row_handle(BoardKind::kBus, row);
}

uint8_t BoardRouting::register_read(uint32_t address) {
    if (fixed_bus_active()) {
        if (const FixedAddress* fixed = find_fixed(address)) {
            for (const Route& route : {fixed->read, fixed->fallback}) {
                const int32_t handle = bus_device(route.row);
                if (handle >= 0) return uint8_t(library_.InputSim(handle, route.offset));
            }
            return 0xFF;
        }
    }
    return block_read(uint16_t(address - register_base()));
}

void BoardRouting::register_write(uint32_t address, uint8_t byte) {
    if (fixed_bus_active()) {
        if (const FixedAddress* fixed = find_fixed(address)) {
            const int32_t handle = bus_device(fixed->write.row);
            if (handle >= 0) library_.OutputSim(handle, byte, int32_t(fixed->write.offset));
            return;
        }
    }
    block_write(uint16_t(address - register_base()), byte);
}

uint8_t BoardRouting::block_read(uint16_t offset) {
    uint8_t byte = 0xFF;
    if (modules_.read(offset, byte)) {
        // On the bare board a switch device on a port drives the pins whose
        // direction is input; without one they read 1.
        if (modules_.core.ports_modelled() && offset <= CoreBlock::kPortB) {
            const int row = offset == CoreBlock::kPortA ? bare_row::kPortA : bare_row::kPortB;
            const int32_t handle = setup_.row_handle(BoardKind::kBare, row);
            const int slot = setup_.slot_of_handle(handle);
            if (slot >= 0 && drives_pins(setup_.connection_slots()[size_t(slot)].type)) {
                const uint8_t inputs = uint8_t(~modules_.core.port_direction(offset));
                const uint8_t pins = uint8_t(library_.InputSim(handle, 0));
                byte = uint8_t((byte & ~inputs) | (pins & inputs));
            }
        }
        return byte;
    }
    if (offset == kFlashStatus) return kFlashReady;
    if (in_toggle_range(offset)) {
        toggle_ = uint8_t(~toggle_);
        return toggle_;
    }
    return 0xFF;
}

void BoardRouting::block_write(uint16_t offset, uint8_t byte) {
    const uint16_t base = register_base();
    if (register_write_observer_) register_write_observer_(offset, byte);
    if (!modules_.write(offset, byte)) return;
    if (register_base() != base && on_layout_change_) on_layout_change_();
    // On the bare board a device on a port shows the pins the port drives.
    if (modules_.core.ports_modelled() && offset <= CoreBlock::kDdrB) {
        const int port = offset & 1;
        const int32_t handle =
            setup_.row_handle(BoardKind::kBare, port == 0 ? bare_row::kPortA : bare_row::kPortB);
        const int slot = setup_.slot_of_handle(handle);
        if (slot >= 0 && shows_pins(setup_.connection_slots()[size_t(slot)].type)) {
            const uint8_t pins = modules_.core.port_output(port);
            library_.OutputSim(handle, pins, 0);
            if (device_write_observer_) device_write_observer_(register_base() + port, pins);
        }
    }
}

int BoardRouting::find_range_slot(uint32_t address) {
    const DeviceTypeList& types = setup_.types();
    const auto slots = setup_.connection_slots();
    for (size_t index = 0; index < slots.size(); ++index) {
        const ConnectionSlot& slot = slots[index];
        if (slot.used() && address - slot.base < uint32_t(types.size(slot.type))) return int(index);
    }
    return -1;
}

uint8_t BoardRouting::range_read(uint32_t address) {
    const int index = find_range_slot(address);
    if (index < 0) return 0;
    const ConnectionSlot& slot = setup_.connection_slots()[size_t(index)];
    // A device the user closed gives its slot back on the first access.
    if (library_.QuerySim(slot.handle) == 0) {
        setup_.release_slot(index);
        return 0;
    }
    return uint8_t(library_.InputSim(slot.handle, int32_t(address - slot.base)));
}

void BoardRouting::range_write(uint32_t address, uint8_t byte) {
    const int index = find_range_slot(address);
    if (index < 0) return;
    const ConnectionSlot& slot = setup_.connection_slots()[size_t(index)];
    if (library_.QuerySim(slot.handle) == 0) {
        setup_.release_slot(index);
        return;
    }
    library_.OutputSim(slot.handle, byte, int32_t(address - slot.base));
}

} // namespace torva
