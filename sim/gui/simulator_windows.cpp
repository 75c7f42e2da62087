// The simulator window factory, the remembered real-time clock and cycle model.
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
    // Stored by name; an unknown name keeps the classic model.
    const QString model = settings().value(QString::fromLatin1(kCycleModelSetting)).toString();
    if (const auto known = parse_cycle_model(model.toStdString())) sim_.set_cycle_model(*known);
    hooks_.cycle_model_chosen = [](CycleModel chosen) {
        const std::string_view name = cycle_model_name(chosen).name;
        settings().setValue(QString::fromLatin1(kCycleModelSetting),
                            QString::fromLatin1(name.data(), qsizetype(name.size())));
    };
}

ChildWindow* SimulatorWindows::create_simulator(const std::string& load_path) {
    if (!frame_) return nullptr;
    // A window the frame closed may wait for its deletion; it is done now.
    if (window_ != nullptr) window_->retire();
    window_ = new KivSimulatorChild(sim_, *frame_, hooks_, load_path);
    return window_;
}

} // namespace torva
