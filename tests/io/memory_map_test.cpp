#include "io/memory_map.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

struct MemoryMapTest : ::testing::Test {
    MemoryMap memory;

    uint8_t read(uint32_t address) {
        uint8_t byte = 0xEE;
        EXPECT_EQ(0, memory.mem_read_byte(address, byte)) << std::hex << address;
        return byte;
    }
    // Writes through ROM write enable, then turns it off again.
    void burn(uint32_t address, uint8_t byte) {
        memory.set_rom_write_enable(true);
        ASSERT_EQ(0, memory.mem_write_byte(address, byte)) << std::hex << address;
        memory.set_rom_write_enable(false);
    }
};

TEST_F(MemoryMapTest, PagesAndFixedWindowsShareOneFlashArray) {
    struct Case {
        int line;
        uint32_t written;
        uint32_t alias; // another address reaching the same byte
        uint8_t ppage;  // program page register while reading the alias
    };
    const Case cases[] = {
        {__LINE__, 0x3C8000, 0x8000, 0x3C}, // page register selects the page
        {__LINE__, 0x3FBFFF, 0xFFFF, 0x00}, // page $3F is the top fixed window
        {__LINE__, 0x3F8000, 0xC000, 0x00},
        {__LINE__, 0x3E8123, 0x4123, 0x00}, // page $3E is the middle window
        {__LINE__, 0x3EBFFF, 0x7FFF, 0x00},
        {__LINE__, 0x008000, 0x8000, 0x00}, // page 0 through the register
        {__LINE__, 0x3DBFFF, 0xBFFF, 0x3D}, // the last page before $3E
        {__LINE__, 0x3E9000, 0x9000, 0x3E}, // register page $3E and $3F
        {__LINE__, 0x3FA000, 0xA000, 0x3F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        memory.erase();
        burn(c.written, 0x5A);
        memory.set_ppage(c.ppage);
        EXPECT_EQ(0x5A, read(c.alias));
        memory.set_ppage(0);
    }
}

TEST_F(MemoryMapTest, EveryPageIsItsOwnStorage) {
    for (uint32_t page = 0; page <= 0x3F; ++page)
        burn(page << 16 | 0x8000, uint8_t(page));
    for (uint32_t page = 0; page <= 0x3F; ++page)
        EXPECT_EQ(page, read(page << 16 | 0x8000));
}

TEST_F(MemoryMapTest, NothingAnswersOutsideRamAndFlash) {
    uint8_t byte = 0x77;
    for (uint32_t address : {0x0000u, 0x0FFFu, 0x400000u, 0x408000u, 0xFF8000u, 0x013000u,
                             0x3C7FFFu, 0x3CC000u, 0xFFFFFFFFu, 0x80000000u}) {
        SCOPED_TRACE(address);
        EXPECT_EQ(1, memory.mem_read_byte(address, byte));
        EXPECT_EQ(0x77, byte);
        memory.set_rom_write_enable(true);
        EXPECT_EQ(1, memory.mem_write_byte(address, 0));
        EXPECT_FALSE(memory.writable(address));
        memory.set_rom_write_enable(false);
    }
}

TEST_F(MemoryMapTest, ProgramPageRegisterBeyondTheLastPageMapsNothing) {
    uint8_t byte = 0;
    for (unsigned page : {0x40u, 0x80u, 0xFFu}) {
        memory.set_ppage(uint8_t(page));
        EXPECT_EQ(1, memory.mem_read_byte(0x8000, byte));
        EXPECT_EQ(1, memory.mem_read_byte(0xBFFF, byte));
    }
}

TEST_F(MemoryMapTest, RamIsTwelveKilobytesAtTheRamBase) {
    EXPECT_EQ(0x1000, memory.ram_base());
    EXPECT_EQ(0, memory.mem_write_byte(0x1000, 0x11));
    EXPECT_EQ(0, memory.mem_write_byte(0x3FFF, 0x22));
    EXPECT_EQ(0x11, read(0x1000));
    EXPECT_EQ(0x22, read(0x3FFF));
    EXPECT_TRUE(memory.writable(0x3FFF));
    EXPECT_FALSE(memory.writable(0x8000)); // flash, ROM write enable off
    uint8_t byte;
    EXPECT_EQ(1, memory.mem_read_byte(0x0FFF, byte));
    // RAM base + $3000 is the first byte of the $4000 window: flash, not RAM.
    EXPECT_EQ(1, memory.mem_write_byte(0x4000, 0x33));
    EXPECT_EQ(0xFF, read(0x4000));
}

TEST_F(MemoryMapTest, FlashTakesBytesOnlyWithRomWriteEnable) {
    memory.erase();
    EXPECT_FALSE(memory.writable(0x5000));
    EXPECT_EQ(1, memory.mem_write_byte(0x5000, 0x55));
    EXPECT_EQ(0xFF, read(0x5000));
    memory.set_rom_write_enable(true);
    EXPECT_TRUE(memory.writable(0x5000));
    EXPECT_EQ(0, memory.mem_write_byte(0x5000, 0x55));
    EXPECT_EQ(0x55, read(0x5000));
    memory.mem_write_byte(0x2000, 0x42);
    memory.erase(); // flash only: RAM keeps its bytes
    EXPECT_EQ(0xFF, read(0x5000));
    EXPECT_EQ(0x42, read(0x2000));
}

TEST_F(MemoryMapTest, ResetSetsRegistersAndTakesThePcFromTheVectorOnRequest) {
    burn(0xFFFE, 0x12);
    burn(0xFFFF, 0x34);
    CpuRegisters regs;
    regs.a = regs.b = 1;
    regs.x = regs.y = 2;
    regs.sp = 3;
    regs.ccr = 0;
    regs.pc = 0x4444;
    memory.reset_cpu(regs, false);
    EXPECT_EQ(0xD0, regs.ccr);
    EXPECT_EQ(0, regs.d());
    EXPECT_EQ(0, regs.x);
    EXPECT_EQ(0, regs.y);
    EXPECT_EQ(0x3C80, regs.sp);
    EXPECT_EQ(0x4444, regs.pc);
    memory.reset_cpu(regs, true);
    EXPECT_EQ(0x1234, regs.pc);
}

// An I/O routing that claims one address, to show it is asked first.
class OneRegister final : public IoRouting {
public:
    uint8_t value = 0x99;
    int resets = 0;
    bool claims(uint32_t address) const override { return address == 0x2000; }
    int io_read(uint32_t, uint8_t& byte) override {
        byte = value;
        return 0;
    }
    int io_write(uint32_t, uint8_t byte) override {
        value = byte;
        return 0;
    }
    void io_reset() override { ++resets; }
};

TEST_F(MemoryMapTest, AttachedIoRoutingSeesItsAddressesBeforeStorage) {
    OneRegister io;
    memory.mem_write_byte(0x2000, 0x11);
    memory.attach_io(&io);
    EXPECT_EQ(0x99, read(0x2000));
    EXPECT_EQ(0, memory.mem_write_byte(0x2000, 0x22));
    EXPECT_EQ(0x22, io.value);
    EXPECT_FALSE(memory.writable(0x2000));
    CpuRegisters regs;
    memory.reset_cpu(regs, false);
    EXPECT_EQ(1, io.resets);
    memory.attach_io(nullptr);
    EXPECT_EQ(0x11, read(0x2000));
}

} // namespace
} // namespace torva
