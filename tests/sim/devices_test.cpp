// Whole programs against device models through the run control.
#include "sim_fixture.h"

#include "iosim/devices/printer.h"
#include "iosim/devices/serial_device.h"

namespace torva {
namespace {

using DevicesTest = test::SimulatorFixture;
using test::connect_device;

TEST_F(DevicesTest, PrinterProgramPollsTheStatusAt801) {
    Printer* printer = connect_device<Printer>(board, bus_row::kPrinter);
    ASSERT_NE(nullptr, printer);
    load({{0x1000,
           {
               0xCE, 0x10, 0x20, // $1000 LDX  #$1020
               0xE6, 0x30,       // $1003 LDAB 1,X+
               0x27, 0x12,       // $1005 BEQ  $1019
               0xB6, 0x08, 0x01, // $1007 LDAA $0801   status
               0x2A, 0xFB,       // $100A BPL  $1007   not ready yet
               0x7B, 0x08, 0x00, // $100C STAB $0800   data
               0x86, 0x01,       // $100F LDAA #$01
               0x7A, 0x08, 0x02, // $1011 STAA $0802   strobe up
               0x79, 0x08, 0x02, // $1014 CLR  $0802   strobe down
               0x20, 0xEA,       // $1017 BRA  $1003
               0x3F,             // $1019 SWI
           }},
          {0x1020, {'H', 'I', '\r', '\n', 0}}});
    const auto result = run_to_swi();
    EXPECT_EQ(Simulator::StopReason::kOpcode, result.reason);
    EXPECT_EQ("HI\r\n", printer->paper());
    // Each character after the first waited out the printer's busy time.
    EXPECT_GT(sim.cycle_total(), 3 * Printer::kBusyCycles);
}

// A program that idles in WAI is woken by what the board does meanwhile: the
// serial line delivers a character, a device finishes its busy time.
TEST_F(DevicesTest, SerialInputWakesAProgramWaitingInWai) {
    SerialDevice* console = connect_device<SerialDevice>(board, bus_row::kSerial0);
    ASSERT_NE(nullptr, console);
    load({{0x1000,
           {
               0xCE, 0x20, 0x00, // $1000 LDX  #$2000
               0x7E, 0x21, 0x00, // $1003 STX  $2100   where the next character goes
               0x86, 0x2C,       // $1006 LDAA #$2C    receive interrupt, TE, RE
               0x5A, 0xCB,       // $1008 STAA $CB
               0x10, 0xEF,       // $100A CLI
               0x3E,             // $100C WAI
               0x20, 0xFD,       // $100D BRA  $100C
           }},
          {0x1100,
           {
               0xD6, 0xCF,       // $1100 LDAB $CF     takes the character
               0xFE, 0x21, 0x00, // $1102 LDX  $2100
               0x6B, 0x30,       // $1105 STAB 1,X+
               0x7E, 0x21, 0x00, // $1107 STX  $2100
               0x0B,             // $110A RTI
           }},
          {0xFFD6, {0x11, 0x00}}});
    console->type_text("ok");
    sim.run_headless(2000, {});
    EXPECT_EQ('o', read(0x2000));
    EXPECT_EQ('k', read(0x2001));
    EXPECT_EQ(0u, console->pending_input());
    EXPECT_TRUE(cpu.cpu_waiting); // idling again
}

TEST_F(DevicesTest, DeviceTimeRunsWhileTheCpuWaits) {
    Printer* printer = connect_device<Printer>(board, bus_row::kPrinter);
    ASSERT_NE(nullptr, printer);
    load({{0x1000,
           {
               0x86, 'P',        // $1000 LDAA #'P'
               0x7A, 0x08, 0x00, // $1002 STAA $0800   data
               0x86, 0x03,       // $1005 LDAA #$03    strobe, interrupt when ready
               0x7A, 0x08, 0x02, // $1007 STAA $0802
               0x10, 0xEF,       // $100A CLI
               0x3E,             // $100C WAI
               0x3F,             // $100D SWI
           }},
          {0x1100,
           {
               0x79, 0x08, 0x02, // $1100 CLR  $0802   interrupt off
               0x0B,             // $1103 RTI
           }},
          {0xFFF2, {0x11, 0x00}}});
    const auto result = run_to_swi(2 * Printer::kBusyCycles);
    EXPECT_EQ(Simulator::StopReason::kOpcode, result.reason);
    EXPECT_EQ("P", printer->paper());
    EXPECT_TRUE(printer->ready());
}

} // namespace
} // namespace torva
