// The board a lab runs on, set up from the lab: its descriptor (the lab's
// target or the board's default), the devices the lab adds, the monitor.
#pragma once

#include "lab/lab.h"
#include "sim/simulated_board.h"

#include <filesystem>
#include <string>

namespace torva::lab {

// Sets up a fresh board as the lab describes it. False, with the reason in
// why, when a descriptor cannot be read or a device cannot be connected.
bool set_up_board(SimulatedBoard& board, const Lab& lab, const std::filesystem::path& program_dir,
                  std::string& why);

} // namespace torva::lab
