// Makes the terminal windows, one per serial port, over the real ports and
// the simulated board's two serial interfaces; keeps the per-port store
// and the defaults; lists the ports for the "&Terminal" pop-up; closes the
// simulated ports' terminals when the simulator window goes.
#pragma once

#include "shell/port_lister.h"
#include "shell/services.h"
#include "terminal/gui/terminal_window.h"

#include <QPointer>

#include <optional>
#include <vector>

namespace torva {

class Board;
class ChildArea;

class TerminalWindows final : public TerminalWindowFactory, public PortLister {
public:
    // The warning when the simulator window takes a terminal's link away.
    static constexpr char kSimulatorClosed[] =
        "The simulator window has closed: the terminal on %s closes with it";

    // board: the simulated board the simulated ports reach.
    explicit TerminalWindows(Board& board) : board_(board) {}

    // The frame's area the windows live in and what they ask of the frame;
    // before they are set no window is made.
    void attach(ChildArea& area, TerminalRoles frame) {
        area_ = &area;
        frame_.emplace(frame);
    }

    void set_terminal_defaults() override;
    // Opens the port (or links to the simulated board), restores its
    // settings and configures it; null when that fails. A port that has a
    // window already gets that window activated instead.
    ChildWindow* create_terminal(int port) override;
    std::vector<MenuBar::PortItem> present_ports() override;

    // The simulator window is closing: the terminals on its serial
    // interfaces close with a warning (a download on them stops).
    void simulator_closing();
    // The open windows, in the order they were made.
    std::vector<TerminalWindow*> windows() const;
    const PortStore& store() const { return store_; }
    // The open window on the port numbered number; null for none.
    TerminalWindow* window_on(int number) const;

private:
    Board& board_;
    ChildArea* area_ = nullptr;
    std::optional<TerminalRoles> frame_;
    PortStore store_;
    TerminalSettings defaults_ = board_terminal_defaults();
    std::vector<QPointer<TerminalWindow>> windows_;
};

} // namespace torva
