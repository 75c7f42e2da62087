// Holds a headless run to a bus clock: how many cycles the run may take now
// for the host time gone since it started, and how long to sleep when it is
// ahead.
#pragma once

#include <chrono>
#include <cstdint>

namespace torva {

class RealTimePacer {
public:
    // hz 0: not paced; every slice may take kUnpacedSlice cycles.
    static constexpr uint32_t kUnpacedSlice = 1'000'000;

    explicit RealTimePacer(uint32_t hz);

    bool paced() const { return hz_ != 0; }
    // Cycles the run may take now, at most a slice of 10 ms of bus time; 0
    // while the run is ahead of the clock by more than a millisecond's worth.
    uint32_t cycles_due();
    // The run took these cycles.
    void ran(uint32_t cycles) { done_ += cycles; }
    // Milliseconds to sleep before cycles_due() gives some again.
    int sleep_ms() const;

private:
    using Clock = std::chrono::steady_clock;
    // Cycles the clock allows for the time since the start.
    uint64_t allowed() const;

    uint32_t hz_;
    Clock::time_point start_;
    uint64_t done_ = 0;
};

} // namespace torva
