// Finding and connecting the serial console of a serial interface.
#include "io/serial_console.h"

#include "io/board.h"
#include "iosim/devices/serial_device.h"

namespace torva {

SerialDevice* serial_console(Board& board, int interface) {
    const int32_t handle = board.setup().serial_handle(interface);
    return handle >= 0 ? board.iosim().device_as<SerialDevice>(handle) : nullptr;
}

SerialDevice* connect_serial_console(Board& board, int interface) {
    if (interface != 0 && interface != 1) return nullptr;
    DeviceSetup& setup = board.setup();
    if (setup.serial_handle(interface) < 0) {
        const bool bare = setup.board() == BoardKind::kBare;
        const int row = interface == 0 ? (bare ? bare_row::kSerial0 : bus_row::kSerial0)
                                       : (bare ? bare_row::kSerial1 : bus_row::kSerial1);
        if (setup.connect_row(row) < 0) return nullptr;
        // The interface ignored the program's writes while nothing was
        // attached; interface 0 gets the set-up a reset gives it, so a
        // program already running (the monitor) reaches the new console.
        if (interface == 0) board.routing().set_up_serial0();
    }
    return serial_console(board, interface);
}

} // namespace torva
