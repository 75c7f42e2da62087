// Step Over a subroutine of ten million instructions against Run Real Time
// unlimited doing the same work: a source step runs the run loop at full
// speed, so it takes no longer (within 10 %).
#include "sim/simulator.h"
#include "sim/source_steps.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace torva {
namespace {

// LDS #$3C00; JSR SUB; BRA *; SUB: LDX #10000, LDY #1000, DBNE Y,*,
// DBNE X back to LDY, RTS: 10,020,002 instructions in the call.
constexpr uint16_t kJsr = 0x1003;
constexpr uint16_t kAfterCall = 0x1006;
const std::vector<uint8_t> kProgram = {
    0xCF, 0x3C, 0x00, 0x16, 0x10, 0x0A, 0x20, 0xFE, 0xA7, 0xA7, 0xCE, 0x27,
    0x10, 0xCD, 0x03, 0xE8, 0x04, 0x36, 0xFD, 0x04, 0x35, 0xF7, 0x3D,
};

struct Bench {
    Board board;
    Cpu cpu{board.memory()};
    SimulatorUi ui;
    Simulator sim{board, cpu, ui, "."};
    SourceSteps steps{sim};

    Bench() {
        sim.window_created();
        sim.set_bus_clock(0); // unlimited
        for (size_t i = 0; i < kProgram.size(); ++i)
            board.memory().mem_write_byte(uint32_t(0x1000 + i), kProgram[i]);
    }
    // At the JSR with the stack set, as a student stands before Step Over.
    void at_call() {
        cpu.regs.pc = 0x1000;
        sim.step(false);
        cpu.regs.pc = kJsr;
    }
    void finish() {
        while (sim.running())
            sim.tick();
    }
};

void BM_RunRealTimeUnlimited(benchmark::State& state) {
    Bench b;
    b.sim.breakpoints().add(kAfterCall, BreakState::kEnabled);
    for (auto _ : state) {
        b.at_call();
        b.sim.start_run(RunMode::kRunningRealTime);
        b.finish();
        if (b.cpu.regs.pc != kAfterCall) state.SkipWithError("did not come back");
    }
}
BENCHMARK(BM_RunRealTimeUnlimited)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StepOverTenMillionInstructions(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        b.at_call();
        b.steps.start(SourceStep::kOver);
        b.finish();
        if (b.cpu.regs.pc != kAfterCall) state.SkipWithError("did not come back");
    }
}
BENCHMARK(BM_StepOverTenMillionInstructions)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace torva

BENCHMARK_MAIN();
