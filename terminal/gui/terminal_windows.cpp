// The terminal windows' maker.
#include "terminal/gui/terminal_windows.h"

#include "io/simulated_link.h"
#include "terminal/gui/serial_port_link.h"

#include "shell/child_area.h"
#include "shell/dialog_host.h"
#include "shell/message_service.h"
#include "shell/status_line.h"

#include <QTimer>

#include <algorithm>

namespace torva {

void TerminalWindows::set_terminal_defaults() {
    defaults_ = board_terminal_defaults();
    store_.clear();
}

ChildWindow* TerminalWindows::create_terminal(int number) {
    if (area_ == nullptr || !frame_) return nullptr;
    if (TerminalWindow* window = window_on(number)) {
        area_->activate_child(window);
        return nullptr;
    }
    const SerialPortEntry port = find_serial_port(serial_port_table(), number);
    std::unique_ptr<SerialLink> link;
    std::string error;
    if (port.simulated()) {
        link = SimulatedLink::open(board_, port.simulated_interface);
        if (!link) error = "no serial console can be connected there";
    } else {
        link = open_serial_port(port, error);
    }
    if (!link) {
        // No box (as for a port that went away), but the status bar says why.
        frame_->status.set_status_text(
            QString::fromStdString("Can't open " + port_title_name(port) + ": " + error));
        return nullptr;
    }
    TerminalSettings settings = store_.load(number).value_or(defaults_);
    if (!configure_link(*link, settings.serial, frame_->dialogs.messages())) return nullptr;

    auto* window = new TerminalWindow(*frame_, store_, TerminalSession(port, std::move(settings)),
                                      std::move(link));
    std::erase_if(windows_, [](const QPointer<TerminalWindow>& w) { return w.isNull(); });
    windows_.emplace_back(window);
    return window;
}

std::vector<MenuBar::PortItem> TerminalWindows::present_ports() {
    std::vector<MenuBar::PortItem> items;
    for (const SerialPortEntry& port : serial_port_table()) {
        // A port this program holds open is present: its window is there.
        if (port.number < kPortNumbers && (window_on(port.number) || port_present(port)))
            items.push_back({port.number, port_menu_text(port)});
    }
    return items;
}

void TerminalWindows::simulator_closing() {
    // Once the simulator window is gone, not while it goes: when the whole
    // frame closes or is destroyed, the terminal goes with it and nothing
    // needs saying (a terminal object that is gone drops the call).
    for (TerminalWindow* window : windows()) {
        if (!window->session().port().simulated()) continue;
        QTimer::singleShot(0, window, [this, window] {
            if (!window->isVisible() || !frame_) return;
            frame_->dialogs.messages().warning(kSimulatorClosed, window->session().port().name);
            window->close_now();
        });
    }
}

TerminalWindow* TerminalWindows::window_on(int number) const {
    for (TerminalWindow* window : windows())
        if (window->session().port().number == number) return window;
    return nullptr;
}

std::vector<TerminalWindow*> TerminalWindows::windows() const {
    std::vector<TerminalWindow*> open;
    for (const QPointer<TerminalWindow>& window : windows_)
        if (window != nullptr) open.push_back(window);
    return open;
}

} // namespace torva
