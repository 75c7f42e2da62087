#include "iosim/devices/door.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(DoorTest, MotorMovesTheDoorBetweenItsEndSensors) {
    Door door("$B00");
    EXPECT_EQ(Door::kClosed, door.read(0));
    door.write(0, Door::kMotorOpen);
    door.advance(Door::kStepCycles - 1);
    EXPECT_EQ(0, door.position());
    door.advance(1);
    EXPECT_EQ(1, door.position());
    EXPECT_EQ(0x00, door.read(0)); // between the end sensors
    door.advance(Door::kStepCycles * 20);
    EXPECT_EQ(Door::kTravel, door.position());
    EXPECT_EQ(Door::kFullyOpen, door.read(0));
    door.write(0, Door::kMotorClose);
    door.advance(Door::kStepCycles * (Door::kTravel - 1));
    EXPECT_EQ(1, door.position());
    door.advance(Door::kStepCycles);
    EXPECT_EQ(Door::kClosed, door.read(0));
    door.write(0, Door::kMotorOpen | Door::kMotorClose); // both: no movement
    door.advance(Door::kStepCycles * 5);
    EXPECT_EQ(0, door.position());
}

TEST(DoorTest, LockAndPhotocellStopTheMotor) {
    Door door("$B00");
    door.write(0, Door::kLock | Door::kMotorOpen);
    door.advance(Door::kStepCycles * 3);
    EXPECT_EQ(0, door.position());
    EXPECT_EQ(Door::kClosed | Door::kLocked, door.read(0));
    door.write(0, Door::kMotorOpen);
    door.advance(Door::kStepCycles * 3);
    EXPECT_EQ(3, door.position());
    door.set_doorway_blocked(true);
    door.write(0, Door::kMotorClose);
    door.advance(Door::kStepCycles * 3);
    EXPECT_EQ(3, door.position());
    EXPECT_TRUE(door.squeezing());
    EXPECT_EQ(Door::kDoorwayBlocked, door.read(0));
    door.set_doorway_blocked(false);
    door.advance(Door::kStepCycles * 3);
    EXPECT_EQ(0, door.position());
    EXPECT_FALSE(door.squeezing());
}

TEST(DoorTest, ButtonLatchesARequestThatInterruptsUntilRead) {
    Door door("$B00");
    door.set_button(true);
    EXPECT_FALSE(door.irq_pending()); // not enabled
    door.write(0, Door::kInterruptEnable | Door::kLamp);
    EXPECT_TRUE(door.irq_pending());
    door.set_button(false);
    EXPECT_EQ(Door::kClosed | Door::kRequest, door.read(0));
    EXPECT_FALSE(door.irq_pending());
    EXPECT_EQ(Door::kClosed, door.read(0));
    door.set_button(true);
    EXPECT_EQ(Door::kClosed | Door::kButtonDown | Door::kRequest, door.read(0));
    EXPECT_EQ(Door::kClosed | Door::kButtonDown, door.read(0));
    EXPECT_EQ(Door::kInterruptEnable | Door::kLamp, door.control());
    EXPECT_EQ(0xFF, door.read(1));
}

} // namespace
} // namespace torva
