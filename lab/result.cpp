// How a run's stop reads in a report, and the count of failed checks.
#include "lab/result.h"

#include <algorithm>
#include <cstdio>

namespace torva::lab {

std::string StopInfo::text() const {
    char pc_text[16];
    std::snprintf(pc_text, sizeof pc_text, "$%04X", unsigned(pc));
    switch (reason) {
    case StopReason::kNone: return "no stop: still running at the time limit";
    case StopReason::kSwi: return std::string("SWI at ") + pc_text;
    case StopReason::kBgnd: return std::string("BGND at ") + pc_text;
    case StopReason::kLocation: return location + " (" + pc_text + ")";
    case StopReason::kStepLimit: return "the lab's step limit ran out";
    case StopReason::kOutputLimit: return "the lab's output limit was reached";
    case StopReason::kUndefined:
        return std::string("stuck at an undefined instruction at ") + pc_text;
    }
    return {};
}

int SubmissionResult::failed_checks() const {
    return int(
        std::ranges::count_if(checks, [](const CheckResult& check) { return !check.passed; }));
}

} // namespace torva::lab
