// A fresh CPU over a flat 64 KB memory, with its trace captured piece by
// piece, for the CPU tests.
#pragma once

#include "cpu/cpu.h"
#include "support/flat_memory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torva::test {

struct CpuFixture : ::testing::Test {
    FlatMemory memory;
    Cpu cpu{memory};
    std::vector<std::string> pieces;
    uint32_t cycles = 0;
    uint32_t pc_written = 0;

    CpuFixture() {
        cpu.trace_out = [this](std::string_view text) { pieces.emplace_back(text); };
    }

    // Loads the bytes at address, points PC there and executes one step.
    uint32_t run(const std::vector<uint8_t>& program, uint16_t address = 0x2000) {
        memory.load(address, program);
        cpu.regs.pc = address;
        return step();
    }
    uint32_t step() {
        cycles = pc_written = 0;
        return cpu.cpu_step(cpu.regs.pc, true, false, cycles, pc_written);
    }

    // The trace line of the instruction at address, without executing it.
    std::string text_at(uint32_t address, uint32_t* length = nullptr) {
        pieces.clear();
        const uint32_t n = cpu.cpu_step(address, false, true, cycles, pc_written);
        if (length) *length = n;
        std::string line;
        for (const std::string& piece : pieces)
            line += piece;
        return line;
    }
    std::string text_of(const std::vector<uint8_t>& program, uint16_t address = 0x2000) {
        memory.load(address, program);
        return text_at(address);
    }
};

} // namespace torva::test
