// Simulated time in a lab: cycles of the board's bus clock, read from texts
// such as "20ms" or "1.5 s" and written back as milliseconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torva::lab {

using Cycles = uint64_t;
// The end of the run, wherever a time may say "end".
inline constexpr Cycles kEnd = UINT64_MAX;
// Labs run at the board's own bus clock.
inline constexpr uint64_t kBusClockHz = 8'000'000;

// A time with its unit: "20ms", "1.5 s", "250us", "500ns", "1200 cycles".
// Rounded to the nearest cycle; none for anything else (no unit, a
// negative number, a value beyond a day).
std::optional<Cycles> parse_time(std::string_view text);

// A window "FROM..UNTIL" with either end left out ("5ms..", "..50ms",
// "5ms..80ms", ".."); an absent end is the start (0) or the end of the run.
struct Window {
    Cycles from = 0;
    Cycles until = kEnd;
    bool contains(Cycles t) const { return t >= from && t <= until; }
};
std::optional<Window> parse_window(std::string_view text);

// "12.345 ms" (more digits where the cycle needs them), or "the end".
std::string format_time(Cycles cycles);

} // namespace torva::lab
