// What Run Real Time sustains in the simulator window: the mixed loop runs
// for three seconds of wall time on the real 100 ms timer, the panes and the
// status bar refreshing every tick, once at the board's 8 MHz (the clock
// must be held: ratio 1.00, and the host's load shows the overhead) and once
// unlimited (instructions per second).
#include "shell/command_ids.h"
#include "shell/frame.h"
#include "sim/gui/simulator_windows.h"
#include "sim/sim_commands.h"
#include "sim/simulated_board.h"
#include "support/scripted_services.h"

#include "bench/support/mixed_loop.h"
#include "bench/support/qt_bench_main.h"

#include <QApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace torva {
namespace {

void real_time_run(benchmark::State& state, uint32_t clock_hz) {
    test::ScriptedMessages messages;
    test::ScriptedDialogs dialogs;
    Directories dirs;
    SimulatedBoard simulated(".");
    Simulator& sim = simulated.simulator();
    SimulatorWindows windows(sim);
    FrameServices services;
    services.messages = &messages;
    services.dialogs = &dialogs;
    services.simulators = &windows;
    KivFrame frame(services, dirs);
    windows.attach({frame, frame, frame});
    frame.create_fonts();
    frame.build_menus();
    frame.resize(1000, 700);
    frame.show();
    frame.dispatch(cmd::kSimulatorNoFile); // the window, without a load file
    for (const auto& [address, bytes] : bench::kMixedLoop)
        for (size_t i = 0; i < bytes.size(); ++i)
            sim.board().memory().mem_write_byte(uint32_t(address + i), bytes[i]);
    for (uint32_t i = 0; i < 0x100; ++i)
        sim.board().memory().mem_write_byte(bench::kMixedLoopData + i, bench::mixed_loop_data(i));
    sim.cpu().regs.pc = bench::kMixedLoopStart;
    // The loop's cycles per instruction, from a headless run, turn the
    // window run's cycles into instructions without counting each one.
    const uint32_t before = sim.cycle_total();
    const uint64_t headless_steps = sim.run_headless(1'000'000, {}).steps;
    const double cycles_per_step = double(sim.cycle_total() - before) / double(headless_steps);
    sim.set_bus_clock(clock_hz);

    double ratio = 0, ips = 0, load = 0, per_cpu = 0;
    for (auto _ : state) {
        const uint32_t cycles = sim.cycle_total();
        const std::clock_t cpu_start = std::clock();
        const auto wall_start = std::chrono::steady_clock::now();
        frame.dispatch(sim_cmd::kRunRealTime);
        QTimer::singleShot(3000, [] { QCoreApplication::exit(0); });
        QApplication::exec();
        frame.dispatch(sim_cmd::kHalt);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
        const double cpu = double(std::clock() - cpu_start) / CLOCKS_PER_SEC;
        const double steps = double(sim.cycle_total() - cycles) / cycles_per_step;
        load = cpu / wall;
        ratio = double(sim.cycle_total() - cycles) / (8e6 * wall);
        ips = steps / wall;
        per_cpu = steps / cpu;
        state.SetIterationTime(wall);
    }
    state.counters["real_time_ratio_to_8MHz"] = ratio;
    state.counters["instructions_per_s"] = ips;
    state.counters["host_load"] = load;
    // What an idle host gives: instructions per second of processor time.
    state.counters["instructions_per_cpu_s"] = per_cpu;
    state.counters["window_ratio"] = sim.real_time_ratio();
}

void BM_RealTime8MHz(benchmark::State& state) {
    real_time_run(state, 8'000'000);
}
BENCHMARK(BM_RealTime8MHz)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RealTimeUnlimited(benchmark::State& state) {
    real_time_run(state, 0);
}
BENCHMARK(BM_RealTimeUnlimited)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace torva

int main(int argc, char** argv) {
    return torva::bench::run_window_benchmarks(argc, argv);
}
