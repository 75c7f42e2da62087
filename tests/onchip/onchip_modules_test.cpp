#include "cpu/onchip/onchip_modules.h"
#include "support/flat_memory.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

struct OnChipModulesTest : ::testing::Test {
    test::FlatMemory memory;
    OnChipModules modules{memory};

    uint8_t read(uint16_t offset) {
        uint8_t byte = 0xEE;
        EXPECT_TRUE(modules.read(offset, byte)) << std::hex << offset;
        return byte;
    }
    void write(uint16_t offset, uint8_t byte) {
        EXPECT_TRUE(modules.write(offset, byte)) << std::hex << offset;
    }
};

TEST_F(OnChipModulesTest, OffsetsReachTheirModules) {
    modules.serial[0].attach();
    modules.serial[1].attach();
    write(0x11, 0x08); // core block
    write(0x34 + ClockModule::kSynthesizer, 0x05);
    write(0xCB, 0x0C); // serial 0 control 2: ignored, no baud
    write(0xC8, 0x00), write(0xC9, 0x01), write(0xCB, 0x0C);
    write(0xD0 + 1, 0x01); // serial 1: low before high, ignored
    EXPECT_EQ(0x0800, modules.core.register_base());
    EXPECT_EQ(0x05, modules.clock.read(ClockModule::kSynthesizer));
    EXPECT_EQ(0x0C, read(0xCB));
    EXPECT_EQ(0x00, read(0xD1));
    EXPECT_EQ(0xC0, read(0xD4));
    EXPECT_EQ(0x00, read(0xD8)); // past the second interface's eight registers
    EXPECT_EQ(0x08, read(0x37)); // clock flags after construction

    uint8_t byte = 0x5A;
    for (uint16_t offset : {0x40, 0xC7, 0xE0, 0x105, 0x3FF}) {
        EXPECT_FALSE(modules.read(offset, byte)) << std::hex << offset;
        EXPECT_FALSE(modules.write(offset, 0)) << std::hex << offset;
    }
    EXPECT_EQ(0x5A, byte);
}

TEST_F(OnChipModulesTest, ClockWritesUseTheCycleTotal) {
    modules.set_total_cycles(50000);
    write(0x34 + ClockModule::kRtiControl, 0x10);
    EXPECT_EQ(52048u, modules.clock.rti_deadline());
}

TEST_F(OnChipModulesTest, ResetReachesEveryModule) {
    modules.serial[0].attach();
    write(0xC8, 0x00), write(0xC9, 0x01), write(0xCB, 0x0C);
    write(0x34 + ClockModule::kRtiControl, 0x10);
    write(0x30, 0x3C);
    modules.reset();
    EXPECT_EQ(0x00, read(0xCB));
    EXPECT_EQ(0x00, read(0x34 + ClockModule::kRtiControl));
    EXPECT_EQ(0x00, memory.ppage);
    EXPECT_TRUE(modules.serial[0].present());
}

} // namespace
} // namespace torva
