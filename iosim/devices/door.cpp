// Sensors, motor travel and request latch of the door.
#include "iosim/devices/door.h"

namespace torva {

uint8_t Door::sensors() const {
    uint8_t value = 0;
    if (position_ == 0) value |= kClosed;
    if (position_ == kTravel) value |= kFullyOpen;
    if (button_) value |= kButtonDown;
    if (blocked_) value |= kDoorwayBlocked;
    if (locked()) value |= kLocked;
    if (request_) value |= kRequest;
    return value;
}

uint8_t Door::read(uint32_t offset) {
    if (offset != 0) return 0xFF;
    const uint8_t value = sensors();
    if (request_) {
        request_ = false;
        changed();
    }
    return value;
}

void Door::write(uint32_t offset, uint8_t value) {
    if (offset != 0 || value == control_) return;
    // A change of direction starts the next step afresh.
    const int before = motion();
    control_ = value;
    if (motion() != before) step_cycles_ = 0;
    changed();
}

int Door::motion() const {
    const bool open = control_ & kMotorOpen, close = control_ & kMotorClose;
    if (open == close) return 0; // off, or both windings fighting
    if (open) return locked() || position_ == kTravel ? 0 : +1;
    // The door stops against a person in the doorway rather than crush them.
    return position_ == 0 || blocked_ ? 0 : -1;
}

bool Door::squeezing() const {
    return (control_ & kMotorClose) && !(control_ & kMotorOpen) && blocked_ && position_ > 0;
}

void Door::advance(uint32_t cycles) {
    while (cycles > 0) {
        const int direction = motion();
        if (direction == 0) {
            step_cycles_ = 0;
            return;
        }
        const uint32_t needed = kStepCycles - step_cycles_;
        if (cycles < needed) {
            step_cycles_ += cycles;
            return;
        }
        cycles -= needed;
        step_cycles_ = 0;
        position_ += direction;
        changed();
    }
}

void Door::set_button(bool down) {
    if (down == button_) return;
    button_ = down;
    if (down) request_ = true;
    changed();
}

void Door::set_doorway_blocked(bool blocked) {
    if (blocked == blocked_) return;
    blocked_ = blocked;
    changed();
}

} // namespace torva
