// Numbering and naming of serial ports.
#include "terminal/port_numbering.h"

#include <algorithm>

namespace torva {
namespace {

// The number n of a name "COM<n>", or 0.
int com_number(std::string_view name) {
    if (!name.starts_with("COM") || name.size() == 3) return 0;
    int number = 0;
    for (const char c : name.substr(3)) {
        if (c < '0' || c > '9' || number > kPortNumbers) return 0;
        number = number * 10 + (c - '0');
    }
    return number;
}

} // namespace

std::vector<SerialPortEntry> number_serial_ports(std::vector<SystemPort> system, bool com_numbering,
                                                 std::string_view extra_paths) {
    std::vector<SerialPortEntry> table;
    if (com_numbering) {
        for (SystemPort& port : system)
            if (const int com = com_number(port.name); com >= 1)
                table.push_back({com - 1, std::move(port.location), std::move(port.name)});
        std::ranges::sort(table, {}, &SerialPortEntry::number);
    } else {
        std::ranges::sort(system, {}, &SystemPort::name);
        for (SystemPort& port : system)
            table.push_back({int(table.size()), std::move(port.location), std::move(port.name)});
    }
    int next = table.empty() ? 0 : table.back().number + 1;
    while (!extra_paths.empty()) {
        const size_t colon = extra_paths.find(':');
        const std::string path(extra_paths.substr(0, colon));
        extra_paths = colon == std::string_view::npos ? "" : extra_paths.substr(colon + 1);
        if (!path.empty()) table.push_back({next++, path, path});
    }
    std::erase_if(table, [](const SerialPortEntry& e) { return e.number >= kSimulatedPortFirst; });
    for (int interface = 0; interface < 2; ++interface)
        table.push_back(
            {kSimulatedPortFirst + interface, {}, kSimulatedPortNames[interface], interface});
    return table;
}

SerialPortEntry find_serial_port(const std::vector<SerialPortEntry>& table, int number) {
    for (const SerialPortEntry& entry : table)
        if (entry.number == number) return entry;
    return {number, {}, {}, -1};
}

std::string port_menu_text(const SerialPortEntry& port) {
    if (port.name == "COM" + std::to_string(port.number + 1))
        return "COM&" + std::to_string(port.number + 1);
    std::string text;
    for (const char c : port.name)
        text += c == '&' ? std::string("&&") : std::string(1, c);
    return text;
}

std::string port_title_name(const SerialPortEntry& port) {
    return port.name.empty() ? "COM" + std::to_string(port.number + 1) : port.name;
}

} // namespace torva
