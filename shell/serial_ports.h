// Numbering of the serial ports: port n is COM<n+1> on Windows; elsewhere the
// n-th system serial device in name order, then the device paths listed in
// TORVA_SERIAL_PORTS (colon-separated, for pseudo-terminals).
#pragma once

#include "shell/menu_tree.h"

#include <string>
#include <vector>

namespace torva {

struct SerialPortEntry {
    int number;           // zero-based port number
    std::string location; // what the serial port driver opens
    std::string name;     // what menus and titles show
};

// Every port that has a number now (present or not).
std::vector<SerialPortEntry> serial_port_table();
// The port with that number, or an entry with an empty location.
SerialPortEntry serial_port(int number);
// "COM&%d" for a COM port, else the port's own name.
std::string port_menu_text(const SerialPortEntry& port);
// True when the port can be opened for reading and writing and closed again.
bool port_present(const SerialPortEntry& port);

// Lists the present ports for the "&Terminal" pop-up; tests replace it.
class PortLister {
public:
    virtual ~PortLister() = default;
    virtual std::vector<MenuBar::PortItem> present_ports();
};

} // namespace torva
