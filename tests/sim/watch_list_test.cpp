// Watch rows over a board: expressions through the debug map, every format,
// changed values, and edits by the memory's write rules.
#include "sim/watch_list.h"

#include "cpu/registers.h"
#include "sim_fixture.h"

namespace torva {
namespace {

class WatchListTest : public test::SimulatorFixture {
protected:
    DebugMap map;
    WatchList watch{board.memory(), cpu};

    WatchListTest() {
        map.symbols = {{"BUFFER", SymbolKind::kLabel, 0x2000, 0, 3},
                       {"COUNT", SymbolKind::kEqu, 0x2010, 0, 1}};
        const uint8_t bytes[] = {'H', 'i', 0x80, 0xFF, 0x12, 0x34};
        for (size_t i = 0; i < sizeof bytes; ++i)
            board.memory().mem_write_byte(uint32_t(0x2000 + i), bytes[i]);
    }
    std::string value(const std::string& expression, WatchFormat format, int count = 1) {
        watch.rows().clear();
        watch.add(expression, format, count);
        watch.refresh(&map);
        return watch.rows()[0].error.empty() ? watch.rows()[0].value
                                             : "error: " + watch.rows()[0].error;
    }
};

TEST_F(WatchListTest, ExpressionsAndFormats) {
    cpu.regs.a = 0x12;
    cpu.regs.b = 0xFE;
    cpu.regs.x = 0xBEEF;
    struct Case {
        int line;
        const char* expression;
        WatchFormat format;
        int count;
        const char* shown;
    };
    for (const Case& c : {
             Case{__LINE__, "BUFFER", WatchFormat::kHexByte, 1, "$48"},
             Case{__LINE__, "BUFFER+4", WatchFormat::kHexWord, 1, "$1234"},
             Case{__LINE__, "$2002", WatchFormat::kUnsignedByte, 1, "128"},
             Case{__LINE__, "0x2002", WatchFormat::kSignedByte, 1, "-128"},
             Case{__LINE__, "2002", WatchFormat::kSignedWord, 1, "-32513"},
             Case{__LINE__, "BUFFER+2", WatchFormat::kUnsignedWord, 1, "33023"},
             Case{__LINE__, "BUFFER", WatchFormat::kChar, 1, "'H'"},
             Case{__LINE__, "BUFFER", WatchFormat::kString, 3, "'Hi\\x80'"},
             Case{__LINE__, "BUFFER", WatchFormat::kByteArray, 4, "48 69 80 FF"},
             Case{__LINE__, "BUFFER+2", WatchFormat::kWordArray, 2, "80FF 1234"},
             Case{__LINE__, "COUNT-$10", WatchFormat::kHexByte, 1, "$48"},
             Case{__LINE__, "d", WatchFormat::kHexWord, 1, "$12FE"},
             Case{__LINE__, "B", WatchFormat::kSignedByte, 1, "-2"},
             Case{__LINE__, "X", WatchFormat::kHexWord, 1, "$BEEF"},
             Case{__LINE__, "NOWHERE", WatchFormat::kHexByte, 1, "error: no symbol 'NOWHERE'"},
             Case{__LINE__, "BUFFER+x", WatchFormat::kHexByte, 1, "error: bad offset 'x'"},
         }) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.shown, value(c.expression, c.format, c.count)) << c.expression;
    }
    // Without a map only registers and addresses work.
    watch.rows().clear();
    watch.add("BUFFER", WatchFormat::kHexByte);
    watch.refresh(nullptr);
    EXPECT_EQ("'BUFFER' needs the debug map", watch.rows()[0].error);
}

TEST_F(WatchListTest, ChangedValuesAreMarkedOnce) {
    watch.add("BUFFER", WatchFormat::kHexByte);
    watch.add("BUFFER+1", WatchFormat::kHexByte);
    watch.refresh(&map);
    EXPECT_FALSE(watch.rows()[0].changed);
    board.memory().mem_write_byte(0x2000, 0x49);
    watch.refresh(&map);
    EXPECT_TRUE(watch.rows()[0].changed);
    EXPECT_FALSE(watch.rows()[1].changed);
    watch.refresh(&map);
    EXPECT_FALSE(watch.rows()[0].changed);
}

TEST_F(WatchListTest, EditsWriteMemoryAndRegistersByTheRules) {
    watch.add("BUFFER", WatchFormat::kSignedByte);
    watch.add("BUFFER+4", WatchFormat::kHexWord);
    watch.add("BUFFER", WatchFormat::kString, 2);
    watch.add("D", WatchFormat::kHexWord);
    watch.add("$C000", WatchFormat::kHexByte); // flash: ROM write enable is off
    EXPECT_EQ("", watch.edit(0, "-3", &map));
    EXPECT_EQ(0xFD, read(0x2000));
    EXPECT_EQ("not a value of this format", watch.edit(0, "200", &map));
    EXPECT_EQ("", watch.edit(1, "$ABCD", &map));
    EXPECT_EQ(0xAB, read(0x2004));
    EXPECT_EQ(0xCD, read(0x2005));
    EXPECT_EQ("", watch.edit(2, "'ok'", &map));
    EXPECT_EQ('o', read(0x2000));
    EXPECT_EQ("too many characters", watch.edit(2, "long", &map));
    EXPECT_EQ("", watch.edit(3, "1234", &map));
    EXPECT_EQ(0x12, cpu.regs.a);
    EXPECT_EQ(0x34, cpu.regs.b);
    if (!board.memory().writable(0xC000)) {
        const uint8_t before = read(0xC000);
        EXPECT_EQ("memory at this address is read-only", watch.edit(4, "$55", &map));
        EXPECT_EQ(before, read(0xC000));
    }
}

} // namespace
} // namespace torva
