// The directive tables and their effects.
#include "asm/directives.h"

#include "asm/expression.h"
#include "asm/letter_case.h"
#include "asm/messages.h"
#include "asm/session.h"
#include "asm/source_input.h"
#include "asm/srecord_output.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

namespace torva {

namespace {

struct DirectiveName {
    std::string_view name;
    int code;
};

// Three sets of names side by side, searched in this order; the first
// match wins (extern is therefore 27).
constexpr DirectiveName kMotorolaNames[] = {
    {"org", 6},     {"global", 25}, {"extern", 27}, {"public", 29}, {"include", 1},
    {"end", 9},     {"set", 8},     {"=", 8},       {"equ", 7},     {"byte", 10},
    {"word", 11},   {"long", 12},   {"space", 15},  {"fill", 15},   {"ascii", 19},
    {"asciiz", 20}, {"float", 13},  {"double", 14}, {"option", 41}, {"pragma", 42},
};
constexpr DirectiveName kKeywordNames[] = {
    {"align", 38},     {"export", 25}, {"end", 9},     {"file", 24},    {"function", 23},
    {"import", 27},    {"option", 41}, {"org", 6},     {"segment", 30}, {"use", 1},
    {"equ", 7},        {"set", 8},     {"list", 2},    {"listcond", 3}, {"nolist", 4},
    {"nolistcond", 5}, {"xdef", 26},   {"define", 26}, {"xref", 28},    {"extern", 28},
    {"entry", 21},     {"exit", 22},   {"bss", 31},    {"data", 32},    {"text", 33},
    {"rodata", 35},
};
constexpr DirectiveName kOtherNames[] = {
    {"rmb", 15},  {"ds", 15},   {"ds.b", 15}, {"ds.w", 16},   {"ds.l", 17},
    {"fcb", 10},  {"dc.b", 10}, {"fdb", 11},  {"dc.w", 11},   {"fqb", 12},
    {"dc.l", 12}, {"fcs", 19},  {"dc", 19},   {"farseg", 36}, {"even", 38},
};
// Names of other HCS12 assemblers, known in the compatibility dialect.
constexpr DirectiveName kCompatNames[] = {
    {"absentry", kDirAbsEntry}, {"fcc", kDirFcc},    {"db", kDirByte},
    {"dw", kDirWord},           {"rmw", kDirSpaceW},
};

// Old forms and the names they should be written as.
struct OldForm {
    int code;
    const char* old_name;
    const char* new_name;
};
constexpr OldForm kOldForms[] = {
    {kDirList, "LIST", "OPTION LIST"},       {kDirListcond, "LISTCOND", "OPTION LISTCOND"},
    {kDirNolist, "NOLIST", "OPTION NOLIST"}, {kDirNolistcond, "NOLISTCOND", "OPTION NOLISTCOND"},
    {kDirEntry, "ENTRY", "FUNCTION"},        {kDirExit, "EXIT", "FUNCTION"},
    {kDirXdef, "DEFINE or XDEF", "EXPORT"},  {kDirXref, "EXTERN or XREF", "IMPORT"},
};

// OPTION words.
enum OptionWord {
    kOptSelftest,
    kOptList,
    kOptNolist,
    kOptListcond,
    kOptNolistcond,
    kOptHcs12,
    kOptHcs12x,
    kOptXgate,
    kOptCompat
};
constexpr DirectiveName kOptions[] = {
    {"selftest", kOptSelftest},     {"list", kOptList},
    {"nolist", kOptNolist},         {"listcond", kOptListcond},
    {"nolistcond", kOptNolistcond}, {"hcs12", kOptHcs12},
    {"hcs12x", kOptHcs12x},         {"xgate", kOptXgate},
    {"compat", kOptCompat},
};

bool is_space(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

void set_listing(AsmSession& s, int word) {
    switch (word) {
    case kOptList:
        if (s.listing_enabled) s.listing_on = true;
        break;
    case kOptNolist:
        if (s.listing_enabled) s.nolist_pending = true;
        break;
    case kOptListcond: s.listcond = true; break;
    case kOptNolistcond: s.listcond = false; break;
    }
}

void do_option(AsmSession& s) {
    s.show_address = false;
    const char* p = s.scan;
    const char* begin = p;
    while ((std::isalnum(static_cast<unsigned char>(*p)) || *p == '_') && p - begin < 63)
        ++p;
    const std::string_view word(begin, size_t(p - begin));
    if (word.empty()) {
        report(s, Msg::OptionNeedsArgument);
        return;
    }
    int found = -1;
    for (const DirectiveName& o : kOptions)
        if (equal_nocase(word, o.name)) found = o.code;
    switch (found) {
    case -1: report(s, Msg::UnrecognisedOption); break;
    case kOptSelftest: break;
    case kOptHcs12: s.cpu_model = kModelHCS12; break;
    case kOptHcs12x: s.cpu_model = kModelHCS12X; break;
    case kOptXgate: s.cpu_model = kModelXGATE; break;
    case kOptCompat: asm_option_compat(s); break;
    default: set_listing(s, found);
    }
}

void do_include(AsmSession& s) {
    s.show_address = false;
    const char* p = s.scan;
    std::string name;
    if (*p == '"') {
        const char* end = std::strchr(p + 1, '"');
        name.assign(p + 1, end ? end : p + 1 + std::strlen(p + 1));
        while (!name.empty() && name.back() == '\n')
            name.pop_back();
    } else {
        const char* begin = p;
        while (!is_space(*p))
            ++p;
        name.assign(begin, p);
    }
    switch (open_source(s, name)) {
    case OpenResult::Opened: s.marker_pending = true; break;
    case OpenResult::NotFound:
        report(s, Msg::NameQuoted, message(Msg::FileNotFound).text, name.c_str());
        break;
    default: break;
    }
}

void do_org(AsmSession& s, std::string_view label) {
    ExprValue v;
    if (evaluate_operand(s, v, true)) {
        if (v.forward) {
            report(s, Msg::ForwardReference);
        } else {
            if (s.pass == 1) srecord_start(s, uint32_t(v.value));
            s.location = uint32_t(v.value);
            s.line_start = s.location;
            if (!s.first_org_seen) {
                s.first_org_seen = true;
                s.first_org = s.location;
            }
        }
    }
    if (!label.empty()) define_label(s, label, s.line_start, true);
}

void do_end(AsmSession& s) {
    s.end_seen = true;
    if (s.pass != 1) return;
    const char* p = s.scan;
    const char* begin = p;
    while ((std::isalnum(static_cast<unsigned char>(*p)) || *p == '_') && p - begin < 128)
        ++p;
    if (p == begin) return;
    const std::string name(begin, p);
    SymbolRecord* r = s.symbols.find(name);
    if (!r || !(r->flags & (kSymDefined | kSymDefinedTwice))) {
        report(s, Msg::StartSymbolUndefined, name.c_str());
        return;
    }
    if (s.entry_defined && s.entry != r->value) {
        report(s, Msg::EntryAlreadyDefined);
        return;
    }
    s.entry_defined = true;
    s.entry = r->value;
}

void do_entry(AsmSession& s) {
    s.show_address = false;
    if (s.pass != 1) return;
    ExprValue v;
    if (!evaluate_operand(s, v, false)) {
        report(s, Msg::EntryBadOperand);
        return;
    }
    if (s.entry_defined) report(s, Msg::MultipleEntries);
    s.entry_defined = true;
    s.entry = uint32_t(v.value);
}

// Bytes of text as written (other assemblers know no escapes in strings).
void emit_text(AsmSession& s, const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 128) report_as(s, MsgKind::Warning, Msg::IllegalAscii);
        emit_byte(s, c);
    }
}

// The end of the text that opens with the delimiter at p: its closing
// delimiter, or nullptr when the line ends first.
const char* closing_delimiter(const char* p) {
    const char* end = p + 1;
    while (*end && *end != *p && *end != '\n')
        ++end;
    return *end == *p ? end : nullptr;
}

enum class ListItem { kNone, kDone, kFailed };

// In the compatibility dialect a byte list holds strings too: "text", and
// 'text' of other than one character ('A' stays a character constant).
ListItem byte_list_string(AsmSession& s) {
    const char quote = *s.scan;
    if (quote != '"' && quote != '\'') return ListItem::kNone;
    const char* end = closing_delimiter(s.scan);
    const size_t length = end ? size_t(end - s.scan - 1) : 0;
    if (quote == '\'' && (!end || length == 1 || (length == 2 && s.scan[1] == '\\')))
        return ListItem::kNone; // a character constant, or the expression's error
    if (!end) {
        report(s, Msg::BadOperandSyntax);
        return ListItem::kFailed;
    }
    emit_text(s, s.scan + 1, end);
    s.scan = end + 1;
    return ListItem::kDone;
}

// FCC: the text between the first character of the operand and its next
// occurrence, /text/ as well as "text".
void do_fcc(AsmSession& s) {
    const char* end = is_space(*s.scan) ? nullptr : closing_delimiter(s.scan);
    if (!end) {
        report(s, Msg::BadOperandSyntax);
        return;
    }
    emit_text(s, s.scan + 1, end);
    s.scan = end + 1;
    if (!is_space(*s.scan)) report(s, Msg::ExtraAfterString);
}

// Lists of 8-, 16- or 32-bit values separated by commas.
void do_data(AsmSession& s, int size) {
    for (;;) {
        const ListItem text = size == 1 && s.compat ? byte_list_string(s) : ListItem::kNone;
        if (text == ListItem::kFailed) return;
        if (text == ListItem::kDone) {
            if (*s.scan == ',') {
                ++s.scan;
                continue;
            }
            if (!is_space(*s.scan)) report(s, Msg::BadDelimiter);
            return;
        }
        ExprValue v;
        if (!evaluate_operand(s, v, true)) return;
        const int32_t x = v.value;
        if (size == 1) {
            if (x < -128 || x > 255) report(s, Msg::ByteTruncated);
            emit_byte(s, uint8_t(x));
        } else if (size == 2) {
            if (x < -32768 || x > 65535) report(s, Msg::WordTruncated);
            emit_word(s, uint16_t(x));
        } else {
            emit_long(s, uint32_t(x));
        }
        if (*s.scan == ',') {
            ++s.scan;
            continue;
        }
        if (!is_space(*s.scan)) report(s, Msg::BadDelimiter);
        return;
    }
}

// FLOAT and DOUBLE: decimal numbers as IEEE 754, most significant byte first.
void do_float(AsmSession& s, bool is_double) {
    for (;;) {
        const char* begin = s.scan;
        const char* end = begin;
        while (!is_space(*end) && *end != ',')
            ++end;
        const std::string text(begin, end);
        char* parsed = nullptr;
        const double value = std::strtod(text.c_str(), &parsed);
        if (text.empty() || parsed != text.c_str() + text.size()) {
            report(s, Msg::BadOperandSyntax);
            return;
        }
        if (is_double) {
            uint64_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            emit_long(s, uint32_t(bits >> 32));
            emit_long(s, uint32_t(bits));
        } else {
            const float f = float(value);
            uint32_t bits = 0;
            std::memcpy(&bits, &f, sizeof bits);
            emit_long(s, bits);
        }
        s.scan = end;
        if (*s.scan != ',') return;
        ++s.scan;
    }
}

void do_storage(AsmSession& s, uint32_t unit) {
    ExprValue v;
    if (!evaluate_operand(s, v, true)) return;
    if (!is_space(*s.scan)) {
        report(s, Msg::BadConstantDelimiter);
        return;
    }
    const int64_t size = int64_t(v.value) * unit;
    // Beyond the 24-bit address range a reservation can only be a slip (and
    // would write gigabytes of zero records).
    constexpr int64_t kLargestReservation = int64_t(1) << 24;
    if (size < 1 || size > kLargestReservation) {
        report(s, Msg::UndeterminedSize);
        return;
    }
    emit_storage(s, uint32_t(size));
}

void do_string(AsmSession& s, bool zero_terminated) {
    const char* p = s.scan;
    if (*p != '"') {
        report(s, Msg::BadOperandSyntax);
        return;
    }
    ++p;
    for (;;) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == 0 || c == '\n') {
            report(s, Msg::BadOperandSyntax);
            return;
        }
        if (c == '"') break;
        if (c == '\\' && p[1] != 0 && p[1] != '\n') {
            const char e = p[1];
            uint8_t b = uint8_t(e);
            switch (e) {
            case 'b': b = 8; break;
            case 'n': b = 10; break;
            case 'r': b = 13; break;
            case 't': b = 11; break;
            default:
                if (e >= '0' && e <= '9') b = uint8_t(e - '0');
            }
            emit_byte(s, b);
            p += 2;
            continue;
        }
        if (c >= 128) report_as(s, MsgKind::Warning, Msg::IllegalAscii);
        emit_byte(s, c);
        ++p;
    }
    s.scan = p + 1;
    if (zero_terminated) emit_byte(s, 0);
    // FCS "Hello",0 looks like a terminated string but emits no zero.
    if (!is_space(*s.scan)) report(s, Msg::ExtraAfterString);
}

