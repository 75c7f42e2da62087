// Tooltip texts over symbols: values, and the bytes of data labels read
// without touching a device.
#include "sim_fixture.h"

#include "sim/debug_map.h"
#include "sim/symbol_tip.h"

namespace torva {
namespace {

using SymbolTipTest = test::SimulatorFixture;

TEST_F(SymbolTipTest, ValuesInHexAndDecimal) {
    struct Case {
        int line;
        DebugMapSymbol symbol;
        const char* tip;
    };
    const Case cases[] = {
        {__LINE__, {"WAIT", SymbolKind::kLabel, 0x100D}, "WAIT = $100D (4109)"},
        {__LINE__, {"PASSES", SymbolKind::kEqu, 5}, "PASSES = $0005 (5)"},
        {__LINE__, {"FAR", SymbolKind::kLabel, 0x308000}, "FAR = $308000 (3178496)"},
        {__LINE__, {"BIG", SymbolKind::kSet, 0x12345678}, "BIG = $12345678 (305419896)"},
        // The assembler keeps negative values in 32 bits.
        {__LINE__, {"MINUS", SymbolKind::kEqu, 0xFFFFFFFF}, "MINUS = $FFFFFFFF (-1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.tip, symbol_tip(c.symbol, false, board.memory()));
    }
}

TEST_F(SymbolTipTest, DataLabelsShowTheirBytesWithoutReadingDevices) {
    load({{0x1000, {0xA7}}, {0x1020, {'H', 'e', 'l', 'l', 'o', 0x0D, 0x0A, 0x00, 0x55}}});
    const DebugMapSymbol hello{"HELLO", SymbolKind::kLabel, 0x1020};
    EXPECT_EQ("HELLO = $1020 (4128)\n$1020: 48 65 6C 6C 6F 0D 0A 00  Hello...",
              symbol_tip(hello, true, board.memory()));
    // The bus board's outport at $0400 is a device that a look could
    // disturb: its bytes are unknown.
    const DebugMapSymbol edge{"EDGE", SymbolKind::kLabel, 0x03FE};
    const std::string tip = symbol_tip(edge, true, board.memory());
    EXPECT_NE(std::string::npos, tip.find(" ?? ?? ?? ?? ?? ??  ")) << tip;
    EXPECT_EQ("??????", tip.substr(tip.size() - 6)) << tip;
    // A character waiting in serial interface 0 shows and stays there.
    SerialInterface& sci = board.modules().serial[0];
    sci.attach();
    board.memory().mem_write_byte(0xC8, 0x00);
    board.memory().mem_write_byte(0xC9, 0x01);
    board.memory().mem_write_byte(0xCB, SerialInterface::kReceiverEnable);
    ASSERT_TRUE(sci.receive('A'));
    const DebugMapSymbol serial{"SERIAL", SymbolKind::kLabel, 0x00C8};
    const std::string serial_tip = symbol_tip(serial, true, board.memory());
    EXPECT_EQ("41", serial_tip.substr(serial_tip.find(':') + 2 + 3 * 7, 2)) << serial_tip;
    EXPECT_NE(0, sci.status1() & SerialInterface::kReceiveFull);
    // The 64K map wraps.
    const DebugMapSymbol top{"TOP", SymbolKind::kLabel, 0xFFFE};
    EXPECT_EQ("$FFFE:", symbol_tip(top, true, board.memory()).substr(20, 6));
}

TEST(SymbolTip, DataLabelsAreReservedStorageOrDataLines) {
    DebugMap map;
    map.files = {"main.asm"};
    map.ranges = {{0x1000, 3, 0, 5}, {0x1020, 6, 0, 9}};
    const DebugMapSymbol code{"START", SymbolKind::kLabel, 0x1000, 0, 5};
    const DebugMapSymbol text{"HELLO", SymbolKind::kLabel, 0x1020, 0, 9};
    const DebugMapSymbol room{"BUFFER", SymbolKind::kLabel, 0x0800, 0, 12};
    const DebugMapSymbol constant{"PORT", SymbolKind::kEqu, 0x0800, 0, 2};
    EXPECT_FALSE(is_data_label(map, code, false));
    EXPECT_TRUE(is_data_label(map, text, true));
    EXPECT_TRUE(is_data_label(map, room, false));
    EXPECT_FALSE(is_data_label(map, constant, true));
}

} // namespace
} // namespace torva
