// The lab's own small sums and names.
#include "lab/lab.h"

#include <cstdio>
#include <numeric>

namespace torva::lab {

std::string Location::text() const {
    char number[24];
    if (label.empty()) {
        std::snprintf(number, sizeof number, "$%04X", unsigned(address));
        return number;
    }
    if (offset == 0) return label;
    std::snprintf(number, sizeof number, "%+lld", static_cast<long long>(offset));
    return label + number;
}

std::string StopPoint::text() const {
    switch (kind) {
    case Kind::kSwi: return "SWI";
    case Kind::kBgnd: return "BGND";
    case Kind::kLocation: break;
    }
    return location.text();
}

int Lab::max_points() const {
    return std::accumulate(checks.begin(), checks.end(), 0,
                           [](int sum, const Check& check) { return sum + check.points; });
}

uint64_t Lab::step_limit() const {
    // Every step takes at least a cycle, so the time limit bounds the steps;
    // the margin covers steps a stuck CPU makes without time passing.
    return max_steps != 0 ? max_steps : time_limit + 1'000'000;
}

} // namespace torva::lab
