// Labels by address and branch targets by label, as the Program pane shows them.
#include "sim/debug_map.h"
#include "sim/program_symbols.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

DebugMap map_with_labels() {
    DebugMap map;
    map.symbols = {
        {"WAIT", SymbolKind::kLabel, 0x100D, 0, 20},
        {"START", SymbolKind::kLabel, 0x1000, 0, 12},
        {"LOOP", SymbolKind::kLabel, 0x1005, 0, 14},
        {"MAIN", SymbolKind::kLabel, 0x1000, 0, 13},
        {"COUNT", SymbolKind::kEqu, 0x1010, 0, 9},
        {"LIMIT", SymbolKind::kSet, 0x1011, 0, 10},
        {"PAGED", SymbolKind::kLabel, 0x308010, 0, 30},
    };
    return map;
}

TEST(ProgramSymbols, LabelsByAddressInTheMapsOrder) {
    const ProgramSymbols symbols(map_with_labels());
    EXPECT_FALSE(symbols.empty());
    EXPECT_EQ((std::vector<std::string>{"START", "MAIN"}), symbols.labels_at(0x1000));
    EXPECT_EQ((std::vector<std::string>{"WAIT"}), symbols.labels_at(0x100D));
    // Values that are not places have no label line.
    EXPECT_TRUE(symbols.labels_at(0x1010).empty());
    EXPECT_TRUE(symbols.labels_at(0x1011).empty());
    EXPECT_TRUE(symbols.labels_at(0x1001).empty());
    EXPECT_TRUE(symbols.labels_at(0xFFFFFFFF).empty());
    EXPECT_TRUE(ProgramSymbols().empty());
    EXPECT_TRUE(ProgramSymbols().labels_at(0x1000).empty());
}

TEST(ProgramSymbols, TargetsThatAreExactlyALabelReadByName) {
    const ProgramSymbols symbols(map_with_labels());
    struct Case {
        int line;
        const char* text;
        uint32_t address; // of the instruction
        const char* shown;
    };
    const Case cases[] = {
        {__LINE__, "BSR   $100D", 0x1002, "BSR   WAIT"},
        {__LINE__, "BRA   $1005", 0x1020, "BRA   LOOP"},
        {__LINE__, "LBNE  $1005", 0x1020, "LBNE  LOOP"},
        {__LINE__, "DBNE  Y,$1005", 0x1010, "DBNE  Y,LOOP"},
        {__LINE__, "IBEQ  SP,$100d", 0x1010, "IBEQ  SP,WAIT"},
        // Two labels on the target: the first the map lists.
        {__LINE__, "BRCLR $0000,#$01,$1000", 0x1010, "BRCLR $0000,#$01,START"},
        {__LINE__, "BRSET <$40,#$80,$100D", 0x1010, "BRSET <$40,#$80,WAIT"},
        {__LINE__, "JMP   $1000", 0x1020, "JMP   START"},
        {__LINE__, "JSR   $100D", 0x1020, "JSR   WAIT"},
        // Not exactly a label: the address as it was.
        {__LINE__, "BNE   $1007", 0x1000, "BNE   $1007"},
        {__LINE__, "JSR   $FE06", 0x1000, "JSR   $FE06"},
        // An EQU of the same value is a number, not a target.
        {__LINE__, "BRA   $1010", 0x1000, "BRA   $1010"},
        // Data, immediates, indexed and indirect operands stay as they are.
        {__LINE__, "LDAA  $100D", 0x1000, "LDAA  $100D"},
        {__LINE__, "LDX   #$100D", 0x1000, "LDX   #$100D"},
        {__LINE__, "JSR   $100D,X", 0x1000, "JSR   $100D,X"},
        {__LINE__, "JMP   [$100D,PC]", 0x1000, "JMP   [$100D,PC]"},
        {__LINE__, "CALL  $8000,$31", 0x1000, "CALL  $8000,$31"},
        {__LINE__, "RTS", 0x1000, "RTS"},
        {__LINE__, "BRA   $10G5", 0x1000, "BRA   $10G5"},
        {__LINE__, "BRA   $", 0x1000, "BRA   $"},
        // In the program page window a branch stays in its page.
        {__LINE__, "BRA   $8010", 0x308000, "BRA   PAGED"},
        {__LINE__, "BRA   $8010", 0x318000, "BRA   $8010"},
        {__LINE__, "BRA   $8010", 0x8000, "BRA   $8010"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.shown, symbols.with_target_names(c.text, c.address));
    }
    EXPECT_EQ("BSR   $100D", ProgramSymbols().with_target_names("BSR   $100D", 0x1000));
}

} // namespace
} // namespace torva