void do_align(AsmSession& s) {
    const char* p = s.scan;
    uint32_t n = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && n < 1000000)
        n = n * 10 + uint32_t(*p++ - '0');
    if (n == 0) n = 2;
    if (n != 2 && n != 4 && n != 8 && n != 16 && n != 32) {
        report(s, Msg::IllegalAlignment);
        return;
    }
    while (s.location % n != 0)
        emit_byte(s, 0xA7); // NOP
}

} // namespace

int lookup_directive(std::string_view word, bool compat) {
    // All names in search order, indexed once; the first of equal names wins.
    static const std::unordered_map<std::string_view, int> index = [] {
        std::unordered_map<std::string_view, int> m;
        for (const DirectiveName& d : kMotorolaNames)
            m.emplace(d.name, d.code);
        for (const DirectiveName& d : kKeywordNames)
            m.emplace(d.name, d.code);
        for (const DirectiveName& d : kOtherNames)
            m.emplace(d.name, d.code);
        return m;
    }();
    constexpr size_t kLongestName = 10;
    if (word.empty() || word.size() > kLongestName) return 0;
    char lowered[kLongestName];
    for (size_t i = 0; i < word.size(); ++i)
        lowered[i] = ascii_lower(word[i]);
    const std::string_view name(lowered, word.size());
    if (const auto it = index.find(name); it != index.end()) return it->second;
    if (compat)
        for (const DirectiveName& d : kCompatNames)
            if (d.name == name) return d.code;
    return 0;
}

