// A drilling machine: the program switches the spindle motor, lowers and
// raises the drill and turns the workpiece to its next hole, and watches the
// drill's end positions and the workpiece. Careless control breaks the drill.
#pragma once

#include "iosim/device.h"

#include <cstdint>

namespace torva {

class Drill final : public Device {
public:
    enum Offset : uint32_t { kControl = 0, kStatus = 1 };
    // Control bits.
    static constexpr uint8_t kSpindle = 0x01;
    static constexpr uint8_t kFeedDown = 0x02;
    static constexpr uint8_t kAdvance = 0x04; // a rising edge turns the workpiece
    static constexpr uint8_t kAlarm = 0x08;
    // Status bits.
    static constexpr uint8_t kAtTop = 0x01;
    static constexpr uint8_t kAtBottom = 0x02;
    static constexpr uint8_t kInPosition = 0x04;
    static constexpr uint8_t kBroken = 0x08;
    static constexpr uint8_t kWorkpiecePresent = 0x10;

    // Drill depth runs from 0 (top) to kDepth (through the workpiece); the
    // tip touches the workpiece at kContact.
    static constexpr int kDepth = 8;
    static constexpr int kContact = 2;
    static constexpr uint32_t kStepCycles = 1500;
    // The workpiece has kHoles hole positions; turning to the next takes
    // kTurnCycles.
    static constexpr int kHoles = 8;
    static constexpr uint32_t kTurnCycles = 4000;

    explicit Drill(std::string address_text)
        : Device(DeviceType::kDrill, std::move(address_text)) {}

    // Control reads back at offset 0; status reads at offset 1.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;
    void advance(uint32_t cycles) override;
    uint32_t cycles_to_change() const override;

    uint8_t control() const { return control_; }
    uint8_t status() const;
    int depth() const { return depth_; }
    int hole_position() const { return hole_position_; }
    bool turning() const { return turn_cycles_left_ > 0; }
    bool broken() const { return broken_; }
    // Bit n set: hole n of the current workpiece is drilled.
    uint8_t holes_drilled() const { return holes_; }

    // The user's inputs: put in a fresh workpiece (or take it out), replace
    // a broken drill.
    void set_workpiece_present(bool present);
    bool workpiece_present() const { return workpiece_; }
    void repair();

private:
    // The way the feed moves the drill now: +1 down, -1 up, 0 at its end.
    int feed_direction() const;
    void move_one_step(int direction);
    void break_drill();

    uint8_t control_ = 0;
    int depth_ = 0;
    uint32_t step_cycles_ = 0;
    uint32_t turn_cycles_left_ = 0;
    int hole_position_ = 0;
    uint8_t holes_ = 0;
    bool workpiece_ = true;
    bool broken_ = false;
};

} // namespace torva
