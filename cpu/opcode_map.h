// The page-1 and page-2 opcode maps as data: for every code the handler
// family, its addressing mode, the register it works on, the family's
// operation parameter and the mnemonic the trace prints.
#pragma once

#include <array>
#include <cstdint>

namespace torva {

// Addressing-mode codes handed to the operand decoder; Rel marks the
// relative branches, None the inherent instructions.
enum class AddrMode : uint8_t { None, Immediate, Direct, Extended, Indexed, Relative };

// The register a row works on, numbered as in the transfer postbytes.
enum class Reg : uint8_t { A = 0, B = 1, CCR = 2, D = 4, X = 5, Y = 6, SP = 7, None = 8 };

// Two-operand operations of the Alu8 and Alu16 families.
enum class AluKind : uint8_t { Add, Adc, Sub, Sbc, Cmp, And, Bit, Or, Eor };

// One-operand operations of the Unary (register) and UnaryMem families.
enum class UnaryOp : uint8_t { Neg, Com, Inc, Dec, Lsr, Rol, Ror, Asr, Asl, Clr, Tst };

enum class Family : uint8_t {
    Missing, // no row: must not survive in a finished map
    Load,
    Store,
    Alu8,
    Alu16,
    Unary,
    UnaryMem,
    Lea,
    IncDec16,
    Tab,
    Tba,
    Aba,
    Sba,
    Cba,
    Asld,
    Lsrd,
    Andcc,
    Orcc,
    Daa,
    Mul,
    Emul,
    Emuls,
    Ediv,
    Edivs,
    Idiv,
    Idivs,
    Fdiv,
    MinMax,
    Branch,
    LongBranch,
    Bsr,
    Jsr,
    Jmp,
    Rts,
    Call,
    Rtc,
    Loop,
    Bset,
    Bclr,
    Brset,
    Brclr,
    Move,
    Transfer,
    Push,
    Pull,
    Swi,
    Trap,
    Rti,
    Wai,
    Stop,
    Nop,
    Idle,
    Marker,
    Table,
    Emacs,
    Page2,
};

// param: the AluKind or UnaryOp; the branch condition (low nibble of the
// opcode); the move form (0 #->x, 1 e->x, 2 x->x, 3 #->e, 4 e->e, 5 x->e);
// the MIN/MAX flags (bit 0 take the larger, bit 1 word, bit 2 result to
// memory); 1 for an increment of INX/INY. For Move and MinMax, reg is A for
// a byte and D for a word operand.
struct OpcodeEntry {
    Family family = Family::Missing;
    AddrMode mode = AddrMode::None;
    Reg reg = Reg::None;
    uint8_t param = 0;
    const char* mnemonic = "";
};

namespace opcode_rows {

struct Row {
    uint8_t code;
    Family family;
    AddrMode mode;
    Reg reg;
    uint8_t param;
    const char* mnemonic;
};

using F = Family;
using R = Reg;
using K = AluKind;
using U = UnaryOp;
struct M {
    static constexpr AddrMode None = AddrMode::None, Imm = AddrMode::Immediate,
                              Dir = AddrMode::Direct, Ext = AddrMode::Extended,
                              Idx = AddrMode::Indexed, Rel = AddrMode::Relative;
};

// clang-format off
constexpr Row kPage1Rows[] = {
    {0x00, F::Idle, M::None, R::None, 0, "BGND"},
    {0x01, F::Idle, M::None, R::None, 0, "MEM"},
    {0x02, F::IncDec16, M::None, R::Y, 1, "INY"},
    {0x03, F::IncDec16, M::None, R::Y, 0, "DEY"},
    {0x04, F::Loop, M::None, R::None, 0, "DBEQ"},
    {0x05, F::Jmp, M::Idx, R::None, 0, "JMP"},
    {0x06, F::Jmp, M::Ext, R::None, 0, "JMP"},
    {0x07, F::Bsr, M::Rel, R::None, 0, "BSR"},
    {0x08, F::IncDec16, M::None, R::X, 1, "INX"},
    {0x09, F::IncDec16, M::None, R::X, 0, "DEX"},
    {0x0A, F::Rtc, M::None, R::None, 0, "RTC"},
    {0x0B, F::Rti, M::None, R::None, 0, "RTI"},
    {0x0C, F::Bset, M::Idx, R::None, 0, "BSET"},
    {0x0D, F::Bclr, M::Idx, R::None, 0, "BCLR"},
    {0x0E, F::Brset, M::Idx, R::None, 0, "BRSET"},
    {0x0F, F::Brclr, M::Idx, R::None, 0, "BRCLR"},
    {0x10, F::Andcc, M::Imm, R::None, 0, "ANDCC"},
    {0x11, F::Ediv, M::None, R::None, 0, "EDIV"},
    {0x12, F::Mul, M::None, R::None, 0, "MUL"},
    {0x13, F::Emul, M::None, R::None, 0, "EMUL"},
    {0x14, F::Orcc, M::Imm, R::None, 0, "ORCC"},
    {0x15, F::Jsr, M::Idx, R::None, 0, "JSR"},
    {0x16, F::Jsr, M::Ext, R::None, 0, "JSR"},
    {0x17, F::Jsr, M::Dir, R::None, 0, "JSR"},
    {0x18, F::Page2, M::None, R::None, 0, ""},
    {0x19, F::Lea, M::Idx, R::Y, 0, "LEAY"},
    {0x1A, F::Lea, M::Idx, R::X, 0, "LEAX"},
    {0x1B, F::Lea, M::Idx, R::SP, 0, "LEAS"},
    {0x1C, F::Bset, M::Ext, R::None, 0, "BSET"},
    {0x1D, F::Bclr, M::Ext, R::None, 0, "BCLR"},
    {0x1E, F::Brset, M::Ext, R::None, 0, "BRSET"},
    {0x1F, F::Brclr, M::Ext, R::None, 0, "BRCLR"},
    {0x20, F::Branch, M::Rel, R::None, 0, "BRA"},
    {0x21, F::Branch, M::Rel, R::None, 1, "BRN"},
    {0x22, F::Branch, M::Rel, R::None, 2, "BHI"},
    {0x23, F::Branch, M::Rel, R::None, 3, "BLS"},
    {0x24, F::Branch, M::Rel, R::None, 4, "BCC"},
    {0x25, F::Branch, M::Rel, R::None, 5, "BCS"},
    {0x26, F::Branch, M::Rel, R::None, 6, "BNE"},
    {0x27, F::Branch, M::Rel, R::None, 7, "BEQ"},
    {0x28, F::Branch, M::Rel, R::None, 8, "BVC"},
    {0x29, F::Branch, M::Rel, R::None, 9, "BVS"},
    {0x2A, F::Branch, M::Rel, R::None, 10, "BPL"},
    {0x2B, F::Branch, M::Rel, R::None, 11, "BMI"},
    {0x2C, F::Branch, M::Rel, R::None, 12, "BGE"},
    {0x2D, F::Branch, M::Rel, R::None, 13, "BLT"},
    {0x2E, F::Branch, M::Rel, R::None, 14, "BGT"},
    {0x2F, F::Branch, M::Rel, R::None, 15, "BLE"},
    {0x30, F::Pull, M::None, R::X, 0, "PULX"},
    {0x31, F::Pull, M::None, R::Y, 0, "PULY"},
    {0x32, F::Pull, M::None, R::A, 0, "PULA"},
    {0x33, F::Pull, M::None, R::B, 0, "PULB"},
    {0x34, F::Push, M::None, R::X, 0, "PSHX"},
    {0x35, F::Push, M::None, R::Y, 0, "PSHY"},
    {0x36, F::Push, M::None, R::A, 0, "PSHA"},
    {0x37, F::Push, M::None, R::B, 0, "PSHB"},
    {0x38, F::Pull, M::None, R::CCR, 0, "PULC"},
    {0x39, F::Push, M::None, R::CCR, 0, "PSHC"},
    {0x3A, F::Pull, M::None, R::D, 0, "PULD"},
    {0x3B, F::Push, M::None, R::D, 0, "PSHD"},
    {0x3C, F::Marker, M::None, R::None, 0, "WAVR"},
    {0x3D, F::Rts, M::None, R::None, 0, "RTS"},
    {0x3E, F::Wai, M::None, R::None, 0, "WAI"},
    {0x3F, F::Swi, M::None, R::None, 0, "SWI"},
    {0x40, F::Unary, M::None, R::A, uint8_t(U::Neg), "NEGA"},
    {0x41, F::Unary, M::None, R::A, uint8_t(U::Com), "COMA"},
    {0x42, F::Unary, M::None, R::A, uint8_t(U::Inc), "INCA"},
    {0x43, F::Unary, M::None, R::A, uint8_t(U::Dec), "DECA"},
    {0x44, F::Unary, M::None, R::A, uint8_t(U::Lsr), "LSRA"},
    {0x45, F::Unary, M::None, R::A, uint8_t(U::Rol), "ROLA"},
    {0x46, F::Unary, M::None, R::A, uint8_t(U::Ror), "RORA"},
    {0x47, F::Unary, M::None, R::A, uint8_t(U::Asr), "ASRA"},
    {0x48, F::Unary, M::None, R::A, uint8_t(U::Asl), "ASLA"},
    {0x49, F::Lsrd, M::None, R::D, 0, "LSRD"},
    {0x4A, F::Call, M::Ext, R::None, 0, "CALL"},
    {0x4B, F::Call, M::Idx, R::None, 0, "CALL"},
    {0x4C, F::Bset, M::Dir, R::None, 0, "BSET"},
    {0x4D, F::Bclr, M::Dir, R::None, 0, "BCLR"},
    {0x4E, F::Brset, M::Dir, R::None, 0, "BRSET"},
    {0x4F, F::Brclr, M::Dir, R::None, 0, "BRCLR"},
    {0x50, F::Unary, M::None, R::B, uint8_t(U::Neg), "NEGB"},
    {0x51, F::Unary, M::None, R::B, uint8_t(U::Com), "COMB"},
    {0x52, F::Unary, M::None, R::B, uint8_t(U::Inc), "INCB"},
    {0x53, F::Unary, M::None, R::B, uint8_t(U::Dec), "DECB"},
    {0x54, F::Unary, M::None, R::B, uint8_t(U::Lsr), "LSRB"},
    {0x55, F::Unary, M::None, R::B, uint8_t(U::Rol), "ROLB"},
    {0x56, F::Unary, M::None, R::B, uint8_t(U::Ror), "RORB"},
    {0x57, F::Unary, M::None, R::B, uint8_t(U::Asr), "ASRB"},
    {0x58, F::Unary, M::None, R::B, uint8_t(U::Asl), "ASLB"},
    {0x59, F::Asld, M::None, R::D, 0, "ASLD"},
    {0x5A, F::Store, M::Dir, R::A, 0, "STAA"},
    {0x5B, F::Store, M::Dir, R::B, 0, "STAB"},
    {0x5C, F::Store, M::Dir, R::D, 0, "STD"},
    {0x5D, F::Store, M::Dir, R::Y, 0, "STY"},
    {0x5E, F::Store, M::Dir, R::X, 0, "STX"},
    {0x5F, F::Store, M::Dir, R::SP, 0, "STS"},
    {0x60, F::UnaryMem, M::Idx, R::None, uint8_t(U::Neg), "NEG"},
    {0x61, F::UnaryMem, M::Idx, R::None, uint8_t(U::Com), "COM"},
    {0x62, F::UnaryMem, M::Idx, R::None, uint8_t(U::Inc), "INC"},
    {0x63, F::UnaryMem, M::Idx, R::None, uint8_t(U::Dec), "DEC"},
    {0x64, F::UnaryMem, M::Idx, R::None, uint8_t(U::Lsr), "LSR"},
    {0x65, F::UnaryMem, M::Idx, R::None, uint8_t(U::Rol), "ROL"},
    {0x66, F::UnaryMem, M::Idx, R::None, uint8_t(U::Ror), "ROR"},
    {0x67, F::UnaryMem, M::Idx, R::None, uint8_t(U::Asr), "ASR"},
    {0x68, F::UnaryMem, M::Idx, R::None, uint8_t(U::Asl), "ASL"},
    {0x69, F::UnaryMem, M::Idx, R::None, uint8_t(U::Clr), "CLR"},
    {0x6A, F::Store, M::Idx, R::A, 0, "STAA"},
    {0x6B, F::Store, M::Idx, R::B, 0, "STAB"},
    {0x6C, F::Store, M::Idx, R::D, 0, "STD"},
    {0x6D, F::Store, M::Idx, R::Y, 0, "STY"},
    {0x6E, F::Store, M::Idx, R::X, 0, "STX"},
    {0x6F, F::Store, M::Idx, R::SP, 0, "STS"},
    {0x70, F::UnaryMem, M::Ext, R::None, uint8_t(U::Neg), "NEG"},
    {0x71, F::UnaryMem, M::Ext, R::None, uint8_t(U::Com), "COM"},
    {0x72, F::UnaryMem, M::Ext, R::None, uint8_t(U::Inc), "INC"},
    {0x73, F::UnaryMem, M::Ext, R::None, uint8_t(U::Dec), "DEC"},
    {0x74, F::UnaryMem, M::Ext, R::None, uint8_t(U::Lsr), "LSR"},
    {0x75, F::UnaryMem, M::Ext, R::None, uint8_t(U::Rol), "ROL"},
    {0x76, F::UnaryMem, M::Ext, R::None, uint8_t(U::Ror), "ROR"},
    {0x77, F::UnaryMem, M::Ext, R::None, uint8_t(U::Asr), "ASR"},
    {0x78, F::UnaryMem, M::Ext, R::None, uint8_t(U::Asl), "ASL"},
    {0x79, F::UnaryMem, M::Ext, R::None, uint8_t(U::Clr), "CLR"},
    {0x7A, F::Store, M::Ext, R::A, 0, "STAA"},
    {0x7B, F::Store, M::Ext, R::B, 0, "STAB"},
    {0x7C, F::Store, M::Ext, R::D, 0, "STD"},
    {0x7D, F::Store, M::Ext, R::Y, 0, "STY"},
    {0x7E, F::Store, M::Ext, R::X, 0, "STX"},
    {0x7F, F::Store, M::Ext, R::SP, 0, "STS"},
    {0x80, F::Alu8, M::Imm, R::A, uint8_t(K::Sub), "SUBA"},
    {0x81, F::Alu8, M::Imm, R::A, uint8_t(K::Cmp), "CMPA"},
    {0x82, F::Alu8, M::Imm, R::A, uint8_t(K::Sbc), "SBCA"},
    {0x83, F::Alu16, M::Imm, R::D, uint8_t(K::Sub), "SUBD"},
    {0x84, F::Alu8, M::Imm, R::A, uint8_t(K::And), "ANDA"},
    {0x85, F::Alu8, M::Imm, R::A, uint8_t(K::Bit), "BITA"},
    {0x86, F::Load, M::Imm, R::A, 0, "LDAA"},
    {0x87, F::Unary, M::None, R::A, uint8_t(U::Clr), "CLRA"},
    {0x88, F::Alu8, M::Imm, R::A, uint8_t(K::Eor), "EORA"},
    {0x89, F::Alu8, M::Imm, R::A, uint8_t(K::Adc), "ADCA"},
    {0x8A, F::Alu8, M::Imm, R::A, uint8_t(K::Or), "ORAA"},
    {0x8B, F::Alu8, M::Imm, R::A, uint8_t(K::Add), "ADDA"},
    {0x8C, F::Alu16, M::Imm, R::D, uint8_t(K::Cmp), "CPD"},
    {0x8D, F::Alu16, M::Imm, R::Y, uint8_t(K::Cmp), "CPY"},
    {0x8E, F::Alu16, M::Imm, R::X, uint8_t(K::Cmp), "CPX"},
    {0x8F, F::Alu16, M::Imm, R::SP, uint8_t(K::Cmp), "CMPS"},
    {0x90, F::Alu8, M::Dir, R::A, uint8_t(K::Sub), "SUBA"},
    {0x91, F::Alu8, M::Dir, R::A, uint8_t(K::Cmp), "CMPA"},
    {0x92, F::Alu8, M::Dir, R::A, uint8_t(K::Sbc), "SBCA"},
    {0x93, F::Alu16, M::Dir, R::D, uint8_t(K::Sub), "SUBD"},
    {0x94, F::Alu8, M::Dir, R::A, uint8_t(K::And), "ANDA"},
    {0x95, F::Alu8, M::Dir, R::A, uint8_t(K::Bit), "BITA"},
    {0x96, F::Load, M::Dir, R::A, 0, "LDAA"},
    {0x97, F::Unary, M::None, R::A, uint8_t(U::Tst), "TSTA"},
    {0x98, F::Alu8, M::Dir, R::A, uint8_t(K::Eor), "EORA"},
    {0x99, F::Alu8, M::Dir, R::A, uint8_t(K::Adc), "ADCA"},
    {0x9A, F::Alu8, M::Dir, R::A, uint8_t(K::Or), "ORAA"},
    {0x9B, F::Alu8, M::Dir, R::A, uint8_t(K::Add), "ADDA"},
    {0x9C, F::Alu16, M::Dir, R::D, uint8_t(K::Cmp), "CPD"},
    {0x9D, F::Alu16, M::Dir, R::Y, uint8_t(K::Cmp), "CPY"},
    {0x9E, F::Alu16, M::Dir, R::X, uint8_t(K::Cmp), "CPX"},
    {0x9F, F::Alu16, M::Dir, R::SP, uint8_t(K::Cmp), "CMPS"},
    {0xA0, F::Alu8, M::Idx, R::A, uint8_t(K::Sub), "SUBA"},
    {0xA1, F::Alu8, M::Idx, R::A, uint8_t(K::Cmp), "CMPA"},
    {0xA2, F::Alu8, M::Idx, R::A, uint8_t(K::Sbc), "SBCA"},
    {0xA3, F::Alu16, M::Idx, R::D, uint8_t(K::Sub), "SUBD"},
    {0xA4, F::Alu8, M::Idx, R::A, uint8_t(K::And), "ANDA"},
    {0xA5, F::Alu8, M::Idx, R::A, uint8_t(K::Bit), "BITA"},
    {0xA6, F::Load, M::Idx, R::A, 0, "LDAA"},
    {0xA7, F::Nop, M::None, R::None, 0, "NOP"},
    {0xA8, F::Alu8, M::Idx, R::A, uint8_t(K::Eor), "EORA"},
    {0xA9, F::Alu8, M::Idx, R::A, uint8_t(K::Adc), "ADCA"},
    {0xAA, F::Alu8, M::Idx, R::A, uint8_t(K::Or), "ORAA"},
    {0xAB, F::Alu8, M::Idx, R::A, uint8_t(K::Add), "ADDA"},
    {0xAC, F::Alu16, M::Idx, R::D, uint8_t(K::Cmp), "CPD"},
    {0xAD, F::Alu16, M::Idx, R::Y, uint8_t(K::Cmp), "CPY"},
    {0xAE, F::Alu16, M::Idx, R::X, uint8_t(K::Cmp), "CPX"},
    {0xAF, F::Alu16, M::Idx, R::SP, uint8_t(K::Cmp), "CMPS"},
    {0xB0, F::Alu8, M::Ext, R::A, uint8_t(K::Sub), "SUBA"},
    {0xB1, F::Alu8, M::Ext, R::A, uint8_t(K::Cmp), "CMPA"},
    {0xB2, F::Alu8, M::Ext, R::A, uint8_t(K::Sbc), "SBCA"},
    {0xB3, F::Alu16, M::Ext, R::D, uint8_t(K::Sub), "SUBD"},
    {0xB4, F::Alu8, M::Ext, R::A, uint8_t(K::And), "ANDA"},
    {0xB5, F::Alu8, M::Ext, R::A, uint8_t(K::Bit), "BITA"},
    {0xB6, F::Load, M::Ext, R::A, 0, "LDAA"},
    {0xB7, F::Transfer, M::None, R::None, 0, "TFR"},
    {0xB8, F::Alu8, M::Ext, R::A, uint8_t(K::Eor), "EORA"},
    {0xB9, F::Alu8, M::Ext, R::A, uint8_t(K::Adc), "ADCA"},
    {0xBA, F::Alu8, M::Ext, R::A, uint8_t(K::Or), "ORAA"},
    {0xBB, F::Alu8, M::Ext, R::A, uint8_t(K::Add), "ADDA"},
    {0xBC, F::Alu16, M::Ext, R::D, uint8_t(K::Cmp), "CPD"},
    {0xBD, F::Alu16, M::Ext, R::Y, uint8_t(K::Cmp), "CPY"},
    {0xBE, F::Alu16, M::Ext, R::X, uint8_t(K::Cmp), "CPX"},
    {0xBF, F::Alu16, M::Ext, R::SP, uint8_t(K::Cmp), "CMPS"},
    {0xC0, F::Alu8, M::Imm, R::B, uint8_t(K::Sub), "SUBB"},
    {0xC1, F::Alu8, M::Imm, R::B, uint8_t(K::Cmp), "CMPB"},
    {0xC2, F::Alu8, M::Imm, R::B, uint8_t(K::Sbc), "SBCB"},
    {0xC3, F::Alu16, M::Imm, R::D, uint8_t(K::Add), "ADDD"},
    {0xC4, F::Alu8, M::Imm, R::B, uint8_t(K::And), "ANDB"},
    {0xC5, F::Alu8, M::Imm, R::B, uint8_t(K::Bit), "BITB"},
    {0xC6, F::Load, M::Imm, R::B, 0, "LDAB"},
    {0xC7, F::Unary, M::None, R::B, uint8_t(U::Clr), "CLRB"},
    {0xC8, F::Alu8, M::Imm, R::B, uint8_t(K::Eor), "EORB"},
    {0xC9, F::Alu8, M::Imm, R::B, uint8_t(K::Adc), "ADCB"},
    {0xCA, F::Alu8, M::Imm, R::B, uint8_t(K::Or), "ORAB"},
    {0xCB, F::Alu8, M::Imm, R::B, uint8_t(K::Add), "ADDB"},
    {0xCC, F::Load, M::Imm, R::D, 0, "LDD"},
    {0xCD, F::Load, M::Imm, R::Y, 0, "LDY"},
    {0xCE, F::Load, M::Imm, R::X, 0, "LDX"},
    {0xCF, F::Load, M::Imm, R::SP, 0, "LDS"},
    {0xD0, F::Alu8, M::Dir, R::B, uint8_t(K::Sub), "SUBB"},
    {0xD1, F::Alu8, M::Dir, R::B, uint8_t(K::Cmp), "CMPB"},
    {0xD2, F::Alu8, M::Dir, R::B, uint8_t(K::Sbc), "SBCB"},
    {0xD3, F::Alu16, M::Dir, R::D, uint8_t(K::Add), "ADDD"},
    {0xD4, F::Alu8, M::Dir, R::B, uint8_t(K::And), "ANDB"},
    {0xD5, F::Alu8, M::Dir, R::B, uint8_t(K::Bit), "BITB"},
    {0xD6, F::Load, M::Dir, R::B, 0, "LDAB"},
    {0xD7, F::Unary, M::None, R::B, uint8_t(U::Tst), "TSTB"},
    {0xD8, F::Alu8, M::Dir, R::B, uint8_t(K::Eor), "EORB"},
    {0xD9, F::Alu8, M::Dir, R::B, uint8_t(K::Adc), "ADCB"},
    {0xDA, F::Alu8, M::Dir, R::B, uint8_t(K::Or), "ORAB"},
    {0xDB, F::Alu8, M::Dir, R::B, uint8_t(K::Add), "ADDB"},
    {0xDC, F::Load, M::Dir, R::D, 0, "LDD"},
    {0xDD, F::Load, M::Dir, R::Y, 0, "LDY"},
    {0xDE, F::Load, M::Dir, R::X, 0, "LDX"},
    {0xDF, F::Load, M::Dir, R::SP, 0, "LDS"},
    {0xE0, F::Alu8, M::Idx, R::B, uint8_t(K::Sub), "SUBB"},
    {0xE1, F::Alu8, M::Idx, R::B, uint8_t(K::Cmp), "CMPB"},
    {0xE2, F::Alu8, M::Idx, R::B, uint8_t(K::Sbc), "SBCB"},
    {0xE3, F::Alu16, M::Idx, R::D, uint8_t(K::Add), "ADDD"},
    {0xE4, F::Alu8, M::Idx, R::B, uint8_t(K::And), "ANDB"},
    {0xE5, F::Alu8, M::Idx, R::B, uint8_t(K::Bit), "BITB"},
    {0xE6, F::Load, M::Idx, R::B, 0, "LDAB"},
    {0xE7, F::UnaryMem, M::Idx, R::None, uint8_t(U::Tst), "TST"},
    {0xE8, F::Alu8, M::Idx, R::B, uint8_t(K::Eor), "EORB"},
    {0xE9, F::Alu8, M::Idx, R::B, uint8_t(K::Adc), "ADCB"},
    {0xEA, F::Alu8, M::Idx, R::B, uint8_t(K::Or), "ORAB"},
    {0xEB, F::Alu8, M::Idx, R::B, uint8_t(K::Add), "ADDB"},
    {0xEC, F::Load, M::Idx, R::D, 0, "LDD"},
    {0xED, F::Load, M::Idx, R::Y, 0, "LDY"},
    {0xEE, F::Load, M::Idx, R::X, 0, "LDX"},
    {0xEF, F::Load, M::Idx, R::SP, 0, "LDS"},
    {0xF0, F::Alu8, M::Ext, R::B, uint8_t(K::Sub), "SUBB"},
    {0xF1, F::Alu8, M::Ext, R::B, uint8_t(K::Cmp), "CMPB"},
    {0xF2, F::Alu8, M::Ext, R::B, uint8_t(K::Sbc), "SBCB"},
    {0xF3, F::Alu16, M::Ext, R::D, uint8_t(K::Add), "ADDD"},
    {0xF4, F::Alu8, M::Ext, R::B, uint8_t(K::And), "ANDB"},
    {0xF5, F::Alu8, M::Ext, R::B, uint8_t(K::Bit), "BITB"},
    {0xF6, F::Load, M::Ext, R::B, 0, "LDAB"},
    {0xF7, F::UnaryMem, M::Ext, R::None, uint8_t(U::Tst), "TST"},
    {0xF8, F::Alu8, M::Ext, R::B, uint8_t(K::Eor), "EORB"},
    {0xF9, F::Alu8, M::Ext, R::B, uint8_t(K::Adc), "ADCB"},
    {0xFA, F::Alu8, M::Ext, R::B, uint8_t(K::Or), "ORAB"},
    {0xFB, F::Alu8, M::Ext, R::B, uint8_t(K::Add), "ADDB"},
    {0xFC, F::Load, M::Ext, R::D, 0, "LDD"},
    {0xFD, F::Load, M::Ext, R::Y, 0, "LDY"},
    {0xFE, F::Load, M::Ext, R::X, 0, "LDX"},
    {0xFF, F::Load, M::Ext, R::SP, 0, "LDS"},
};

// $18 $30-$39 and $18 $40-$FF are TRAP with the second byte as the number;
// they are filled in by range below.
constexpr Row kPage2Rows[] = {
    {0x00, F::Move, M::None, R::D, 0, "MOVW"},
    {0x01, F::Move, M::None, R::D, 1, "MOVW"},
    {0x02, F::Move, M::None, R::D, 2, "MOVW"},
    {0x03, F::Move, M::None, R::D, 3, "MOVW"},
    {0x04, F::Move, M::None, R::D, 4, "MOVW"},
    {0x05, F::Move, M::None, R::D, 5, "MOVW"},
    {0x06, F::Aba, M::None, R::None, 0, "ABA"},
    {0x07, F::Daa, M::None, R::None, 0, "DAA"},
    {0x08, F::Move, M::None, R::A, 0, "MOVB"},
    {0x09, F::Move, M::None, R::A, 1, "MOVB"},
    {0x0A, F::Move, M::None, R::A, 2, "MOVB"},
    {0x0B, F::Move, M::None, R::A, 3, "MOVB"},
    {0x0C, F::Move, M::None, R::A, 4, "MOVB"},
    {0x0D, F::Move, M::None, R::A, 5, "MOVB"},
    {0x0E, F::Tab, M::None, R::None, 0, "TAB"},
    {0x0F, F::Tba, M::None, R::None, 0, "TBA"},
    {0x10, F::Idiv, M::None, R::None, 0, "IDIV"},
    {0x11, F::Fdiv, M::None, R::None, 0, "FDIV"},
    {0x12, F::Emacs, M::None, R::None, 0, "EMACS"},
    {0x13, F::Emuls, M::None, R::None, 0, "EMULS"},
    {0x14, F::Edivs, M::None, R::None, 0, "EDIVS"},
    {0x15, F::Idivs, M::None, R::None, 0, "IDIVS"},
    {0x16, F::Sba, M::None, R::None, 0, "SBA"},
    {0x17, F::Cba, M::None, R::None, 0, "CBA"},
    {0x18, F::MinMax, M::Idx, R::A, 1, "MAXA"},
    {0x19, F::MinMax, M::Idx, R::A, 0, "MINA"},
    {0x1A, F::MinMax, M::Idx, R::D, 3, "EMAXD"},
    {0x1B, F::MinMax, M::Idx, R::D, 2, "EMIND"},
    {0x1C, F::MinMax, M::Idx, R::A, 5, "MAXM"},
    {0x1D, F::MinMax, M::Idx, R::A, 4, "MINM"},
    {0x1E, F::MinMax, M::Idx, R::D, 7, "EMAXM"},
    {0x1F, F::MinMax, M::Idx, R::D, 6, "EMINM"},
    {0x20, F::LongBranch, M::Rel, R::None, 0, "LBRA"},
    {0x21, F::LongBranch, M::Rel, R::None, 1, "LBRN"},
    {0x22, F::LongBranch, M::Rel, R::None, 2, "LBHI"},
    {0x23, F::LongBranch, M::Rel, R::None, 3, "LBLS"},
    {0x24, F::LongBranch, M::Rel, R::None, 4, "LBCC"},
    {0x25, F::LongBranch, M::Rel, R::None, 5, "LBCS"},
    {0x26, F::LongBranch, M::Rel, R::None, 6, "LBNE"},
    {0x27, F::LongBranch, M::Rel, R::None, 7, "LBEQ"},
    {0x28, F::LongBranch, M::Rel, R::None, 8, "LBVC"},
    {0x29, F::LongBranch, M::Rel, R::None, 9, "LBVS"},
    {0x2A, F::LongBranch, M::Rel, R::None, 10, "LBPL"},
    {0x2B, F::LongBranch, M::Rel, R::None, 11, "LBMI"},
    {0x2C, F::LongBranch, M::Rel, R::None, 12, "LBGE"},
    {0x2D, F::LongBranch, M::Rel, R::None, 13, "LBLT"},
    {0x2E, F::LongBranch, M::Rel, R::None, 14, "LBGT"},
    {0x2F, F::LongBranch, M::Rel, R::None, 15, "LBLE"},
    {0x3A, F::Marker, M::None, R::None, 0, "REV"},
    {0x3B, F::Marker, M::None, R::None, 0, "REVW"},
    {0x3C, F::Marker, M::None, R::None, 0, "WAV"},
    {0x3D, F::Table, M::Idx, R::None, 0, "TBL"},
    {0x3E, F::Stop, M::None, R::None, 0, "STOP"},
    {0x3F, F::Table, M::Idx, R::None, 0, "ETBL"},
};
// clang-format on

} // namespace opcode_rows

// The tables by code made from rows of {code, ...}: make(row) at each row's
// code and, for page 2, trap at the TRAP codes $30-$39 and $40-$FF.
// duplicate notes a code given twice; a code given no row keeps Entry{}.
template <typename Entry>
struct CodeTable {
    std::array<Entry, 256> entries{};
    bool duplicate = false;
};

template <typename Entry, typename Row, std::size_t N, typename Make>
constexpr CodeTable<Entry> table_by_code(const Row (&rows)[N], const Entry* trap, Make make) {
    CodeTable<Entry> table;
    std::array<bool, 256> given{};
    const auto put = [&](int code, const Entry& entry) {
        if (given[std::size_t(code)]) table.duplicate = true;
        given[std::size_t(code)] = true;
        table.entries[std::size_t(code)] = entry;
    };
    for (const Row& row : rows)
        put(row.code, make(row));
    if (trap)
        for (int code = 0x30; code <= 0xFF; ++code)
            if (code <= 0x39 || code >= 0x40) put(code, *trap);
    return table;
}

namespace opcode_rows {

using Map = CodeTable<OpcodeEntry>;

constexpr OpcodeEntry kTrapEntry = {Family::Trap, AddrMode::None, Reg::None, 0, "TRAP"};

constexpr Map build(const auto& rows, bool with_traps) {
    return table_by_code<OpcodeEntry>(rows, with_traps ? &kTrapEntry : nullptr, [](const Row& row) {
        return OpcodeEntry{row.family, row.mode, row.reg, row.param, row.mnemonic};
    });
}

constexpr bool complete(const Map& map) {
    if (map.duplicate) return false;
    for (const OpcodeEntry& e : map.entries)
        if (e.family == Family::Missing) return false;
    return true;
}

constexpr Map kPage1 = build(kPage1Rows, false);
constexpr Map kPage2 = build(kPage2Rows, true);
static_assert(complete(kPage1), "every page-1 code has exactly one row");
static_assert(complete(kPage2), "every page-2 code has exactly one row");

} // namespace opcode_rows

inline constexpr const std::array<OpcodeEntry, 256>& kPage1Map = opcode_rows::kPage1.entries;
inline constexpr const std::array<OpcodeEntry, 256>& kPage2Map = opcode_rows::kPage2.entries;

} // namespace torva
