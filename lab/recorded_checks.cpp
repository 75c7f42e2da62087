// Deciding the checks that look at what a run recorded.
#include "lab/recorded_checks.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace torva::lab {
namespace {

std::string hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "$%0*X", digits, unsigned(value));
    return text;
}

CheckResult verdict(const Check& check, bool passed, std::string expected, std::string seen,
                    std::optional<Cycles> when) {
    return {&check, passed, std::move(expected), std::move(seen), when};
}

bool is_program_stop(StopReason reason) {
    return reason == StopReason::kSwi || reason == StopReason::kBgnd ||
           reason == StopReason::kLocation;
}

// The bytes of a stream sent between two times (both included).
std::pair<size_t, size_t> span_between(const Stream& stream, Cycles from, Cycles until) {
    const auto first = std::ranges::lower_bound(stream.times, from);
    const auto last = std::ranges::upper_bound(stream.times, until);
    return {size_t(first - stream.times.begin()), size_t(last - stream.times.begin())};
}

std::string bytes_text(const std::vector<uint8_t>& bytes, int unit) {
    std::string text;
    for (size_t i = 0; i + size_t(unit) <= bytes.size(); i += size_t(unit)) {
        const uint32_t value = unit == 2 ? uint32_t(bytes[i] << 8 | bytes[i + 1]) : bytes[i];
        if (!text.empty()) text += ' ';
        text += hex(value, unit * 2);
    }
    return text;
}

struct RegisterView {
    std::string_view name;
    int digits;
    uint32_t (*read)(const CpuRegisters&);
};
constexpr std::array<RegisterView, 8> kRegisters = {{
    {"A", 2, [](const CpuRegisters& r) -> uint32_t { return r.a; }},
    {"B", 2, [](const CpuRegisters& r) -> uint32_t { return r.b; }},
    {"D", 4, [](const CpuRegisters& r) -> uint32_t { return uint32_t(r.a << 8 | r.b); }},
    {"X", 4, [](const CpuRegisters& r) -> uint32_t { return r.x; }},
    {"Y", 4, [](const CpuRegisters& r) -> uint32_t { return r.y; }},
    {"SP", 4, [](const CpuRegisters& r) -> uint32_t { return r.sp; }},
    {"PC", 4, [](const CpuRegisters& r) -> uint32_t { return r.pc; }},
    {"CCR", 2, [](const CpuRegisters& r) -> uint32_t { return r.ccr; }},
}};

} // namespace

std::optional<uint32_t> resolve(const Location& location, const std::optional<Symbols>& symbols,
                                std::string& why) {
    if (location.label.empty()) return location.address;
    if (!symbols) {
        why = "the label " + location.label +
              " is unknown: the program came without a listing that holds its symbol table";
        return std::nullopt;
    }
    const auto found = symbols->find(location.label);
    if (found == symbols->end()) {
        why = "the program has no label " + location.label;
        return std::nullopt;
    }
    return uint32_t(int64_t(found->second) + location.offset);
}

std::string shown_text(std::string_view text) {
    constexpr size_t kLongest = 60;
    std::string shown = "\"";
    const auto add = [&](std::string_view part) {
        for (const char c : part) {
            switch (c) {
            case '\r': shown += "\\r"; break;
            case '\n': shown += "\\n"; break;
            case '\t': shown += "\\t"; break;
            case '"': shown += "\\\""; break;
            case '\\': shown += "\\\\"; break;
            default:
                if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\x%02X",
                                  unsigned(static_cast<unsigned char>(c)));
                    shown += code;
                } else {
                    shown += c;
                }
            }
        }
    };
    if (text.size() <= kLongest) {
        add(text);
    } else {
        add(text.substr(0, kLongest / 2));
        shown += "...";
        add(text.substr(text.size() - kLongest / 2));
    }
    return shown + "\"";
}

CheckResult check_stream(const Check& check, const Stream& stream, Cycles time_limit) {
    // At a time: everything sent since the start. Eventually: what was sent
    // from the window's start, as it grows until the window's end.
    const Cycles from = check.when == When::kAt ? 0 : check.window.from;
    const Cycles until =
        std::min(check.when == When::kAt ? check.at : check.window.until, time_limit);
    const auto [first, last] = span_between(stream, from, until);
    const std::string_view text = std::string_view(stream.bytes).substr(first, last - first);
    std::string expected;
    size_t end = std::string_view::npos; // where the text first satisfied the check
    if (check.text_equals) {
        expected = shown_text(*check.text_equals);
        if (check.when == When::kAt ? text == *check.text_equals
                                    : text.starts_with(*check.text_equals))
            end = check.text_equals->size();
    } else if (check.contains) {
        expected = "text containing " + shown_text(*check.contains);
        if (const size_t at = text.find(*check.contains); at != std::string_view::npos)
            end = at + check.contains->size();
    } else {
        expected = "text matching " + shown_text(check.pattern);
        if (const auto match = match_end(*check.matches, text)) end = *match;
    }
    if (end == std::string_view::npos)
        return verdict(check, false, expected, text.empty() ? "nothing" : shown_text(text), until);
    // The time the last byte it needed was sent (the window's start if none).
    const Cycles when = end == 0 ? from : stream.times[first + end - 1];
    return verdict(check, true, expected, shown_text(text), check.when == When::kAt ? until : when);
}

