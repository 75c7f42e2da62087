// Makes the one simulator window over the program's simulated board, hands
// the frame's start request to the simulator, and remembers Run Real Time's
// clock and the cycle model in the user's settings.
#pragma once

#include "shell/services.h"
#include "sim/gui/simulator_child.h"

#include <QPointer>

#include <optional>

namespace torva {

class SimulatorWindows final : public SimulatorWindowFactory {
public:
    static constexpr char kClockSetting[] = "Simulator/RealTimeClockHz";
    static constexpr char kCycleModelSetting[] = "Simulator/CycleModel";

    // Reads the remembered clock and cycle model into the simulator.
    explicit SimulatorWindows(Simulator& sim);

    // The frame the windows live in; before it is set no window is made.
    void attach(SimulatorRoles frame) { frame_.emplace(frame); }
    // What other parts of the program plug into the window (target setup,
    // the simulated-port terminal); closing, clock and cycle model are chained.
    SimulatorWindowHooks& hooks() { return hooks_; }

    void simulator_start_request() override { sim_.start_request(); }
    ChildWindow* create_simulator(const std::string& load_path) override;
    // The window while it exists.
    KivSimulatorChild* window() const { return window_; }

private:
    Simulator& sim_;
    std::optional<SimulatorRoles> frame_;
    SimulatorWindowHooks hooks_;
    QPointer<KivSimulatorChild> window_;
};

} // namespace torva
