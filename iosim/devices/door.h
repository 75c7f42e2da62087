// A motorised door: the program drives its motor, lock, lamp and alarm and
// reads its end-position sensors, the open-request button and a photocell in
// the doorway, which the user works.
#pragma once

#include "iosim/device.h"

namespace torva {

class Door final : public Device {
public:
    // Control bits (write offset 0).
    static constexpr uint8_t kMotorOpen = 0x01;
    static constexpr uint8_t kMotorClose = 0x02;
    static constexpr uint8_t kLock = 0x04;
    static constexpr uint8_t kLamp = 0x08;
    static constexpr uint8_t kAlarm = 0x10;
    static constexpr uint8_t kInterruptEnable = 0x80;
    // Sensor bits (read offset 0).
    static constexpr uint8_t kClosed = 0x01;
    static constexpr uint8_t kFullyOpen = 0x02;
    static constexpr uint8_t kButtonDown = 0x04;
    static constexpr uint8_t kDoorwayBlocked = 0x08;
    static constexpr uint8_t kLocked = 0x10;
    static constexpr uint8_t kRequest = 0x20;

    // Positions from closed (0) to fully open, and the time per position.
    static constexpr int kTravel = 10;
    static constexpr uint32_t kStepCycles = 2000;

    explicit Door(std::string address_text) : Device(DeviceType::kDoor, std::move(address_text)) {}

    // A read gives the sensors and clears the request latch.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;
    // While enabled and a press of the button is latched.
    bool irq_pending() const override { return (control_ & kInterruptEnable) && request_; }
    void advance(uint32_t cycles) override;
    uint32_t cycles_to_change() const override {
        return motion() != 0 ? kStepCycles - step_cycles_ : kNoChange;
    }

    // The user's inputs.
    void set_button(bool down);
    void set_doorway_blocked(bool blocked);

    int position() const { return position_; }
    uint8_t control() const { return control_; }
    uint8_t sensors() const;
    // The bolt is out and the door shut: the motor cannot open it.
    bool locked() const { return (control_ & kLock) && position_ == 0; }
    // The door pushes against someone in the doorway.
    bool squeezing() const;

private:
    // The direction the motor drives now: +1 opening, -1 closing, 0 still.
    int motion() const;

    uint8_t control_ = 0;
    int position_ = 0;
    uint32_t step_cycles_ = 0;
    bool button_ = false;
    bool request_ = false;
    bool blocked_ = false;
};

} // namespace torva
