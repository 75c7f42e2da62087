#include "iosim/devices/printer.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

void strobe(Printer& printer, uint8_t byte, uint8_t control = 0) {
    printer.write(Printer::kData, byte);
    printer.write(Printer::kControl, control | Printer::kStrobe);
    printer.write(Printer::kControl, control);
}

TEST(PrinterTest, StrobePrintsAndBusyTimeFollows) {
    Printer printer("$800");
    EXPECT_EQ(Printer::kReady, printer.read(Printer::kStatus));
    strobe(printer, 'H');
    EXPECT_EQ("H", printer.paper());
    EXPECT_EQ(0x00, printer.read(Printer::kStatus)); // busy
    strobe(printer, 'X');                            // lost while busy
    printer.advance(Printer::kBusyCycles - 1);
    EXPECT_EQ(0x00, printer.read(Printer::kStatus));
    printer.advance(1);
    EXPECT_EQ(Printer::kReady, printer.read(Printer::kStatus));
    strobe(printer, 'i');
    EXPECT_EQ("Hi", printer.paper());
    // Holding the strobe high prints once only.
    printer.advance(Printer::kBusyCycles);
    printer.write(Printer::kData, '!');
    printer.write(Printer::kControl, Printer::kStrobe);
    printer.advance(Printer::kBusyCycles);
    printer.write(Printer::kControl, Printer::kStrobe);
    EXPECT_EQ("Hi!", printer.paper());
    // The data latch is write-only: register 0 reads the status.
    EXPECT_EQ(printer.read(Printer::kStatus), printer.read(Printer::kData));
    EXPECT_EQ(0xFF, printer.read(3));
}

TEST(PrinterTest, PaperOutAndInterrupt) {
    Printer printer("$800");
    printer.write(Printer::kControl, Printer::kInterruptEnable);
    EXPECT_TRUE(printer.irq_pending());
    strobe(printer, 'a', Printer::kInterruptEnable);
    EXPECT_FALSE(printer.irq_pending()); // busy
    printer.advance(Printer::kBusyCycles);
    EXPECT_TRUE(printer.irq_pending());
    printer.set_paper_out(true);
    EXPECT_EQ(Printer::kPaperOut, printer.read(Printer::kStatus));
    EXPECT_FALSE(printer.irq_pending());
    strobe(printer, 'b', Printer::kInterruptEnable);
    EXPECT_EQ("a", printer.paper());
    printer.set_paper_out(false);
    printer.tear_off();
    EXPECT_EQ("", printer.paper());
}

} // namespace
} // namespace torva
