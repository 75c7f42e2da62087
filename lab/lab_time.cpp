// Reading and writing simulated times.
#include "lab/lab_time.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace torva::lab {
namespace {

struct Unit {
    std::string_view name;
    double cycles; // per one of the unit
};
// clang-format off
constexpr std::array<Unit, 6> kUnits = {{
    {"s",      double(kBusClockHz)},
    {"ms",     double(kBusClockHz) / 1e3},
    {"us",     double(kBusClockHz) / 1e6},
    {"ns",     double(kBusClockHz) / 1e9},
    {"cycles", 1.0},
    {"cycle",  1.0},
}};
// clang-format on
// A day of simulated time: more is a typing mistake, and stays far from
// overflowing the cycle count.
constexpr double kLongest = 86400.0 * double(kBusClockHz);

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<Cycles> parse_time(std::string_view text) {
    text = trimmed(text);
    size_t digits = 0;
    while (digits < text.size() &&
           ((text[digits] >= '0' && text[digits] <= '9') || text[digits] == '.'))
        ++digits;
    if (digits == 0) return std::nullopt;
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + digits, number);
    if (error != std::errc() || end != text.data() + digits) return std::nullopt;
    const std::string_view unit = trimmed(text.substr(digits));
    for (const Unit& known : kUnits) {
        if (unit != known.name) continue;
        const double cycles = std::round(number * known.cycles);
        if (!(cycles >= 0 && cycles <= kLongest)) return std::nullopt;
        return Cycles(cycles);
    }
    return std::nullopt;
}

std::optional<Window> parse_window(std::string_view text) {
    const size_t dots = text.find("..");
    if (dots == std::string_view::npos) return std::nullopt;
    Window window;
    const std::string_view from = trimmed(text.substr(0, dots));
    const std::string_view until = trimmed(text.substr(dots + 2));
    if (!from.empty()) {
        const auto t = parse_time(from);
        if (!t) return std::nullopt;
        window.from = *t;
    }
    if (!until.empty() && until != "end") {
        const auto t = parse_time(until);
        if (!t) return std::nullopt;
        window.until = *t;
    }
    if (window.until < window.from) return std::nullopt;
    return window;
}

std::string format_time(Cycles cycles) {
    if (cycles == kEnd) return "the end";
    // A cycle is 125 ns: six decimals of a millisecond show every cycle
    // exactly; trailing zeros go ("10.1 ms", "31 ms"), whole seconds read "2 s".
    const uint64_t ns = cycles * (1'000'000'000 / kBusClockHz);
    if (ns != 0 && ns % 1'000'000'000 == 0) return std::to_string(ns / 1'000'000'000) + " s";
    std::string text = std::to_string(ns / 1'000'000);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%06llu",
                  static_cast<unsigned long long>(ns % 1'000'000));
    std::string digits = fraction;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (!digits.empty()) text += "." + digits;
    return text + " ms";
}

} // namespace torva::lab
