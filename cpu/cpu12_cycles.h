// The CPU12 cycle model's counts as data: for every opcode of both maps the
// bus cycles the CPU12 reference manual gives the HCS12 (where the original
// M68HC12 differs, the HCS12 counts), by indexed postbyte form or by branch
// taken and not taken where the count depends on them, and the counts of
// interrupt entry and of leaving WAI or STOP.
#pragma once

#include "cpu/opcode_map.h"
#include "cpu/registers.h"

#include <array>
#include <cstdint>

namespace torva {

// What a row's count depends on.
enum class Cpu12Timing : uint8_t {
    Missing, // no row: must not survive in a finished table
    Fixed,   // n[0] always
    Indexed, // n[indexed class of the postbyte]
    Branch,  // n[0] taken, n[1] not taken
    Stop,    // n[0] when STOP stops (S clear), n[1] when S makes it a no-operation
    Prefix,  // page 1's $18: the page-2 row counts the whole instruction
};

// The manual's indexed columns, as a postbyte selects them.
enum IndexedClass : uint8_t {
    kIdx = 0,        // 5-bit offset, increment/decrement, A/B/D offset
    kIdx1 = 1,       // 9-bit offset (one extension byte)
    kIdx2 = 2,       // 16-bit offset (two extension bytes)
    kIndirectD = 3,  // [D,xysp]
    kIndirect16 = 4, // [oprx16,xysp]
};

constexpr IndexedClass indexed_class(uint8_t postbyte) {
    if ((postbyte & 0x20) == 0 || (postbyte & 0xE0) != 0xE0) return kIdx;
    switch (postbyte & 7) {
    case 0:
    case 1: return kIdx1;
    case 2: return kIdx2;
    case 3: return kIndirect16;
    case 7: return kIndirectD;
    default: return kIdx;
    }
}

inline constexpr std::array<uint8_t, 256> kIndexedClassOf = [] {
    std::array<uint8_t, 256> classes{};
    for (int pb = 0; pb < 256; ++pb)
        classes[size_t(pb)] = indexed_class(uint8_t(pb));
    return classes;
}();

struct Cpu12Cycles {
    Cpu12Timing timing = Cpu12Timing::Missing;
    std::array<uint8_t, 5> n{};
};

namespace cpu12_rows {

constexpr Cpu12Cycles fixed(uint8_t n) {
    return {Cpu12Timing::Fixed, {n}};
}
// Counts for IDX, IDX1, IDX2, [D,IDX], [IDX2].
constexpr Cpu12Cycles indexed(uint8_t idx, uint8_t idx1, uint8_t idx2, uint8_t d_indirect,
                              uint8_t indirect16) {
    return {Cpu12Timing::Indexed, {idx, idx1, idx2, d_indirect, indirect16}};
}
// The manual defines only some indexed forms for a few instructions
// (IDX alone for TBL and ETBL; no indirect forms for LEA and the bit
// instructions). The simulator decodes every postbyte for them anyway and
// charges a form the manual leaves out as a load charges it beyond its IDX
// count: nothing for a 9-bit offset, 1 for a 16-bit one, 3 for an
// indirect one.
constexpr Cpu12Cycles idx_only(uint8_t idx) {
    return indexed(idx, idx, uint8_t(idx + 1), uint8_t(idx + 3), uint8_t(idx + 3));
}
constexpr Cpu12Cycles without_indirect(uint8_t idx, uint8_t idx1, uint8_t idx2) {
    return indexed(idx, idx1, idx2, uint8_t(idx + 3), uint8_t(idx + 3));
}
constexpr Cpu12Cycles branch(uint8_t taken, uint8_t not_taken) {
    return {Cpu12Timing::Branch, {taken, not_taken}};
}

// The families' counts; the manual's access detail letters (HCS12) in the
// comments, one letter a bus cycle.
constexpr Cpu12Cycles kInherent = fixed(1);             // O
constexpr Cpu12Cycles kAccumulators = fixed(2);         // OO: ABA, SBA, CBA, TAB, TBA
constexpr Cpu12Cycles kImmediate8 = fixed(1);           // P
constexpr Cpu12Cycles kImmediate16 = fixed(2);          // PO
constexpr Cpu12Cycles kRead = fixed(3);                 // rPf (direct), rPO (extended); R for words
constexpr Cpu12Cycles kReadX = indexed(3, 3, 4, 6, 6);  // rPf rPO frPP fIfrPf fIPrPf
constexpr Cpu12Cycles kStoreDirect = fixed(2);          // Pw
constexpr Cpu12Cycles kStoreExtended = fixed(3);        // PwO
constexpr Cpu12Cycles kStoreX = indexed(2, 3, 3, 5, 5); // Pw PwO PwP PIfw PIPw (CLR alike)
constexpr Cpu12Cycles kModifyExtended = fixed(4);       // rPwO
constexpr Cpu12Cycles kModifyX = indexed(3, 4, 5, 6, 6);         // rPw rPwO frPwP fIfrPw fIPrPw
constexpr Cpu12Cycles kBranch = branch(3, 1);                    // PPP / P
constexpr Cpu12Cycles kLongBranch = branch(4, 3);                // OPPP / OPO
constexpr Cpu12Cycles kLoop = fixed(3);                          // PPP / PPO: taken or not
constexpr Cpu12Cycles kPush = fixed(2);                          // Os, OS
constexpr Cpu12Cycles kPull = fixed(3);                          // ufO, UfO
constexpr Cpu12Cycles kJumpX = indexed(3, 3, 4, 6, 6);           // PPP PPP fPPP fIfPPP fIfPPP
constexpr Cpu12Cycles kSubroutineX = indexed(4, 4, 5, 7, 7);     // PPPS PPPS fPPPS fIfPPPS
constexpr Cpu12Cycles kLoadAddressX = without_indirect(2, 2, 2); // Pf PO PP
constexpr Cpu12Cycles kBitsX = without_indirect(4, 4, 6);        // rPwO rPwP frPwPO
constexpr Cpu12Cycles kBranchBitsX = without_indirect(4, 5, 6);  // rPPP rfPPP PrfPPP
constexpr Cpu12Cycles kMinMaxX = indexed(4, 4, 5, 7, 7);         // OrPf OrPO OfrPP OfIfrPf OfIPrPf
constexpr Cpu12Cycles kMinMaxToMemoryX = indexed(4, 5, 6, 7, 7); // OrPw OrPwO OfrPwP OfIfrPw
constexpr Cpu12Cycles kTrap = fixed(10);                         // OVSPSSPSsP (M68HC12: 11)

struct Row {
    uint8_t code;
    Cpu12Cycles cycles;
};

// clang-format off
constexpr Row kPage1Rows[] = {
    {0x00, fixed(5)},          // BGND: VfPPP
    {0x01, fixed(5)},          // MEM: RRfOw
    {0x02, kInherent},         // INY
    {0x03, kInherent},         // DEY
    {0x04, kLoop},             // DBEQ ... IBNE
    {0x05, kJumpX},            // JMP x
    {0x06, fixed(3)},          // JMP e: PPP
    {0x07, fixed(4)},          // BSR: SPPP
    {0x08, kInherent},         // INX
    {0x09, kInherent},         // DEX
    {0x0A, fixed(7)},          // RTC: uUnfPPP (M68HC12: 6)
    {0x0B, fixed(8)},          // RTI: uUUUUPPP
    {0x0C, kBitsX},            // BSET x
    {0x0D, kBitsX},            // BCLR x
    {0x0E, kBranchBitsX},      // BRSET x (M68HC12: 4 6 8)
    {0x0F, kBranchBitsX},      // BRCLR x
    {0x10, kImmediate8},       // ANDCC #
    {0x11, fixed(11)},         // EDIV: ffffffffffO
    {0x12, fixed(1)},          // MUL: O (M68HC12: ffO, 3)
    {0x13, fixed(3)},          // EMUL: ffO
    {0x14, kImmediate8},       // ORCC #
    {0x15, kSubroutineX},      // JSR x
    {0x16, fixed(4)},          // JSR e: SPPP
    {0x17, fixed(4)},          // JSR d: SPPP
    {0x18, {Cpu12Timing::Prefix, {}}}, // page 2
    {0x19, kLoadAddressX},     // LEAY
    {0x1A, kLoadAddressX},     // LEAX
    {0x1B, kLoadAddressX},     // LEAS
    {0x1C, fixed(4)},          // BSET e: rPwP
    {0x1D, fixed(4)},          // BCLR e
    {0x1E, fixed(5)},          // BRSET e: rfPPP
    {0x1F, fixed(5)},          // BRCLR e
    {0x20, kBranch}, {0x21, kBranch}, {0x22, kBranch}, {0x23, kBranch}, // BRA BRN BHI BLS
    {0x24, kBranch}, {0x25, kBranch}, {0x26, kBranch}, {0x27, kBranch}, // BCC BCS BNE BEQ
    {0x28, kBranch}, {0x29, kBranch}, {0x2A, kBranch}, {0x2B, kBranch}, // BVC BVS BPL BMI
    {0x2C, kBranch}, {0x2D, kBranch}, {0x2E, kBranch}, {0x2F, kBranch}, // BGE BLT BGT BLE
    {0x30, kPull},             // PULX
    {0x31, kPull},             // PULY
    {0x32, kPull},             // PULA
    {0x33, kPull},             // PULB
    {0x34, kPush},             // PSHX
    {0x35, kPush},             // PSHY
    {0x36, kPush},             // PSHA
    {0x37, kPush},             // PSHB
    {0x38, kPull},             // PULC
    {0x39, kPush},             // PSHC
    {0x3A, kPull},             // PULD
    {0x3B, kPush},             // PSHD
    {0x3C, fixed(3)},          // WAVR (not performed: the fixed part only)
    {0x3D, fixed(5)},          // RTS: UfPPP
    {0x3E, fixed(7)},          // WAI: OSSSSsf, then fVfPPP when an interrupt comes
    {0x3F, fixed(9)},          // SWI: VSPSSPSsP
    {0x40, kInherent}, {0x41, kInherent}, {0x42, kInherent}, {0x43, kInherent}, // NEGA COMA INCA DECA
    {0x44, kInherent}, {0x45, kInherent}, {0x46, kInherent}, {0x47, kInherent}, // LSRA ROLA RORA ASRA
    {0x48, kInherent},         // ASLA
    {0x49, kInherent},         // LSRD
    {0x4A, fixed(7)},          // CALL e: gnSsPPP (M68HC12: 8)
    {0x4B, indexed(7, 7, 8, 10, 10)}, // CALL x: gnSsPPP fgnSsPPP fIignSsPPP
    {0x4C, fixed(4)},          // BSET d: rPwO
    {0x4D, fixed(4)},          // BCLR d
    {0x4E, fixed(4)},          // BRSET d: rPPP
    {0x4F, fixed(4)},          // BRCLR d
    {0x50, kInherent}, {0x51, kInherent}, {0x52, kInherent}, {0x53, kInherent}, // NEGB COMB INCB DECB
    {0x54, kInherent}, {0x55, kInherent}, {0x56, kInherent}, {0x57, kInherent}, // LSRB ROLB RORB ASRB
    {0x58, kInherent},         // ASLB
    {0x59, kInherent},         // ASLD
    {0x5A, kStoreDirect}, {0x5B, kStoreDirect}, {0x5C, kStoreDirect},   // STAA STAB STD d
    {0x5D, kStoreDirect}, {0x5E, kStoreDirect}, {0x5F, kStoreDirect},   // STY STX STS d
    {0x60, kModifyX}, {0x61, kModifyX}, {0x62, kModifyX}, {0x63, kModifyX}, // NEG COM INC DEC x
    {0x64, kModifyX}, {0x65, kModifyX}, {0x66, kModifyX}, {0x67, kModifyX}, // LSR ROL ROR ASR x
    {0x68, kModifyX},          // ASL x
    {0x69, kStoreX},           // CLR x
    {0x6A, kStoreX}, {0x6B, kStoreX}, {0x6C, kStoreX},                  // STAA STAB STD x
    {0x6D, kStoreX}, {0x6E, kStoreX}, {0x6F, kStoreX},                  // STY STX STS x
    {0x70, kModifyExtended}, {0x71, kModifyExtended}, {0x72, kModifyExtended}, // NEG COM INC e
    {0x73, kModifyExtended}, {0x74, kModifyExtended}, {0x75, kModifyExtended}, // DEC LSR ROL e
    {0x76, kModifyExtended}, {0x77, kModifyExtended}, {0x78, kModifyExtended}, // ROR ASR ASL e
    {0x79, kStoreExtended},    // CLR e: PwO
    {0x7A, kStoreExtended}, {0x7B, kStoreExtended}, {0x7C, kStoreExtended}, // STAA STAB STD e
    {0x7D, kStoreExtended}, {0x7E, kStoreExtended}, {0x7F, kStoreExtended}, // STY STX STS e
    {0x80, kImmediate8}, {0x81, kImmediate8}, {0x82, kImmediate8},      // SUBA CMPA SBCA #
    {0x83, kImmediate16},      // SUBD #
    {0x84, kImmediate8}, {0x85, kImmediate8}, {0x86, kImmediate8},      // ANDA BITA LDAA #
    {0x87, kInherent},         // CLRA
    {0x88, kImmediate8}, {0x89, kImmediate8}, {0x8A, kImmediate8}, {0x8B, kImmediate8}, // EORA ADCA ORAA ADDA #
    {0x8C, kImmediate16}, {0x8D, kImmediate16}, {0x8E, kImmediate16}, {0x8F, kImmediate16}, // CPD CPY CPX CPS #
    {0x90, kRead}, {0x91, kRead}, {0x92, kRead}, {0x93, kRead},         // SUBA CMPA SBCA SUBD d
    {0x94, kRead}, {0x95, kRead}, {0x96, kRead},                        // ANDA BITA LDAA d
    {0x97, kInherent},         // TSTA
    {0x98, kRead}, {0x99, kRead}, {0x9A, kRead}, {0x9B, kRead},         // EORA ADCA ORAA ADDA d
    {0x9C, kRead}, {0x9D, kRead}, {0x9E, kRead}, {0x9F, kRead},         // CPD CPY CPX CPS d
    {0xA0, kReadX}, {0xA1, kReadX}, {0xA2, kReadX}, {0xA3, kReadX},     // SUBA CMPA SBCA SUBD x
    {0xA4, kReadX}, {0xA5, kReadX}, {0xA6, kReadX},                     // ANDA BITA LDAA x
    {0xA7, kInherent},         // NOP
    {0xA8, kReadX}, {0xA9, kReadX}, {0xAA, kReadX}, {0xAB, kReadX},     // EORA ADCA ORAA ADDA x
    {0xAC, kReadX}, {0xAD, kReadX}, {0xAE, kReadX}, {0xAF, kReadX},     // CPD CPY CPX CPS x
    {0xB0, kRead}, {0xB1, kRead}, {0xB2, kRead}, {0xB3, kRead},         // SUBA CMPA SBCA SUBD e
    {0xB4, kRead}, {0xB5, kRead}, {0xB6, kRead},                        // ANDA BITA LDAA e
    {0xB7, kImmediate8},       // TFR, EXG, SEX: P
    {0xB8, kRead}, {0xB9, kRead}, {0xBA, kRead}, {0xBB, kRead},         // EORA ADCA ORAA ADDA e
    {0xBC, kRead}, {0xBD, kRead}, {0xBE, kRead}, {0xBF, kRead},         // CPD CPY CPX CPS e
    {0xC0, kImmediate8}, {0xC1, kImmediate8}, {0xC2, kImmediate8},      // SUBB CMPB SBCB #
    {0xC3, kImmediate16},      // ADDD #
    {0xC4, kImmediate8}, {0xC5, kImmediate8}, {0xC6, kImmediate8},      // ANDB BITB LDAB #
    {0xC7, kInherent},         // CLRB
    {0xC8, kImmediate8}, {0xC9, kImmediate8}, {0xCA, kImmediate8}, {0xCB, kImmediate8}, // EORB ADCB ORAB ADDB #
    {0xCC, kImmediate16}, {0xCD, kImmediate16}, {0xCE, kImmediate16}, {0xCF, kImmediate16}, // LDD LDY LDX LDS #
    {0xD0, kRead}, {0xD1, kRead}, {0xD2, kRead}, {0xD3, kRead},         // SUBB CMPB SBCB ADDD d
    {0xD4, kRead}, {0xD5, kRead}, {0xD6, kRead},                        // ANDB BITB LDAB d
    {0xD7, kInherent},         // TSTB
    {0xD8, kRead}, {0xD9, kRead}, {0xDA, kRead}, {0xDB, kRead},         // EORB ADCB ORAB ADDB d
    {0xDC, kRead}, {0xDD, kRead}, {0xDE, kRead}, {0xDF, kRead},         // LDD LDY LDX LDS d
    {0xE0, kReadX}, {0xE1, kReadX}, {0xE2, kReadX}, {0xE3, kReadX},     // SUBB CMPB SBCB ADDD x
    {0xE4, kReadX}, {0xE5, kReadX}, {0xE6, kReadX},                     // ANDB BITB LDAB x
    {0xE7, kReadX},            // TST x
    {0xE8, kReadX}, {0xE9, kReadX}, {0xEA, kReadX}, {0xEB, kReadX},     // EORB ADCB ORAB ADDB x
    {0xEC, kReadX}, {0xED, kReadX}, {0xEE, kReadX}, {0xEF, kReadX},     // LDD LDY LDX LDS x
    {0xF0, kRead}, {0xF1, kRead}, {0xF2, kRead}, {0xF3, kRead},         // SUBB CMPB SBCB ADDD e
    {0xF4, kRead}, {0xF5, kRead}, {0xF6, kRead},                        // ANDB BITB LDAB e
    {0xF7, kRead},             // TST e: rPO
    {0xF8, kRead}, {0xF9, kRead}, {0xFA, kRead}, {0xFB, kRead},         // EORB ADCB ORAB ADDB e
    {0xFC, kRead}, {0xFD, kRead}, {0xFE, kRead}, {0xFF, kRead},         // LDD LDY LDX LDS e
};

// The counts include the $18 prefix. $18 $30-$39 and $18 $40-$FF are TRAP,
// filled in by range below. MOVB and MOVW count by their form alone: the
// HCS12 takes only IDX postbytes there (the others are HCS12X forms).
constexpr Row kPage2Rows[] = {
    {0x00, fixed(4)},          // MOVW # -> x: OPPW
    {0x01, fixed(5)},          // MOVW e -> x: OPRPW
    {0x02, fixed(5)},          // MOVW x -> x: ORPWO
    {0x03, fixed(5)},          // MOVW # -> e: OPWPO
    {0x04, fixed(6)},          // MOVW e -> e: ORPWPO
    {0x05, fixed(5)},          // MOVW x -> e: ORPWP
    {0x06, kAccumulators},     // ABA
    {0x07, fixed(3)},          // DAA: OfO
    {0x08, fixed(4)},          // MOVB # -> x: OPwO
    {0x09, fixed(5)},          // MOVB e -> x: OPrPw
    {0x0A, fixed(5)},          // MOVB x -> x: OrPwO
    {0x0B, fixed(4)},          // MOVB # -> e: OPwP
    {0x0C, fixed(6)},          // MOVB e -> e: OrPwPO
    {0x0D, fixed(5)},          // MOVB x -> e: OrPwP
    {0x0E, kAccumulators},     // TAB
    {0x0F, kAccumulators},     // TBA
    {0x10, fixed(12)},         // IDIV: OffffffffffO
    {0x11, fixed(12)},         // FDIV: OffffffffffO
    {0x12, fixed(13)},         // EMACS: ORROfffRRfWWP
    {0x13, fixed(3)},          // EMULS: OfO (4 when a page-2 instruction follows)
    {0x14, fixed(12)},         // EDIVS: OffffffffffO
    {0x15, fixed(12)},         // IDIVS: OffffffffffO
    {0x16, kAccumulators},     // SBA
    {0x17, kAccumulators},     // CBA
    {0x18, kMinMaxX},          // MAXA
    {0x19, kMinMaxX},          // MINA
    {0x1A, kMinMaxX},          // EMAXD: ORPf ORPO OfRPP OfIfRPf OfIPRPf
    {0x1B, kMinMaxX},          // EMIND
    {0x1C, kMinMaxToMemoryX},  // MAXM
    {0x1D, kMinMaxToMemoryX},  // MINM
    {0x1E, kMinMaxToMemoryX},  // EMAXM: ORPW ORPWO OfRPWP OfIfRPW OfIPRPW
    {0x1F, kMinMaxToMemoryX},  // EMINM
    {0x20, kLongBranch}, {0x21, kLongBranch}, {0x22, kLongBranch}, {0x23, kLongBranch}, // LBRA LBRN LBHI LBLS
    {0x24, kLongBranch}, {0x25, kLongBranch}, {0x26, kLongBranch}, {0x27, kLongBranch}, // LBCC LBCS LBNE LBEQ
    {0x28, kLongBranch}, {0x29, kLongBranch}, {0x2A, kLongBranch}, {0x2B, kLongBranch}, // LBVC LBVS LBPL LBMI
    {0x2C, kLongBranch}, {0x2D, kLongBranch}, {0x2E, kLongBranch}, {0x2F, kLongBranch}, // LBGE LBLT LBGT LBLE
    // Fuzzy logic, not performed: the fixed part of the count, without
    // the per-rule or per-element loop.
    {0x3A, fixed(4)},          // REV: Orf(t^tx)O
    {0x3B, fixed(4)},          // REVW: ORf(t^Tx)O
    {0x3C, fixed(3)},          // WAV: Of(frr^ffff)O
    {0x3D, idx_only(6)},       // TBL: ORfffP (M68HC12: 8)
    {0x3E, {Cpu12Timing::Stop, {8, 2}}}, // STOP: OOSSSSsf, then fVfPPP; OO with S set
    {0x3F, idx_only(10)},      // ETBL: ORRffffffP
};
// clang-format on

using Table = CodeTable<Cpu12Cycles>;

constexpr Table build(const auto& rows, bool with_traps) {
    return table_by_code<Cpu12Cycles>(rows, with_traps ? &kTrap : nullptr,
                                      [](const Row& row) { return row.cycles; });
}

// Every code has exactly one row, of the kind its opcode map row needs:
// indexed counts for an indexed operand, a taken and a not-taken count for
// a conditional branch, the prefix only at $18; and no count is zero.
constexpr bool matches(const Table& table, const std::array<OpcodeEntry, 256>& map) {
    if (table.duplicate) return false;
    for (size_t code = 0; code < 256; ++code) {
        const Cpu12Cycles& c = table.entries[code];
        const OpcodeEntry& e = map[code];
        Cpu12Timing wanted = Cpu12Timing::Fixed;
        if (e.family == Family::Page2)
            wanted = Cpu12Timing::Prefix;
        else if (e.family == Family::Branch || e.family == Family::LongBranch)
            wanted = Cpu12Timing::Branch;
        else if (e.family == Family::Stop)
            wanted = Cpu12Timing::Stop;
        else if (e.mode == AddrMode::Indexed)
            wanted = Cpu12Timing::Indexed;
        if (c.timing != wanted) return false;
        const size_t used = wanted == Cpu12Timing::Prefix    ? 0
                            : wanted == Cpu12Timing::Fixed   ? 1
                            : wanted == Cpu12Timing::Indexed ? 5
                                                             : 2;
        for (size_t i = 0; i < used; ++i)
            if (c.n[i] == 0) return false;
    }
    return true;
}

inline constexpr Table kPage1 = build(kPage1Rows, false);
inline constexpr Table kPage2 = build(kPage2Rows, true);
static_assert(matches(kPage1, kPage1Map), "every page-1 code has one CPU12 count of its kind");
static_assert(matches(kPage2, kPage2Map), "every page-2 code has one CPU12 count of its kind");

} // namespace cpu12_rows

inline constexpr const std::array<Cpu12Cycles, 256>& kCpu12Page1 = cpu12_rows::kPage1.entries;
inline constexpr const std::array<Cpu12Cycles, 256>& kCpu12Page2 = cpu12_rows::kPage2.entries;

// Interrupt entry, the breakpoint module's SWI alike: VSPSSPSsP.
inline constexpr uint32_t kCpu12InterruptEntry = 9;
// A CPU waiting in WAI or STOP takes an interrupt: fVfPPP (its frame is
// already on the stack).
inline constexpr uint32_t kCpu12WaitExit = 6;

// The CPU12 count of the instruction a step has just executed, from its row
// and what the step left: the last indexed postbyte, whether it transferred
// control, and the CCR (STOP's S bit).
template <bool kPage2, uint8_t kCode>
[[gnu::always_inline]] inline uint32_t cpu12_cycles(const StepContext& ctx, uint8_t ccr) {
    constexpr const Cpu12Cycles& c = kPage2 ? kCpu12Page2[kCode] : kCpu12Page1[kCode];
    if constexpr (c.timing == Cpu12Timing::Indexed)
        return c.n[kIndexedClassOf[ctx.postbyte]];
    else if constexpr (c.timing == Cpu12Timing::Branch)
        return ctx.pc_written != 0 ? c.n[0] : c.n[1];
    else if constexpr (c.timing == Cpu12Timing::Stop)
        return (ccr & ccr_bits::S) == 0 ? c.n[0] : c.n[1];
    else
        return c.n[0];
}

} // namespace torva
