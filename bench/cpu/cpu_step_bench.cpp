// Steps per second of the CPU executing a realistic mixed loop from RAM over
// the real memory map, without trace.
#include "cpu/cpu.h"
#include "io/memory_map.h"

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

void BM_CpuStepMixedLoop(benchmark::State& state) {
    MemoryMap memory;
    Cpu cpu(memory);
    memory.reset_cpu(cpu.regs, false);
    for (const auto& [address, bytes] : kProgram)
        for (size_t i = 0; i < bytes.size(); ++i)
            memory.mem_write_byte(address + i, bytes[i]);
    // Data the loop reads: a ramp, so that some sums pass $80 and some not.
    for (uint32_t i = 0; i < 0x100; ++i)
        memory.mem_write_byte(0x2000 + i, uint8_t(i * 23));
    cpu.regs.pc = 0x1000;

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

} // namespace
} // namespace torva

BENCHMARK_MAIN();
