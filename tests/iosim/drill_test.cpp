#include "iosim/devices/drill.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

constexpr uint32_t kStep = Drill::kStepCycles;

TEST(DrillTest, DrillingAHoleTheRightWay) {
    Drill drill("$400/$600");
    EXPECT_EQ(Drill::kAtTop | Drill::kInPosition | Drill::kWorkpiecePresent,
              drill.read(Drill::kStatus));
    drill.write(Drill::kControl, Drill::kSpindle);
    drill.write(Drill::kControl, Drill::kSpindle | Drill::kFeedDown);
    drill.advance(kStep * (Drill::kDepth - 1));
    EXPECT_EQ(0, drill.read(Drill::kStatus) & (Drill::kAtTop | Drill::kAtBottom));
    drill.advance(kStep);
    EXPECT_TRUE(drill.read(Drill::kStatus) & Drill::kAtBottom);
    EXPECT_EQ(0x01, drill.holes_drilled());
    drill.write(Drill::kControl, Drill::kSpindle); // feed off: the drill returns
    drill.advance(kStep * Drill::kDepth);
    EXPECT_TRUE(drill.read(Drill::kStatus) & Drill::kAtTop);
    // Turn to the next hole: not in position while turning.
    drill.write(Drill::kControl, Drill::kSpindle | Drill::kAdvance);
    EXPECT_FALSE(drill.read(Drill::kStatus) & Drill::kInPosition);
    drill.advance(Drill::kTurnCycles);
    EXPECT_TRUE(drill.read(Drill::kStatus) & Drill::kInPosition);
    EXPECT_EQ(1, drill.hole_position());
    EXPECT_FALSE(drill.broken());
    EXPECT_EQ(Drill::kSpindle | Drill::kAdvance, drill.read(Drill::kControl));
}

TEST(DrillTest, CarelessControlBreaksTheDrill) {
    struct Case {
        int line;
        uint8_t first;   // control written first
        uint32_t cycles; // then this much time
        uint8_t second;  // then this control
        bool broken;
    };
    const Case cases[] = {
        // Feeding into the workpiece without the spindle.
        {__LINE__, Drill::kFeedDown, kStep * Drill::kDepth, Drill::kFeedDown, true},
        // Turning the workpiece with the drill in it.
        {__LINE__, Drill::kSpindle | Drill::kFeedDown, kStep * 4,
         Drill::kSpindle | Drill::kFeedDown | Drill::kAdvance, true},
        // Feeding while the workpiece still turns.
        {__LINE__, Drill::kSpindle | Drill::kAdvance, 0,
         Drill::kSpindle | Drill::kAdvance | Drill::kFeedDown, true},
        // Turning with the drill still above the workpiece is fine.
        {__LINE__, Drill::kSpindle | Drill::kFeedDown, kStep * (Drill::kContact - 1),
         Drill::kSpindle | Drill::kAdvance, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Drill drill("$400/$600");
        drill.write(Drill::kControl, c.first);
        drill.advance(c.cycles);
        drill.write(Drill::kControl, c.second);
        drill.advance(kStep * Drill::kDepth);
        EXPECT_EQ(c.broken, drill.broken());
        EXPECT_EQ(c.broken, (drill.read(Drill::kStatus) & Drill::kBroken) != 0);
    }
}

TEST(DrillTest, BrokenDrillMakesNoHoleUntilRepaired) {
    Drill drill("$400/$600");
    drill.write(Drill::kControl, Drill::kFeedDown);
    drill.advance(kStep * Drill::kDepth * 2);
    ASSERT_TRUE(drill.broken());
    EXPECT_FALSE(drill.read(Drill::kStatus) & Drill::kAtBottom);
    EXPECT_EQ(0, drill.holes_drilled());
    drill.write(Drill::kControl, 0);
    drill.advance(kStep * Drill::kDepth);
    drill.repair();
    drill.write(Drill::kControl, Drill::kSpindle | Drill::kFeedDown);
    drill.advance(kStep * Drill::kDepth);
    EXPECT_EQ(0x01, drill.holes_drilled());
}

TEST(DrillTest, WithoutWorkpieceTheDrillCutsAir) {
    Drill drill("$400/$600");
    drill.set_workpiece_present(false);
    drill.write(Drill::kControl, Drill::kFeedDown);
    drill.advance(kStep * Drill::kDepth);
    EXPECT_EQ(Drill::kAtBottom | Drill::kInPosition, drill.read(Drill::kStatus));
    drill.set_workpiece_present(true); // refused: the drill is in the way
    EXPECT_FALSE(drill.workpiece_present());
    EXPECT_FALSE(drill.broken());
    EXPECT_EQ(0, drill.holes_drilled());
}

} // namespace
} // namespace torva
