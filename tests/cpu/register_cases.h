// Table rows for handler tests: a program at $2000, the registers before
// one step and the registers expected after it. Fields left out keep the
// defaults of CpuRegisters; an expected PC of 0 stands for the address
// right behind the program.
#pragma once

#include "cpu_fixture.h"

#include <cstdio>
#include <string>
#include <vector>

namespace torva::test {

struct RegisterCase {
    int line;
    std::vector<uint8_t> program;
    CpuRegisters before; // pc is set to $2000
    CpuRegisters after;
};

inline std::string describe(const CpuRegisters& r) {
    char text[96];
    std::snprintf(text, sizeof text, "CCR=%02X A=%02X B=%02X X=%04X Y=%04X SP=%04X PC=%04X", r.ccr,
                  r.a, r.b, r.x, r.y, r.sp, r.pc);
    return text;
}

// Runs each case from a zeroed memory (plus whatever prepare puts there).
template <typename Prepare>
void run_cases(CpuFixture& f, const std::vector<RegisterCase>& cases, Prepare prepare) {
    for (const RegisterCase& c : cases) {
        SCOPED_TRACE(c.line);
        f.memory.bytes.fill(0);
        prepare(f);
        f.memory.load(0x2000, c.program);
        f.cpu.regs = c.before;
        f.cpu.regs.pc = 0x2000;
        f.step();
        CpuRegisters after = c.after;
        if (after.pc == 0) after.pc = uint16_t(0x2000 + c.program.size());
        EXPECT_EQ(describe(after), describe(f.cpu.regs));
    }
}

inline void run_cases(CpuFixture& f, const std::vector<RegisterCase>& cases) {
    run_cases(f, cases, [](CpuFixture&) {});
}

} // namespace torva::test
