// The HC12 mnemonic table as data. Opcodes are those of the immediate form
// (General, ImmediateOnly), of the indexed form (Memory, BitOp, BitBranch,
// LoadAddress, Store), or of the instruction itself; for JMP/JSR the base
// from which OR 1/2/3 give the indexed, extended and direct forms.
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

using enum EncodingClass;

constexpr MnemonicEntry kTable[] = {
    // name, opcode, modes, extra, class
    {"aba", 0x1806, kInh, 0, InherentTwoByte},
    {"abx", 0x1AE5, kInh, 0, InherentTwoByte},
    {"aby", 0x19ED, kInh, 0, InherentTwoByte},
    {"adca", 0x0089, kGeneral, 0, General},
    {"adcb", 0x00C9, kGeneral, 0, General},
    {"adda", 0x008B, kGeneral, 0, General},
    {"addb", 0x00CB, kGeneral, 0, General},
    {"addd", 0x00C3, kGeneral, 1, General},
    {"addx", 0x188B, kGeneral | kX, 1, General},
    {"addy", 0x18CB, kGeneral | kX, 1, General},
    {"aded", 0x18C3, kGeneral | kX, 1, General},
    {"adex", 0x1889, kGeneral | kX, 1, General},
    {"adey", 0x18C9, kGeneral | kX, 1, General},
    {"anda", 0x0084, kGeneral, 0, General},
    {"andb", 0x00C4, kGeneral, 0, General},
    {"andcc", 0x0010, kModeImmediate, 0, ImmediateOnly},
    {"andx", 0x1884, kGeneral | kX, 1, General},
    {"andy", 0x18C4, kGeneral | kX, 1, General},
    {"asl", 0x0068, kMemory, 0, Memory},
    {"asla", 0x0048, kInh, 0, Inherent},
    {"aslb", 0x0058, kInh, 0, Inherent},
    {"asld", 0x0059, kInh, 0, Inherent},
    {"aslw", 0x1868, kMemory | kX, 1, Memory},
    {"aslx", 0x1848, kInh | kX, 0, InherentTwoByte},
    {"asly", 0x1858, kInh | kX, 0, InherentTwoByte},
    {"asr", 0x0067, kMemory, 0, Memory},
    {"asra", 0x0047, kInh, 0, Inherent},
    {"asrb", 0x0057, kInh, 0, Inherent},
    {"asrw", 0x1867, kMemory | kX, 1, Memory},
    {"asrx", 0x1847, kInh | kX, 0, InherentTwoByte},
    {"asry", 0x1857, kInh | kX, 0, InherentTwoByte},
    {"bcc", 0x0024, kModeExtended, 0, ShortBranch},
    {"bclr", 0x000D, kBits, 0, BitOp},
    {"bcs", 0x0025, kModeExtended, 0, ShortBranch},
    {"beq", 0x0027, kModeExtended, 0, ShortBranch},
    {"bge", 0x002C, kModeExtended, 0, ShortBranch},
    {"bgnd", 0x0000, kInh, 0, Inherent},
    {"bgt", 0x002E, kModeExtended, 0, ShortBranch},
    {"bhi", 0x0022, kModeExtended, 0, ShortBranch},
    {"bhs", 0x0024, kModeExtended, 0, ShortBranch},
    {"bita", 0x0085, kGeneral, 0, General},
    {"bitb", 0x00C5, kGeneral, 0, General},
    {"bitx", 0x1885, kGeneral | kX, 1, General},
    {"bity", 0x18C5, kGeneral | kX, 1, General},
    {"ble", 0x002F, kModeExtended, 0, ShortBranch},
    {"blo", 0x0025, kModeExtended, 0, ShortBranch},
    {"bls", 0x0023, kModeExtended, 0, ShortBranch},
    {"blt", 0x002D, kModeExtended, 0, ShortBranch},
    {"bmi", 0x002B, kModeExtended, 0, ShortBranch},
    {"bne", 0x0026, kModeExtended, 0, ShortBranch},
    {"bpl", 0x002A, kModeExtended, 0, ShortBranch},
    {"bra", 0x0020, kModeExtended, 0, ShortBranch},
    {"brclr", 0x000F, kBits, 0, BitBranch},
    {"brn", 0x0021, kModeExtended, 0, ShortBranch},
    {"brset", 0x000E, kBits, 0, BitBranch},
    {"bset", 0x000C, kBits, 0, BitOp},
    {"bsr", 0x0007, kModeExtended, 0, ShortBranch},
    {"btas", 0x1830, kBits | kX, 0, BitOp},
    {"bvc", 0x0028, kModeExtended, 0, ShortBranch},
    {"bvs", 0x0029, kModeExtended, 0, ShortBranch},
    {"call", 0x004A, kModeExtended | kIdxAll, 0, Call},
    {"cba", 0x1817, kInh, 0, InherentTwoByte},
    {"clc", 0x10FE, kInh, 0, InherentTwoByte},
    {"cli", 0x10EF, kInh, 0, InherentTwoByte},
    {"clr", 0x0069, kMemory, 0, Memory},
    {"clra", 0x0087, kInh, 0, Inherent},
    {"clrb", 0x00C7, kInh, 0, Inherent},
    {"clrw", 0x1869, kMemory | kX, 1, Memory},
    {"clrx", 0x1887, kInh | kX, 0, InherentTwoByte},
    {"clry", 0x18C7, kInh | kX, 0, InherentTwoByte},
    {"clv", 0x10FD, kInh, 0, InherentTwoByte},
    {"cmpa", 0x0081, kGeneral, 0, General},
    {"cmpb", 0x00C1, kGeneral, 0, General},
    {"com", 0x0061, kMemory, 0, Memory},
    {"coma", 0x0041, kInh, 0, Inherent},
    {"comb", 0x0051, kInh, 0, Inherent},
    {"comw", 0x1861, kMemory | kX, 1, Memory},
    {"comx", 0x1841, kInh | kX, 0, InherentTwoByte},
    {"comy", 0x1851, kInh | kX, 0, InherentTwoByte},
    {"cpd", 0x008C, kGeneral, 1, General},
    {"cped", 0x188C, kGeneral | kX, 1, General},
    {"cpes", 0x188F, kGeneral | kX, 1, General},
    {"cpex", 0x188E, kGeneral | kX, 1, General},
    {"cpey", 0x188D, kGeneral | kX, 1, General},
    {"cps", 0x008F, kGeneral, 1, General},
    {"cpx", 0x008E, kGeneral, 1, General},
    {"cpy", 0x008D, kGeneral, 1, General},
    {"daa", 0x1807, kInh, 0, InherentTwoByte},
    {"dbeq", 0x0004, 0, kDbeq, Loop},
    {"dbne", 0x0004, 0, kDbne, Loop},
    {"dec", 0x0063, kMemory, 0, Memory},
    {"deca", 0x0043, kInh, 0, Inherent},
    {"decb", 0x0053, kInh, 0, Inherent},
    {"decw", 0x1863, kMemory | kX, 1, Memory},
    {"decx", 0x1843, kInh | kX, 0, InherentTwoByte},
    {"decy", 0x1853, kInh | kX, 0, InherentTwoByte},
    {"des", 0x1B9F, kInh, 0, InherentTwoByte},
    {"dex", 0x0009, kInh, 0, Inherent},
    {"dey", 0x0003, kInh, 0, Inherent},
    {"ediv", 0x0011, kInh, 0, Inherent},
    {"edivs", 0x1814, kInh, 0, InherentTwoByte},
    {"emacs", 0x0018, kModeExtended, 0x12, Page2Indexed},
    {"emaxd", 0x0018, kIdxAll, 0x1A, Page2Indexed},
    {"emaxm", 0x0018, kIdxAll, 0x1E, Page2Indexed},
    {"emind", 0x0018, kIdxAll, 0x1B, Page2Indexed},
    {"eminm", 0x0018, kIdxAll, 0x1F, Page2Indexed},
    {"emul", 0x0013, kInh, 0, Inherent},
    {"emuls", 0x1813, kInh, 0, InherentTwoByte},
    {"eora", 0x0088, kGeneral, 0, General},
    {"eorb", 0x00C8, kGeneral, 0, General},
    {"eorx", 0x1888, kGeneral | kX, 1, General},
    {"eory", 0x18C8, kGeneral | kX, 1, General},
    {"etbl", 0x0018, kModeIdx5, 0x3F, Page2Indexed},
    {"exg", 0x00B7, 0, 2, Transfer},
    {"fdiv", 0x1811, kInh, 0, InherentTwoByte},
    {"gldaa", 0x1886, kStore | kX, 0, Store},
    {"gldab", 0x18C6, kStore | kX, 0, Store},
    {"gldd", 0x18CC, kStore | kX, 0, Store},
    {"glds", 0x18CF, kStore | kX, 0, Store},
    {"gldx", 0x18CE, kStore | kX, 0, Store},
    {"gldy", 0x18CD, kStore | kX, 0, Store},
    {"gstaa", 0x184A, kStore | kX, 0, Store},
    {"gstab", 0x184B, kStore | kX, 0, Store},
    {"gstd", 0x184C, kStore | kX, 0, Store},
    {"gsts", 0x184F, kStore | kX, 0, Store},
    {"gstx", 0x184E, kStore | kX, 0, Store},
    {"gsty", 0x184D, kStore | kX, 0, Store},
    {"ibeq", 0x0004, 0, kIbeq, Loop},
    {"ibne", 0x0004, 0, kIbne, Loop},
    {"idiv", 0x1810, kInh, 0, InherentTwoByte},
    {"idivs", 0x1815, kInh, 0, InherentTwoByte},
    {"inc", 0x0062, kMemory, 0, Memory},
    {"inca", 0x0042, kInh, 0, Inherent},
    {"incb", 0x0052, kInh, 0, Inherent},
    {"incw", 0x1862, kMemory | kX, 1, Memory},
    {"incx", 0x1842, kInh | kX, 0, InherentTwoByte},
    {"incy", 0x1852, kInh | kX, 0, InherentTwoByte},
    {"ins", 0x1B81, kInh, 0, InherentTwoByte},
    {"inx", 0x0008, kInh, 0, Inherent},
    {"iny", 0x0002, kInh, 0, Inherent},
    {"jmp", 0x0004, kModeDirect | kMemory, 0, Jump},
    {"jsr", 0x0014, kModeDirect | kMemory, 0, Jump},
    {"lbcc", 0x1824, kModeExtended, 0, LongBranch},
    {"lbcs", 0x1825, kModeExtended, 0, LongBranch},
    {"lbeq", 0x1827, kModeExtended, 0, LongBranch},
    {"lbge", 0x182C, kModeExtended, 0, LongBranch},
    {"lbgt", 0x182E, kModeExtended, 0, LongBranch},
    {"lbhi", 0x1822, kModeExtended, 0, LongBranch},
    {"lbhs", 0x1824, kModeExtended, 0, LongBranch},
    {"lble", 0x182F, kModeExtended, 0, LongBranch},
    {"lblo", 0x1825, kModeExtended, 0, LongBranch},
    {"lbls", 0x1823, kModeExtended, 0, LongBranch},
    {"lblt", 0x182D, kModeExtended, 0, LongBranch},
    {"lbmi", 0x182B, kModeExtended, 0, LongBranch},
    {"lbne", 0x1826, kModeExtended, 0, LongBranch},
    {"lbpl", 0x182A, kModeExtended, 0, LongBranch},
    {"lbra", 0x1820, kModeExtended, 0, LongBranch},
    {"lbrn", 0x1821, kModeExtended, 0, LongBranch},
    {"lbvc", 0x1828, kModeExtended, 0, LongBranch},
    {"lbvs", 0x1829, kModeExtended, 0, LongBranch},
    {"ldaa", 0x0086, kGeneral, 0, General},
    {"ldab", 0x00C6, kGeneral, 0, General},
    {"ldd", 0x00CC, kGeneral, 1, General},
    {"lds", 0x00CF, kGeneral, 1, General},
    {"ldx", 0x00CE, kGeneral, 1, General},
    {"ldy", 0x00CD, kGeneral, 1, General},
    {"leas", 0x001B, kLea, 0, LoadAddress},
    {"leax", 0x001A, kLea, 1, LoadAddress},
    {"leay", 0x0019, kLea, 0, LoadAddress},
    {"lsl", 0x0068, kMemory, 0, Memory},
    {"lsla", 0x0048, kInh, 0, Inherent},
    {"lslb", 0x0058, kInh, 0, Inherent},
    {"lsld", 0x0059, kInh, 0, Inherent},
    {"lslw", 0x1868, kMemory | kX, 1, Memory},
    {"lslx", 0x1848, kInh | kX, 0, InherentTwoByte},
    {"lsly", 0x1858, kInh | kX, 0, InherentTwoByte},
    {"lsr", 0x0064, kMemory, 0, Memory},
    {"lsra", 0x0044, kInh, 0, Inherent},
    {"lsrb", 0x0054, kInh, 0, Inherent},
    {"lsrd", 0x0049, kInh, 0, Inherent},
    {"lsrw", 0x1864, kMemory | kX, 1, Memory},
    {"lsrx", 0x1844, kInh | kX, 0, InherentTwoByte},
    {"lsry", 0x1854, kInh | kX, 0, InherentTwoByte},
    {"maxa", 0x0018, kIdxAll, 0x18, Page2Indexed},
    {"maxm", 0x0018, kIdxAll, 0x1C, Page2Indexed},
    {"mem", 0x0001, kInh, 0, Inherent},
    {"mina", 0x0018, kIdxAll, 0x19, Page2Indexed},
    {"minm", 0x0018, kIdxAll, 0x1D, Page2Indexed},
    {"movb", 0x0018, 0, 0, MoveByte},
    {"movw", 0x0018, 0, 0, MoveWord},
    {"mul", 0x0012, kInh, 0, Inherent},
    {"neg", 0x0060, kMemory, 0, Memory},
    {"nega", 0x0040, kInh, 0, Inherent},
    {"negb", 0x0050, kInh, 0, Inherent},
    {"negw", 0x1860, kMemory | kX, 1, Memory},
    {"negx", 0x1840, kInh | kX, 0, InherentTwoByte},
    {"negy", 0x1850, kInh | kX, 0, InherentTwoByte},
    {"nop", 0x00A7, kInh, 0, Inherent},
    {"oraa", 0x008A, kGeneral, 0, General},
    {"orab", 0x00CA, kGeneral, 0, General},
    {"orcc", 0x0014, kModeImmediate, 0, ImmediateOnly},
    {"orx", 0x188A, kGeneral | kX, 1, General},
    {"ory", 0x18CA, kGeneral | kX, 1, General},
    {"psha", 0x0036, kInh, 0, Inherent},
    {"pshb", 0x0037, kInh, 0, Inherent},
    {"pshc", 0x0039, kInh, 0, Inherent},
    {"pshcw", 0x1839, kInh | kX, 0, InherentTwoByte},
    {"pshd", 0x003B, kInh, 0, Inherent},
    {"pshx", 0x0034, kInh, 0, Inherent},
    {"pshy", 0x0035, kInh, 0, Inherent},
    {"pula", 0x0032, kInh, 0, Inherent},
    {"pulb", 0x0033, kInh, 0, Inherent},
    {"pulc", 0x0038, kInh, 0, Inherent},
    {"pulcw", 0x1838, kInh | kX, 0, InherentTwoByte},
    {"puld", 0x003A, kInh, 0, Inherent},
    {"pulx", 0x0030, kInh, 0, Inherent},
    {"puly", 0x0031, kInh, 0, Inherent},
    {"rev", 0x183A, kInh, 0, InherentTwoByte},
    {"revw", 0x183B, kInh, 0, InherentTwoByte},
    {"rol", 0x0065, kMemory, 0, Memory},
    {"rola", 0x0045, kInh, 0, Inherent},
    {"rolb", 0x0055, kInh, 0, Inherent},
    {"rolw", 0x1865, kMemory | kX, 1, Memory},
    {"rolx", 0x1845, kInh | kX, 0, InherentTwoByte},
    {"roly", 0x1855, kInh | kX, 0, InherentTwoByte},
    {"ror", 0x0066, kMemory, 0, Memory},
    {"rora", 0x0046, kInh, 0, Inherent},
    {"rorb", 0x0056, kInh, 0, Inherent},
    {"rorw", 0x1866, kMemory | kX, 1, Memory},
    {"rorx", 0x1846, kInh | kX, 0, InherentTwoByte},
    {"rory", 0x1856, kInh | kX, 0, InherentTwoByte},
    {"rtc", 0x000A, kInh, 0, Inherent},
    {"rti", 0x000B, kInh, 0, Inherent},
    {"rts", 0x003D, kInh, 0, Inherent},
    {"sba", 0x1816, kInh, 0, InherentTwoByte},
    {"sbca", 0x0082, kGeneral, 0, General},
    {"sbcb", 0x00C2, kGeneral, 0, General},
    {"sbed", 0x1883, kGeneral | kX, 1, General},
    {"sbex", 0x1882, kGeneral | kX, 1, General},
    {"sbey", 0x18C2, kGeneral | kX, 1, General},
    {"sec", 0x1401, kInh, 0, InherentTwoByte},
    {"sei", 0x1410, kInh, 0, InherentTwoByte},
    {"sev", 0x1402, kInh, 0, InherentTwoByte},
    {"sex", 0x00B7, 0, 3, Transfer},
    {"staa", 0x004A, kStore, 0, Store},
    {"stab", 0x004B, kStore, 0, Store},
    {"std", 0x004C, kStore, 0, Store},
    {"stop", 0x183E, kInh, 0, InherentTwoByte},
    {"sts", 0x004F, kStore, 0, Store},
    {"stx", 0x004E, kStore, 0, Store},
    {"sty", 0x004D, kStore, 0, Store},
    {"suba", 0x0080, kGeneral, 0, General},
    {"subb", 0x00C0, kGeneral, 0, General},
    {"subd", 0x0083, kGeneral, 1, General},
    {"subx", 0x1880, kGeneral | kX, 1, General},
    {"suby", 0x18C0, kGeneral | kX, 1, General},
    {"swi", 0x003F, kInh, 0, Inherent},
    {"tab", 0x180E, kInh, 0, InherentTwoByte},
    {"tap", 0xB702, kInh, 0, InherentTwoByte},
    {"tba", 0x180F, kInh, 0, InherentTwoByte},
    {"tbeq", 0x0004, 0, kTbeq, Loop},
    {"tbl", 0x183D, kModeIdx5, 0, Table},
    {"tbne", 0x0004, 0, kTbne, Loop},
    {"tfr", 0x00B7, 0, 1, Transfer},
    {"tpa", 0xB720, kInh, 0, InherentTwoByte},
    {"trap", 0x0018, kModeImmediate, 0, Trap},
    {"tst", 0x00E7, kMemory, 0, Memory},
    {"tsta", 0x0097, kInh, 0, Inherent},
    {"tstb", 0x00D7, kInh, 0, Inherent},
    {"tstw", 0x18E7, kMemory | kX, 0, Store},
    {"tstx", 0x1897, kInh | kX, 0, InherentTwoByte},
    {"tsty", 0x18D7, kInh | kX, 0, InherentTwoByte},
    {"tsx", 0xB775, kInh, 0, InherentTwoByte},
    {"tsy", 0xB776, kInh, 0, InherentTwoByte},
    {"txs", 0xB757, kInh, 0, InherentTwoByte},
    {"tys", 0xB767, kInh, 0, InherentTwoByte},
    {"wai", 0x003E, kInh, 0, Inherent},
    {"wav", 0x183C, kInh, 0, InherentTwoByte},
    {"wavr", 0x003C, kInh, 0, Inherent},
    {"xgdx", 0xB7C5, kInh, 0, InherentTwoByte},
    {"xgdy", 0xB7C6, kInh, 0, InherentTwoByte},
};

static_assert(grouped_by_first_letter(kTable), "rows are grouped by first letter");
constexpr LetterIndex kIndex = make_letter_index(kTable);

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

const MnemonicEntry* find_mnemonic(std::span<const MnemonicEntry> rows, const LetterIndex& index,
                                   const char*& p) {
    const int first = lower(p[0]) - 'a';
    // The tables are indexed by the letters a to y: a mnemonic beginning with
    // z is never found.
    if (first < 0 || first >= 25) return nullptr;
    for (size_t row = index[size_t(first)]; row < index[size_t(first) + 1]; ++row) {
        const char* name = rows[row].name;
        size_t i = 1;
        while (name[i] && lower(p[i]) == name[i])
            ++i;
        if (!name[i] && ends_word(p[i])) {
            p += i;
            return &rows[row];
        }
    }
    return nullptr;
}

const MnemonicEntry* lookup_hc12_mnemonic(const char*& p) {
    return find_mnemonic(kTable, kIndex, p);
}

} // namespace torva
