// Numbering and naming of the serial ports a terminal can open. Port n
// (zero-based) is COM<n+1> on Windows; elsewhere the n-th of the system's
// serial devices in name order. The device paths listed in
// TORVA_SERIAL_PORTS (colon-separated, e.g. pseudo-terminals) follow, and
// the last two numbers are the simulated board's two serial interfaces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torva {

// The number of port numbers the "&Terminal" pop-up has room for.
inline constexpr int kPortNumbers = 256;
// The simulated board's serial interfaces 0 and 1.
inline constexpr int kSimulatedPortFirst = kPortNumbers - 2;
inline constexpr const char* kSimulatedPortNames[] = {"RT12 Simulator SCI0", "RT12 Simulator SCI1"};

struct SerialPortEntry {
    int number = -1;              // zero-based port number
    std::string location;         // what the serial port driver opens ("" for a simulated one)
    std::string name;             // what menus and titles show
    int simulated_interface = -1; // 0 or 1 for the simulated board's ports

    bool simulated() const { return simulated_interface >= 0; }
};

// A serial device as the system lists it.
struct SystemPort {
    std::string location; // "/dev/ttyUSB0", "\\.\COM3"
    std::string name;     // "ttyUSB0", "COM3"
};

// Numbers the system's ports (by their COM number when com_numbering,
// else in name order), then the paths of extra_paths (colon-separated),
// then the two simulated ports. Numbers from kSimulatedPortFirst on belong
// to the simulated ports only.
std::vector<SerialPortEntry> number_serial_ports(std::vector<SystemPort> system, bool com_numbering,
                                                 std::string_view extra_paths);

// The entry with that number, or none (an entry without a location and
// not simulated).
SerialPortEntry find_serial_port(const std::vector<SerialPortEntry>& table, int number);

// "COM&%d" for a COM port, else the port's own name (an "&" in it shown as is).
std::string port_menu_text(const SerialPortEntry& port);
// The name titles show: "COM%d" or the port's own name.
std::string port_title_name(const SerialPortEntry& port);

} // namespace torva
