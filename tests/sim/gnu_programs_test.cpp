// Programs assembled and linked by the GNU tools for the 68HC12 run on the
// simulated board: serial output by polling, and a real-time interrupt handler.
#include "sim_fixture.h"

#include "iosim/devices/serial_device.h"
#include "support/oracle.h"
#include "support/tool_process.h"

#include <cstdlib>

namespace torva {
namespace {

// RAM from $1000 for code and data, the vectors at the top of flash.
constexpr char kLinkerScript[] = R"(
MEMORY { ram (rwx) : ORIGIN = 0x1000, LENGTH = 0x2000
         vectors (r) : ORIGIN = 0xFFF0, LENGTH = 0x10 }
SECTIONS {
  .text : { *(.text) *(.data) } > ram
  .vectors : { *(.vectors) } > vectors
}
)";

struct GnuProgramsTest : test::SimulatorFixture {
    // Assembles with m68hc11-as -m68hcs12, links at $1000, converts to
    // S-records and loads them; false when a tool or the load failed.
    bool build_and_load(const std::string& source) {
        dir.write("prog.s", source);
        dir.write("rt12.ld", kLinkerScript);
        const auto file = [&](const char* name) {
            return test::shell_quoted((dir.path() / name).string());
        };
        std::string command = "m68hc11-as -m68hcs12 -o ";
        command += file("prog.o") + " " + file("prog.s");
        command += " && m68hc11-ld -m m68hc12elf -T " + file("rt12.ld");
        command += " -o " + file("prog.elf") + " " + file("prog.o");
        command += " && m68hc11-objcopy -O srec " + file("prog.elf") + " " + file("prog.s19");
        if (std::system(command.c_str()) != 0) return false;
        sim.load_file().load_file_path = (dir.path() / "prog.s19").string();
        return sim.load_chain() == kLoadOk;
    }
};

TEST_F(GnuProgramsTest, PrintsTextThroughSerialInterfaceZeroByPolling) {
    TORVA_REQUIRE_ORACLE("m68hc11-as", "m68hc11-ld");
    auto* console = test::connect_device<SerialDevice>(board, bus_row::kSerial0);
    ASSERT_NE(nullptr, console);
    ASSERT_TRUE(build_and_load(R"(
        .sect .text
        .globl _start
SCI0SR1 = 0xcc
SCI0DRL = 0xcf
_start: ldx   #message
next:   ldab  1,x+
        beq   drain
wait:   brclr SCI0SR1,#0x80,wait   ; transmit data register empty?
        stab  SCI0DRL
        bra   next
drain:  brclr SCI0SR1,#0x40,drain  ; transmission complete
        swi
message: .asciz "Hello from GNU as\r\n"
)"));
    EXPECT_EQ(0x1000, cpu.regs.pc);
    const auto result = run_to_swi(100000);
    EXPECT_EQ(Simulator::StopReason::kOpcode, result.reason);
    EXPECT_EQ("Hello from GNU as\r\n", console->output());
}

TEST_F(GnuProgramsTest, CountsRealTimeInterruptsInAHandler) {
    TORVA_REQUIRE_ORACLE("m68hc11-as", "m68hc11-ld");
    ASSERT_TRUE(build_and_load(R"(
        .sect .text
        .globl _start
CRGFLG = 0x37
CRGINT = 0x38
RTICTL = 0x3b
_start: clr   count
        movb  #0x10,RTICTL     ; period 2 * 1024 cycles
        movb  #0x80,CRGINT     ; real-time interrupt enabled
        cli
loop:   ldaa  count
        cmpa  #5
        blo   loop
        sei
        swi
rti_isr: inc  count
        movb  #0x80,CRGFLG     ; acknowledge
        rti
count:  .byte 0
        .sect .vectors
        .word rti_isr          ; 0xFFF0: real-time interrupt
)"));
    const auto result = run_to_swi(100000);
    ASSERT_EQ(Simulator::StopReason::kOpcode, result.reason);
    // The loop left with the count it compared against 5 in A.
    EXPECT_EQ(5, cpu.regs.a);
    // Five periods of 2048 cycles passed, and not a sixth.
    EXPECT_GE(sim.cycle_total(), 5u * 2048);
    EXPECT_LT(sim.cycle_total(), 6u * 2048);
    EXPECT_FALSE(sim.in_service(InterruptSource::kIrq));
}

} // namespace
} // namespace torva
