// One source line: conditional words, comments, .stab lines, the label,
// then a directive or an instruction.
#include "asm/statement.h"

#include "asm/compat_line.h"
#include "asm/conditional.h"
#include "asm/directives.h"
#include "asm/encoder.h"
#include "asm/messages.h"
#include "asm/session.h"

#include <cstring>
#include <string_view>

namespace torva {

namespace {

constexpr size_t kMaxOperationWord = 64;

bool is_space(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
bool ends_statement(char c) {
    return c == '\n' || c == 0 || c == '*' || c == ';';
}

// A .stab line ending in a backslash hides the next line as well.
bool continues(const std::string& line) {
    const size_t n = line.size();
    return n >= 2 && line[n - 1] == '\n' && line[n - 2] == '\\';
}

} // namespace

bool process_statement(AsmSession& s) {
    s.line_start = s.location;
    s.line_done = false;
    s.code_count = 0;
    s.byte_mode = false;
    s.show_address = true;
    s.force_list = false;
    s.line_rewritten = false;
    if (s.stab_continues) {
        s.stab_continues = continues(s.line);
        s.show_address = false;
        return false;
    }
    if (handle_conditional(s)) return s.skip_level != 0;
    if (s.skip_level != 0) return true;
    // The parser reads the rewritten line; the listing keeps the source's.
    if (s.compat &&
        rewrite_compat_line(s.line, s.cpu_model == kModelXGATE, s.source_line, s.source_columns)) {
        s.source_line.swap(s.line);
        s.line_rewritten = true;
    }

    const char* p = s.line.c_str();
    if (ends_statement(*p)) {
        s.show_address = false;
        return false;
    }
    if (std::strncmp(p, ".stab", 5) == 0) {
        s.stab_continues = continues(s.line);
        s.show_address = false;
        return false;
    }
    std::string_view label;
    if (!is_space(*p)) {
        const size_t n = symbol_name_length(p);
        if (n == 0) {
            report(s, Msg::IllegalLabel);
            return false;
        }
        label = std::string_view(p, n > kMaxSymbolName ? kMaxSymbolName : n);
        p += n;
        if (*p == ':') ++p;
    } else {
        while (is_space(*p) && *p)
            ++p;
        if (*p == 0) {
            s.show_address = false;
            return false;
        }
    }
    while (is_blank(*p))
        ++p;
    if (ends_statement(*p) || is_space(*p)) {
        // A comment line shows no address, wherever its comment starts.
        if (label.empty())
            s.show_address = false;
        else
            define_label(s, label, s.line_start, true);
        return false;
    }
    const char* word = p;
    while (!is_space(*p) && size_t(p - word) < kMaxOperationWord)
        ++p;
    const std::string_view op(word, size_t(p - word));
    if (const int code = lookup_directive(op, s.compat)) {
        while (is_blank(*p))
            ++p;
        s.scan = p;
        bool label_used = false;
        execute_directive(s, code, label, label_used);
        if (!label.empty() && !label_used) define_label(s, label, s.line_start, true);
        return false;
    }
    s.scan = word;
    const MnemonicEntry* entry = lookup_mnemonic(s);
    if (!label.empty()) define_label(s, label, s.line_start, true);
    if (!entry) {
        report(s, Msg::IllegalMnemonic);
        return false;
    }
    // A fault of the label (defined twice, moved between the passes) still
    // leaves the instruction to be encoded: both passes must give the line
    // the same size, or every later label moves.
    if (s.aborted) return false;
    while (is_blank(*s.scan))
        ++s.scan;
    encode_instruction(s, *entry);
    return false;
}

} // namespace torva
