// The simulator window factory and the remembered real-time clock.
#include "sim/gui/simulator_windows.h"

#include <QSettings>

namespace torva {

namespace {

// The program's settings store, beside the recent files.
QSettings settings() {
    return QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
}

} // namespace

SimulatorWindows::SimulatorWindows(Simulator& sim) : sim_(sim) {
    bool ok = false;
    const uint32_t hz = settings()
                            .value(QString::fromLatin1(kClockSetting), Simulator::kDefaultBusClock)
                            .toUInt(&ok);
    if (ok) sim_.set_bus_clock(hz);
    hooks_.clock_chosen = [](uint32_t chosen) {
        settings().setValue(QString::fromLatin1(kClockSetting), chosen);
    };
}

ChildWindow* SimulatorWindows::create_simulator(const std::string& load_path) {
    if (frame_ == nullptr) return nullptr;
    // A window the frame closed may wait for its deletion; it is done now.
    if (window_ != nullptr) window_->retire();
    window_ = new KivSimulatorChild(sim_, *frame_, hooks_, load_path);
    return window_;
}

} // namespace torva
