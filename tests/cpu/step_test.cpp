// The step contract: length, PC, pc_written, cycles, execute = 0 changing
// nothing, failed fetches and undefined transfer postbytes.
#include "cpu_fixture.h"

#include <cstring>

namespace torva {
namespace {

using StepTest = test::CpuFixture;

TEST_F(StepTest, ContractOfSingleInstructions) {
    struct Case {
        int line;
        std::vector<uint8_t> bytes;
        uint32_t length;
        uint16_t pc_after;
        uint32_t pc_written;
        uint32_t cycles;
    };
    const Case cases[] = {
        {__LINE__, {0xA7}, 1, 0x2001, 0, 1},                         // NOP
        {__LINE__, {0x18, 0x3A}, 2, 0x2002, 0, 2},                   // REV: traced only
        {__LINE__, {0x86, 0x12}, 2, 0x2002, 0, 1},                   // LDAA #: immediate byte free
        {__LINE__, {0xCC, 0x12, 0x34}, 3, 0x2003, 0, 2},             // LDD #: second byte costs
        {__LINE__, {0x96, 0x40}, 2, 0x2002, 0, 3},                   // LDAA direct
        {__LINE__, {0xB6, 0x30, 0x00}, 3, 0x2003, 0, 3},             // LDAA extended
        {__LINE__, {0x5A, 0x40}, 2, 0x2002, 0, 2},                   // STAA direct: one back
        {__LINE__, {0x20, 0x10}, 2, 0x2012, 1, 3},                   // BRA taken
        {__LINE__, {0x21, 0x10}, 2, 0x2002, 0, 1},                   // BRN: cycles of not taken
        {__LINE__, {0x18, 0x20, 0x00, 0x10}, 4, 0x2014, 1, 4},       // LBRA
        {__LINE__, {0x18, 0x21, 0x00, 0x10}, 4, 0x2004, 0, 3},       // LBRN
        {__LINE__, {0x06, 0x12, 0x34}, 3, 0x1234, 1, 3},             // JMP extended
        {__LINE__, {0x16, 0x12, 0x34}, 3, 0x1234, 1, 4},             // JSR extended
        {__LINE__, {0x36}, 1, 0x2001, 0, 2},                         // PSHA
        {__LINE__, {0x1A, 0x02}, 2, 0x2002, 0, 2},                   // LEAX: cycles set to 2
        {__LINE__, {0x01}, 1, 0x2001, 0, 5},                         // MEM: 4 more
        {__LINE__, {0x18, 0x11}, 2, 0x2002, 0, 12},                  // FDIV: 10 more
        {__LINE__, {0x18, 0x0B, 0x55, 0x30, 0x00}, 5, 0x2005, 0, 4}, // MOVB #,ext
        {__LINE__, {0x18, 0x08, 0x00, 0x55}, 4, 0x2004, 0, 5},       // MOVB #,idx: 1 more
        {__LINE__, {0x18, 0x00, 0x00, 0x12, 0x34}, 5, 0x2005, 0, 4}, // MOVW #,idx: 1 back
        {__LINE__, {0xB7, 0x01}, 2, 0x2002, 0, 1},                   // TFR A,B
        // TRAP does not consume the bytes after its number.
        {__LINE__, {0x18, 0x8B, 0x12, 0x34}, 2, 0x5678, 1, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        memory.bytes.fill(0);
        memory.load(0xFFF8, {0x56, 0x78}); // TRAP vector
        cpu.regs = {};
        cpu.regs.x = 0x3000;
        EXPECT_EQ(c.length, run(c.bytes));
        EXPECT_EQ(c.pc_after, cpu.regs.pc);
        EXPECT_EQ(c.pc_written, pc_written);
        EXPECT_EQ(c.cycles, cycles);
    }
}

TEST_F(StepTest, WithoutExecuteNothingChanges) {
    // Every opcode of both pages, with operand bytes that make the indexed
    // forms auto-increment, go indirect and use accumulator offsets.
    const std::vector<std::vector<uint8_t>> tails = {
        {0x31, 0x30, 0x00, 0xFF, 0x10}, {0xE3, 0x30, 0x00, 0x01, 0x10}, {0xE6, 0x00, 0x31, 0x80}};
    for (int page = 0; page < 2; ++page)
        for (int code = 0; code < 256; ++code)
            for (const auto& tail : tails) {
                SCOPED_TRACE(testing::Message() << page << " " << code << " " << int(tail[0]));
                memory.bytes.fill(0x5A);
                std::vector<uint8_t> program;
                if (page) program.push_back(0x18);
                program.push_back(uint8_t(code));
                program.insert(program.end(), tail.begin(), tail.end());
                memory.load(0x2000, program);
                cpu.regs = {0x00, 0x12, 0x34, 0x3000, 0x3100, 0x3C80, 0x2000};
                const CpuRegisters before = cpu.regs;
                const auto bytes_before = memory.bytes;
                const uint32_t length = cpu.cpu_step(0x2000, false, false);
                EXPECT_GE(length, 1u);
                EXPECT_EQ(0, std::memcmp(&before, &cpu.regs, sizeof before));
                EXPECT_TRUE(bytes_before == memory.bytes);
                EXPECT_FALSE(cpu.cpu_waiting);
                EXPECT_EQ(0, memory.ppage);
                EXPECT_EQ(InterruptSource::kNone, cpu.irq_in_service);
            }
}

TEST_F(StepTest, UndefinedTransferPostbyteLeavesEverythingAndTracesData) {
    cycles = pc_written = 77;
    memory.load(0x2000, {0xB7, 0x30});
    cpu.regs.pc = 0x2000;
    EXPECT_EQ(1u, cpu.cpu_step(0x2000, true, true, cycles, pc_written));
    EXPECT_EQ(0x2000, cpu.regs.pc);
    EXPECT_EQ(77u, cycles);
    EXPECT_EQ(77u, pc_written);
    EXPECT_EQ(std::vector<std::string>{"FCB   $B7"}, pieces);
    // Nothing of it carries into the next step.
    memory.load(0x2000, {0xB7, 0x01});
    EXPECT_EQ(2u, cpu.cpu_step(0x2000, true, false, cycles, pc_written));
    EXPECT_EQ(0x2002, cpu.regs.pc);

    // Each destination code: 8, 10, 12-15 undefined, 9 only with source A
    // allowed; 3, 11 and 9 (with A) do nothing but are 2 bytes long.
    for (int pb = 0; pb < 0x80; ++pb) {
        SCOPED_TRACE(pb);
        const int source = pb >> 4, destination = pb & 15;
        const bool undefined = source == 3 || destination == 8 || destination == 10 ||
                               destination >= 12 || (destination == 9 && source != 0);
        memory.load(0x2000, {0xB7, uint8_t(pb)});
        cpu.regs = {0x00, 0x12, 0x34, 0x5678, 0x9ABC, 0x3C80, 0x2000};
        const CpuRegisters before = cpu.regs;
        EXPECT_EQ(undefined ? 1u : 2u, step());
        if (destination == 3 || destination == 9 || destination == 11 || undefined) {
            cpu.regs.pc = before.pc;
            EXPECT_EQ(0, std::memcmp(&before, &cpu.regs, sizeof before));
        }
    }
}

TEST_F(StepTest, FailedFetchReadsFFAndIsNotCounted) {
    // Nothing answers at $2000: every fetch there reads $FF without moving
    // on, so the step is LDS $FFFF of length 0 and no cycle.
    memory.holes[0x2000] = true;
    memory.load(0xFFFF, {0x12}); // the low byte at $10000 has no storage: 0
    cpu.regs.pc = 0x2000;
    EXPECT_EQ(0u, step());
    EXPECT_EQ(0x1200, cpu.regs.sp);
    EXPECT_EQ(0u, cycles);
    EXPECT_EQ(0x2000, cpu.regs.pc);

    // Prefix read but second byte missing: TRAP $FF, one byte long.
    memory.holes.reset();
    memory.load(0x2000, {0x18});
    memory.holes[0x2001] = true;
    uint32_t length = 0;
    EXPECT_EQ("TRAP  $FF", text_at(0x2000, &length));
    EXPECT_EQ(1u, length);
}

TEST_F(StepTest, PagedStartAddressFetchesThroughThePage) {
    // FlatMemory answers only 16-bit addresses: a paged start address whose
    // bytes are missing runs into $FF bytes (LDS ext), which is never taken
    // as the 16-bit address's contents.
    memory.load(0x9000, {0xA7});
    EXPECT_EQ(1u, cpu.cpu_step(0x9000, false, false));
    uint32_t length = 0;
    EXPECT_EQ("LDS   $FFFF", text_at(0x3C9000, &length));
    EXPECT_EQ(0u, length);
}

// BRSET with a 16-bit PC-relative operand counts that operand's base two
// bytes on (mask and offset follow it), in the trace and when it runs; the
// next instruction's operand of the same form does not.
TEST_F(StepTest, PcRelativeAdjustOfBrsetEndsWithItsStep) {
    memory.load(0x2000, {0x0E, 0xFA, 0x00, 0x10, 0x01, 0x00}); // BRSET $0010,PC,#1,*+6
    memory.load(0x2006, {0xA6, 0xFA, 0x01, 0x00});             // LDAA $0100,PC
    memory.load(0x2016, {0x01});
    memory.load(0x210A, {0x5A, 0x00, 0xA5});
    EXPECT_EQ("BRSET $2016,PC,#$01,$2006", text_at(0x2000));
    cpu.regs.pc = 0x2000;
    EXPECT_EQ(6u, step());
    EXPECT_EQ(0x2006, cpu.regs.pc); // branch of offset 0 taken
    EXPECT_EQ(1u, pc_written);
    EXPECT_EQ(4u, step());
    EXPECT_EQ(0x5A, cpu.regs.a);
}

} // namespace
} // namespace torva
