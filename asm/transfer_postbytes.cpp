// TFR / EXG / SEX postbytes. The CPU12 postbyte is source × 16 + destination
// (EXG adds 0x80) over the codes A 0, B 1, CCR 2, D 4, X 5, Y 6, SP 7. The
// CPU12X uses bit 3 of the destination digit for the byte halves of the
// 16-bit registers and for the 16-bit condition code register CCRW:
//   dest 8 / 9   high byte / low byte of the source into A / B (XH⇒A, XL⇒B)
//   dest A       A⇒CCRH, B⇒CCRL, and any 16-bit register ⇒ CCRW
//   dest C..F    CCRW ⇒ D, X, Y, SP; A ⇒ XH, YH, SPH; B ⇒ XL, YL, SPL
//   4D, 4E       SEX D,X and SEX D,Y: D sign-extended into X or Y
// The same pairs exchange with EXG (postbyte + 0x80).
#include "asm/transfer_postbytes.h"

#include "asm/expression.h"
#include "asm/session.h"

namespace torva {

namespace {

// CPU12 register codes; -1 for the HCS12X-only names.
int cpu12_code(int token) {
    switch (token) {
    case kTokRegA: return 0;
    case kTokRegB: return 1;
    case kTokRegCCR: return 2;
    case kTokRegD: return 4;
    case kTokRegX: return 5;
    case kTokRegY: return 6;
    case kTokRegSP: return 7;
    default: return -1;
    }
}

struct ExtendedPair {
    int source, destination;
    int postbyte; // TFR; EXG adds 0x80
};

constexpr ExtendedPair kCpu12xPairs[] = {
    // High byte into A, low byte into B.
    {kTokRegCCRH, kTokRegA, 0x28},
    {kTokRegXH, kTokRegA, 0x58},
    {kTokRegYH, kTokRegA, 0x68},
    {kTokRegSPH, kTokRegA, 0x78},
    {kTokRegCCRL, kTokRegB, 0x29},
    {kTokRegXL, kTokRegB, 0x59},
    {kTokRegYL, kTokRegB, 0x69},
    {kTokRegSPL, kTokRegB, 0x79},
    // Into the condition code register halves or all of it.
    {kTokRegA, kTokRegCCRH, 0x0A},
    {kTokRegB, kTokRegCCRL, 0x1A},
    {kTokRegCCRW, kTokRegCCRW, 0x2A},
    {kTokRegD, kTokRegCCRW, 0x4A},
    {kTokRegX, kTokRegCCRW, 0x5A},
    {kTokRegY, kTokRegCCRW, 0x6A},
    {kTokRegSP, kTokRegCCRW, 0x7A},
    // The whole condition code register into a 16-bit register.
    {kTokRegCCRW, kTokRegD, 0x2C},
    {kTokRegCCRW, kTokRegX, 0x2D},
    {kTokRegCCRW, kTokRegY, 0x2E},
    {kTokRegCCRW, kTokRegSP, 0x2F},
    // A into a high byte, B into a low byte.
    {kTokRegA, kTokRegXH, 0x0D},
    {kTokRegB, kTokRegXL, 0x1D},
    {kTokRegA, kTokRegYH, 0x0E},
    {kTokRegB, kTokRegYL, 0x1E},
    {kTokRegA, kTokRegSPH, 0x0F},
    {kTokRegB, kTokRegSPL, 0x1F},
};

// SEX in the CPU12 models: A, B or CCR into D, X, Y or SP, and D into X or Y.
bool cpu12_sign_extends(int source, int destination) {
    if (source <= 2) return destination >= 4;
    return source == 4 && (destination == 5 || destination == 6);
}

} // namespace

bool is_transfer_register(int token) {
    return cpu12_code(token) >= 0 || (token >= kTokRegXH && token <= kTokRegCCRH);
}

int transfer_postbyte(int model, TransferKind kind, int source, int destination) {
    const int src = cpu12_code(source), dst = cpu12_code(destination);
    const bool hcs12x = model == kModelHCS12X;
    if (src >= 0 && dst >= 0) {
        if (kind == TransferKind::Sex) {
            if (!cpu12_sign_extends(src, dst)) return -1;
            // The CPU12X sign-extends D into X or Y with bit 3 of the
            // destination set; 45 and 46 stay plain transfers there.
            if (hcs12x && src == 4) return 0x48 | dst;
            return src << 4 | dst;
        }
        return src << 4 | dst | (kind == TransferKind::Exg ? 0x80 : 0);
    }
    if (!hcs12x || kind == TransferKind::Sex) return -1;
    for (const ExtendedPair& p : kCpu12xPairs)
        if (p.source == source && p.destination == destination)
            return p.postbyte | (kind == TransferKind::Exg ? 0x80 : 0);
    return -1;
}

} // namespace torva
