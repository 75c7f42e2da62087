// The two device tables and the port types they offer.
#include "io/device_table.h"

#include <array>
#include <cstdio>

namespace torva {

namespace {

constexpr int8_t kNoSerial = -1;

// Board with I/O bus. The drill spans the outport's and the inport's
// addresses, so it excludes both (see the binding rules).
constexpr std::array<DeviceRow, bus_row::kCount> kBusRows = {{
    {0x400, "Outport at 400", 0, PortKind::kOutport, 0x400, "", 0, kNoSerial},
    {0x600, "Inport at 600", 0, PortKind::kInport, 0x600, "", 0, kNoSerial},
    {0x400, "Drill: Control at 400, status at 600", 9, PortKind::kNone, 0x400, "$400/$600", 0,
     kNoSerial},
    {0xC00, "QX5/QX2 Keyboard at C00", 6, PortKind::kNone, 0xC00, "", 2, kNoSerial},
    {0xC02, "QX5/QX3 Display at C02", 7, PortKind::kNone, 0xC02, "", 2, kNoSerial},
    {0x9C0, "QX15/QX2 Keyboard at 9C0", 6, PortKind::kNone, 0x9C0, "", 0, kNoSerial},
    {0x9C2, "QX15/QX3 Display at 9C2", 7, PortKind::kNone, 0x9C2, "", 0, kNoSerial},
    {0xB00, "QX13 door simulator at B00", 8, PortKind::kNone, 0xB00, "", 0, kNoSerial},
    {0xDC0, "QX19, flipflop at DC0", 4, PortKind::kNone, 0xDC0, "", 0, kNoSerial},
    {0x0C8, "SCI 0 Asynchronous Serial Interface", 10, PortKind::kNone, 0xC8, "sci0", 0, 0},
    {0x0D0, "SCI 1 Asynchronous Serial Interface", 10, PortKind::kNone, 0xD0, "sci1", 0, 1},
    {0x800, "Printer: a fake device", 5, PortKind::kNone, 0x800, "", 0, kNoSerial},
}};

// Bare board: the serial interfaces and the two ports of the microcontroller.
constexpr std::array<DeviceRow, bare_row::kCount> kBareRows = {{
    {0x0C8, "SCI 0 Asynchronous Serial Interface", 10, PortKind::kNone, 0xC8, "", 0, 0},
    {0x0D0, "SCI 1 Asynchronous Serial Interface", 10, PortKind::kNone, 0xD0, "", 0, 1},
    {0x000, "Port A", 0, PortKind::kPortA, 0x400, "", 0, kNoSerial},
    {0x001, "Port B", 0, PortKind::kPortB, 0x400, "", 0, kNoSerial},
}};

constexpr bool rows_are_consistent(std::span<const DeviceRow> rows) {
    for (const DeviceRow& row : rows) {
        // A row either has a fixed type or lets the user choose one.
        if ((row.type == 0) != (row.port_kind != PortKind::kNone)) return false;
        if (row.serial_interface >= 0 && row.type != 10) return false;
    }
    return true;
}
static_assert(rows_are_consistent(kBusRows) && rows_are_consistent(kBareRows));
static_assert(kBusRows[bus_row::kDrill].type == 9 && kBusRows[bus_row::kPrinter].type == 5);
static_assert(kBusRows[bus_row::kSerial0].serial_interface == 0 &&
              kBusRows[bus_row::kSerial1].serial_interface == 1);

constexpr int32_t kOutportTypes[] = {1, 3, 11, 12};
constexpr int32_t kInportTypes[] = {2, 11};
constexpr int32_t kBarePortTypes[] = {1, 2, 3, 11, 12};

std::string_view state_text(int32_t value) {
    if (value >= 0) return "Yes ";
    switch (value) {
    case row_value::kFree: return "No  ";
    case row_value::kNotAvailable: return "NA  ";
    default: return "--  ";
    }
}

} // namespace

std::span<const DeviceRow> device_rows(BoardKind board) {
    if (board == BoardKind::kBare) return kBareRows;
    return kBusRows;
}

std::span<const int32_t> port_types(PortKind kind) {
    switch (kind) {
    case PortKind::kOutport: return kOutportTypes;
    case PortKind::kInport: return kInportTypes;
    case PortKind::kPortA:
    case PortKind::kPortB: return kBarePortTypes;
    case PortKind::kNone: break;
    }
    return {};
}

std::string device_list_line(const DeviceRow& row, int32_t value) {
    char address[16];
    std::snprintf(address, sizeof address, "%4.4X ", unsigned(row.address));
    std::string line = address;
    line += state_text(value);
    line += row.name;
    return line;
}

} // namespace torva