CheckResult check_memory(const Check& check, const MemoryReader& read,
                         const std::optional<Symbols>& symbols, Cycles at) {
    const std::string expected =
        bytes_text(check.bytes, check.unit) + " at " + check.location.text();
    std::string why;
    const auto address = resolve(check.location, symbols, why);
    if (!address) return verdict(check, false, expected, why, std::nullopt);
    std::vector<uint8_t> seen;
    for (size_t i = 0; i < check.bytes.size(); ++i) {
        uint8_t byte = 0;
        if (!read(*address + uint32_t(i), byte))
            return verdict(check, false, expected, "no memory at " + hex(*address + uint32_t(i), 4),
                           at);
        seen.push_back(byte);
    }
    return verdict(check, seen == check.bytes, expected, bytes_text(seen, check.unit), at);
}

CheckResult check_stop(const Check& check, const StopInfo& stop, const CpuRegisters& registers,
                       const std::optional<Symbols>& symbols) {
    std::string expected = check.stopped ? "a stop at " + check.stopped->text() : "a stop";
    // A label the program lacks is the first thing to tell.
    std::optional<uint32_t> address;
    if (check.stopped && check.stopped->kind == StopPoint::Kind::kLocation) {
        std::string why;
        address = resolve(check.stopped->location, symbols, why);
        if (!address) return verdict(check, false, expected, why, std::nullopt);
    }
    if (!is_program_stop(stop.reason)) return verdict(check, false, expected, stop.text(), stop.at);
    if (check.stopped) {
        bool same = false;
        switch (check.stopped->kind) {
        case StopPoint::Kind::kSwi: same = stop.reason == StopReason::kSwi; break;
        case StopPoint::Kind::kBgnd: same = stop.reason == StopReason::kBgnd; break;
        case StopPoint::Kind::kLocation:
            same = stop.reason == StopReason::kLocation && stop.pc == (*address & 0xFFFF);
            break;
        }
        if (!same) return verdict(check, false, expected, stop.text(), stop.at);
    }
    std::string wanted, found;
    bool all = true;
    for (const RegisterExpectation& expectation : check.registers) {
        const auto view = std::ranges::find(kRegisters, expectation.name, &RegisterView::name);
        if (view == kRegisters.end()) continue;
        std::string why;
        const auto value = resolve(expectation.value, symbols, why);
        if (!value) return verdict(check, false, expected, why, stop.at);
        const uint32_t mask = view->digits == 2 ? 0xFF : 0xFFFF;
        const uint32_t actual = view->read(registers);
        wanted += (wanted.empty() ? "" : ", ") + std::string(view->name) + " = " +
                  hex(*value & mask, view->digits);
        found += (found.empty() ? "" : ", ") + std::string(view->name) + " = " +
                 hex(actual, view->digits);
        all = all && actual == (*value & mask);
    }
    if (!check.registers.empty()) {
        return verdict(check, all,
                       wanted + " at " + (check.stopped ? check.stopped->text() : "the stop"),
                       found + " (" + stop.text() + ")", stop.at);
    }
    return verdict(check, true, expected, stop.text(), stop.at);
}

CheckResult check_cycles(const Check& check, const StopInfo& stop) {
    const std::string expected =
        "a stop within " + std::to_string(check.cycles_at_most) + " cycles";
    if (!is_program_stop(stop.reason)) return verdict(check, false, expected, stop.text(), stop.at);
    return verdict(check, stop.at <= check.cycles_at_most, expected,
                   "a stop after " + std::to_string(stop.at) + " cycles", stop.at);
}

CheckResult check_undefined(const Check& check, const std::optional<UndefinedInstruction>& first) {
    const std::string expected = "no undefined instruction";
    if (!first) return verdict(check, true, expected, "none", std::nullopt);
    return verdict(check, false, expected,
                   "an undefined instruction at " + hex(first->address, 4) +
                       (first->trapped ? " (the CPU took the TRAP)" : " (the CPU stuck there)"),
                   first->at);
}

} // namespace torva::lab
