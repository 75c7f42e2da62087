// Serial port numbering and the presence test behind the "&Terminal" pop-up.
#include "shell/serial_ports.h"

#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace torva {

std::vector<SerialPortEntry> serial_port_table() {
    std::vector<SerialPortEntry> table;
    auto infos = QSerialPortInfo::availablePorts();
#ifdef _WIN32
    for (const QSerialPortInfo& info : infos) {
        const QString name = info.portName();
        bool ok = false;
        const int com = name.startsWith(QLatin1String("COM")) ? name.mid(3).toInt(&ok) : 0;
        if (ok && com >= 1)
            table.push_back({com - 1, info.systemLocation().toStdString(), name.toStdString()});
    }
#else
    std::sort(infos.begin(), infos.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return a.portName() < b.portName();
    });
    for (const QSerialPortInfo& info : infos) {
        table.push_back({static_cast<int>(table.size()), info.systemLocation().toStdString(),
                         info.portName().toStdString()});
    }
#endif
    if (const char* extra = std::getenv("TORVA_SERIAL_PORTS")) {
        int next = 0;
        for (const auto& entry : table)
            next = std::max(next, entry.number + 1);
        std::istringstream list(extra);
        for (std::string path; std::getline(list, path, ':');)
            if (!path.empty()) table.push_back({next++, path, path});
    }
    return table;
}

SerialPortEntry serial_port(int number) {
    for (SerialPortEntry& entry : serial_port_table())
        if (entry.number == number) return entry;
    return {number, {}, {}};
}

std::string port_menu_text(const SerialPortEntry& port) {
    if (port.name == "COM" + std::to_string(port.number + 1))
        return "COM&" + std::to_string(port.number + 1);
    std::string text;
    for (const char c : port.name)
        text += c == '&' ? std::string("&&") : std::string(1, c);
    return text;
}

bool port_present(const SerialPortEntry& port) {
    if (port.location.empty()) return false;
    QSerialPort serial;
    serial.setPortName(QString::fromStdString(port.location));
    if (!serial.open(QIODevice::ReadWrite)) return false;
    serial.close();
    return true;
}

std::vector<MenuBar::PortItem> PortLister::present_ports() {
    std::vector<MenuBar::PortItem> items;
    for (const SerialPortEntry& port : serial_port_table())
        if (port.number < 256 && port_present(port))
            items.push_back({port.number, port_menu_text(port)});
    return items;
}

} // namespace torva
