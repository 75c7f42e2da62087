// The serial console on one of the board's two serial interfaces: finding it,
// and connecting one on the interface's row as the device library would.
#pragma once

namespace torva {

class Board;
class SerialDevice;

// The console attached to serial interface 0 or 1, or null.
SerialDevice* serial_console(Board& board, int interface);
// The console there, after connecting one on the interface's row of the
// selected board's table when the interface has no device; null when the
// row cannot take one or another kind of device sits there.
SerialDevice* connect_serial_console(Board& board, int interface);

} // namespace torva
