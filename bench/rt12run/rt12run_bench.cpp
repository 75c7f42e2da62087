// Steps per second of the headless run loop that rt12run uses: the whole
// one-step algorithm (interrupt offer, serial service, device time, the
// stop-opcode and breakpoint checks) around each instruction of a long mixed
// loop, with and without a serial device on interface 0.
#include "io/device_table.h"
#include "sim/simulator.h"

#include "bench/support/mixed_loop.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace torva {
namespace {

void run_loop(benchmark::State& state, bool serial_device) {
    Board board;
    Cpu cpu(board.memory());
    SimulatorUi ui;
    Simulator sim(board, cpu, ui, ".");
    sim.window_created();
    if (serial_device) board.setup().connect_row(bus_row::kSerial0);
    for (const auto& [address, bytes] : bench::kMixedLoop)
        for (size_t i = 0; i < bytes.size(); ++i)
            board.memory().mem_write_byte(uint32_t(address + i), bytes[i]);
    // Data the loop reads: a ramp, so that some sums pass $80 and some not.
    for (uint32_t i = 0; i < 0x100; ++i)
        board.memory().mem_write_byte(bench::kMixedLoopData + i, bench::mixed_loop_data(i));
    cpu.regs.pc = bench::kMixedLoopStart;

    constexpr uint8_t kSwi[] = {0x3F};
    constexpr uint64_t kStepsPerRound = 100000;
    uint64_t steps = 0;
    for (auto _ : state)
        steps += sim.run_headless(kStepsPerRound, kSwi).steps;
    state.counters["steps"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
    state.counters["cycles_per_step"] = double(sim.cycle_total()) / double(steps);
}

void BM_Rt12runMixedLoop(benchmark::State& state) {
    run_loop(state, false);
}
BENCHMARK(BM_Rt12runMixedLoop);

void BM_Rt12runMixedLoopWithSerialDevice(benchmark::State& state) {
    run_loop(state, true);
}
BENCHMARK(BM_Rt12runMixedLoopWithSerialDevice);

} // namespace
} // namespace torva

BENCHMARK_MAIN();
