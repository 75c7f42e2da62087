#include "cpu/cpu.h"
#include "support/flat_memory.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

struct RegistersTest : ::testing::Test {
    test::FlatMemory memory;
    Cpu cpu{memory};
};

TEST_F(RegistersTest, AccessorsTruncateToTheRegisterWidth) {
    struct Case {
        int line;
        int number;
        uint32_t written;
        uint32_t read;
        int width;
        int radix;
    };
    const Case cases[] = {
        {__LINE__, kRegPc, 0x12345, 0x2345, 16, 16},
        {__LINE__, kRegSp, 0xFFFF1, 0xFFF1, 16, 16},
        {__LINE__, kRegCcr, 0x1FF, 0xFF, 8, 2},
        {__LINE__, kRegA, 0x1234, 0x34, 8, 16},
        {__LINE__, kRegB, 0xABCD, 0xCD, 8, 16},
        {__LINE__, kRegX, 0x10001, 0x0001, 16, 16},
        {__LINE__, kRegY, 0xBEEF, 0xBEEF, 16, 16},
        // Numbers outside the table: reads 0, writes nothing, width 100.
        {__LINE__, 7, 0x55, 0, 100, 0},
        {__LINE__, -1, 0x55, 0, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        cpu.set_register(c.number, c.written);
        EXPECT_EQ(c.read, cpu.get_register(c.number));
        EXPECT_EQ(c.width, Cpu::register_width(c.number));
        EXPECT_EQ(c.radix, Cpu::register_radix(c.number));
    }
}

TEST_F(RegistersTest, TransferNumberingCoversOnlyItsSixRegisters) {
    cpu.regs = {};
    for (int n : {0, 1, 4, 5, 6, 7})
        cpu.set_transfer_register(n, uint16_t(0x1100 + n));
    EXPECT_EQ(0x11, cpu.regs.a); // D, written after A and B, replaces both
    EXPECT_EQ(0x04, cpu.regs.b);
    EXPECT_EQ(0x1105, cpu.regs.x);
    EXPECT_EQ(0x1106, cpu.regs.y);
    EXPECT_EQ(0x1107, cpu.regs.sp);
    EXPECT_EQ(0x1104, cpu.get_transfer_register(kXferD));
    const CpuRegisters before = cpu.regs;
    for (int n : {2, 3, 8, -1}) {
        cpu.set_transfer_register(n, 0xFFFF);
        EXPECT_EQ(0, cpu.get_transfer_register(n));
    }
    EXPECT_EQ(before.ccr, cpu.regs.ccr);
    EXPECT_EQ(before.pc, cpu.regs.pc);
}

TEST_F(RegistersTest, ExecutionAddressCarriesThePageOnlyForHighPagesInTheWindow) {
    cpu.regs.pc = 0x9000;
    memory.ppage = 0x3C;
    EXPECT_EQ(0x3C9000u, cpu.current_execution_address());
    memory.ppage = 0x30;
    EXPECT_EQ(0x309000u, cpu.current_execution_address());
    memory.ppage = 0x20;
    EXPECT_EQ(0x9000u, cpu.current_execution_address());
    memory.ppage = 0x3C;
    cpu.regs.pc = 0xC000;
    EXPECT_EQ(0xC000u, cpu.current_execution_address());
    cpu.regs.pc = 0x7FFF;
    EXPECT_EQ(0x7FFFu, cpu.current_execution_address());
    cpu.set_ppage(0x3E);
    EXPECT_EQ(0x3E, cpu.get_ppage());
}

TEST_F(RegistersTest, StackStoresWordsHighByteFirstAndWraps) {
    cpu.regs.sp = 0x2000;
    cpu.push_word(0x1234);
    EXPECT_EQ(0x1FFE, cpu.regs.sp);
    EXPECT_EQ(0x12, memory.bytes[0x1FFE]);
    EXPECT_EQ(0x34, memory.bytes[0x1FFF]);
    cpu.push_byte(0x56);
    EXPECT_EQ(0x56, cpu.pull_byte());
    EXPECT_EQ(0x1234, cpu.pull_word());
    EXPECT_EQ(0x2000, cpu.regs.sp);

    cpu.regs.sp = 0;
    cpu.push_byte(0xAB);
    EXPECT_EQ(0xFFFF, cpu.regs.sp);
    EXPECT_EQ(0xAB, memory.bytes[0xFFFF]);
    EXPECT_EQ(0xAB00, cpu.pull_word() & 0xFF00);
    EXPECT_EQ(0x0001, cpu.regs.sp);
}

TEST_F(RegistersTest, PullFromAnAddressThatDoesNotAnswerReadsZero) {
    memory.bytes[0x3000] = 0x77;
    memory.holes.set(0x3000);
    cpu.regs.sp = 0x3000;
    EXPECT_EQ(0, cpu.pull_byte());
    EXPECT_EQ(0x3001, cpu.regs.sp);
}

} // namespace
} // namespace torva
