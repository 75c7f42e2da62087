#include "cpu/onchip/clock_module.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(ClockModuleTest, RealTimeInterruptPeriods) {
    struct Case {
        int line;
        uint8_t control;
        uint32_t period;
    };
    const Case cases[] = {
        {__LINE__, 0x10, 2048},    {__LINE__, 0x20, 4096},
        {__LINE__, 0x23, 16384}, // modulus 3: times 4
        {__LINE__, 0x29, 40960}, // modulus 9: times 10
        {__LINE__, 0x2A, 4096},  // moduli above 9 do not multiply
        {__LINE__, 0x2F, 4096},    {__LINE__, 0x70, 131072},
        {__LINE__, 0xF9, 1310720}, // bit 7 is not part of the rate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ClockModule clock;
        clock.write(ClockModule::kRtiControl, c.control, 1000);
        EXPECT_EQ(c.control & 0x7F, clock.read(ClockModule::kRtiControl));
        EXPECT_EQ(c.period, clock.rti_period());
        EXPECT_EQ(1000 + c.period, clock.rti_deadline());
    }
}

TEST(ClockModuleTest, FlagsWriteDropsBitSeven) {
    struct Case {
        int line;
        uint8_t held;
        uint8_t written;
        uint8_t stored;
    };
    const Case cases[] = {
        {__LINE__, 0x88, 0x80, 0x00}, // writing 1 clears the flag, the rest is stored
        {__LINE__, 0x88, 0x88, 0x08},
        {__LINE__, 0x08, 0x48, 0x48}, // no bit 7: stored as written
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ClockModule clock;
        clock.write(ClockModule::kFlags, c.held & 0x7F, 0);
        if (c.held & 0x80) { // raise the flag through the timer
            clock.write(ClockModule::kRtiControl, 0x10, 0);
            clock.pending_vector(2048);
            clock.write(ClockModule::kRtiControl, 0x00, 0);
        }
        ASSERT_EQ(c.held, clock.read(ClockModule::kFlags));
        clock.write(ClockModule::kFlags, c.written, 0);
        EXPECT_EQ(c.stored, clock.read(ClockModule::kFlags));
    }
}

TEST(ClockModuleTest, InterruptComesEveryPeriodWhileEnabled) {
    ClockModule clock;
    clock.write(ClockModule::kInterruptEnable, 0x80, 0);
    clock.write(ClockModule::kRtiControl, 0x20, 100); // 4096 cycles from 100
    EXPECT_FALSE(clock.pending_vector(4195));
    EXPECT_EQ(ClockModule::kRtiVector, clock.pending_vector(4196));
    // The request stays until the handler clears the flag.
    EXPECT_EQ(ClockModule::kRtiVector, clock.pending_vector(4200));
    clock.write(ClockModule::kFlags, 0x80, 4210);
    EXPECT_FALSE(clock.pending_vector(4210));
    // The next deadline counts from the check that raised the flag.
    EXPECT_FALSE(clock.pending_vector(4196 + 4095));
    EXPECT_EQ(ClockModule::kRtiVector, clock.pending_vector(4196 + 4096));
}

TEST(ClockModuleTest, FlagRisesWithoutEnableAndSecondVectorPairsBitSix) {
    ClockModule clock;
    clock.write(ClockModule::kRtiControl, 0x10, 0);
    EXPECT_FALSE(clock.pending_vector(5000));
    EXPECT_EQ(0x88, clock.read(ClockModule::kFlags)); // polled programs see the flag
    clock.write(ClockModule::kFlags, 0xC0, 0);        // clears bit 7, stores bit 6
    clock.write(ClockModule::kInterruptEnable, 0x40, 0);
    EXPECT_EQ(ClockModule::kSecondVector, clock.pending_vector(5001));
    // With both pending, the real-time interrupt wins.
    clock.write(ClockModule::kInterruptEnable, 0xC0, 0);
    EXPECT_EQ(ClockModule::kRtiVector, clock.pending_vector(8000));
}

TEST(ClockModuleTest, StoppedTimerRaisesNothing) {
    ClockModule clock;
    clock.write(ClockModule::kInterruptEnable, 0x80, 0);
    clock.write(ClockModule::kRtiControl, 0x20, 0);
    clock.write(ClockModule::kRtiControl, 0x05, 0); // rate 0 stops it
    EXPECT_FALSE(clock.pending_vector(1000000));
    clock.write(ClockModule::kRtiControl, 0x20, 0);
    clock.reset();
    EXPECT_FALSE(clock.pending_vector(1000000));
    EXPECT_EQ(0x08, clock.read(ClockModule::kFlags));
    EXPECT_EQ(0, clock.read(ClockModule::kRegisterCount)); // beyond the module
}

TEST(ClockModuleTest, DeadlineBeyondTheCycleTotalsWrap) {
    ClockModule clock;
    clock.write(ClockModule::kInterruptEnable, 0x80, 0);
    clock.write(ClockModule::kRtiControl, 0x20, 0xFFFFF000u); // deadline wraps to $0000
    EXPECT_FALSE(clock.pending_vector(0xFFFFFFFFu));          // still ahead
    EXPECT_EQ(ClockModule::kRtiVector, clock.pending_vector(0x00000000u));
}

} // namespace
} // namespace torva
