// SWI, TRAP, RTI, WAI, STOP and interrupt entry: frames, vectors, masking
// and what the on-chip modules and run control are told.
#include "register_cases.h"

namespace torva {
namespace {

constexpr InterruptSource kIrq = InterruptSource::kIrq;
constexpr InterruptSource kXirq = InterruptSource::kXirq;

using namespace ccr_bits;

struct FakeHost : InterruptHost {
    bool match = false;
    uint16_t vector = 0;
    std::vector<InterruptSource> ended;
    bool breakpoint_match(uint16_t, uint8_t) override { return match; }
    uint16_t onchip_vector() override { return vector; }
    void service_ended(InterruptSource source) override { ended.push_back(source); }
};

struct InterruptsTest : test::CpuFixture {
    FakeHost host;
    InterruptsTest() {
        cpu.interrupt_host = &host;
        memory.load(0xFFF0, {0x70, 0x00, 0x72, 0x00, 0x74, 0x00, 0x76, 0x00, 0x78, 0x00});
        memory.load(0xFFD6, {0x7D, 0x60});
    }
    uint16_t word_at(uint16_t address) {
        return uint16_t(memory.bytes[address] << 8 | memory.bytes[address + 1]);
    }
};

TEST_F(InterruptsTest, SwiStacksTheFrameAndMasksBoth) {
    cpu.regs = {0x00, 0x11, 0x22, 0x3344, 0x5566, 0x3C80, 0};
    run({0x3F}, 0x4000);
    EXPECT_EQ(0x3C77, cpu.regs.sp);
    EXPECT_EQ(0x7600, cpu.regs.pc);
    EXPECT_EQ(X | I, cpu.regs.ccr);
    EXPECT_EQ(1u, pc_written);
    // CCR, B, A, X, Y, return address upward from SP.
    const std::vector<uint8_t> frame(memory.bytes.begin() + 0x3C77, memory.bytes.begin() + 0x3C80);
    EXPECT_EQ((std::vector<uint8_t>{0x00, 0x22, 0x11, 0x33, 0x44, 0x55, 0x66, 0x40, 0x01}), frame);
}

TEST_F(InterruptsTest, TrapAndRtiReturnBehindTheTrap) {
    cpu.regs = {0x00, 1, 2, 3, 4, 0x3C80, 0};
    EXPECT_EQ(2u, run({0x18, 0x30}, 0x4000));
    EXPECT_EQ(0x7800, cpu.regs.pc);
    EXPECT_EQ(I, cpu.regs.ccr);
    EXPECT_EQ(0x4002, word_at(0x3C7E));
    cpu.regs.a = 0x99;
    run({0x0B}, 0x7800); // RTI
    EXPECT_EQ(0x4002, cpu.regs.pc);
    EXPECT_EQ(0x3C80, cpu.regs.sp);
    EXPECT_EQ(0x00, cpu.regs.ccr);
    EXPECT_EQ(1, cpu.regs.a);
    EXPECT_EQ(8u, cycles);
}

TEST_F(InterruptsTest, MaskingOfEachSource) {
    struct Case {
        int line;
        InterruptSource source;
        uint8_t ccr;
        bool taken;
        uint16_t pc;
        uint8_t ccr_after;
    };
    const Case cases[] = {
        {__LINE__, kIrq, I, false, 0x4000, I},                 // IRQ masked
        {__LINE__, kIrq, 0, true, 0x7200, I},                  // IRQ
        {__LINE__, InterruptSource{255}, I, false, 0x4000, I}, // as IRQ
        {__LINE__, InterruptSource{255}, X, true, 0x7200, X | I},
        {__LINE__, kXirq, I, true, 0x7400, X | I},                  // XIRQ ignores I
        {__LINE__, kXirq, X, false, 0x4000, X},                     // XIRQ masked by X
        {__LINE__, InterruptSource{5}, X | I, true, 0x7200, X | I}, // never masked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        cpu.regs = {c.ccr, 0, 0, 0, 0, 0x3C80, 0x4000};
        cpu.irq_in_service = InterruptSource::kNone;
        EXPECT_EQ(c.taken, cpu.cpu_interrupt(c.source));
        EXPECT_EQ(c.pc, cpu.regs.pc);
        EXPECT_EQ(c.ccr_after, cpu.regs.ccr);
        EXPECT_EQ(c.taken ? 0x3C77 : 0x3C80, cpu.regs.sp);
        EXPECT_EQ(c.taken ? c.source : InterruptSource::kNone, cpu.irq_in_service);
    }
}

TEST_F(InterruptsTest, IrqThenRtiRestoresTheMaskAndEndsTheService) {
    cpu.regs = {0x00, 0, 0, 0, 0, 0x3C80, 0x4000};
    ASSERT_TRUE(cpu.cpu_interrupt(InterruptSource::kIrq));
    run({0x0B}, 0x7200);
    EXPECT_EQ(0x00, cpu.regs.ccr);
    EXPECT_EQ(0x4000, cpu.regs.pc);
    EXPECT_EQ(InterruptSource::kNone, cpu.irq_in_service);
    EXPECT_EQ(std::vector<InterruptSource>{kIrq}, host.ended);
}

TEST_F(InterruptsTest, OnChipVectorServesIrqOnly) {
    host.vector = 0xFFD6;
    cpu.regs = {0x00, 0, 0, 0, 0, 0x3C80, 0x4000};
    ASSERT_TRUE(cpu.cpu_interrupt(InterruptSource::kIrq));
    EXPECT_EQ(0x7D60, cpu.regs.pc);
    cpu.regs = {0x00, 0, 0, 0, 0, 0x3C80, 0x4000};
    ASSERT_TRUE(cpu.cpu_interrupt(InterruptSource{4}));
    EXPECT_EQ(0x7200, cpu.regs.pc);
}

TEST_F(InterruptsTest, BreakpointMatchActsAsSwi) {
    host.match = true;
    cpu.set_cycle_model(CycleModel::Cpu12);
    cpu.regs = {X | I, 0, 0, 0, 0, 0x3C80, 0x4000};
    EXPECT_TRUE(cpu.cpu_interrupt(InterruptSource::kIrq)); // masked IRQ, but the match comes first
    EXPECT_EQ(0x7600, cpu.regs.pc);
    EXPECT_EQ(0x4001, word_at(0x3C7E));
    EXPECT_EQ(9u, cpu.ctx.cycles); // the CPU12 counts an SWI's entry
}

TEST_F(InterruptsTest, WaiParksUntilOneFrameIsTaken) {
    cpu.regs = {0x00, 0, 0, 0, 0, 0x3C80, 0};
    run({0x3E}, 0x4000);
    EXPECT_TRUE(cpu.cpu_waiting);
    EXPECT_EQ(0x3C77, cpu.regs.sp);
    EXPECT_EQ(0x4001, cpu.regs.pc);
    ASSERT_TRUE(cpu.cpu_interrupt(InterruptSource::kIrq));
    EXPECT_FALSE(cpu.cpu_waiting);
    EXPECT_EQ(0x3C77, cpu.regs.sp); // no second frame
    EXPECT_EQ(5u, cpu.ctx.cycles);
    run({0x0B}, 0x7200);
    EXPECT_EQ(0x4001, cpu.regs.pc);
    EXPECT_EQ(0x3C80, cpu.regs.sp);
}

TEST_F(InterruptsTest, StopActsOnlyWhileSIsClear) {
    cpu.regs = {S, 0, 0, 0, 0, 0x3C80, 0};
    EXPECT_EQ(2u, run({0x18, 0x3E}, 0x4000));
    EXPECT_FALSE(cpu.cpu_waiting);
    EXPECT_EQ(0x4002, cpu.regs.pc);
    EXPECT_EQ(0x3C80, cpu.regs.sp);
    cpu.regs = {0, 0, 0, 0, 0, 0x3C80, 0};
    run({0x18, 0x3E}, 0x4000);
    EXPECT_TRUE(cpu.cpu_waiting);
    EXPECT_EQ(0x4002, word_at(0x3C7E));
}

} // namespace
} // namespace torva
