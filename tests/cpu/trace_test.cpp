// The disassembly text of a traced step, piece by piece and as a line.
#include "cpu_fixture.h"

namespace torva {
namespace {

using TraceTest = test::CpuFixture;

TEST_F(TraceTest, PiecesArriveInOrderAndSeparately) {
    struct Case {
        int line;
        std::vector<uint8_t> bytes;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {__LINE__, {0x86, 0x12}, {"LDAA  ", "#$12"}},
        {__LINE__, {0xA6, 0xE0, 0x10}, {"LDAA  ", "16", ",X"}},
        {__LINE__, {0x6A, 0x3F}, {"STAA  ", "1,", "X", "-"}},
        {__LINE__, {0x6A, 0x2F}, {"STAA  ", "1,", "-", "X"}},
        {__LINE__, {0x0F, 0x00, 0x04, 0x10}, {"BRCLR ", "0", ",X", ",#$04,", "$2014"}},
        {__LINE__, {0x18, 0x30}, {"TRAP  $30"}},
        {__LINE__, {0xB7, 0x02}, {"TFR   ", "A,CCR"}},
        {__LINE__, {0xB7, 0x30}, {"FCB   $B7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        text_of(c.bytes);
        EXPECT_EQ(c.pieces, pieces);
    }
}

TEST_F(TraceTest, LinesOfEachFamily) {
    struct Case {
        int line;
        std::vector<uint8_t> bytes;
        uint32_t length;
        const char* text;
    };
    const Case cases[] = {
        // Inherent instructions: the bare mnemonic.
        {__LINE__, {0xA7}, 1, "NOP"},
        {__LINE__, {0x3D}, 1, "RTS"},
        {__LINE__, {0x18, 0x13}, 2, "EMULS"},
        {__LINE__, {0x18, 0x3E}, 2, "STOP"},
        // Operand forms.
        {__LINE__, {0xCC, 0x12, 0x34}, 3, "LDD   #$1234"},
        {__LINE__, {0x96, 0x40}, 2, "LDAA  <$40"},
        {__LINE__, {0xB6, 0x12, 0x34}, 3, "LDAA  $1234"},
        {__LINE__, {0xA6, 0xC0}, 2, "LDAA  $2002,PC"},
        {__LINE__, {0xA6, 0xF9, 0x00}, 3, "LDAA  $1F03,PC"},
        {__LINE__, {0xA6, 0xE1, 0xFF}, 3, "LDAA  -1,X"},
        {__LINE__, {0xA6, 0xEA, 0x01, 0x00}, 4, "LDAA  $0100,Y"},
        {__LINE__, {0xA6, 0xFA, 0x01, 0x00}, 4, "LDAA  $2104,PC"},
        {__LINE__, {0xA6, 0xF3, 0x00, 0x10}, 4, "LDAA  [$0010,SP]"},
        {__LINE__, {0xA6, 0xE6}, 2, "LDAA  D,X"},
        {__LINE__, {0xA6, 0xED}, 2, "LDAA  B,Y"},
        {__LINE__, {0xA6, 0xFF}, 2, "LDAA  [D,PC]"},
        {__LINE__, {0xA6, 0xB7}, 2, "LDAA  8,SP+"},
        {__LINE__, {0xA6, 0x68}, 2, "LDAA  8,-Y"},
        {__LINE__, {0xA6, 0x78}, 2, "LDAA  8,Y-"},
        {__LINE__, {0x8F, 0x12, 0x34}, 3, "CMPS  #$1234"},
        // Branches and their targets.
        {__LINE__, {0x20, 0xFE}, 2, "BRA   $2000"},
        {__LINE__, {0x18, 0x27, 0xFF, 0xFC}, 4, "LBEQ  $2000"},
        {__LINE__, {0x04, 0x35, 0xFD}, 3, "DBNE  X,$2000"},
        {__LINE__, {0x04, 0xA7, 0x02}, 3, "IBNE  SP,$2005"},
        {__LINE__, {0x04, 0xC0, 0x00}, 3, "????  A,$2003"},
        {__LINE__, {0x04, 0x02, 0x00}, 3, "DBEQ  ????  $2003"},
        // Bit instructions: the mask in lower case.
        {__LINE__, {0x4C, 0x40, 0xAB}, 3, "BSET  <$40,#$ab"},
        {__LINE__, {0x1E, 0x12, 0x34, 0xCD, 0x10}, 5, "BRSET $1234,#$cd,$2015"},
        // Calls across pages.
        {__LINE__, {0x4A, 0x80, 0x00, 0x31}, 4, "CALL  $8000,$31"},
        {__LINE__, {0x4B, 0x00, 0x3C}, 3, "CALL  0,X,$3C"},
        {__LINE__, {0x4B, 0xE7}, 2, "CALL  [D,X]"},
        // Moves: source, comma, destination.
        {__LINE__, {0x18, 0x08, 0x31, 0x55}, 4, "MOVB  #$55,2,X+"},
        {__LINE__, {0x18, 0x01, 0x00, 0x12, 0x34}, 5, "MOVW  $1234,0,X"},
        {__LINE__, {0x18, 0x0A, 0x30, 0x70}, 4, "MOVB  1,X+,1,Y+"},
        {__LINE__, {0x18, 0x03, 0x12, 0x34, 0x56, 0x78}, 6, "MOVW  #$1234,$5678"},
        // Transfers.
        {__LINE__, {0xB7, 0x45}, 2, "TFR   D,X"},
        {__LINE__, {0xB7, 0x05}, 2, "SEX   A,X"},
        {__LINE__, {0xB7, 0x16}, 2, "SEX   B,Y"},
        {__LINE__, {0xB7, 0x81}, 2, "EXG   A,B"},
        {__LINE__, {0xB7, 0x20}, 2, "TFR   CCR,A"},
        // Not modelled.
        {__LINE__, {0x3C}, 1, "WAVR ui"},
        {__LINE__, {0x18, 0x3B}, 2, "REVW ui"},
        {__LINE__, {0x18, 0x3D, 0x00}, 3, "TBL (ui)0,X"},
        {__LINE__, {0x18, 0x12, 0x12, 0x34}, 4, "EMACS (ui)"},
        // Exceptions.
        {__LINE__, {0x3F}, 1, "SWI"},
        {__LINE__, {0x18, 0xFF}, 2, "TRAP  $FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        memory.load(0x2000, c.bytes);
        uint32_t length = 0;
        EXPECT_EQ(c.text, text_at(0x2000, &length));
        EXPECT_EQ(c.length, length);
    }
}

TEST_F(TraceTest, NoTextWithoutTraceForAnyOpcode) {
    for (int page = 0; page < 2; ++page)
        for (int code = 0; code < 256; ++code) {
            memory.bytes.fill(0);
            if (page) memory.bytes[0x2000] = 0x18;
            memory.bytes[0x2000 + page] = uint8_t(code);
            cpu.regs = {};
            cpu.regs.pc = 0x2000;
            cpu.cpu_step(0x2000, false, false);
            cpu.cpu_step(0x2000, true, false);
        }
    EXPECT_TRUE(pieces.empty());
}

TEST_F(TraceTest, ReadModifyWritePrintsItsOperandOnce) {
    EXPECT_EQ("INC   2,X+", text_of({0x62, 0x31}));
    pieces.clear();
    cpu.regs.pc = 0x2000;
    cpu.cpu_step(0x2000, true, true);
    EXPECT_EQ((std::vector<std::string>{"INC   ", "2,", "X", "+"}), pieces);
}

} // namespace
} // namespace torva
