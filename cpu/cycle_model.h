// The two ways the simulator counts an instruction's bus cycles, with the
// names the command line, the settings and lab files give them.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace torva {

// Classic: one cycle per fetched byte plus small per-mode and per-family
// adjustments, the approximation the simulator has always made (the
// default). Cpu12: the counts of the CPU12 reference manual for the HCS12,
// the board's own timing (cpu/cpu12_cycles.h).
enum class CycleModel : uint8_t { Classic, Cpu12 };

struct CycleModelName {
    CycleModel model;
    std::string_view name;  // on command lines, in settings and lab files
    std::string_view title; // in the window's menu and status bar
};
inline constexpr std::array<CycleModelName, 2> kCycleModelNames = {{
    {CycleModel::Classic, "classic", "Classic"},
    {CycleModel::Cpu12, "cpu12", "CPU12"},
}};

constexpr const CycleModelName& cycle_model_name(CycleModel model) {
    return kCycleModelNames[model == CycleModel::Cpu12 ? 1 : 0];
}

// The model named "classic" or "cpu12" (any letter case); none for anything else.
constexpr std::optional<CycleModel> parse_cycle_model(std::string_view text) {
    constexpr auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (const CycleModelName& entry : kCycleModelNames)
        if (std::ranges::equal(text, entry.name, {}, lower)) return entry.model;
    return std::nullopt;
}

} // namespace torva
