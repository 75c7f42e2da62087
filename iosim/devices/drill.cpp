// Spindle, feed, workpiece turning and the ways to break the drill.
#include "iosim/devices/drill.h"

#include <algorithm>

namespace torva {

uint8_t Drill::status() const {
    uint8_t value = 0;
    if (depth_ == 0) value |= kAtTop;
    if (depth_ == kDepth) value |= kAtBottom;
    if (!turning()) value |= kInPosition;
    if (broken_) value |= kBroken;
    if (workpiece_) value |= kWorkpiecePresent;
    return value;
}

uint8_t Drill::read(uint32_t offset) {
    switch (offset) {
    case kControl: return control_;
    case kStatus: return status();
    default: return 0xFF;
    }
}

void Drill::write(uint32_t offset, uint8_t value) {
    if (offset != kControl || value == control_) return;
    const bool turn = (value & kAdvance) && !(control_ & kAdvance);
    if ((value ^ control_) & kFeedDown) step_cycles_ = 0;
    control_ = value;
    if (turn && !turning()) {
        // Turning the workpiece with the drill in it snaps the drill.
        if (depth_ >= kContact && workpiece_) break_drill();
        turn_cycles_left_ = kTurnCycles;
    }
    changed();
}

int Drill::feed_direction() const {
    if (control_ & kFeedDown) return depth_ < kDepth ? 1 : 0;
    return depth_ > 0 ? -1 : 0;
}

uint32_t Drill::cycles_to_change() const {
    const uint32_t to_step = feed_direction() != 0 ? kStepCycles - step_cycles_ : kNoChange;
    const uint32_t to_turned = turning() ? turn_cycles_left_ : kNoChange;
    return std::min(to_step, to_turned);
}

void Drill::advance(uint32_t cycles) {
    while (cycles > 0) {
        const int direction = feed_direction();
        const uint32_t slice = std::min(cycles, cycles_to_change());
        if (slice == kNoChange) return; // nothing moves
        cycles -= slice;
        if (turning()) {
            turn_cycles_left_ -= slice;
            if (!turning()) {
                hole_position_ = (hole_position_ + 1) % kHoles;
                changed();
            }
        }
        if (direction == 0) {
            step_cycles_ = 0;
            continue;
        }
        step_cycles_ += slice;
        if (step_cycles_ == kStepCycles) {
            step_cycles_ = 0;
            move_one_step(direction);
        }
    }
}

void Drill::move_one_step(int direction) {
    // A broken drill has no tip to push into the workpiece.
    if (direction > 0 && broken_ && workpiece_ && depth_ >= kContact - 1) return;
    const int next = depth_ + direction;
    if (direction > 0 && workpiece_ && next >= kContact && !broken_) {
        // Cutting needs a turning spindle and a workpiece that stands still.
        if (!(control_ & kSpindle) || turning()) {
            break_drill();
            return;
        }
    }
    depth_ = next;
    if (depth_ == kDepth && workpiece_ && !broken_) holes_ |= uint8_t(1u << hole_position_);
    changed();
}

void Drill::break_drill() {
    if (broken_) return;
    broken_ = true;
    changed();
}

void Drill::set_workpiece_present(bool present) {
    // Only with the drill out of the way can the workpiece change.
    if (present == workpiece_ || depth_ >= kContact) return;
    workpiece_ = present;
    holes_ = 0;
    changed();
}

void Drill::repair() {
    if (!broken_) return;
    broken_ = false;
    changed();
}

} // namespace torva
