// The clock module's twelve registers and its real-time interrupt, timed
// against the run's total cycle count.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace torva {

class ClockModule {
public:
    enum Register : int {
        kSynthesizer = 0,
        kReferenceDivider = 1,
        kTestFlags = 2,
        kFlags = 3,
        kInterruptEnable = 4,
        kClockSelect = 5,
        kPllControl = 6,
        kRtiControl = 7,
        kWatchdogControl = 8,
        kBypass = 9,
        kTestControl = 10,
        kWatchdogArm = 11,
    };
    static constexpr int kRegisterCount = 12;
    static constexpr uint8_t kRtiFlag = 0x80;
    static constexpr uint16_t kRtiVector = 0xFFF0;
    static constexpr uint16_t kSecondVector = 0xFFC6;

    ClockModule() { reset(); }

    // Registers out of range read 0 and ignore writes.
    uint8_t read(int reg) const;
    // total_cycles is the run's cycle total when the write happens; the
    // real-time interrupt counts its period from there.
    void write(int reg, uint8_t value, uint32_t total_cycles);

    // Flags $08, PLL control $F1, all else 0; the real-time interrupt stops.
    void reset();

    // Raises the real-time interrupt flag when its deadline has come, then
    // reports the vector of an enabled, flagged request: $FFF0 for the
    // real-time interrupt, else $FFC6 for the bit-6 pair.
    std::optional<uint16_t> pending_vector(uint32_t total_cycles);

    // False when pending_vector would surely give none and change nothing:
    // no real-time deadline reached and no enabled flag set.
    bool may_request(uint32_t total_cycles) const {
        return (rti_running() && int32_t(total_cycles - rti_deadline_) >= 0) || requesting();
    }

    // An enabled interrupt flag is set (the real-time one, or the bit-6 pair).
    bool requesting() const { return (regs_[kInterruptEnable] & regs_[kFlags] & 0xC0) != 0; }

    uint32_t rti_period() const { return rti_period_; }
    uint32_t rti_deadline() const { return rti_deadline_; }
    bool rti_running() const { return (regs_[kRtiControl] & 0x70) != 0; }

private:
    std::array<uint8_t, kRegisterCount> regs_{};
    uint32_t rti_period_ = 0;
    uint32_t rti_deadline_ = 0;
};

} // namespace torva
