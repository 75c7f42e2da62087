// The disassembly pane without the window: its twelve line addresses and
// texts, how it follows the program counter (scroll by one, re-anchor), the
// current and selected lines, each line's colours, and with a program's
// symbols shown, label lines and branch targets by name.
#pragma once

#include "sim/breakpoint_table.h"
#include "sim/disassembler.h"
#include "sim/program_symbols.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torva {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct LineColours {
    Rgb background;
    Rgb text;
    bool operator==(const LineColours&) const = default;
};

class DisassemblyPane {
public:
    static constexpr int kLines = 12;
    static constexpr int kColumns = 31;
    // A tab in the trace moves to this column when the column is lower.
    static constexpr int kTabColumn = 17;
    // Sequential flow reaching this line scrolls the pane up by one.
    static constexpr int kScrollLine = 10;
    static constexpr char kInvalid[] = "Invalid Memory";

    DisassemblyPane(Disassembler& disassembler, const BreakpointTable& breakpoints)
        : disassembler_(disassembler), breakpoints_(breakpoints) {}

    // The pane's refresh: re-anchors at pc unless pc starts one of the first
    // eleven lines, disassembles every line, and makes pc the current line.
    void refresh(uint32_t pc);
    // After a step with full display: sequential flow that reaches the
    // eleventh line scrolls up by one; otherwise the refresh's rule.
    void track(uint32_t pc, bool flow_left_sequence);
    // The program counter's line becomes the current line (halt, load).
    void mark_current(uint32_t pc) { current_ = pc; }

    // The labels of the loaded program (none: empty). While they are shown,
    // a labelled address gets a line "NAME:" above its instruction and
    // branch and jump targets read by label; hidden, or without labels, the
    // lines are the plain disassembly. Takes effect at the next refresh.
    void set_symbols(ProgramSymbols symbols) { symbols_ = std::move(symbols); }
    void show_symbols(bool on) { show_symbols_ = on; }
    bool symbols_shown() const { return show_symbols_; }
    bool has_symbols() const { return !symbols_.empty(); }
    // A label line: it names the instruction on the line below it, and its
    // address is that instruction's.
    bool is_label_line(int line) const { return label_[size_t(line)]; }

    uint32_t address(int line) const { return addresses_[size_t(line)]; }
    uint32_t after_last() const { return after_last_; }
    // The painted text: address prefix, instruction, padded to 31 columns.
    const std::string& text(int line) const { return texts_[size_t(line)]; }
    // The line showing the current address, or -1.
    int current_line() const;

    // Right click: the line becomes the selected one (-1 clears).
    void select(int line) { selected_ = line >= 0 && line < kLines ? line : -1; }
    int selected() const { return selected_; }
    std::optional<uint32_t> selected_address() const;

    LineColours colours(int line) const;

    // One painted line: "  %4.4X " or "%6.6X " and the trace text, a tab
    // moving to column 17, cut and padded to 31 columns.
    static std::string format_line(uint32_t address, std::string_view text);
    // A label line: the names from the address column on, a colon after the
    // last, cut and padded to 31 columns.
    static std::string format_label_line(const std::vector<std::string>& names);
    // The address after an instruction: 16 bits, or 22 bits (page kept)
    // when the low 16 bits lie in the program page window.
    static uint32_t next_address(uint32_t address, uint32_t length);

private:
    bool starts_early_line(uint32_t pc) const;
    bool symbols_on() const { return show_symbols_ && !symbols_.empty(); }
    // Fills line with what comes at address: its label line unless the line
    // above is that already, else its instruction; false (and "Invalid
    // Memory") when the instruction cannot be read.
    bool fill_line(int line, uint32_t address, bool label_allowed);
    // top_label: line 0 may become a label line.
    void fill_from(int first_line, bool top_label = true);
    // Sequential flow: the lines scroll up by one.
    void scroll_up();

    Disassembler& disassembler_;
    const BreakpointTable& breakpoints_;
    std::array<uint32_t, kLines> addresses_{};
    std::array<std::string, kLines> texts_;
    std::array<bool, kLines> valid_{};
    std::array<bool, kLines> label_{};
    ProgramSymbols symbols_;
    bool show_symbols_ = true;
    uint32_t after_last_ = 0;
    uint32_t current_ = 0;
    int selected_ = -1;
    bool filled_ = false;
};

} // namespace torva
