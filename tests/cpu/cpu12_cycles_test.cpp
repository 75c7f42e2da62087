// The CPU12 cycle model: the HCS12 counts of the CPU12 reference manual by
// family and addressing mode, branches taken and not taken, interrupt entry
// and leaving WAI and STOP, and a whole program counted by hand.
#include "cpu_fixture.h"

#include <algorithm>
#include <vector>

namespace torva {
namespace {

using namespace ccr_bits;

struct Cpu12CyclesTest : test::CpuFixture {
    Cpu12CyclesTest() { cpu.set_cycle_model(CycleModel::Cpu12); }

    // X = $3000, Y = $3100, D = 2, SP = $3C80; memory zeroed, so that every
    // indirect pointer is $0000.
    uint32_t cycles_of(const std::vector<uint8_t>& program, uint8_t ccr = 0) {
        memory.bytes.fill(0);
        cpu.regs = {ccr, 0x00, 0x02, 0x3000, 0x3100, 0x3C80, 0x2000};
        cpu.cpu_waiting = false;
        run(program);
        return cycles;
    }
};

// One row per family and addressing mode, with the manual's access detail.
TEST_F(Cpu12CyclesTest, EachFamilyInEachMode) {
    struct Case {
        int line;
        std::vector<uint8_t> program;
        uint32_t cycles;
    };
    const Case cases[] = {
        {__LINE__, {0x86, 0x12}, 1},                         // LDAA #: P
        {__LINE__, {0x96, 0x40}, 3},                         // LDAA d: rPf
        {__LINE__, {0xB6, 0x30, 0x00}, 3},                   // LDAA e: rPO
        {__LINE__, {0xA6, 0x05}, 3},                         // LDAA 5,X: rPf
        {__LINE__, {0xA6, 0x30}, 3},                         // LDAA 1,X+: rPf
        {__LINE__, {0xA6, 0xE4}, 3},                         // LDAA A,X: rPf
        {__LINE__, {0xA6, 0xE0, 0x80}, 3},                   // LDAA 128,X: rPO
        {__LINE__, {0xA6, 0xE2, 0x01, 0x00}, 4},             // LDAA 256,X: frPP
        {__LINE__, {0xA6, 0xE7}, 6},                         // LDAA [D,X]: fIfrPf
        {__LINE__, {0xA6, 0xE3, 0x00, 0x10}, 6},             // LDAA [16,X]: fIPrPf
        {__LINE__, {0xCC, 0x12, 0x34}, 2},                   // LDD #: PO
        {__LINE__, {0xD3, 0x40}, 3},                         // ADDD d: RPf
        {__LINE__, {0xAE, 0xEF}, 6},                         // CPX [D,Y]: fIfRPf
        {__LINE__, {0x5A, 0x40}, 2},                         // STAA d: Pw
        {__LINE__, {0x7A, 0x30, 0x00}, 3},                   // STAA e: PwO
        {__LINE__, {0x6C, 0x00}, 2},                         // STD 0,X: PW
        {__LINE__, {0x6A, 0xE0, 0x80}, 3},                   // STAA 128,X: PwO
        {__LINE__, {0x6D, 0xE2, 0x01, 0x00}, 3},             // STY 256,X: PWP
        {__LINE__, {0x6E, 0xE7}, 5},                         // STX [D,X]: PIfW
        {__LINE__, {0x6A, 0xE3, 0x00, 0x10}, 5},             // STAA [16,X]: PIPw
        {__LINE__, {0x72, 0x30, 0x00}, 4},                   // INC e: rPwO
        {__LINE__, {0x60, 0x00}, 3},                         // NEG 0,X: rPw
        {__LINE__, {0x68, 0xE0, 0x80}, 4},                   // ASL 128,X: rPwO
        {__LINE__, {0x66, 0xE2, 0x01, 0x00}, 5},             // ROR 256,X: frPwP
        {__LINE__, {0x61, 0xE7}, 6},                         // COM [D,X]: fIfrPw
        {__LINE__, {0x79, 0x30, 0x00}, 3},                   // CLR e: PwO
        {__LINE__, {0x69, 0x00}, 2},                         // CLR 0,X: Pw
        {__LINE__, {0xF7, 0x30, 0x00}, 3},                   // TST e: rPO
        {__LINE__, {0xE7, 0x00}, 3},                         // TST 0,X: rPf
        {__LINE__, {0x42}, 1},                               // INCA: O
        {__LINE__, {0x59}, 1},                               // ASLD: O
        {__LINE__, {0x08}, 1},                               // INX: O
        {__LINE__, {0xA7}, 1},                               // NOP: O
        {__LINE__, {0xB7, 0x01}, 1},                         // TFR A,B: P
        {__LINE__, {0xB7, 0x81}, 1},                         // EXG A,B: P
        {__LINE__, {0x10, 0xFE}, 1},                         // ANDCC #: P
        {__LINE__, {0x18, 0x06}, 2},                         // ABA: OO
        {__LINE__, {0x18, 0x0E}, 2},                         // TAB: OO
        {__LINE__, {0x18, 0x07}, 3},                         // DAA: OfO
        {__LINE__, {0x06, 0x20, 0x10}, 3},                   // JMP e: PPP
        {__LINE__, {0x05, 0xE2, 0x01, 0x00}, 4},             // JMP 256,X: fPPP
        {__LINE__, {0x05, 0xE3, 0x00, 0x10}, 6},             // JMP [16,X]: fIfPPP
        {__LINE__, {0x17, 0x40}, 4},                         // JSR d: SPPP
        {__LINE__, {0x16, 0x20, 0x10}, 4},                   // JSR e: SPPP
        {__LINE__, {0x15, 0x00}, 4},                         // JSR 0,X: PPPS
        {__LINE__, {0x15, 0xE7}, 7},                         // JSR [D,X]: fIfPPPS
        {__LINE__, {0x07, 0x10}, 4},                         // BSR: SPPP
        {__LINE__, {0x3D}, 5},                               // RTS: UfPPP
        {__LINE__, {0x36}, 2},                               // PSHA: Os
        {__LINE__, {0x3B}, 2},                               // PSHD: OS
        {__LINE__, {0x32}, 3},                               // PULA: ufO
        {__LINE__, {0x30}, 3},                               // PULX: UfO
        {__LINE__, {0x1A, 0x45}, 2},                         // LEAX 5,Y: Pf
        {__LINE__, {0x1B, 0xF2, 0x01, 0x00}, 2},             // LEAS 256,SP: PP
        {__LINE__, {0x4C, 0x40, 0x01}, 4},                   // BSET d: rPwO
        {__LINE__, {0x1D, 0x30, 0x00, 0x01}, 4},             // BCLR e: rPwP
        {__LINE__, {0x0C, 0x00, 0x01}, 4},                   // BSET 0,X: rPwO
        {__LINE__, {0x0D, 0xE2, 0x01, 0x00, 0x01}, 6},       // BCLR 256,X: frPwPO
        {__LINE__, {0x4E, 0x40, 0x00, 0x10}, 4},             // BRSET d: rPPP
        {__LINE__, {0x1F, 0x30, 0x00, 0x01, 0x10}, 5},       // BRCLR e: rfPPP
        {__LINE__, {0x0E, 0xE0, 0x80, 0x00, 0x10}, 5},       // BRSET 128,X: rfPPP
        {__LINE__, {0x0F, 0xE2, 0x01, 0x00, 0xFF, 0x10}, 6}, // BRCLR 256,X: PrfPPP
        {__LINE__, {0x4A, 0x20, 0x10, 0x31}, 7},             // CALL e: gnSsPPP
        {__LINE__, {0x4B, 0x00, 0x31}, 7},                   // CALL 0,X: gnSsPPP
        {__LINE__, {0x4B, 0xE2, 0x01, 0x00, 0x31}, 8},       // CALL 256,X: fgnSsPPP
        {__LINE__, {0x4B, 0xE3, 0x00, 0x10}, 10},            // CALL [16,X]: fIignSsPPP
        {__LINE__, {0x0A}, 7},                               // RTC: uUnfPPP
        {__LINE__, {0x04, 0x35, 0xFD}, 3},                   // DBNE X: PPP
        {__LINE__, {0x18, 0x08, 0x00, 0x55}, 4},             // MOVB # -> x: OPwO
        {__LINE__, {0x18, 0x0B, 0x55, 0x31, 0x00}, 4},       // MOVB # -> e: OPwP
        {__LINE__, {0x18, 0x0C, 0x30, 0x00, 0x31, 0x00}, 6}, // MOVB e -> e: OrPwPO
        {__LINE__, {0x18, 0x0D, 0x00, 0x31, 0x00}, 5},       // MOVB x -> e: OrPwP
        {__LINE__, {0x18, 0x03, 0x12, 0x34, 0x31, 0x00}, 5}, // MOVW # -> e: OPWPO
        {__LINE__, {0x18, 0x01, 0x00, 0x30, 0x00}, 5},       // MOVW e -> x: OPRPW
        {__LINE__, {0x18, 0x02, 0x00, 0x02}, 5},             // MOVW x -> x: ORPWO
        {__LINE__, {0x12}, 1},                               // MUL: O (M68HC12: 3)
        {__LINE__, {0x13}, 3},                               // EMUL: ffO
        {__LINE__, {0x18, 0x13}, 3},                         // EMULS: OfO
        {__LINE__, {0x11}, 11},                              // EDIV: ffffffffffO
        {__LINE__, {0x18, 0x14}, 12},                        // EDIVS: OffffffffffO
        {__LINE__, {0x18, 0x10}, 12},                        // IDIV
        {__LINE__, {0x18, 0x11}, 12},                        // FDIV
        {__LINE__, {0x18, 0x15}, 12},                        // IDIVS
        {__LINE__, {0x18, 0x18, 0x00}, 4},                   // MAXA 0,X: OrPf
        {__LINE__, {0x18, 0x1D, 0xE0, 0x80}, 5},             // MINM 128,X: OrPwO
        {__LINE__, {0x18, 0x1A, 0xE2, 0x01, 0x00}, 5},       // EMAXD 256,X: OfRPP
        {__LINE__, {0x18, 0x1F, 0xE7}, 7},                   // EMINM [D,X]: OfIfRPW
        {__LINE__, {0x18, 0x3D, 0x00}, 6},                   // TBL 0,X: ORfffP (M68HC12: 8)
        {__LINE__, {0x18, 0x3F, 0x00}, 10},                  // ETBL 0,X: ORRffffffP
        {__LINE__, {0x18, 0x12, 0x30, 0x00}, 13},            // EMACS: ORROfffRRfWWP
        {__LINE__, {0x01}, 5},                               // MEM: RRfOw
        {__LINE__, {0x00}, 5},                               // BGND: VfPPP
        {__LINE__, {0x3F}, 9},                               // SWI: VSPSSPSsP
        {__LINE__, {0x18, 0x30}, 10},                        // TRAP $30: OVSPSSPSsP
        {__LINE__, {0x18, 0xFF}, 10},                        // TRAP $FF
        {__LINE__, {0x0B}, 8},                               // RTI: uUUUUPPP
        {__LINE__, {0x3E}, 7},                               // WAI: OSSSSsf
        {__LINE__, {0x18, 0x3E}, 8},                         // STOP, S clear: OOSSSSsf
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.cycles, cycles_of(c.program));
    }
}

TEST_F(Cpu12CyclesTest, BranchesTakenAndNotTaken) {
    struct Case {
        int line;
        std::vector<uint8_t> program;
        uint8_t ccr;
        bool taken;
        uint32_t cycles;
    };
    const Case cases[] = {
        {__LINE__, {0x26, 0x10}, 0, true, 3},                   // BNE: PPP
        {__LINE__, {0x26, 0x10}, Z, false, 1},                  // BNE: P
        {__LINE__, {0x20, 0x10}, 0, true, 3},                   // BRA
        {__LINE__, {0x21, 0x10}, 0, false, 1},                  // BRN
        {__LINE__, {0x18, 0x27, 0x01, 0x00}, Z, true, 4},       // LBEQ: OPPP
        {__LINE__, {0x18, 0x27, 0x01, 0x00}, 0, false, 3},      // LBEQ: OPO
        {__LINE__, {0x18, 0x20, 0x01, 0x00}, 0, true, 4},       // LBRA
        {__LINE__, {0x18, 0x21, 0x01, 0x00}, 0, false, 3},      // LBRN
        {__LINE__, {0x04, 0x35, 0xFD}, 0, true, 3},             // DBNE X (X = $3000): PPP
        {__LINE__, {0x04, 0x95, 0xFD}, 0, false, 3},            // IBEQ X: PPO
        {__LINE__, {0x0E, 0x00, 0x00, 0x10}, 0, true, 4},       // BRSET 0,X,#0: rPPP
        {__LINE__, {0x0E, 0x00, 0x01, 0x10}, 0, false, 4},      // BRSET 0,X,#1
        {__LINE__, {0x1F, 0x30, 0x00, 0x00, 0x10}, 0, true, 5}, // BRCLR e,#0: rfPPP
        {__LINE__, {0x18, 0x3E}, S, false, 2},                  // STOP with S set: OO
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.cycles, cycles_of(c.program, c.ccr));
        EXPECT_EQ(c.taken, pc_written != 0);
    }
}

