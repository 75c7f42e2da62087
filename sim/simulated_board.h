// The simulated board of one run of the program: board, CPU and run control,
// created once and kept while the simulator window comes and goes, so that
// breakpoints, the load file and the devices outlive the window.
#pragma once

#include "cpu/cpu.h"
#include "io/board.h"
#include "sim/simulator.h"

#include <filesystem>
#include <utility>

namespace torva {

class SimulatedBoard {
public:
    // program_dir: where the program lives (the monitor image is found
    // beside it); output receives the loader's messages.
    explicit SimulatedBoard(std::filesystem::path program_dir, TextSink output = {})
        : simulator_(board_, cpu_, std::move(program_dir), std::move(output)) {}
    SimulatedBoard(const SimulatedBoard&) = delete;
    SimulatedBoard& operator=(const SimulatedBoard&) = delete;

    Board& board() { return board_; }
    Cpu& cpu() { return cpu_; }
    Simulator& simulator() { return simulator_; }

private:
    Board board_;
    Cpu cpu_{board_.memory()};
    Simulator simulator_;
};

} // namespace torva
