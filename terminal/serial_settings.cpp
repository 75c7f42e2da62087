// Repairs of a serial settings record.
#include "terminal/serial_settings.h"

namespace torva {

void repair_serial_settings(SerialSettings& s) {
    if (s.baud == 0) s.baud = 9600;
    if (s.byte_size < 4 || s.byte_size > 8) s.byte_size = 8;
    if (s.parity > 4) s.parity = 0;
    if (s.stop_bits > 3) s.stop_bits = 1;
}

} // namespace torva
