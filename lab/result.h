// What a lab run found for one submission: each check passed or failed with
// the first difference, how the program stopped, the points.
#pragma once

#include "lab/lab.h"
#include "lab/submission.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace torva::lab {

class Waveform;

struct CheckResult {
    const Check* check = nullptr;
    bool passed = false;
    // The first difference: what the check wanted, what the board showed,
    // and when (none where no time applies).
    std::string expected;
    std::string seen;
    std::optional<Cycles> when;
};

enum class StopReason {
    kNone,        // still running at the time limit
    kSwi,         // the next instruction was SWI
    kBgnd,        // the next instruction was BGND
    kLocation,    // a stop location of the lab was reached
    kStepLimit,   // the lab's step bound ran out
    kOutputLimit, // a serial line or the printer sent more than the lab allows
    kUndefined,   // stuck at an undefined instruction
};

struct StopInfo {
    StopReason reason = StopReason::kNone;
    Cycles at = 0;
    uint32_t pc = 0;
    std::string location; // kLocation: the stop location as the lab names it
    std::string text() const;
};

struct SubmissionResult {
    Program program;
    std::vector<CheckResult> checks;
    int points = 0;
    int max_points = 0;
    StopInfo stop;
    uint64_t steps = 0;
    // The board's outputs over the run, when recorded.
    std::shared_ptr<const Waveform> waveform;

    bool ran() const { return program.state == Program::State::kReady; }
    bool passed() const { return ran() && points == max_points && failed_checks() == 0; }
    int failed_checks() const;
    // The submission could not be read (as opposed to scoring too low).
    bool unreadable() const { return program.state == Program::State::kUnreadable; }
};

} // namespace torva::lab
