// The CPU's fast read path over the board's memory map must follow every
// change of what an address means: the register block moving over RAM, the
// program page changing under the window.
#include "cpu/cpu.h"
#include "io/board.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace torva {
namespace {

struct FastReadTest : ::testing::Test {
    Board board;
    Cpu cpu{board.memory()};

    void SetUp() override { board.reset_cpu(cpu.regs, false); }

    void load(uint32_t address, std::initializer_list<uint8_t> bytes) {
        board.memory().set_rom_write_enable(true);
        for (uint8_t byte : bytes)
            ASSERT_EQ(0, board.memory().mem_write_byte(address++, byte));
        board.memory().set_rom_write_enable(false);
    }
    void step() {
        uint32_t cycles = 0, pc_written = 0;
        cpu.cpu_step(cpu.current_execution_address(), true, false, cycles, pc_written);
    }
};

TEST_F(FastReadTest, RegisterBlockMovedOverRamIsSeenAtOnce) {
    load(0x2000, {0x42});
    load(0x1000, {
                     0xB6, 0x20, 0x00, // LDAA $2000   RAM
                     0xC6, 0x20,       // LDAB #$20
                     0x7B, 0x00, 0x11, // STAB $0011   register block to $2000
                     0xB6, 0x20, 0x1A, // LDAA $201A   part id, high byte
                     0xB6, 0x20, 0x00, // LDAA $2000   port A, not RAM
                 });
    cpu.regs.pc = 0x1000;
    step();
    EXPECT_EQ(0x42, cpu.regs.a);
    step();
    step();
    ASSERT_EQ(0x2000, board.routing().register_base());
    step();
    uint8_t part_id = 0;
    board.memory().mem_read_byte(0x201A, part_id);
    EXPECT_EQ(part_id, cpu.regs.a);
    step();
    EXPECT_NE(0x42, cpu.regs.a);
}

TEST_F(FastReadTest, ProgramPageWrittenThroughItsRegisterSwitchesTheWindow) {
    load(0x058000, {0x86, 0x05});                                   // page 5: LDAA #$05
    load(0x068000, {0x86, 0x06});                                   // page 6: LDAA #$06
    load(0x1000, {0x86, 0x05, 0x5A, 0x30, 0x86, 0x06, 0x5A, 0x30}); // LDAA #n; STAA $30
    cpu.regs.pc = 0x1000;
    step();
    step();
    cpu.regs.pc = 0x8000;
    step();
    EXPECT_EQ(0x05, cpu.regs.a);
    cpu.regs.pc = 0x1004;
    step();
    step();
    cpu.regs.pc = 0x8000;
    cpu.regs.a = 0;
    step();
    EXPECT_EQ(0x06, cpu.regs.a);
}

// Stores into RAM go straight to the RAM block until the register block
// moves over it; then the same store reaches the register.
TEST_F(FastReadTest, StoresFollowTheRegisterBlockOverRam) {
    load(0x1000, {
                     0x86, 0x3C,       // LDAA #$3C
                     0x7A, 0x20, 0x30, // STAA $2030   RAM
                     0xC6, 0x20,       // LDAB #$20
                     0x7B, 0x00, 0x11, // STAB $0011   register block to $2000
                     0x7A, 0x20, 0x30, // STAA $2030   the program page register
                     0x79, 0x20, 0x11, // CLR  $2011   register block back to 0
                     0x86, 0x11,       // LDAA #$11
                     0x7A, 0x20, 0x30, // STAA $2030   RAM again
                 });
    cpu.regs.pc = 0x1000;
    const auto ram = [&](uint32_t address) {
        return *std::as_const(board.memory()).storage(address);
    };
    step();
    step();
    EXPECT_EQ(0x3C, ram(0x2030));
    EXPECT_EQ(0x00, board.memory().get_ppage());
    step();
    step();
    step();
    EXPECT_EQ(0x3C, board.memory().get_ppage());
    EXPECT_EQ(0x3C, ram(0x2030));
    step();
    ASSERT_EQ(0x0000, board.routing().register_base());
    step();
    step();
    EXPECT_EQ(0x11, ram(0x2030));
    EXPECT_EQ(0x3C, board.memory().get_ppage());
}

} // namespace
} // namespace torva
