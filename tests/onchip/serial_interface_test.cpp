#include "cpu/onchip/serial_interface.h"

#include <gtest/gtest.h>

#include <optional>

namespace torva {
namespace {

using Sci = SerialInterface;

// An attached interface with the baud rate set and the given control 2.
Sci ready_interface(uint8_t control2) {
    Sci sci(0xFFD6);
    sci.attach();
    sci.write(Sci::kBaudHigh, 0x00);
    sci.write(Sci::kBaudLow, 0x01);
    sci.write(Sci::kControl2, control2);
    return sci;
}

TEST(SerialInterfaceTest, TransmitTakesTwelveSteps) {
    Sci sci = ready_interface(Sci::kTransmitterEnable);
    EXPECT_EQ(0xC0, sci.status1());
    EXPECT_FALSE(sci.transmit_progress()); // idle: nothing to send
    sci.write(Sci::kDataLow, 'A');
    EXPECT_EQ(0x00, sci.status1());
    EXPECT_FALSE(sci.transmit_progress()); // step 1 starts the character
    EXPECT_TRUE(sci.transmitting());
    for (int step = 2; step <= 11; ++step) {
        SCOPED_TRACE(step);
        EXPECT_FALSE(sci.transmit_progress());
        EXPECT_EQ(0x00, sci.status1());
    }
    EXPECT_EQ(std::optional<uint8_t>('A'), sci.transmit_progress()); // step 12
    EXPECT_EQ(0xC0, sci.status1());
    EXPECT_FALSE(sci.transmitting());
    EXPECT_FALSE(sci.transmit_progress());
}

TEST(SerialInterfaceTest, DisabledTransmitterHoldsTheCharacter) {
    Sci sci = ready_interface(0);
    sci.write(Sci::kDataLow, 'B');
    for (int step = 0; step < 20; ++step)
        EXPECT_FALSE(sci.transmit_progress());
    sci.write(Sci::kControl2, Sci::kTransmitterEnable);
    std::optional<uint8_t> sent;
    int steps = 0;
    while (!sent && steps < 20)
        sent = sci.transmit_progress(), ++steps;
    EXPECT_EQ(12, steps);
    EXPECT_EQ(std::optional<uint8_t>('B'), sent);
}

TEST(SerialInterfaceTest, BaudMustBeSetHighThenLowBeforeAnythingElse) {
    Sci sci(0xFFD6);
    sci.attach();
    EXPECT_FALSE(sci.receive('a')); // nor does the receiver take anything
    EXPECT_EQ(0xC0, sci.status1());
    sci.write(Sci::kControl2, 0x0C); // before the baud rate: ignored
    EXPECT_EQ(0x00, sci.read(Sci::kControl2));
    sci.write(Sci::kBaudLow, 0x34); // low before high: ignored
    EXPECT_EQ(Sci::BaudState::kNone, sci.baud_state());
    EXPECT_EQ(0x00, sci.read(Sci::kBaudLow));
    sci.write(Sci::kBaudHigh, 0xFF);
    EXPECT_EQ(0x1F, sci.read(Sci::kBaudHigh));
    EXPECT_EQ(Sci::BaudState::kHighWritten, sci.baud_state());
    sci.write(Sci::kControl2, 0x0C); // baud not complete: still ignored
    EXPECT_EQ(0x00, sci.read(Sci::kControl2));
    sci.write(Sci::kBaudLow, 0x34);
    EXPECT_EQ(Sci::BaudState::kSet, sci.baud_state());
    sci.write(Sci::kControl2, 0x0C);
    EXPECT_EQ(0x0C, sci.read(Sci::kControl2));

    // A divisor of 0 does not set the rate.
    Sci zero(0xFFD4);
    zero.attach();
    zero.write(Sci::kBaudHigh, 0x00);
    zero.write(Sci::kBaudLow, 0x00);
    EXPECT_EQ(Sci::BaudState::kHighWritten, zero.baud_state());
    // Reading baud low after the high byte completes the setting.
    zero.read(Sci::kBaudLow);
    EXPECT_EQ(Sci::BaudState::kSet, zero.baud_state());
}

TEST(SerialInterfaceTest, WriteMasksOfStatus2AndDataHigh) {
    Sci sci = ready_interface(0);
    sci.write(Sci::kStatus2, 0xFF);
    sci.write(Sci::kDataHigh, 0xFF);
    sci.write(Sci::kStatus1, 0x00); // read-only
    sci.write(Sci::kControl1, 0xA5);
    EXPECT_EQ(0x06, sci.read(Sci::kStatus2));
    EXPECT_EQ(0x40, sci.read(Sci::kDataHigh));
    EXPECT_EQ(0xC0, sci.read(Sci::kStatus1));
    EXPECT_EQ(0xA5, sci.read(Sci::kControl1));
}

TEST(SerialInterfaceTest, ReceiveOverrunAndReadClear) {
    Sci sci = ready_interface(0);
    EXPECT_FALSE(sci.receive('x')); // receiver disabled
    EXPECT_EQ(0xC0, sci.status1());
    sci.write(Sci::kControl2, Sci::kReceiverEnable);
    EXPECT_TRUE(sci.receive('a'));
    EXPECT_EQ(0xE0, sci.status1()); // full, no overrun though transmit-complete is set
    EXPECT_TRUE(sci.receive('b'));  // arrives before 'a' was read
    EXPECT_EQ(0xE8, sci.status1());
    EXPECT_EQ('b', sci.read(Sci::kDataLow));
    EXPECT_EQ(0xC0, sci.status1());
    EXPECT_TRUE(sci.receive('c'));
    EXPECT_EQ(0xE0, sci.status1());
    EXPECT_EQ('c', sci.read(Sci::kDataLow));
}

TEST(SerialInterfaceTest, InterruptConditions) {
    struct Case {
        int line;
        uint8_t control2;
        bool transmit_pending; // a byte written, not yet sent
        bool received;         // a byte waiting in the receiver
        bool request;
    };
    constexpr uint8_t TE = Sci::kTransmitterEnable, RE = Sci::kReceiverEnable;
    const Case cases[] = {
        {__LINE__, TE | Sci::kTransmitInterrupt, false, false, true}, // empty
        {__LINE__, TE | Sci::kTransmitInterrupt, true, false, false}, // busy
        {__LINE__, Sci::kTransmitInterrupt, false, false, false},     // transmitter off
        {__LINE__, TE | Sci::kCompleteInterrupt, false, false, true}, // complete
        {__LINE__, TE | Sci::kCompleteInterrupt, true, false, false}, // still sending
        {__LINE__, RE | Sci::kReceiveInterrupt, false, true, true},
        {__LINE__, RE | Sci::kReceiveInterrupt, false, false, false},
        {__LINE__, Sci::kReceiveInterrupt | TE, false, true, false}, // receiver off
        {__LINE__, RE | Sci::kIdleInterrupt, false, false, false},   // line never idles
        {__LINE__, RE | Sci::kIdleInterrupt, false, true, false},
        {__LINE__, TE | RE, false, true, false}, // nothing enabled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Sci sci = ready_interface(c.control2 | Sci::kReceiverEnable);
        if (c.received) sci.receive('r');
        sci.write(Sci::kControl2, c.control2);
        if (c.transmit_pending) sci.write(Sci::kDataLow, 't');
        EXPECT_EQ(c.request ? std::optional<uint16_t>(0xFFD6) : std::nullopt, sci.pending_vector());
    }
}

TEST(SerialInterfaceTest, LineGoesIdleOneCharacterTimeAfterTheLastByte) {
    Sci sci = ready_interface(Sci::kReceiverEnable | Sci::kIdleInterrupt);
    for (int step = 0; step < 30; ++step)
        sci.transmit_progress();
    EXPECT_FALSE(sci.status1() & Sci::kIdle); // idle only after a character
    sci.receive('a');
    for (int step = 1; step < Sci::kIdleSteps; ++step)
        sci.transmit_progress();
    sci.receive('b'); // a new character restarts the idle time
    for (int step = 1; step < Sci::kIdleSteps; ++step)
        sci.transmit_progress();
    EXPECT_FALSE(sci.status1() & Sci::kIdle);
    EXPECT_FALSE(sci.pending_vector());
    sci.transmit_progress();
    EXPECT_TRUE(sci.status1() & Sci::kIdle);
    EXPECT_EQ(0xFFD6, sci.pending_vector());
    EXPECT_EQ('b', sci.read(Sci::kDataLow)); // clears idle with the data
    EXPECT_FALSE(sci.status1() & Sci::kIdle);
    for (int step = 0; step < 30; ++step)
        sci.transmit_progress();
    EXPECT_FALSE(sci.status1() & Sci::kIdle); // not again without a new byte
}

TEST(SerialInterfaceTest, DetachedInterfaceIsSilent) {
    Sci sci = ready_interface(Sci::kTransmitterEnable | Sci::kTransmitInterrupt);
    ASSERT_TRUE(sci.pending_vector());
    sci.detach();
    EXPECT_FALSE(sci.pending_vector());
    EXPECT_EQ(0, sci.read(Sci::kStatus1));
    EXPECT_FALSE(sci.receive('a'));
    sci.write(Sci::kDataLow, 'x');
    EXPECT_FALSE(sci.transmit_progress());
    // Attaching again starts from a clean interface.
    sci.attach();
    EXPECT_EQ(0xC0, sci.read(Sci::kStatus1));
    EXPECT_EQ(0x00, sci.read(Sci::kControl2));
    EXPECT_EQ(Sci::BaudState::kNone, sci.baud_state());
}

TEST(SerialInterfaceTest, ResetDropsTheTransmissionAndBaud) {
    Sci sci = ready_interface(Sci::kTransmitterEnable | Sci::kReceiverEnable);
    sci.write(Sci::kStatus2, 0x06);
    sci.write(Sci::kDataLow, 'z');
    sci.transmit_progress();
    sci.reset();
    EXPECT_EQ(0xC0, sci.read(Sci::kStatus1));
    EXPECT_EQ(0x00, sci.read(Sci::kStatus2));
    EXPECT_EQ(0x00, sci.read(Sci::kBaudLow));
    EXPECT_EQ(0x00, sci.read(Sci::kControl2));
    EXPECT_EQ(Sci::BaudState::kNone, sci.baud_state());
    EXPECT_FALSE(sci.transmitting());
    EXPECT_FALSE(sci.transmit_progress());
}

} // namespace
} // namespace torva
