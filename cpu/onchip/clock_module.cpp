// Register writes and the real-time interrupt of the clock module.
#include "cpu/onchip/clock_module.h"

namespace torva {

namespace {

// Period of the real-time interrupt for a control value: 1024 cycles times
// 2^rate (bits 6-4), times modulus + 1 for a modulus (bits 3-0) of 1 to 9.
// Moduli 10 to 15 leave the period at 1024 x 2^rate, as the board's
// simulator always did; programs written for it rely on that.
uint32_t rti_period_for(uint8_t control) {
    const unsigned rate = (control >> 4) & 7;
    const unsigned modulus = control & 0x0F;
    uint32_t period = 1024u << rate;
    if (modulus >= 1 && modulus <= 9) period *= modulus + 1;
    return period;
}

} // namespace

uint8_t ClockModule::read(int reg) const {
    return reg >= 0 && reg < kRegisterCount ? regs_[reg] : 0;
}

void ClockModule::write(int reg, uint8_t value, uint32_t total_cycles) {
    switch (reg) {
    case kFlags:
        // Writing 1 to bit 7 clears the real-time interrupt flag. The written
        // value is what remains stored, without bit 7.
        regs_[kFlags] = (value & kRtiFlag) ? uint8_t(value & ~kRtiFlag) : value;
        break;
    case kRtiControl:
        regs_[kRtiControl] = value & 0x7F;
        if (rti_running()) {
            rti_period_ = rti_period_for(regs_[kRtiControl]);
            rti_deadline_ = total_cycles + rti_period_;
        }
        break;
    default:
        if (reg >= 0 && reg < kRegisterCount) regs_[reg] = value;
        break;
    }
}

void ClockModule::reset() {
    regs_.fill(0);
    regs_[kFlags] = 0x08;
    regs_[kPllControl] = 0xF1;
    rti_period_ = 0;
    rti_deadline_ = 0;
}

std::optional<uint16_t> ClockModule::pending_vector(uint32_t total_cycles) {
    // The deadline may lie beyond a 32-bit wrap of the cycle total; the
    // signed distance stays right across it (periods are far below 2^31).
    if (rti_running() && int32_t(total_cycles - rti_deadline_) >= 0) {
        rti_deadline_ = total_cycles + rti_period_;
        regs_[kFlags] |= kRtiFlag;
    }
    const uint8_t requested = regs_[kInterruptEnable] & regs_[kFlags];
    if (requested & 0x80) return kRtiVector;
    if (requested & 0x40) return kSecondVector;
    return std::nullopt;
}

} // namespace torva
