// The include files for user programs: each assembles with and without
// other assemblers' syntax, and every register it names that the simulator
// models sits where the simulator has it.
#include "asm/asm_fixture.h"
#include "cpu/onchip/onchip_modules.h"
#include "support/flat_memory.h"
#include "support/tool_process.h"

#include <map>

namespace torva {
namespace {

namespace fs = std::filesystem;

fs::path include_dir() {
    return test::source_root() / "include/machine/rt12";
}

// A register the simulator models: its name in the manuals and its offset,
// taken from the simulator's own constants. `s12x`: the HCS12X has it too.
struct Modelled {
    const char* name;
    uint16_t offset;
    bool s12x;
};

constexpr uint16_t kClock = 0x34; // the clock module's first register
constexpr uint16_t kSerial0 = 0xC8;
constexpr uint16_t kSerial1 = 0xD0;

const Modelled kModelled[] = {
    {"PORTA", CoreBlock::kPortA, true},
    {"PORTB", CoreBlock::kPortB, true},
    {"DDRA", CoreBlock::kDdrA, true},
    {"DDRB", CoreBlock::kDdrB, true},
    {"INITRM", CoreBlock::kRamMapping, false},
    {"INITRG", CoreBlock::kRegisterMapping, false},
    {"INITEE", CoreBlock::kEepromMapping, false},
    {"PARTIDH", CoreBlock::kPartIdHigh, true},
    {"PARTIDL", CoreBlock::kPartIdLow, true},
    {"MEMSIZ0", CoreBlock::kMemorySize, false},
    {"BKPCT0", CoreBlock::kBreakControl0, false},
    {"BKPCT1", CoreBlock::kBreakControl1, false},
    {"BKP0X", CoreBlock::kBreakAddress0, false},
    {"BKP0H", CoreBlock::kBreakAddress0 + 1, false},
    {"BKP0L", CoreBlock::kBreakAddress0 + 2, false},
    {"BKP1X", CoreBlock::kBreakAddress1, false},
    {"BKP1H", CoreBlock::kBreakAddress1 + 1, false},
    {"BKP1L", CoreBlock::kBreakAddress1 + 2, false},
    {"PPAGE", CoreBlock::kPpage, true},
    {"SYNR", kClock + ClockModule::kSynthesizer, true},
    {"REFDV", kClock + ClockModule::kReferenceDivider, true},
    {"CTFLG", kClock + ClockModule::kTestFlags, true},
    {"CRGFLG", kClock + ClockModule::kFlags, true},
    {"CRGINT", kClock + ClockModule::kInterruptEnable, true},
    {"CLKSEL", kClock + ClockModule::kClockSelect, true},
    {"PLLCTL", kClock + ClockModule::kPllControl, true},
    {"RTICTL", kClock + ClockModule::kRtiControl, true},
    {"COPCTL", kClock + ClockModule::kWatchdogControl, true},
    {"FORBYP", kClock + ClockModule::kBypass, true},
    {"CTCTL", kClock + ClockModule::kTestControl, true},
    {"ARMCOP", kClock + ClockModule::kWatchdogArm, true},
    {"SCI0BDH", kSerial0 + SerialInterface::kBaudHigh, true},
    {"SCI0BDL", kSerial0 + SerialInterface::kBaudLow, true},
    {"SCI0CR1", kSerial0 + SerialInterface::kControl1, true},
    {"SCI0CR2", kSerial0 + SerialInterface::kControl2, true},
    {"SCI0SR1", kSerial0 + SerialInterface::kStatus1, true},
    {"SCI0SR2", kSerial0 + SerialInterface::kStatus2, true},
    {"SCI0DRH", kSerial0 + SerialInterface::kDataHigh, true},
    {"SCI0DRL", kSerial0 + SerialInterface::kDataLow, true},
    {"SCI1BDH", kSerial1 + SerialInterface::kBaudHigh, true},
    {"SCI1BDL", kSerial1 + SerialInterface::kBaudLow, true},
    {"SCI1CR1", kSerial1 + SerialInterface::kControl1, true},
    {"SCI1CR2", kSerial1 + SerialInterface::kControl2, true},
    {"SCI1SR1", kSerial1 + SerialInterface::kStatus1, true},
    {"SCI1SR2", kSerial1 + SerialInterface::kStatus2, true},
    {"SCI1DRH", kSerial1 + SerialInterface::kDataHigh, true},
    {"SCI1DRL", kSerial1 + SerialInterface::kDataLow, true},
};

// The names each file must define of kModelled: all of them, those of the
// HCS12X, or those of a chip with one serial interface.
enum class Expect { kAll, kS12x, kOneSerial, kAny };

struct IncludeFile {
    const char* name;
    Expect expect;
};

const IncludeFile kFiles[] = {
    {"rt12.inc", Expect::kAny},          {"mc9s12dp256.inc", Expect::kAll},
    {"mc9s12dg256.inc", Expect::kAll},   {"mc9s12c128.inc", Expect::kOneSerial},
    {"mc9s12xdp512.inc", Expect::kS12x}, {"derivative.inc", Expect::kAll},
    {"hcs12.inc", Expect::kAll},         {"reg9s12.h", Expect::kAll},
    {"dbug12.inc", Expect::kAny},
};

// Assembles a program that includes the file, with -S; the symbols the
// listing's symbol table gives, or an empty map when the run had messages.
std::map<std::string, uint32_t> symbols_of(const std::string& file, bool compat) {
    test::TempDir dir;
    const std::string source =
        std::string(compat ? "#include \"" : " include \"") + file + "\"\n org $1000\n nop\n";
    dir.write("prog.asm", source);
    AsmSession session;
    std::string messages;
    session.write_line = [&](std::string_view line) { (messages += line) += '\n'; };
    {
        test::CurrentDir here(dir.path());
        asm_assemble(session, std::string("-L -S -w ") + (compat ? "-c " : "") + "-I \"" +
                                  include_dir().string() + "\" \"prog.asm\"");
    }
    std::map<std::string, uint32_t> symbols;
    EXPECT_EQ("No Errors.\n", messages) << file << (compat ? " with -c" : "");
    std::istringstream listing(test::read_text(dir.path() / "prog.lst"));
    std::string line;
    bool table = false;
    while (std::getline(listing, line)) {
        if (line.starts_with("--\tSYMBOL TABLE:")) table = true;
        if (!table || line.size() < 3 || line[0] != '\t' || line[1] == '-') continue;
        const size_t tab = line.find('\t', 1);
        if (tab == std::string::npos) continue;
        symbols[line.substr(tab + 1)] = uint32_t(std::stoul(line.substr(1, tab - 1), nullptr, 16));
    }
    return symbols;
}

TEST(RegisterIncludesTest, EveryFileIsCheckedAndNoneIsMissed) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(include_dir())) {
        const std::string name = entry.path().filename().string();
        bool listed = false;
        for (const IncludeFile& f : kFiles)
            listed = listed || name == f.name;
        EXPECT_TRUE(listed) << name << " is not checked here";
        ++files;
    }
    EXPECT_EQ(std::size(kFiles), size_t(files));
}

