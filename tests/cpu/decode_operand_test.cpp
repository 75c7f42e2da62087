// Every addressing form: effective address, side effects on the index
// register, length and cycles; the memory transfer and branch targets.
#include "cpu_fixture.h"

#include "cpu/decode_operand.h"

namespace torva {
namespace {

using DecodeOperandTest = test::CpuFixture;

TEST_F(DecodeOperandTest, IndexedFormsAddressAndCost) {
    struct Case {
        int line;
        std::vector<uint8_t> operand; // postbyte and extension bytes
        uint16_t address;             // effective address
        uint16_t x_after;             // X after the access
        uint32_t cycles;              // of LDAA with this operand
    };
    // X = $1000, Y = $2000, SP = $3C00, A = $12, B = $34; the instruction
    // starts at $4000. Pointers: $3333 at $1010, $4444 at $1234, $5555 at
    // $1000 + D, $6666 at $4004 + $0010.
    const Case cases[] = {
        {__LINE__, {0x00}, 0x1000, 0x1000, 3},             // 0,X
        {__LINE__, {0x1F}, 0x0FFF, 0x1000, 3},             // -1,X
        {__LINE__, {0x4F}, 0x200F, 0x1000, 3},             // 15,Y
        {__LINE__, {0x90}, 0x3BF0, 0x1000, 3},             // -16,SP
        {__LINE__, {0xC0}, 0x4002, 0x1000, 3},             // 0,PC: end of a 2-byte instruction
        {__LINE__, {0x23}, 0x1004, 0x1004, 3},             // 4,+X
        {__LINE__, {0x33}, 0x1000, 0x1004, 3},             // 4,X+
        {__LINE__, {0x3F}, 0x1000, 0x0FFF, 3},             // 1,X-
        {__LINE__, {0x28}, 0x0FF8, 0x0FF8, 3},             // 8,-X
        {__LINE__, {0xE0, 0xFF}, 0x10FF, 0x1000, 3},       // 255,X
        {__LINE__, {0xE1, 0xFF}, 0x0FFF, 0x1000, 3},       // -1,X
        {__LINE__, {0xF8, 0x10}, 0x4013, 0x1000, 3},       // 16,PC: end of a 3-byte instruction
        {__LINE__, {0xE2, 0x12, 0x34}, 0x2234, 0x1000, 4}, // $1234,X
        {__LINE__, {0xEA, 0xFF, 0xFF}, 0x1FFF, 0x1000, 4}, // $FFFF,Y wraps
        {__LINE__, {0xFA, 0x00, 0x10}, 0x4014, 0x1000, 4}, // PC-relative 16-bit
        {__LINE__, {0xE3, 0x00, 0x10}, 0x3333, 0x1000, 6}, // [$10,X]
        {__LINE__, {0xFB, 0x00, 0x10}, 0x6666, 0x1000, 6}, // [$10,PC]
        {__LINE__, {0xE4}, 0x1012, 0x1000, 3},             // A,X
        {__LINE__, {0xED}, 0x2034, 0x1000, 3},             // B,Y
        {__LINE__, {0xE6}, 0x2234, 0x1000, 3},             // D,X
        {__LINE__, {0xFC}, 0x4014, 0x1000, 3},             // A,PC: from the next instruction
        {__LINE__, {0xE7}, 0x5555, 0x1000, 6},             // [D,X]
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        for (int pass = 0; pass < 2; ++pass) {
            memory.bytes.fill(0);
            memory.load(0x1010, {0x33, 0x33});
            memory.load(0x2234, {0x55, 0x55});
            memory.load(0x4014, {0x66, 0x66});
            memory.load(0x1000, {0x44}); // a byte for the load to see
            cpu.regs = {0, 0x12, 0x34, 0x1000, 0x2000, 0x3C00, 0x4000};
            // LEAY gives the address; LDAA the read and its cost.
            memory.bytes[0x4000] = pass == 0 ? 0x19 : 0xA6;
            memory.load(0x4001, c.operand);
            memory.bytes[c.address] = 0xA5;
            EXPECT_EQ(1 + c.operand.size(), step());
            EXPECT_EQ(c.x_after, cpu.regs.x);
            if (pass == 0) {
                EXPECT_EQ(c.address, cpu.regs.y);
            } else {
                EXPECT_EQ(0xA5, cpu.regs.a);
                EXPECT_EQ(c.cycles, cycles);
            }
        }
    }
}

TEST_F(DecodeOperandTest, IndirectAccumulatorStoreWritesOnlyThePointedByte) {
    cpu.regs.set_d(2);
    cpu.regs.x = 0x1000;
    memory.load(0x1002, {0x30, 0x00});
    run({0x6B, 0xE7}); // STAB [D,X]
    EXPECT_EQ(0x02, memory.bytes[0x3000]);
    EXPECT_EQ(0x00, memory.bytes[0x3001]);
    EXPECT_EQ(0x30, memory.bytes[0x1002]);
    EXPECT_EQ(0x00, memory.bytes[0x1003]);
    run({0x6C, 0xE7}); // STD [D,X]: the same address for a word
    EXPECT_EQ(0x00, memory.bytes[0x3000]);
    EXPECT_EQ(0x02, memory.bytes[0x3001]);
}

TEST_F(DecodeOperandTest, WordAtTopOfMemoryTakesItsLowByteFromNowhere) {
    memory.load(0xFFFF, {0xAB});
    memory.load(0x0000, {0xCD});
    run({0xFC, 0xFF, 0xFF}); // LDD $FFFF
    EXPECT_EQ(0xAB00, cpu.regs.d());
}

TEST_F(DecodeOperandTest, ModeOutsideTheFourReturnsOneAndConsumesNothing) {
    cpu.ctx.fetch_address = 0x2000;
    EXPECT_EQ(1u, cpu.decode_operand(true, Cpu::OperandAccess::Read, 0, false, AddrMode(0)));
    EXPECT_EQ(1u, cpu.decode_operand(true, Cpu::OperandAccess::Read, 0, false, AddrMode(7)));
    EXPECT_EQ(0x2000u, cpu.ctx.fetch_address);
}

TEST_F(DecodeOperandTest, WithoutExecuteReturnsZeroButConsumesTheBytes) {
    memory.load(0x2000, {0xE2, 0x12, 0x34});
    cpu.ctx = {};
    cpu.ctx.fetch_address = 0x2000;
    using Access = Cpu::OperandAccess;
    EXPECT_EQ(0u, cpu.decode_operand(false, Access::Address, 0, false, AddrMode::Indexed));
    EXPECT_EQ(0x2003u, cpu.ctx.fetch_address);
    EXPECT_EQ(0xE2, cpu.ctx.postbyte);
    cpu.ctx.fetch_address = 0x2000;
    cpu.regs.x = 1;
    EXPECT_EQ(0x1235u, cpu.decode_operand(true, Access::Address, 0, false, AddrMode::Indexed));
}

TEST_F(DecodeOperandTest, BranchTargets) {
    struct Case {
        int line;
        std::vector<uint8_t> bytes;
        uint16_t target;
    };
    const Case cases[] = {
        {__LINE__, {0x20, 0x7F}, 0x4081},
        {__LINE__, {0x20, 0xFF}, 0x4001},
        {__LINE__, {0x20, 0x80}, 0x3F82},
        {__LINE__, {0x18, 0x20, 0xFF, 0xFC}, 0x4000},
        {__LINE__, {0x18, 0x20, 0x7F, 0xFF}, 0xC003},
        {__LINE__, {0x07, 0xFE}, 0x4000}, // BSR
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        run(c.bytes, 0x4000);
        EXPECT_EQ(c.target, cpu.regs.pc);
    }
}

} // namespace
} // namespace torva
