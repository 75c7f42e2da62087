// Steps per second of the headless run loop that rt12run uses: the whole
// one-step algorithm (interrupt offer, serial service, device time, the
// stop-opcode and breakpoint checks) around each instruction of a long mixed
// loop, with and without a serial device on interface 0.
#include "io/device_table.h"
#include "sim/simulator.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace torva {
namespace {

// Loads, stores, ALU, indexed with auto-increment, immediate, extended,
// taken and not-taken branches, a loop primitive and a subroutine with a
// push and a pull.
const std::vector<std::pair<uint16_t, std::vector<uint8_t>>> kProgram = {
    {0x1000,
     {
         0xCE, 0x20, 0x00, // $1000 LDX  #$2000
         0xCD, 0x21, 0x00, // $1003 LDY  #$2100
         0xC6, 0x10,       // $1006 LDAB #$10
         0xA6, 0x30,       // $1008 LDAA 1,X+
         0x8B, 0x03,       // $100A ADDA #$03
         0x6A, 0x70,       // $100C STAA 1,Y+
         0x81, 0x80,       // $100E CMPA #$80
         0x25, 0x02,       // $1010 BCS  $1014
         0x84, 0x7F,       // $1012 ANDA #$7F
         0x16, 0x10, 0x30, // $1014 JSR  $1030
         0x04, 0x31, 0xEE, // $1017 DBNE B,$1008
         0x20, 0xE4,       // $101A BRA  $1000
     }},
    {0x1030,
     {
         0x36,             // $1030 PSHA
         0xB6, 0x20, 0x00, // $1031 LDAA $2000
         0xA8, 0x40,       // $1034 EORA 0,Y
         0x7A, 0x24, 0x00, // $1036 STAA $2400
         0x32,             // $1039 PULA
         0x3D,             // $103A RTS
     }},
};

void run_loop(benchmark::State& state, bool serial_device) {
    Board board;
    Cpu cpu(board.memory());
    SimulatorUi ui;
    Simulator sim(board, cpu, ui, ".");
    sim.window_created();
    if (serial_device) board.setup().connect_row(bus_row::kSerial0);
    for (const auto& [address, bytes] : kProgram)
        for (size_t i = 0; i < bytes.size(); ++i)
            board.memory().mem_write_byte(uint32_t(address + i), bytes[i]);
    // Data the loop reads: a ramp, so that some sums pass $80 and some not.
    for (uint32_t i = 0; i < 0x100; ++i)
        board.memory().mem_write_byte(0x2000 + i, uint8_t(i * 23));
    cpu.regs.pc = 0x1000;

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
