// The status text of Run Real Time: how fast the run goes against the bus
// clock (or in instructions per second when the clock is unlimited), and
// which cycles it holds to the clock.
#pragma once

#include "cpu/cycle_model.h"

#include <cstdint>
#include <optional>
#include <string>

namespace torva {

class Simulator;

// " (CPU12 cycles)" or " (classic cycles)".
std::string cycle_model_note(CycleModel model);

// Before the first measurement: "Real time: starting" and the note.
std::string real_time_starting_text(CycleModel model);

// "Real time ×1.00" against a clock, "Real time unlimited: 12.3 M
// instructions/s (×4.56)" without one, each with the note; none while
// nothing has been measured (a ratio of zero or less).
std::optional<std::string> real_time_speed_text(double ratio, double instructions_per_second,
                                                uint32_t bus_clock, CycleModel model);
std::optional<std::string> real_time_speed_text(const Simulator& sim);

} // namespace torva
