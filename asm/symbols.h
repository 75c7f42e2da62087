// The symbol table: 256 hash chains by character sum, records in blocks of
// 200 up to 40,000, plus a name index that leaves every visible order alone.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace torva {

struct AsmSession;

enum SymbolFlag : uint16_t {
    kSymDefined = 1 << 0,
    kSymDefinedTwice = 1 << 1,
    kSymUndefined = 1 << 2,
    kSymConstant = 1 << 3,
    kSymConditional = 1 << 4,
    kSymRedefinable = 1 << 5,
    kSymForwardRef = 1 << 6,
};

constexpr size_t kMaxSymbolName = 127;
constexpr int kSymbolBlockSize = 200;
constexpr int kMaxSymbolBlocks = 200;

struct SymbolRecord {
    std::string name;
    int32_t line = 0;
    uint32_t value = 0;
    int32_t forward_line = 0;
    uint16_t flags = 0;
    int next = -1;
    // Global line of the definition in this pass; tells pass 2 whether a
    // reference comes before the definition, as it did in pass 1.
    int defined_at = 0;
};

class SymbolTable {
public:
    SymbolTable() { clear(); }
    void clear();
    SymbolRecord* find(std::string_view name);
    // From now on names are found without regard to case (other assemblers'
    // syntax): a name matches the first record entered under any of its
    // spellings. Records keep their names as written.
    void set_case_blind(bool on);
    // Creates a record; nullptr when the name exists or the table is full
    // (full() tells which).
    SymbolRecord* enter(std::string_view name, uint32_t value, int line, uint16_t flags);
    bool full() const { return records_.size() >= size_t(kSymbolBlockSize) * kMaxSymbolBlocks; }
    size_t size() const { return records_.size(); }
    // Every record with the conditional-name flag goes back to undefined.
    void reset_conditional_names();
    // Calls f(record) chain by chain (0..255), each in order of entry.
    template <typename F>
    void for_each_in_chain_order(F&& f) const {
        for (int head : head_)
            for (int i = head; i >= 0; i = records_[size_t(i)].next)
                f(records_[size_t(i)]);
    }
    static int hash(std::string_view name);

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
    };
    std::deque<SymbolRecord> records_;
    std::array<int, 256> head_{};
    std::array<int, 256> tail_{};
    std::unordered_map<std::string, int, Hash, std::equal_to<>> index_;
    // Lower-case names to records, kept from the first case-blind lookup on.
    std::unordered_map<std::string, int, Hash, std::equal_to<>> folded_;
    bool case_blind_ = false;
    bool folded_built_ = false;
};

// Length of the symbol name at p (letter or '_', then letters, digits, '$',
// '.', '_'); 0 when p does not start a name.
size_t symbol_name_length(const char* p);

// A name met in an expression: found, or entered as undefined. nullptr only
// after a fatal overflow.
SymbolRecord* reference_symbol(AsmSession& s, std::string_view name);
// A statement label (or a data directive's label) with the value given.
void define_label(AsmSession& s, std::string_view name, uint32_t value, bool phase_check);
// EQU and SET: the operand is the expression text at s.scan. Returns the
// value this line's operand gave (a redefinition keeps the symbol's first
// value), or nothing when the line evaluated none.
std::optional<uint32_t> define_constant(AsmSession& s, std::string_view name, bool redefinable);
// Raises the phase error of the run.
void phase_error(AsmSession& s);
// The -S symbol dump, to the listing or (without one) to the line writer.
void dump_symbols(AsmSession& s);

} // namespace torva
