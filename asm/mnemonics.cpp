// The HC12 mnemonic table as data. Opcodes are those of the immediate form
// (classes 2, 7), of the indexed form (classes 6, 12, 13, 15, 20), or of the
// instruction itself; for JMP/JSR the base from which OR 1/2/3 give the
// indexed, extended and direct forms.
#include "asm/mnemonics.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace torva {

namespace {

// Mode masks by kind of instruction.
constexpr uint32_t kIdxAll = kModeIdx5 | kModeIdx9 | kModeIdx16 | kModeIdxD | kModeIdx16Ind;
constexpr uint32_t kGeneral = kModeImmediate | kModeDirect | kModeExtended | kIdxAll;
constexpr uint32_t kStore = kModeDirect | kModeExtended | kIdxAll;
constexpr uint32_t kMemory = kModeExtended | kIdxAll;
constexpr uint32_t kInh = kModeInherent;
constexpr uint32_t kX = kModeHcs12xOnly;
constexpr uint32_t kLea = kModeIdx5 | kModeIdx9 | kModeIdx16;
constexpr uint32_t kBits = kModeDirect | kModeExtended | kModeIdx5 | kModeIdx9 | kModeIdx16;

// Postbase bytes of the loop primitives (second byte, before the register
// and sign bits).
constexpr uint32_t kDbeq = 0x00, kDbne = 0x20, kTbeq = 0x40, kTbne = 0x60, kIbeq = 0x80,
                   kIbne = 0xA0;

constexpr MnemonicEntry kTable[] = {
    // name, opcode, modes, extra, class
    {"aba", 0x1806, kInh, 0, 1},
    {"abx", 0x1AE5, kInh, 0, 1},
    {"aby", 0x19ED, kInh, 0, 1},
    {"adca", 0x0089, kGeneral, 0, 2},
    {"adcb", 0x00C9, kGeneral, 0, 2},
    {"adda", 0x008B, kGeneral, 0, 2},
    {"addb", 0x00CB, kGeneral, 0, 2},
    {"addd", 0x00C3, kGeneral, 1, 2},
    {"addx", 0x188B, kGeneral | kX, 1, 2},
    {"addy", 0x18CB, kGeneral | kX, 1, 2},
    {"aded", 0x18C3, kGeneral | kX, 1, 2},
    {"adex", 0x1889, kGeneral | kX, 1, 2},
    {"adey", 0x18C9, kGeneral | kX, 1, 2},
    {"anda", 0x0084, kGeneral, 0, 2},
    {"andb", 0x00C4, kGeneral, 0, 2},
    {"andcc", 0x0010, kModeImmediate, 0, 7},
    {"andx", 0x1884, kGeneral | kX, 1, 2},
    {"andy", 0x18C4, kGeneral | kX, 1, 2},
    {"asl", 0x0068, kMemory, 0, 6},
    {"asla", 0x0048, kInh, 0, 0},
    {"aslb", 0x0058, kInh, 0, 0},
    {"asld", 0x0059, kInh, 0, 0},
    {"aslw", 0x1868, kMemory | kX, 1, 6},
    {"aslx", 0x1848, kInh | kX, 0, 1},
    {"asly", 0x1858, kInh | kX, 0, 1},
    {"asr", 0x0067, kMemory, 0, 6},
    {"asra", 0x0047, kInh, 0, 0},
    {"asrb", 0x0057, kInh, 0, 0},
    {"asrw", 0x1867, kMemory | kX, 1, 6},
    {"asrx", 0x1847, kInh | kX, 0, 1},
    {"asry", 0x1857, kInh | kX, 0, 1},
    {"bcc", 0x0024, kModeExtended, 0, 3},
    {"bclr", 0x000D, kBits, 0, 12},
    {"bcs", 0x0025, kModeExtended, 0, 3},
    {"beq", 0x0027, kModeExtended, 0, 3},
    {"bge", 0x002C, kModeExtended, 0, 3},
    {"bgnd", 0x0000, kInh, 0, 0},
    {"bgt", 0x002E, kModeExtended, 0, 3},
    {"bhi", 0x0022, kModeExtended, 0, 3},
    {"bhs", 0x0024, kModeExtended, 0, 3},
    {"bita", 0x0085, kGeneral, 0, 2},
    {"bitb", 0x00C5, kGeneral, 0, 2},
    {"bitx", 0x1885, kGeneral | kX, 1, 2},
    {"bity", 0x18C5, kGeneral | kX, 1, 2},
    {"ble", 0x002F, kModeExtended, 0, 3},
    {"blo", 0x0025, kModeExtended, 0, 3},
    {"bls", 0x0023, kModeExtended, 0, 3},
    {"blt", 0x002D, kModeExtended, 0, 3},
    {"bmi", 0x002B, kModeExtended, 0, 3},
    {"bne", 0x0026, kModeExtended, 0, 3},
    {"bpl", 0x002A, kModeExtended, 0, 3},
    {"bra", 0x0020, kModeExtended, 0, 3},
    {"brclr", 0x000F, kBits, 0, 13},
    {"brn", 0x0021, kModeExtended, 0, 3},
    {"brset", 0x000E, kBits, 0, 13},
    {"bset", 0x000C, kBits, 0, 12},
    {"bsr", 0x0007, kModeExtended, 0, 3},
    {"btas", 0x1830, kBits | kX, 0, 12},
    {"bvc", 0x0028, kModeExtended, 0, 3},
    {"bvs", 0x0029, kModeExtended, 0, 3},
    {"call", 0x004A, kModeExtended | kIdxAll, 0, 8},
    {"cba", 0x1817, kInh, 0, 1},
    {"clc", 0x10FE, kInh, 0, 1},
    {"cli", 0x10EF, kInh, 0, 1},
    {"clr", 0x0069, kMemory, 0, 6},
    {"clra", 0x0087, kInh, 0, 0},
    {"clrb", 0x00C7, kInh, 0, 0},
    {"clrw", 0x1869, kMemory | kX, 1, 6},
    {"clrx", 0x1887, kInh | kX, 0, 1},
    {"clry", 0x18C7, kInh | kX, 0, 1},
    {"clv", 0x10FD, kInh, 0, 1},
    {"cmpa", 0x0081, kGeneral, 0, 2},
    {"cmpb", 0x00C1, kGeneral, 0, 2},
    {"com", 0x0061, kMemory, 0, 6},
    {"coma", 0x0041, kInh, 0, 0},
    {"comb", 0x0051, kInh, 0, 0},
    {"comw", 0x1861, kMemory | kX, 1, 6},
    {"comx", 0x1841, kInh | kX, 0, 1},
    {"comy", 0x1851, kInh | kX, 0, 1},
    {"cpd", 0x008C, kGeneral, 1, 2},
    {"cped", 0x188C, kGeneral | kX, 1, 2},
    {"cpes", 0x188F, kGeneral | kX, 1, 2},
    {"cpex", 0x188E, kGeneral | kX, 1, 2},
    {"cpey", 0x188D, kGeneral | kX, 1, 2},
    {"cps", 0x008F, kGeneral, 1, 2},
    {"cpx", 0x008E, kGeneral, 1, 2},
    {"cpy", 0x008D, kGeneral, 1, 2},
    {"daa", 0x1807, kInh, 0, 1},
    {"dbeq", 0x0004, 0, kDbeq, 5},
    {"dbne", 0x0004, 0, kDbne, 5},
    {"dec", 0x0063, kMemory, 0, 6},
    {"deca", 0x0043, kInh, 0, 0},
    {"decb", 0x0053, kInh, 0, 0},
    {"decw", 0x1863, kMemory | kX, 1, 6},
    {"decx", 0x1843, kInh | kX, 0, 1},
    {"decy", 0x1853, kInh | kX, 0, 1},
    {"des", 0x1B9F, kInh, 0, 1},
    {"dex", 0x0009, kInh, 0, 0},
    {"dey", 0x0003, kInh, 0, 0},
    {"ediv", 0x0011, kInh, 0, 0},
    {"edivs", 0x1814, kInh, 0, 1},
    {"emacs", 0x0018, kModeExtended, 0x12, 9},
    {"emaxd", 0x0018, kIdxAll, 0x1A, 9},
    {"emaxm", 0x0018, kIdxAll, 0x1E, 9},
    {"emind", 0x0018, kIdxAll, 0x1B, 9},
    {"eminm", 0x0018, kIdxAll, 0x1F, 9},
    {"emul", 0x0013, kInh, 0, 0},
    {"emuls", 0x1813, kInh, 0, 1},
    {"eora", 0x0088, kGeneral, 0, 2},
    {"eorb", 0x00C8, kGeneral, 0, 2},
    {"eorx", 0x1888, kGeneral | kX, 1, 2},
    {"eory", 0x18C8, kGeneral | kX, 1, 2},
    {"etbl", 0x0018, kModeIdx5, 0x3F, 9},
    {"exg", 0x00B7, 0, 2, 14},
    {"fdiv", 0x1811, kInh, 0, 1},
    {"gldaa", 0x1886, kStore | kX, 0, 20},
    {"gldab", 0x18C6, kStore | kX, 0, 20},
    {"gldd", 0x18CC, kStore | kX, 0, 20},
    {"glds", 0x18CF, kStore | kX, 0, 20},
    {"gldx", 0x18CE, kStore | kX, 0, 20},
    {"gldy", 0x18CD, kStore | kX, 0, 20},
    {"gstaa", 0x184A, kStore | kX, 0, 20},
    {"gstab", 0x184B, kStore | kX, 0, 20},
    {"gstd", 0x184C, kStore | kX, 0, 20},
    {"gsts", 0x184F, kStore | kX, 0, 20},
    {"gstx", 0x184E, kStore | kX, 0, 20},
    {"gsty", 0x184D, kStore | kX, 0, 20},
    {"ibeq", 0x0004, 0, kIbeq, 5},
    {"ibne", 0x0004, 0, kIbne, 5},
    {"idiv", 0x1810, kInh, 0, 1},
    {"idivs", 0x1815, kInh, 0, 1},
    {"inc", 0x0062, kMemory, 0, 6},
    {"inca", 0x0042, kInh, 0, 0},
    {"incb", 0x0052, kInh, 0, 0},
    {"incw", 0x1862, kMemory | kX, 1, 6},
    {"incx", 0x1842, kInh | kX, 0, 1},
    {"incy", 0x1852, kInh | kX, 0, 1},
    {"ins", 0x1B81, kInh, 0, 1},
    {"inx", 0x0008, kInh, 0, 0},
    {"iny", 0x0002, kInh, 0, 0},
    {"jmp", 0x0004, kModeDirect | kMemory, 0, 16},
    {"jsr", 0x0014, kModeDirect | kMemory, 0, 16},
    {"lbcc", 0x1824, kModeExtended, 0, 4},
    {"lbcs", 0x1825, kModeExtended, 0, 4},
    {"lbeq", 0x1827, kModeExtended, 0, 4},
    {"lbge", 0x182C, kModeExtended, 0, 4},
    {"lbgt", 0x182E, kModeExtended, 0, 4},
    {"lbhi", 0x1822, kModeExtended, 0, 4},
    {"lbhs", 0x1824, kModeExtended, 0, 4},
    {"lble", 0x182F, kModeExtended, 0, 4},
    {"lblo", 0x1825, kModeExtended, 0, 4},
    {"lbls", 0x1823, kModeExtended, 0, 4},
    {"lblt", 0x182D, kModeExtended, 0, 4},
    {"lbmi", 0x182B, kModeExtended, 0, 4},
    {"lbne", 0x1826, kModeExtended, 0, 4},
    {"lbpl", 0x182A, kModeExtended, 0, 4},
    {"lbra", 0x1820, kModeExtended, 0, 4},
    {"lbrn", 0x1821, kModeExtended, 0, 4},
    {"lbvc", 0x1828, kModeExtended, 0, 4},
    {"lbvs", 0x1829, kModeExtended, 0, 4},
    {"ldaa", 0x0086, kGeneral, 0, 2},
    {"ldab", 0x00C6, kGeneral, 0, 2},
    {"ldd", 0x00CC, kGeneral, 1, 2},
    {"lds", 0x00CF, kGeneral, 1, 2},
    {"ldx", 0x00CE, kGeneral, 1, 2},
    {"ldy", 0x00CD, kGeneral, 1, 2},
    {"leas", 0x001B, kLea, 0, 15},
    {"leax", 0x001A, kLea, 1, 15},
    {"leay", 0x0019, kLea, 0, 15},
    {"lsl", 0x0068, kMemory, 0, 6},
    {"lsla", 0x0048, kInh, 0, 0},
    {"lslb", 0x0058, kInh, 0, 0},
    {"lsld", 0x0059, kInh, 0, 0},
    {"lslw", 0x1868, kMemory | kX, 1, 6},
    {"lslx", 0x1848, kInh | kX, 0, 1},
    {"lsly", 0x1858, kInh | kX, 0, 1},
    {"lsr", 0x0064, kMemory, 0, 6},
    {"lsra", 0x0044, kInh, 0, 0},
    {"lsrb", 0x0054, kInh, 0, 0},
    {"lsrd", 0x0049, kInh, 0, 0},
    {"lsrw", 0x1864, kMemory | kX, 1, 6},
    {"lsrx", 0x1844, kInh | kX, 0, 1},
    {"lsry", 0x1854, kInh | kX, 0, 1},
    {"maxa", 0x0018, kIdxAll, 0x18, 9},
    {"maxm", 0x0018, kIdxAll, 0x1C, 9},
    {"mem", 0x0001, kInh, 0, 0},
    {"mina", 0x0018, kIdxAll, 0x19, 9},
    {"minm", 0x0018, kIdxAll, 0x1D, 9},
    {"movb", 0x0018, 0, 0, 10},
    {"movw", 0x0018, 0, 0, 11},
    {"mul", 0x0012, kInh, 0, 0},
    {"neg", 0x0060, kMemory, 0, 6},
    {"nega", 0x0040, kInh, 0, 0},
    {"negb", 0x0050, kInh, 0, 0},
    {"negw", 0x1860, kMemory | kX, 1, 6},
    {"negx", 0x1840, kInh | kX, 0, 1},
    {"negy", 0x1850, kInh | kX, 0, 1},
    {"nop", 0x00A7, kInh, 0, 0},
    {"oraa", 0x008A, kGeneral, 0, 2},
    {"orab", 0x00CA, kGeneral, 0, 2},
    {"orcc", 0x0014, kModeImmediate, 0, 7},
    {"orx", 0x188A, kGeneral | kX, 1, 2},
    {"ory", 0x18CA, kGeneral | kX, 1, 2},
    {"psha", 0x0036, kInh, 0, 0},
    {"pshb", 0x0037, kInh, 0, 0},
    {"pshc", 0x0039, kInh, 0, 0},
    {"pshcw", 0x1839, kInh | kX, 0, 1},
    {"pshd", 0x003B, kInh, 0, 0},
    {"pshx", 0x0034, kInh, 0, 0},
    {"pshy", 0x0035, kInh, 0, 0},
    {"pula", 0x0032, kInh, 0, 0},
    {"pulb", 0x0033, kInh, 0, 0},
    {"pulc", 0x0038, kInh, 0, 0},
    {"pulcw", 0x1838, kInh | kX, 0, 1},
    {"puld", 0x003A, kInh, 0, 0},
    {"pulx", 0x0030, kInh, 0, 0},
    {"puly", 0x0031, kInh, 0, 0},
    {"rev", 0x183A, kInh, 0, 1},
    {"revw", 0x183B, kInh, 0, 1},
    {"rol", 0x0065, kMemory, 0, 6},
    {"rola", 0x0045, kInh, 0, 0},
    {"rolb", 0x0055, kInh, 0, 0},
    {"rolw", 0x1865, kMemory | kX, 1, 6},
    {"rolx", 0x1845, kInh | kX, 0, 1},
    {"roly", 0x1855, kInh | kX, 0, 1},
    {"ror", 0x0066, kMemory, 0, 6},
    {"rora", 0x0046, kInh, 0, 0},
    {"rorb", 0x0056, kInh, 0, 0},
    {"rorw", 0x1866, kMemory | kX, 1, 6},
    {"rorx", 0x1846, kInh | kX, 0, 1},
    {"rory", 0x1856, kInh | kX, 0, 1},
    {"rtc", 0x000A, kInh, 0, 0},
    {"rti", 0x000B, kInh, 0, 0},
    {"rts", 0x003D, kInh, 0, 0},
    {"sba", 0x1816, kInh, 0, 1},
    {"sbca", 0x0082, kGeneral, 0, 2},
    {"sbcb", 0x00C2, kGeneral, 0, 2},
    {"sbed", 0x1883, kGeneral | kX, 1, 2},
    {"sbex", 0x1882, kGeneral | kX, 1, 2},
    {"sbey", 0x18C2, kGeneral | kX, 1, 2},
    {"sec", 0x1401, kInh, 0, 1},
    {"sei", 0x1410, kInh, 0, 1},
    {"sev", 0x1402, kInh, 0, 1},
    {"sex", 0x00B7, 0, 3, 14},
    {"staa", 0x004A, kStore, 0, 20},
    {"stab", 0x004B, kStore, 0, 20},
    {"std", 0x004C, kStore, 0, 20},
    {"stop", 0x183E, kInh, 0, 1},
    {"sts", 0x004F, kStore, 0, 20},
    {"stx", 0x004E, kStore, 0, 20},
    {"sty", 0x004D, kStore, 0, 20},
    {"suba", 0x0080, kGeneral, 0, 2},
    {"subb", 0x00C0, kGeneral, 0, 2},
    {"subd", 0x0083, kGeneral, 1, 2},
    {"subx", 0x1880, kGeneral | kX, 1, 2},
    {"suby", 0x18C0, kGeneral | kX, 1, 2},
    {"swi", 0x003F, kInh, 0, 0},
    {"tab", 0x180E, kInh, 0, 1},
    {"tap", 0xB702, kInh, 0, 1},
    {"tba", 0x180F, kInh, 0, 1},
    {"tbeq", 0x0004, 0, kTbeq, 5},
    {"tbl", 0x183D, kModeIdx5, 0, 17},
    {"tbne", 0x0004, 0, kTbne, 5},
    {"tfr", 0x00B7, 0, 1, 14},
    {"tpa", 0xB720, kInh, 0, 1},
    {"trap", 0x0018, kModeImmediate, 0, 18},
    {"tst", 0x00E7, kMemory, 0, 6},
    {"tsta", 0x0097, kInh, 0, 0},
    {"tstb", 0x00D7, kInh, 0, 0},
    {"tstw", 0x18E7, kMemory | kX, 0, 20},
    {"tstx", 0x1897, kInh | kX, 0, 1},
    {"tsty", 0x18D7, kInh | kX, 0, 1},
    {"tsx", 0xB775, kInh, 0, 1},
    {"tsy", 0xB776, kInh, 0, 1},
    {"txs", 0xB757, kInh, 0, 1},
    {"tys", 0xB767, kInh, 0, 1},
    {"wai", 0x003E, kInh, 0, 0},
    {"wav", 0x183C, kInh, 0, 1},
    {"wavr", 0x003C, kInh, 0, 0},
    {"xgdx", 0xB7C5, kInh, 0, 1},
    {"xgdy", 0xB7C6, kInh, 0, 1},
};

constexpr bool sorted_by_first_letter() {
    for (size_t i = 1; i < std::size(kTable); ++i)
        if (kTable[i - 1].name[0] > kTable[i].name[0]) return false;
    return true;
}
static_assert(sorted_by_first_letter(), "rows are grouped by first letter");

// First row of each letter a..z (and the end), so a lookup scans one letter.
struct LetterIndex {
    std::array<uint16_t, 27> first{};
};
constexpr LetterIndex make_index() {
    LetterIndex index;
    size_t row = 0;
    for (int letter = 0; letter < 27; ++letter) {
        while (row < std::size(kTable) && kTable[row].name[0] - 'a' < letter)
            ++row;
        index.first[size_t(letter)] = uint16_t(row);
    }
    return index;
}
constexpr LetterIndex kIndex = make_index();

bool ends_word(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

std::span<const MnemonicEntry> hc12_mnemonics() {
    return kTable;
}

const MnemonicEntry* lookup_hc12_mnemonic(const char*& p) {
    const int first = lower(p[0]) - 'a';
    // The table is indexed by the letters a to y: a mnemonic beginning with z
    // is never found.
    if (first < 0 || first >= 25) return nullptr;
    for (size_t row = kIndex.first[size_t(first)]; row < kIndex.first[size_t(first) + 1]; ++row) {
        const char* name = kTable[row].name;
        size_t i = 1;
        while (name[i] && lower(p[i]) == name[i])
            ++i;
        if (!name[i] && ends_word(p[i])) {
            p += i;
            return &kTable[row];
        }
    }
    return nullptr;
}

} // namespace torva
