// The labels a program's debug map names, looked up by address for the
// Program pane: label lines above the instructions they name, and branch and
// jump targets shown by name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torva {

struct DebugMap;

class ProgramSymbols {
public:
    ProgramSymbols() = default;
    // The map's labels; EQU, SET and #define names are values, not places,
    // and stay out.
    explicit ProgramSymbols(const DebugMap& map);

    bool empty() const { return labels_.empty(); }
    // The labels at address in the order the map lists them; none: empty.
    const std::vector<std::string>& labels_at(uint32_t address) const;
    // The trace text of the instruction at line_address with its branch or
    // jump target replaced by the target's label ("BSR   $100D" becomes
    // "BSR   WAIT"). A target that is not exactly a label stays an address.
    std::string with_target_names(std::string_view text, uint32_t line_address) const;

private:
    // Ascending by address, one entry per address.
    std::vector<std::pair<uint32_t, std::vector<std::string>>> labels_;
};

} // namespace torva