// Interrupt entry costs the CPU12 its stacking and vector fetch; a CPU in
// WAI or STOP has stacked already and only fetches the vector and refills
// its queue. The classic model charges 0 and 5 for the same.
TEST_F(Cpu12CyclesTest, InterruptEntryAndLeavingWaitAndStop) {
    memory.load(0xFFF2, {0x40, 0x00});
    memory.load(0xFFF4, {0x41, 0x00});
    memory.load(0x4000, {0x0B}); // RTI
    struct Case {
        int line;
        CycleModel model;
        std::vector<uint8_t> parking; // executed first: WAI, STOP or nothing
        InterruptSource source;
        uint32_t parked_cycles;
        uint32_t entry_cycles;
    };
    constexpr InterruptSource kIrq = InterruptSource::kIrq;
    constexpr InterruptSource kXirq = InterruptSource::kXirq;
    const Case cases[] = {
        {__LINE__, CycleModel::Cpu12, {}, kIrq, 0, 9},            // VSPSSPSsP
        {__LINE__, CycleModel::Cpu12, {0x3E}, kIrq, 7, 6},        // WAI, then fVfPPP
        {__LINE__, CycleModel::Cpu12, {0x18, 0x3E}, kXirq, 8, 6}, // STOP, XIRQ wakes it
        {__LINE__, CycleModel::Classic, {}, kIrq, 0, 0},
        {__LINE__, CycleModel::Classic, {0x3E}, kIrq, 8, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        cpu.set_cycle_model(c.model);
        cpu.regs = {0x00, 1, 2, 3, 4, 0x3C80, 0x2000};
        cpu.cpu_waiting = false;
        if (!c.parking.empty()) {
            std::copy(c.parking.begin(), c.parking.end(), memory.bytes.begin() + 0x2000);
            step();
            EXPECT_EQ(c.parked_cycles, cycles);
            EXPECT_TRUE(cpu.cpu_waiting);
        }
        ASSERT_TRUE(cpu.cpu_interrupt(c.source));
        EXPECT_EQ(c.entry_cycles, cpu.ctx.cycles);
        EXPECT_FALSE(cpu.cpu_waiting);
        EXPECT_EQ(0x3C77, cpu.regs.sp); // one frame, whichever way in
    }
}

// A loop with a subroutine, summed by hand from the manual's counts:
//   LDS #$3C80 2, LDX #$3000 2, LDAB #3 1, CLRA 1                        =  6
//   each pass: ADDA 1,X+ 3, BCS not taken 1, JSR e 4,
//              PSHA 2, MOVB e->e 6, PULA 3, RTS 5, DBNE B 3              = 27
//   three passes                                                         = 81
//   STAA e 3                                                             =  3
// in all 90 cycles before the SWI (the classic model: 6 + 3 x 29 + 3 = 96).
TEST_F(Cpu12CyclesTest, AWholeProgramCountedByHand) {
    memory.load(0x2000, {
                            0xCF, 0x3C, 0x80, // $2000 LDS  #$3C80
                            0xCE, 0x30, 0x00, // $2003 LDX  #$3000
                            0xC6, 0x03,       // $2006 LDAB #3
                            0x87,             // $2008 CLRA
                            0xAB, 0x30,       // $2009 ADDA 1,X+
                            0x25, 0x10,       // $200B BCS  $201D
                            0x16, 0x20, 0x20, // $200D JSR  $2020
                            0x04, 0x31, 0xF6, // $2010 DBNE B,$2009
                            0x7A, 0x31, 0x00, // $2013 STAA $3100
                            0x3F,             // $2016 SWI
                        });
    memory.load(0x2020, {
                            0x36,                               // $2020 PSHA
                            0x18, 0x0C, 0x30, 0x00, 0x31, 0x01, // $2021 MOVB $3000,$3101
                            0x32,                               // $2027 PULA
                            0x3D,                               // $2028 RTS
                        });
    memory.load(0x3000, {0x10, 0x20, 0x30});
    for (const auto& [model, expected] :
         {std::pair{CycleModel::Cpu12, 90u}, std::pair{CycleModel::Classic, 96u}}) {
        SCOPED_TRACE(cycle_model_name(model).name);
        cpu.set_cycle_model(model);
        cpu.regs.pc = 0x2000;
        uint32_t total = 0;
        for (int guard = 0; memory.bytes[cpu.regs.pc] != 0x3F && guard < 100; ++guard) {
            step();
            total += cycles;
        }
        EXPECT_EQ(expected, total);
        EXPECT_EQ(0x60, memory.bytes[0x3100]);
    }
}

} // namespace
} // namespace torva
