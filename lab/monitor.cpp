// Deciding a watched check from the times it looks at the board.
#include "lab/monitor.h"

namespace torva::lab {

void Monitor::decide(bool passed, const Reading& reading, std::optional<Cycles> when) {
    decided_ = true;
    result_.check = &check_;
    result_.passed = passed;
    result_.expected = reading.expected;
    result_.seen = reading.seen;
    result_.when = when;
}

void Monitor::open(Cycles now) {
    if (decided_) return;
    if (check_.when == When::kAt) {
        const Reading reading = probe_();
        decide(reading.holds, reading, now);
        return;
    }
    open_ = true;
    look(now);
}

void Monitor::changed(Cycles now) {
    if (watching(now)) look(now);
}

void Monitor::stimulus(Cycles now) {
    if (check_.when == When::kAlways && check_.settle != 0)
        quiet_until_ = std::max(quiet_until_, now + check_.settle);
}

void Monitor::look(Cycles now) {
    // While the program still has time to react, what it shows does not count.
    if (check_.when == When::kAlways && now < quiet_until_) return;
    last_ = probe_();
    if (check_.when == When::kAlways && !last_.holds) decide(false, last_, now);
    if (check_.when == When::kEventually && last_.holds) decide(true, last_, now);
}

void Monitor::close(Cycles now) {
    if (decided_) return;
    if (!open_) open(now);
    if (decided_) return;
    // Always: nothing failed; eventually: nothing held. The seen value is
    // the last one looked at inside the window.
    if (check_.when == When::kAlways) {
        decide(true, probe_(), std::nullopt);
    } else {
        decide(false, last_, now);
    }
}

} // namespace torva::lab
