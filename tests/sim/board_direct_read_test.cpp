// The CPU's direct reads over the board's memory map follow every change of
// what an address means: program page, register block position, resets.
#include "cpu/cpu.h"
#include "io/board.h"

#include <gtest/gtest.h>

#include <utility>

namespace torva {
namespace {

TEST(BoardDirectReadTest, DirectReadsFollowPagingAndTheRegisterBlock) {
    Board board;
    Cpu cpu(board.memory());
    MemoryMap& memory = board.memory();
    memory.set_rom_write_enable(true);
    ASSERT_EQ(0, memory.mem_write_byte(0x3C8000, 0x3C));
    ASSERT_EQ(0, memory.mem_write_byte(0x3D8000, 0x3D));
    ASSERT_EQ(0, memory.mem_write_byte(0x1030, 0x77)); // RAM
    board.reset_cpu(cpu.regs, false);

    EXPECT_EQ(0x77, cpu.read_byte(0x1030));
    // The program page register, written as the program would.
    cpu.write_byte(0x30, 0x3C);
    EXPECT_EQ(0x3C, cpu.read_byte(0x8000));
    cpu.write_byte(0x30, 0x3D);
    EXPECT_EQ(0x3D, cpu.read_byte(0x8000));

    // Moving the register block onto RAM hides the RAM there.
    cpu.write_byte(0x11, 0x10);             // block at $1000
    EXPECT_EQ(0x3D, cpu.read_byte(0x1030)); // the program page register
    EXPECT_EQ(0x77, *std::as_const(memory).storage(0x1030));
    // A reset puts the block back at 0.
    board.reset_cpu(cpu.regs, false);
    EXPECT_EQ(0x77, cpu.read_byte(0x1030));
    EXPECT_EQ(0x00, cpu.read_byte(0x30));
}

TEST(BoardDirectReadTest, NoDirectBlockWhereTheRoutingClaimsAnAddress) {
    Board board;
    MemoryMap& memory = board.memory();
    for (uint32_t block = 0; block < 4; ++block)
        EXPECT_EQ(nullptr, memory.direct_read_block(block)) << block; // registers, bus window
    EXPECT_NE(nullptr, memory.direct_read_block(4));                  // RAM from $1000
    EXPECT_NE(nullptr, memory.direct_read_block(0xFC00 >> MemoryBus::kDirectBlockBits));
    EXPECT_EQ(nullptr, memory.direct_read_block(MemoryBus::kDirectBlocks));
    const uint32_t generation = *memory.layout_generation();
    board.setup().set_option_word(1);
    EXPECT_NE(generation, *memory.layout_generation());
}

} // namespace
} // namespace torva
