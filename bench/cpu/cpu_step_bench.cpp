// Steps per second of the CPU executing a realistic mixed loop from RAM over
// the real memory map, without trace: one cpu_step call per step, and the
// stretches of steps the run loop hands to the CPU in one call.
#include "cpu/cpu.h"
#include "cpu/onchip/run_clock.h"
#include "io/memory_map.h"

#include "bench/support/mixed_loop.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace torva {
namespace {

void load_mixed_loop(MemoryMap& memory, Cpu& cpu) {
    memory.reset_cpu(cpu.regs, false);
    for (const auto& [address, bytes] : bench::kMixedLoop)
        for (size_t i = 0; i < bytes.size(); ++i)
            memory.mem_write_byte(address + i, bytes[i]);
    // Data the loop reads: a ramp, so that some sums pass $80 and some not.
    for (uint32_t i = 0; i < 0x100; ++i)
        memory.mem_write_byte(bench::kMixedLoopData + i, bench::mixed_loop_data(i));
    cpu.regs.pc = bench::kMixedLoopStart;
}

void BM_CpuStepMixedLoop(benchmark::State& state) {
    MemoryMap memory;
    Cpu cpu(memory);
    load_mixed_loop(memory, cpu);

    uint64_t steps = 0;
    uint32_t cycles = 0, pc_written = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            cpu.cpu_step(cpu.current_execution_address(), true, false, cycles, pc_written);
        steps += 1000;
    }
    benchmark::DoNotOptimize(cpu.regs);
    state.counters["steps"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CpuStepMixedLoop);

// The same loop through Cpu::execute_stretch, as the run loop executes it
// between two looks at the clock's deadline; the deadline is kept far ahead.
void BM_CpuStretchMixedLoop(benchmark::State& state) {
    MemoryMap memory;
    Cpu cpu(memory);
    load_mixed_loop(memory, cpu);
    RunClock clock;

    uint64_t steps = 0;
    for (auto _ : state) {
        clock.set_deadline(clock.total() + RunClock::kHorizon);
        steps += cpu.execute_stretch(1000, clock, nullptr).steps;
    }
    benchmark::DoNotOptimize(cpu.regs);
    state.counters["steps"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CpuStretchMixedLoop);

} // namespace
} // namespace torva

BENCHMARK_MAIN();
