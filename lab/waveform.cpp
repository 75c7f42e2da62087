// Recording value changes and writing them in the Value Change Dump format.
#include "lab/waveform.h"

#include "torva/version.h"

#include <algorithm>
#include <optional>

namespace torva::lab {
namespace {

// VCD names a variable by a short code of printable characters ('!' to '~').
std::string identifier(uint32_t number) {
    std::string code;
    do {
        code += char('!' + number % 94);
        number /= 94;
    } while (number != 0);
    return code;
}

std::string binary(uint32_t value, int width) {
    std::string bits(size_t(width), '0');
    for (int bit = 0; bit < width; ++bit)
        if (value >> bit & 1) bits[size_t(width - 1 - bit)] = '1';
    return bits;
}

// A comment must not end early at a "$end" inside it.
std::string comment_text(std::string_view text) {
    std::string safe(text);
    for (size_t at = safe.find("$end"); at != std::string::npos; at = safe.find("$end", at))
        safe[at] = '_';
    return safe;
}

} // namespace

uint32_t Waveform::add_signal(std::string_view name, int width) {
    if (const int known = find(name); known >= 0) return uint32_t(known);
    signals_.push_back({std::string(name), std::clamp(width, 1, 32)});
    last_.push_back(0);
    known_.push_back(false);
    return uint32_t(signals_.size() - 1);
}

int Waveform::find(std::string_view name) const {
    const auto it = std::ranges::find(signals_, name, &Signal::name);
    return it == signals_.end() ? -1 : int(it - signals_.begin());
}

void Waveform::change(uint32_t signal, Cycles at, uint32_t value) {
    if (signal >= signals_.size()) return;
    if (known_[signal] && last_[signal] == value) return;
    if (changes_.size() >= change_limit_) {
        truncated_ = true;
        return;
    }
    known_[signal] = true;
    last_[signal] = value;
    changes_.push_back({at, signal, value});
}

void Waveform::write_vcd(std::ostream& out, std::string_view comment) const {
    constexpr uint64_t kNsPerCycle = 1'000'000'000 / kBusClockHz;
    out << "$version TORVA 6 for RT12 " << kProgramVersion << " $end\n";
    out << "$comment " << comment_text(comment);
    if (truncated_) out << " (the recording stopped after " << changes_.size() << " changes)";
    out << " $end\n";
    out << "$timescale 1 ns $end\n";
    out << "$scope module rt12 $end\n";
    for (uint32_t i = 0; i < signals_.size(); ++i)
        out << "$var wire " << signals_[i].width << ' ' << identifier(i) << ' ' << signals_[i].name
            << (signals_[i].width > 1 ? " [" + std::to_string(signals_[i].width - 1) + ":0]" : "")
            << " $end\n";
    out << "$upscope $end\n$enddefinitions $end\n";
    std::vector<Change> ordered = changes_;
    std::ranges::stable_sort(ordered, {}, &Change::at);
    const auto value_text = [&](uint32_t signal, std::optional<uint32_t> value) {
        const int width = signals_[signal].width;
        std::string text;
        if (width > 1)
            text = 'b' + (value ? binary(*value, width) : std::string("x")) + ' ';
        else
            text = value ? char('0' + (*value & 1)) : 'x';
        return text + identifier(signal) + '\n';
    };
    // The values at time 0 start the dump; a signal without one is unknown
    // until its first change.
    std::vector<std::optional<uint32_t>> initial(signals_.size());
    size_t next = 0;
    for (; next < ordered.size() && ordered[next].at == 0; ++next)
        initial[ordered[next].signal] = ordered[next].value;
    out << "#0\n$dumpvars\n";
    for (uint32_t i = 0; i < signals_.size(); ++i)
        out << value_text(i, initial[i]);
    out << "$end\n";
    Cycles shown = 0;
    for (; next < ordered.size(); ++next) {
        const Change& change = ordered[next];
        if (change.at != shown) {
            out << '#' << change.at * kNsPerCycle << '\n';
            shown = change.at;
        }
        out << value_text(change.signal, change.value);
    }
}

} // namespace torva::lab
