// The run's cycle total, which the on-chip modules and the devices take as
// their time base, and the cycle from which the run loop has to look beyond
// executing instructions: a step with nothing to do checks only that.
#pragma once

#include <cstdint>

namespace torva {

class RunClock {
public:
    // The farthest ahead a deadline is set; the run loop then looks once and
    // sets the next one. Far below 2^31, so that the signed distance stays
    // right across a wrap of the 32-bit total.
    static constexpr uint32_t kHorizon = 1u << 30;

    uint32_t total() const { return total_; }
    const uint32_t* total_source() const { return &total_; }
    void add(uint32_t cycles) { total_ += cycles; }
    // The total starts again (a simulator reset); the run loop looks at once.
    void set_total(uint32_t total) {
        total_ = total;
        deadline_ = total;
    }

    // Something changed that the run loop must see before the next step:
    // a register write, a device, a request.
    void attend() { deadline_ = total_; }
    // The run loop looks again once the total reaches `cycle` (or earlier,
    // if that is already due sooner).
    void attend_at(uint32_t cycle) {
        if (int32_t(cycle - deadline_) < 0) deadline_ = cycle;
    }
    // Nothing is due before `cycle`, at most kHorizon ahead.
    void set_deadline(uint32_t cycle) {
        const uint32_t horizon = total_ + kHorizon;
        deadline_ = int32_t(cycle - horizon) > 0 ? horizon : cycle;
    }
    bool due() const { return int32_t(total_ - deadline_) >= 0; }

private:
    uint32_t total_ = 0;
    uint32_t deadline_ = 0;
};

} // namespace torva
