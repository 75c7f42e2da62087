// Label lookups of the Program pane: labels by address, targets by label.
#include "sim/program_symbols.h"

#include "sim/debug_map.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>

namespace torva {

namespace {

// The instructions whose last operand is a code address: the short and long
// branches, the loop primitives, the bit branches and the extended jumps.
// Indexed and indirect operands end in a register or a bracket and are left
// alone by the operand check.
constexpr std::string_view kTargetMnemonics[] = {
    "BRA",  "BRN",  "BHI",  "BLS",  "BCC",  "BCS",  "BNE",  "BEQ",  "BVC",   "BVS",   "BPL",
    "BMI",  "BGE",  "BLT",  "BGT",  "BLE",  "BSR",  "LBRA", "LBRN", "LBHI",  "LBLS",  "LBCC",
    "LBCS", "LBNE", "LBEQ", "LBVC", "LBVS", "LBPL", "LBMI", "LBGE", "LBLT",  "LBGT",  "LBLE",
    "DBEQ", "DBNE", "IBEQ", "IBNE", "TBEQ", "TBNE", "JMP",  "JSR",  "BRSET", "BRCLR",
};

const std::vector<std::string> kNoLabels;

// "$hex" and nothing else: the value; otherwise none.
std::optional<uint32_t> hex_operand(std::string_view field) {
    if (field.size() < 2 || field.size() > 7 || field[0] != '$') return std::nullopt;
    uint32_t value = 0;
    const char* end = field.data() + field.size();
    const auto [at, error] = std::from_chars(field.data() + 1, end, value, 16);
    if (error != std::errc() || at != end) return std::nullopt;
    return value;
}

} // namespace

ProgramSymbols::ProgramSymbols(const DebugMap& map) {
    for (const DebugMapSymbol& symbol : map.symbols) {
        if (symbol.kind != SymbolKind::kLabel) continue;
        labels_.push_back({symbol.value, {symbol.name}});
    }
    std::stable_sort(labels_.begin(), labels_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // Labels sharing an address become one entry, in the map's order.
    std::vector<std::pair<uint32_t, std::vector<std::string>>> merged;
    for (auto& entry : labels_) {
        if (!merged.empty() && merged.back().first == entry.first)
            merged.back().second.push_back(std::move(entry.second.front()));
        else
            merged.push_back(std::move(entry));
    }
    labels_ = std::move(merged);
}

const std::vector<std::string>& ProgramSymbols::labels_at(uint32_t address) const {
    const auto it =
        std::lower_bound(labels_.begin(), labels_.end(), address,
                         [](const auto& entry, uint32_t value) { return entry.first < value; });
    return it != labels_.end() && it->first == address ? it->second : kNoLabels;
}

std::string ProgramSymbols::with_target_names(std::string_view text, uint32_t line_address) const {
    const size_t space = text.find(' ');
    if (space == std::string_view::npos) return std::string(text);
    const std::string_view mnemonic = text.substr(0, space);
    if (std::find(std::begin(kTargetMnemonics), std::end(kTargetMnemonics), mnemonic) ==
        std::end(kTargetMnemonics))
        return std::string(text);
    const size_t start = text.find_last_of(", ") + 1;
    const auto target = hex_operand(text.substr(start));
    if (!target) return std::string(text);
    const std::vector<std::string>* names = &labels_at(*target);
    // Code in the program page window branches within its page: the trace
    // shows the 16-bit target, the map the paged address.
    const bool paged = line_address > 0xFFFF && *target >= 0x8000 && *target <= 0xBFFF;
    if (names->empty() && paged) names = &labels_at((line_address & 0x3F0000) | *target);
    if (names->empty()) return std::string(text);
    return std::string(text.substr(0, start)) + names->front();
}

} // namespace torva
