#include "cpu/onchip/core_block.h"
#include "support/flat_memory.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

struct CoreBlockTest : ::testing::Test {
    test::FlatMemory memory;
    CoreBlock core{memory};

    void arm(uint8_t control, uint8_t pair, uint8_t page, uint16_t address) {
        core.write(CoreBlock::kBreakControl0, control);
        core.write(pair, page);
        core.write(pair + 1, uint8_t(address >> 8));
        core.write(pair + 2, uint8_t(address));
    }
};

TEST_F(CoreBlockTest, PortsFollowTheBoardMode) {
    // With the I/O bus the port pins are the bus: nothing is stored.
    core.write(CoreBlock::kDdrA, 0x0F);
    core.write(CoreBlock::kPortA, 0x55);
    EXPECT_EQ(0xFF, core.read(CoreBlock::kPortA));
    EXPECT_EQ(0xFF, core.read(CoreBlock::kDdrA));
    core.set_ports_modelled(true);
    EXPECT_EQ(0xFF, core.read(CoreBlock::kPortA)); // nothing was stored above
    EXPECT_EQ(0x00, core.read(CoreBlock::kDdrA));

    struct Case {
        int line;
        uint8_t ddr;
        uint8_t data;
        uint8_t read; // outputs read back, inputs read 1
        uint8_t driven;
    };
    const Case cases[] = {
        {__LINE__, 0xFF, 0x5A, 0x5A, 0x5A}, // all outputs
        {__LINE__, 0x00, 0x5A, 0xFF, 0x00}, // all inputs
        {__LINE__, 0x0F, 0x5A, 0xFA, 0x0A}, // low nibble out
        {__LINE__, 0xF0, 0x00, 0x0F, 0x00},
    };
    for (int port : {0, 1}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.line);
            core.write(CoreBlock::kDdrA + port, c.ddr);
            core.write(CoreBlock::kPortA + port, c.data);
            EXPECT_EQ(c.read, core.read(CoreBlock::kPortA + port));
            EXPECT_EQ(c.ddr, core.read(CoreBlock::kDdrA + port));
            EXPECT_EQ(c.driven, core.port_output(port));
        }
    }
    // A bit written while it was an input is not stored.
    core.write(CoreBlock::kDdrB, 0x00);
    core.write(CoreBlock::kPortB, 0xFF);
    core.write(CoreBlock::kDdrB, 0xFF);
    EXPECT_EQ(0x00, core.read(CoreBlock::kPortB));
}

TEST_F(CoreBlockTest, MappingAndIdentificationRegisters) {
    struct Case {
        int line;
        uint16_t offset;
        uint8_t written;
        uint8_t read;
    };
    const Case cases[] = {
        {__LINE__, CoreBlock::kRegisterMapping, 0xFF, 0x78},
        {__LINE__, CoreBlock::kEepromMapping, 0xFF, 0xF1},
        {__LINE__, CoreBlock::kRamMapping, 0x00, 0x11}, // read-only
        {__LINE__, CoreBlock::kPartIdHigh, 0xFF, 0x00}, // read-only
        {__LINE__, CoreBlock::kPartIdLow, 0xFF, 0x12},  // read-only
        {__LINE__, CoreBlock::kMemorySize, 0x00, 0x25}, // read-only
        {__LINE__, CoreBlock::kBreakControl1, 0xA5, 0xA5},
        {__LINE__, 0x05, 0x77, 0x00}, // unmodelled register
        {__LINE__, 0x33, 0x77, 0x00},
        {__LINE__, 0x34, 0x77, 0x00}, // beyond the block
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        core.write(c.offset, c.written);
        EXPECT_EQ(c.read, core.read(c.offset));
    }
    EXPECT_EQ(0x7800, core.register_base()); // only bits 6-3 of the mapping count
}

TEST_F(CoreBlockTest, ProgramPageIsTheMemoryMapsRegister) {
    core.write(CoreBlock::kPpage, 0x3C);
    EXPECT_EQ(0x3C, memory.ppage);
    memory.ppage = 0x31;
    EXPECT_EQ(0x31, core.read(CoreBlock::kPpage));
}

TEST_F(CoreBlockTest, ResetClearsPortsBreakpointControlAndPage) {
    core.set_ports_modelled(true);
    core.write(CoreBlock::kDdrA, 0xFF);
    core.write(CoreBlock::kPortA, 0x12);
    core.write(CoreBlock::kRegisterMapping, 0x08);
    arm(0x80, CoreBlock::kBreakAddress0, 0x3F, 0x8123);
    core.write(CoreBlock::kPpage, 0x3C);
    core.reset();
    EXPECT_EQ(0xFF, core.read(CoreBlock::kPortA)); // an input again
    EXPECT_EQ(0x00, core.read(CoreBlock::kDdrA));
    EXPECT_EQ(0x00, core.read(CoreBlock::kBreakControl0));
    EXPECT_EQ(0x00, core.read(CoreBlock::kBreakAddress0 + 2));
    EXPECT_EQ(0x81, core.read(CoreBlock::kBreakAddress0 + 1)); // kept
    EXPECT_EQ(0x00, memory.ppage);
    EXPECT_EQ(0x0800, core.register_base()); // the mapping register is kept
}

TEST_F(CoreBlockTest, BreakpointMatchesPagedAndUnpagedAddresses) {
    struct Case {
        int line;
        uint8_t control;
        uint8_t pair;
        uint8_t page;
        uint16_t address;
        uint8_t ppage;
        uint16_t pc;
        bool match;
    };
    const Case cases[] = {
        // $C000 is page $3F at window address $8000.
        {__LINE__, 0x80, CoreBlock::kBreakAddress0, 0x3F, 0x8000, 0x00, 0xC000, true},
        {__LINE__, 0x80, CoreBlock::kBreakAddress0, 0x3E, 0x8000, 0x00, 0xC000, false},
        // $4000-$7FFF is page $3E.
        {__LINE__, 0x80, CoreBlock::kBreakAddress0, 0x3E, 0x8010, 0x00, 0x4010, true},
        // The window follows the program page register.
        {__LINE__, 0x80, CoreBlock::kBreakAddress1, 0x3C, 0x9000, 0x3C, 0x9000, true},
        {__LINE__, 0x80, CoreBlock::kBreakAddress1, 0x3C, 0x9000, 0x3D, 0x9000, false},
        // Below $4000 the page byte is not compared.
        {__LINE__, 0x80, CoreBlock::kBreakAddress0, 0x12, 0x2000, 0x00, 0x2000, true},
        {__LINE__, 0x80, CoreBlock::kBreakAddress0, 0x12, 0x2000, 0x00, 0x2001, false},
        // Disarmed, or in full-address mode: no match.
        {__LINE__, 0x00, CoreBlock::kBreakAddress0, 0x3F, 0x8000, 0x00, 0xC000, false},
        {__LINE__, 0xC0, CoreBlock::kBreakAddress0, 0x3F, 0x8000, 0x00, 0xC000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        for (int offset = CoreBlock::kBreakAddress0; offset <= CoreBlock::kBreakAddress1 + 2;
             ++offset)
            core.write(uint16_t(offset), 0xFF); // park the other pair at an unused address
        arm(c.control, c.pair, c.page, c.address);
        memory.ppage = c.ppage;
        EXPECT_EQ(c.match, core.breakpoint_match(c.pc));
    }
}

} // namespace
} // namespace torva
