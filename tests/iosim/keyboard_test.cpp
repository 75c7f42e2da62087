#include "iosim/devices/keyboard.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(KeyboardTest, KeyIsLatchedUntilAcknowledged) {
    Keyboard kb("$9C0");
    EXPECT_EQ(0x00, kb.read(0));
    EXPECT_TRUE(kb.press_key(0xB));
    EXPECT_EQ(0xCB, kb.read(0)); // new key, key down, code B
    EXPECT_EQ(0xCB, kb.read(1)); // the QX5 adapter reads at offset 1
    kb.release_key();
    EXPECT_EQ(0x8B, kb.read(0)); // still new after release
    kb.write(0, 0x00);
    EXPECT_EQ(0x0B, kb.read(0)); // acknowledged; the code stays
    EXPECT_FALSE(kb.press_key(16));
    EXPECT_FALSE(kb.press_key(-1));
    EXPECT_EQ(0x0B, kb.read(0));
    EXPECT_EQ(0xFF, kb.read(2));
}

TEST(KeyboardTest, InterruptWhileEnabledAndAKeyWaits) {
    Keyboard kb("$C00");
    kb.press_key(3);
    EXPECT_FALSE(kb.irq_pending());          // not enabled yet
    kb.write(0, Keyboard::kInterruptEnable); // enables and acknowledges
    EXPECT_FALSE(kb.irq_pending());
    kb.press_key(4);
    EXPECT_TRUE(kb.irq_pending());
    kb.write(1, Keyboard::kInterruptEnable); // the handler's acknowledge
    EXPECT_FALSE(kb.irq_pending());
    EXPECT_TRUE(kb.interrupt_enabled());
    kb.write(0, 0x00);
    kb.press_key(5);
    EXPECT_FALSE(kb.irq_pending());
}

} // namespace
} // namespace torva