TEST(RegisterIncludesTest, ModelledRegistersSitWhereTheSimulatorHasThem) {
    test::FlatMemory memory;
    OnChipModules modules(memory);
    for (const Modelled& m : kModelled) {
        uint8_t byte = 0;
        EXPECT_TRUE(modules.peek(m.offset, byte)) << m.name << " is no register of the simulator's";
    }
    for (const IncludeFile& f : kFiles) {
        SCOPED_TRACE(f.name);
        const auto plain = symbols_of(f.name, false);
        const auto compat = symbols_of(f.name, true);
        EXPECT_EQ(plain, compat); // the same names and values in both dialects
        for (const Modelled& m : kModelled) {
            const auto it = plain.find(m.name);
            const bool wanted =
                f.expect == Expect::kAll || (f.expect == Expect::kS12x && m.s12x) ||
                (f.expect == Expect::kOneSerial && !std::string(m.name).starts_with("SCI1"));
            if (it == plain.end()) {
                EXPECT_FALSE(wanted) << m.name << " is missing";
                continue;
            }
            EXPECT_EQ(m.offset, it->second) << m.name;
        }
        // Interrupt vectors the simulator raises.
        const std::pair<const char*, uint16_t> vectors[] = {
            {"VRTI", ClockModule::kRtiVector},
            {"VSCI0", OnChipModules::kFirstSerialVector},
            {"VSCI1", OnChipModules::kSecondSerialVector},
        };
        for (const auto& [name, vector] : vectors) {
            const auto it = plain.find(name);
            if (it != plain.end()) {
                EXPECT_EQ(vector, it->second) << name;
            }
        }
    }
}

TEST(RegisterIncludesTest, TextbookVectorSlotsAreTheMonitorsSlots) {
    // The monitor keeps the handler of the vector at V at V - RAMVEC.
    const auto board = symbols_of("rt12.inc", false);
    const auto textbook = symbols_of("hcs12.inc", false);
    const uint32_t ramvec = board.at("RAMVEC");
    const std::pair<const char*, const char*> slots[] = {
        {"UserRTI", "VRTI"},         {"UserSCI0", "VSCI0"},       {"UserSCI1", "VSCI1"},
        {"UserIRQ", "VIRQ"},         {"UserXIRQ", "VXIRQ"},       {"UserTrap", "VTRAP"},
        {"UserTimerCh0", "VTIMCH0"}, {"UserTimerCh7", "VTIMCH7"}, {"UserPortH", "VPORTH"},
    };
    for (const auto& [slot, vector] : slots)
        EXPECT_EQ(textbook.at(vector) - ramvec, textbook.at(slot)) << slot;
}

} // namespace
} // namespace torva
