// Symbol definitions, references and the symbol dump.
#include "asm/symbols.h"

#include "asm/expression.h"
#include "asm/messages.h"
#include "asm/session.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace torva {

namespace {
// The name in lower case, in `buffer` (names are at most 127 characters).
std::string_view folded(std::string_view name, std::array<char, kMaxSymbolName + 1>& buffer) {
    const size_t n = std::min(name.size(), buffer.size());
    for (size_t i = 0; i < n; ++i)
        buffer[i] = char(std::tolower(static_cast<unsigned char>(name[i])));
    return std::string_view(buffer.data(), n);
}
} // namespace

void SymbolTable::clear() {
    records_.clear();
    index_.clear();
    folded_.clear();
    case_blind_ = false;
    folded_built_ = false;
    index_.reserve(1024);
    head_.fill(-1);
    tail_.fill(-1);
}

int SymbolTable::hash(std::string_view name) {
    unsigned sum = 0;
    for (char c : name)
        sum += static_cast<unsigned char>(c);
    return int(sum % 256);
}

SymbolRecord* SymbolTable::find(std::string_view name) {
    if (case_blind_) {
        std::array<char, kMaxSymbolName + 1> buffer;
        const auto it = folded_.find(folded(name, buffer));
        return it == folded_.end() ? nullptr : &records_[size_t(it->second)];
    }
    const auto it = index_.find(name);
    return it == index_.end() ? nullptr : &records_[size_t(it->second)];
}

void SymbolTable::set_case_blind(bool on) {
    case_blind_ = on;
    if (!on || folded_built_) return;
    folded_built_ = true;
    std::array<char, kMaxSymbolName + 1> buffer;
    for (size_t i = 0; i < records_.size(); ++i)
        folded_.emplace(folded(records_[i].name, buffer), int(i));
}

SymbolRecord* SymbolTable::enter(std::string_view name, uint32_t value, int line, uint16_t flags) {
    if (full() || find(name)) return nullptr;
    const int index = int(records_.size());
    SymbolRecord& r = records_.emplace_back();
    r.name = std::string(name.substr(0, kMaxSymbolName));
    r.value = value;
    r.line = line;
    r.flags = flags;
    const int chain = hash(r.name);
    if (tail_[size_t(chain)] < 0)
        head_[size_t(chain)] = index;
    else
        records_[size_t(tail_[size_t(chain)])].next = index;
    tail_[size_t(chain)] = index;
    index_.emplace(r.name, index);
    if (folded_built_) {
        std::array<char, kMaxSymbolName + 1> buffer;
        folded_.emplace(folded(r.name, buffer), index);
    }
    return &r;
}

void SymbolTable::reset_conditional_names() {
    for (SymbolRecord& r : records_)
        if (r.flags & kSymConditional) r.flags = kSymConditional | kSymUndefined;
}

size_t symbol_name_length(const char* p) {
    const auto c0 = static_cast<unsigned char>(*p);
    if (!(std::isalpha(c0) || c0 == '_')) return 0;
    size_t n = 1;
    for (;;) {
        const auto c = static_cast<unsigned char>(p[n]);
        if (std::isalnum(c) || c == '$' || c == '.' || c == '_')
            ++n;
        else
            return n;
    }
}

namespace {
SymbolRecord* enter_checked(AsmSession& s, std::string_view name, uint32_t value, int line,
                            uint16_t flags) {
    if (s.symbols.full()) {
        report(s, Msg::SymbolTableOverflow);
        return nullptr;
    }
    SymbolRecord* r = s.symbols.enter(name, value, line, flags);
    if (!r) report(s, Msg::SymbolEnteredTwice);
    return r;
}

SymbolRecord* find_or_enter(AsmSession& s, std::string_view name) {
    name = name.substr(0, kMaxSymbolName);
    if (SymbolRecord* r = s.symbols.find(name)) return r;
    return enter_checked(s, name, 0, 0, kSymUndefined);
}
} // namespace

