// Pacing a headless run to a bus clock.
#include "tools/real_time_pacer.h"

#include <algorithm>

namespace torva {

RealTimePacer::RealTimePacer(uint32_t hz) : hz_(hz), start_(Clock::now()) {}

uint64_t RealTimePacer::allowed() const {
    const auto ns = uint64_t(
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start_).count());
    // Whole seconds and the rest apart, so that the product cannot overflow.
    return ns / 1'000'000'000 * hz_ + ns % 1'000'000'000 * hz_ / 1'000'000'000;
}

uint32_t RealTimePacer::cycles_due() {
    if (hz_ == 0) return kUnpacedSlice;
    const uint64_t now = allowed();
    // A host that stalled (a suspended machine, a stopped process) owes at
    // most a tenth of a second: the run does not race to catch up. A clock
    // below 10 Hz owes at least a cycle, or it would never get one.
    const uint64_t most_owed = std::max<uint64_t>(hz_ / 10, 1);
    if (now > done_ + most_owed) done_ = now - most_owed;
    const uint64_t owed = now > done_ ? now - done_ : 0;
    if (owed < std::max<uint64_t>(hz_ / 1000, 1)) return 0;
    return uint32_t(std::min<uint64_t>(owed, std::max<uint64_t>(hz_ / 100, 1)));
}

int RealTimePacer::sleep_ms() const {
    if (hz_ == 0) return 0;
    const uint64_t now = allowed();
    const uint64_t wanted = done_ + std::max<uint64_t>(hz_ / 1000, 1);
    if (now >= wanted) return 0;
    return int(std::min<uint64_t>((wanted - now) * 1000 / hz_ + 1, 100));
}

} // namespace torva
