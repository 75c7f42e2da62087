// A check that watches a value of the board while the program runs: at one
// time, always over a window (with time to react after each stimulus), or
// eventually within a window. The run tells it when the window opens and
// closes and whenever the value may have changed; it looks through a probe.
#pragma once

#include "lab/lab.h"
#include "lab/result.h"

#include <functional>
#include <string>

namespace torva::lab {

// What the probe reads now: whether the check's condition holds, and the
// wanted and the seen value as the report shows them.
struct Reading {
    bool holds = false;
    std::string expected;
    std::string seen;
};
using Probe = std::function<Reading()>;

class Monitor {
public:
    Monitor(const Check& check, Probe probe) : check_(check), probe_(std::move(probe)) {}

    const Check& check() const { return check_; }
    // The times the run must stop at for this check: when it looks (at) or
    // when its window opens and closes, with kEnd for the end of the run.
    Cycles first_time() const { return check_.when == When::kAt ? check_.at : check_.window.from; }
    Cycles last_time() const { return check_.when == When::kAt ? check_.at : check_.window.until; }

    // The window opens (always, eventually) or the time has come (at).
    void open(Cycles now);
    // The value may have changed at now (a write, a stimulus, the end of a
    // reaction time).
    void changed(Cycles now);
    // A stimulus at now: an always check does not look again until its
    // reaction time has passed.
    void stimulus(Cycles now);
    // The window closes: what has not failed (always) or passed (eventually) by now is decided.
    void close(Cycles now);

    bool decided() const { return decided_; }
    const CheckResult& result() const { return result_; }

private:
    bool watching(Cycles now) const {
        return open_ && !decided_ && now >= check_.window.from && now <= check_.window.until;
    }
    void look(Cycles now);
    void decide(bool passed, const Reading& reading, std::optional<Cycles> when);

    const Check& check_;
    Probe probe_;
    bool open_ = false;
    bool decided_ = false;
    Cycles quiet_until_ = 0;
    Reading last_;
    CheckResult result_;
};

} // namespace torva::lab