SymbolRecord* reference_symbol(AsmSession& s, std::string_view name) {
    return find_or_enter(s, name);
}

void phase_error(AsmSession& s) {
    s.phase_pending = true;
    report(s, Msg::PhaseError);
}

void define_label(AsmSession& s, std::string_view name, uint32_t value, bool phase_check) {
    SymbolRecord* r = find_or_enter(s, name);
    if (!r) return;
    if (s.pass == 0) {
        if (r->flags & kSymDefinedTwice) return;
        if (!(r->flags & kSymUndefined)) {
            if (r->flags & kSymDefined)
                r->flags = kSymDefinedTwice;
            else
                report(s, Msg::BadDefinitionState);
            return;
        }
        r->flags = uint16_t((r->flags & ~kSymUndefined) | kSymDefined);
        r->value = value;
        r->line = s.global_line;
        r->defined_at = s.global_line;
        return;
    }
    if (r->line == 0) r->line = s.global_line;
    if (r->flags & kSymDefinedTwice) {
        report(s, Msg::MultipleDefinition);
        return;
    }
    r->defined_at = s.global_line;
    if (!(r->flags & (kSymConstant | kSymRedefinable)) && phase_check && r->value != value)
        phase_error(s);
}

std::optional<uint32_t> define_constant(AsmSession& s, std::string_view name, bool redefinable) {
    SymbolRecord* r = s.symbols.find(name.substr(0, kMaxSymbolName));
    const uint16_t kind =
        uint16_t(kSymDefined | kSymConstant | (redefinable ? kSymRedefinable : 0));
    const char* operand = s.scan;
    if (s.pass == 0) {
        if (!r) {
            r = enter_checked(s, name, 0, s.file_line, kind);
            if (!r) return std::nullopt;
            r->defined_at = s.global_line;
            r->value = uint32_t(evaluate_text(s, operand));
        } else if (r->flags & kSymUndefined) {
            r->flags = uint16_t((r->flags & ~kSymUndefined) | kind);
            r->line = s.file_line;
            r->defined_at = s.global_line;
            r->value = uint32_t(evaluate_text(s, operand));
        } else if (redefinable && (r->flags & kSymRedefinable)) {
            r->value = uint32_t(evaluate_text(s, operand));
        } else {
            r->flags |= kSymDefinedTwice;
            return std::nullopt;
        }
        return r->value;
    }
    if (!r) return std::nullopt; // only after a fatal overflow in pass 1
    const uint32_t value = uint32_t(evaluate_text(s, operand));
    if ((r->flags & kSymDefinedTwice) && r->line != s.file_line) {
        report_as(s, MsgKind::Error, Msg::PreviouslyDefined, r->name.c_str(), r->line);
        const bool has_operand = static_cast<unsigned char>(*operand) > ' ';
        if (has_operand && value != r->value)
            report(s, Msg::Redefined, r->name.c_str(), s.file_line);
    } else {
        r->value = value;
        r->defined_at = s.global_line;
    }
    if (r->flags & kSymForwardRef)
        report(s, Msg::ForwardReferenced, r->name.c_str(), r->forward_line);
    return value;
}

void dump_symbols(AsmSession& s) {
    char buffer[200];
    if (s.listing_enabled) {
        s.listing_text += "\n--\tSYMBOL TABLE:\n--\tVALUE\tSYMBOL ";
        s.symbols.for_each_in_chain_order([&](const SymbolRecord& r) {
            std::snprintf(buffer, sizeof buffer, "\n\t%4.4X\t", unsigned(r.value));
            s.listing_text += buffer;
            s.listing_text += r.name;
        });
        return;
    }
    if (!s.write_line) return;
    s.write_line("\tValue   \tSymbol ");
    s.symbols.for_each_in_chain_order([&](const SymbolRecord& r) {
        std::snprintf(buffer, sizeof buffer, "\t%4.4X\t", unsigned(r.value));
        s.write_line(std::string(buffer) + r.name);
    });
}

} // namespace torva
