// Formats the speed of Run Real Time for the status bar.
#include "sim/speed_text.h"

#include "sim/simulator.h"

#include <cstdio>

namespace torva {

std::string cycle_model_note(CycleModel model) {
    return model == CycleModel::Cpu12 ? " (CPU12 cycles)" : " (classic cycles)";
}

std::string real_time_starting_text(CycleModel model) {
    return "Real time: starting" + cycle_model_note(model);
}

std::optional<std::string> real_time_speed_text(double ratio, double instructions_per_second,
                                                uint32_t bus_clock, CycleModel model) {
    if (ratio <= 0) return std::nullopt;
    char text[96];
    if (bus_clock == 0)
        std::snprintf(text, sizeof text, "Real time unlimited: %.1f M instructions/s (\u00d7%.2f)",
                      instructions_per_second / 1e6, ratio);
    else
        std::snprintf(text, sizeof text, "Real time \u00d7%.2f", ratio);
    return text + cycle_model_note(model);
}

std::optional<std::string> real_time_speed_text(const Simulator& sim) {
    return real_time_speed_text(sim.real_time_ratio(), sim.instructions_per_second(),
                                sim.bus_clock(), sim.cycle_model());
}

} // namespace torva