namespace {

constexpr bool is_data_directive(int code) {
    return (code >= kDirByte && code <= kDirSpaceL) || code == kDirAscii || code == kDirAsciiz ||
           code == kDirFcc;
}

} // namespace

bool is_data_line(std::string_view line) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (line.empty() || line[0] == ';' || line[0] == '*') return false;
    size_t at = 0;
    // A label starts in the first column and may end with a colon.
    while (at < line.size() && !blank(line[at]) && line[at] != ':')
        ++at;
    if (at < line.size() && line[at] == ':') ++at;
    while (at < line.size() && blank(line[at]))
        ++at;
    size_t end = at;
    while (end < line.size() && !blank(line[end]) && line[end] != ';')
        ++end;
    return is_data_directive(lookup_directive(line.substr(at, end - at), true));
}

void execute_directive(AsmSession& s, int code, std::string_view label, bool& label_used) {
    for (const OldForm& f : kOldForms)
        if (f.code == code) report(s, Msg::OldFashioned, f.old_name, f.new_name);
    const bool defines_label =
        code == kDirOrg || is_data_directive(code) || code == kDirEqu || code == kDirSet;
    label_used = defines_label;
    if (defines_label && code != kDirOrg && code != kDirEqu && code != kDirSet && !label.empty())
        define_label(s, label, s.line_start, true);
    switch (code) {
    case kDirInclude: do_include(s); break;
    case kDirList: set_listing(s, kOptList); break;
    case kDirListcond: set_listing(s, kOptListcond); break;
    case kDirNolist: set_listing(s, kOptNolist); break;
    case kDirNolistcond: set_listing(s, kOptNolistcond); break;
    case kDirOrg: do_org(s, label); break;
    case kDirEqu:
    case kDirSet: {
        s.show_address = false;
        if (label.empty()) {
            report(s, Msg::NoLabelForEqu);
            break;
        }
        // The listing shows the value this line gave, as two words.
        if (const auto value = define_constant(s, label, code == kDirSet)) {
            s.byte_mode = false;
            s.code_count = 4;
            for (int i = 0; i < 4; ++i)
                s.code[size_t(i)] = uint8_t(*value >> (24 - 8 * i));
        }
        break;
    }
    case kDirEnd: do_end(s); break;
    case kDirByte: do_data(s, 1); break;
    case kDirWord: do_data(s, 2); break;
    case kDirLong: do_data(s, 4); break;
    case kDirFloat: do_float(s, false); break;
    case kDirDouble: do_float(s, true); break;
    case kDirSpace: do_storage(s, 1); break;
    case kDirSpaceW: do_storage(s, 2); break;
    case kDirSpaceL: do_storage(s, 4); break;
    case kDirAscii: do_string(s, false); break;
    case kDirAsciiz: do_string(s, true); break;
    case kDirEntry:
    case kDirAbsEntry: do_entry(s); break;
    case kDirFcc: do_fcc(s); break;
    case kDirAlign: do_align(s); break;
    case kDirOption: do_option(s); break;
    case kDirPragma: break;
    default: report(s, Msg::Unimplemented); break;
    }
}

} // namespace torva
