// The serial settings record of a port (baud rate, line control, byte size,
// parity, stop bits, flow control) and the repairs made before a port is
// configured with it.
#pragma once

#include <array>
#include <cstdint>

namespace torva {

struct SerialSettings {
    uint32_t baud = 9600;
    // Bits 0-1 DTR control (0 disable, 1 enable, 2 handshake); bits 2-3 RTS
    // control (0 disable, 1 enable, 2 handshake, 3 toggle).
    uint32_t line_control = 0;
    uint8_t byte_size = 8;
    uint8_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t stop_bits = 0; // 0 one, 1 one and a half, 2 two
    // Bit 0 CTS output flow, bit 1 DSR output flow, bit 2 XON/XOFF on
    // transmit, bit 3 XON/XOFF on receive.
    uint32_t flow_control = 0;

    bool operator==(const SerialSettings&) const = default;
};

namespace line_control {
inline constexpr uint32_t kDtrMask = 0x3;
inline constexpr uint32_t kRtsShift = 2;
inline constexpr uint32_t kRtsMask = 0x3 << kRtsShift;
constexpr uint32_t dtr(uint32_t line) {
    return line & kDtrMask;
}
constexpr uint32_t rts(uint32_t line) {
    return (line & kRtsMask) >> kRtsShift;
}
constexpr uint32_t make(uint32_t dtr, uint32_t rts) {
    return (dtr & kDtrMask) | ((rts << kRtsShift) & kRtsMask);
}
} // namespace line_control

namespace flow_control {
inline constexpr uint32_t kCtsOut = 1u << 0;
inline constexpr uint32_t kDsrOut = 1u << 1;
inline constexpr uint32_t kXonXoffTransmit = 1u << 2;
inline constexpr uint32_t kXonXoffReceive = 1u << 3;
} // namespace flow_control

// The baud rates a terminal offers, in the order the settings dialog lists them.
inline constexpr std::array<uint32_t, 15> kBaudRates = {110,   300,   600,    1200,   2400,
                                                        4800,  9600,  14400,  19200,  38400,
                                                        56000, 57600, 115200, 128000, 256000};

// Before configuring: baud 0 becomes 9600, a byte size outside 4 to 8
// becomes 8, a parity above 4 becomes none, a stop-bits value above 3
// becomes 1. Everything else is passed on as it is.
void repair_serial_settings(SerialSettings& settings);

} // namespace torva
