// What the Breakpoints dialog does, without the dialog: parsing the address
// field, the list lines, the toggle button's label, and its three buttons.
#pragma once

#include "sim/breakpoint_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// The address field read as hexadecimal (digits 0-9, a-f, A-F; empty is
// 0); none for any other character or more than eight digits.
std::optional<uint32_t> parse_break_address(std::string_view text);

class BreakpointDialogLogic {
public:
    static constexpr char kDefaultField[] = "0000";
    static constexpr char kDisableLabel[] = "&Disable";
    static constexpr char kEnableLabel[] = "&Enable";

    explicit BreakpointDialogLogic(BreakpointTable& table) : table_(table) { rebuild(); }

    // One line per used entry in table order: "%4.4X", then " (Disabled)"
    // for a disabled entry.
    const std::vector<std::string>& lines() const { return lines_; }

    // "&Add": the error text for a malformed field, or none after entering
    // the address as an enabled breakpoint (unless present).
    std::optional<std::string> add(std::string_view field);

    // List selection (-1 for none).
    void select(int line);
    int selected() const { return selected_; }
    // The toggle reads "&Disable" for an enabled or temporary entry and with
    // no selection, "&Enable" for a disabled entry; it and "&Remove" work
    // only with a selection.
    std::string_view toggle_label() const;
    bool buttons_enabled() const { return selected_ >= 0; }
    // Flips the selected entry (enabling makes a temporary entry permanent).
    // Like Remove, it first follows the table: an entry that went meanwhile
    // is not acted on.
    void toggle();
    // Frees the selected entry.
    void remove();

    // Rebuilds the list when the table changed since it was built (a run
    // went on while the dialog was open); the selection stays on its entry
    // while that lives. True when the list changed.
    bool follow_table();

private:
    void rebuild();

    BreakpointTable& table_;
    std::vector<std::string> lines_;
    std::vector<int> indices_;        // table index of each line
    std::vector<uint32_t> addresses_; // and its address when the list was built
    int selected_ = -1;
    uint64_t built_at_ = 0; // the table's change count the list shows
};

} // namespace torva
