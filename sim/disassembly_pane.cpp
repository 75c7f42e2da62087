// The disassembly pane's line addresses, scrolling and colours.
#include "sim/disassembly_pane.h"

#include <algorithm>
#include <cstdio>

namespace torva {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kSelectedGrey{160, 160, 160};
constexpr Rgb kDisabledGrey{220, 220, 220};
constexpr Rgb kLabelBlue{0, 0, 160};

} // namespace

std::string DisassemblyPane::format_line(uint32_t address, std::string_view text) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, address > 0xFFFF ? "%6.6X " : "  %4.4X ",
                  unsigned(address));
    std::string line(prefix);
    for (const char c : text) {
        if (c == '\t') {
            if (line.size() < size_t(kTabColumn)) line.resize(size_t(kTabColumn), ' ');
        } else if (line.size() < size_t(kColumns)) {
            line += c;
        }
    }
    line.resize(size_t(kColumns), ' ');
    return line;
}

std::string DisassemblyPane::format_label_line(const std::vector<std::string>& names) {
    std::string line = "  ";
    for (const std::string& name : names) {
        if (line.size() > 2) line += ", ";
        line += name;
    }
    line += ':';
    line.resize(size_t(kColumns), ' ');
    return line;
}

uint32_t DisassemblyPane::next_address(uint32_t address, uint32_t length) {
    const uint32_t next = address + length;
    const uint32_t low = next & 0xFFFF;
    return low >= 0x8000 && low <= 0xBFFF ? next & 0x3FFFFF : low;
}

bool DisassemblyPane::starts_early_line(uint32_t pc) const {
    if (!filled_) return false;
    for (int line = 0; line < kScrollLine + 1; ++line)
        if (valid_[size_t(line)] && !label_[size_t(line)] && addresses_[size_t(line)] == pc)
            return true;
    return false;
}

bool DisassemblyPane::fill_line(int line, uint32_t address, bool label_allowed) {
    const size_t at = size_t(line);
    addresses_[at] = address;
    label_[at] = false;
    const bool named_above = line > 0 && label_[at - 1] && addresses_[at - 1] == address;
    if (label_allowed && symbols_on() && !named_above) {
        if (const auto& names = symbols_.labels_at(address); !names.empty()) {
            label_[at] = true;
            valid_[at] = true;
            texts_[at] = format_label_line(names);
            after_last_ = address;
            return true;
        }
    }
    const auto disassembly = disassembler_.disassemble(address);
    valid_[at] = disassembly.has_value();
    if (!disassembly) {
        texts_[at] = format_line(address, kInvalid);
        return false;
    }
    texts_[at] =
        format_line(address, symbols_on() ? symbols_.with_target_names(disassembly->text, address)
                                          : disassembly->text);
    after_last_ = next_address(address, disassembly->length);
    return true;
}

void DisassemblyPane::fill_from(int first_line, bool top_label) {
    uint32_t address = first_line == 0 ? addresses_[0] : after_last_;
    for (int line = first_line; line < kLines; ++line) {
        if (line > 0 && !valid_[size_t(line - 1)]) {
            // Past an invalid line: blank lines that keep its address.
            addresses_[size_t(line)] = address;
            valid_[size_t(line)] = false;
            label_[size_t(line)] = false;
            texts_[size_t(line)].assign(size_t(kColumns), ' ');
            continue;
        }
        if (fill_line(line, address, line > 0 || top_label))
            address = after_last_;
        else
            after_last_ = address;
    }
}

void DisassemblyPane::refresh(uint32_t pc) {
    // Lines that stay keep their first line's kind: a refresh does not bring
    // back the label line that scrolled away.
    const bool keep = starts_early_line(pc);
    const bool top_label = !keep || label_[0];
    if (!keep) addresses_[0] = pc;
    filled_ = true;
    fill_from(0, top_label);
    current_ = pc;
}

void DisassemblyPane::scroll_up() {
    std::rotate(addresses_.begin(), addresses_.begin() + 1, addresses_.end());
    std::rotate(texts_.begin(), texts_.begin() + 1, texts_.end());
    std::rotate(valid_.begin(), valid_.begin() + 1, valid_.end());
    std::rotate(label_.begin(), label_.begin() + 1, label_.end());
    if (valid_[kLines - 2]) {
        const uint32_t address = after_last_;
        if (!fill_line(kLines - 1, address, true)) after_last_ = address;
    } else {
        valid_[kLines - 1] = false;
        label_[kLines - 1] = false;
        texts_[kLines - 1].assign(size_t(kColumns), ' ');
    }
}

void DisassemblyPane::track(uint32_t pc, bool flow_left_sequence) {
    if (!flow_left_sequence && filled_) {
        // The label lines from the scroll line down to pc's line scroll away
        // with it, so that pc comes to the line above the scroll line.
        int line = kScrollLine;
        while (line < kLines - 1 && valid_[size_t(line)] && label_[size_t(line)])
            ++line;
        if (valid_[size_t(line)] && !label_[size_t(line)] && addresses_[size_t(line)] == pc) {
            for (int scrolled = kScrollLine; scrolled <= line; ++scrolled)
                scroll_up();
            current_ = pc;
            return;
        }
    }
    if (!starts_early_line(pc)) {
        refresh(pc);
        return;
    }
    current_ = pc;
}

int DisassemblyPane::current_line() const {
    for (int line = 0; line < kLines; ++line)
        if (valid_[size_t(line)] && !label_[size_t(line)] && addresses_[size_t(line)] == current_)
            return line;
    return -1;
}

std::optional<uint32_t> DisassemblyPane::selected_address() const {
    if (selected_ < 0 || !valid_[size_t(selected_)]) return std::nullopt;
    return addresses_[size_t(selected_)];
}

LineColours DisassemblyPane::colours(int line) const {
    if (line == selected_) return {kSelectedGrey, kWhite};
    if (label_[size_t(line)]) return {kWhite, kLabelBlue};
    std::optional<BreakState> state;
    if (valid_[size_t(line)]) state = breakpoints_.state_of(addresses_[size_t(line)]);
    const bool active = state && *state != BreakState::kDisabled;
    if (line == current_line())
        return active ? LineColours{kBlack, kYellow} : LineColours{kYellow, kBlack};
    if (active) return {kRed, kBlack};
    if (state) return {kDisabledGrey, kBlack};
    return {kWhite, kBlack};
}

} // namespace torva
