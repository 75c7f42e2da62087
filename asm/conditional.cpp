// The #if family: nesting depth, skip level and one state per depth.
#include "asm/conditional.h"

#include "asm/expression.h"
#include "asm/messages.h"
#include "asm/session.h"

#include <cctype>
#include <cstring>
#include <string>
#include <string_view>

namespace torva {

namespace {

struct CondWord {
    const char* name;
    int code;
};
// After '#' (and optional blanks).
constexpr CondWord kHashWords[] = {
    {"if", kCondIf},         {"else", kCondElse},   {"endif", kCondEndif}, {"elif", kCondElif},
    {"define", kCondDefine}, {"error", kCondError}, {"ifdef", kCondIfdef}, {"ifndef", kCondIfndef},
};
// The dot forms; there is no .define.
constexpr CondWord kDotWords[] = {
    {".if", kCondIf},       {".else", kCondElse},   {".endif", kCondEndif},
    {".elseif", kCondElif}, {".ifdef", kCondIfdef}, {".ifndef", kCondIfndef},
    {".error", kCondError},
};

bool is_space(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The word at p matches `name` (any case) and ends at a blank, a control
// character or the end.
bool word_is(const char* p, const char* name) {
    const size_t n = std::strlen(name);
    for (size_t i = 0; i < n; ++i)
        if (p[i] != name[i] && !(p[i] >= 'A' && p[i] <= 'Z' && p[i] - 'A' + 'a' == name[i]))
            return false;
    return is_space(p[n]);
}

template <size_t N>
int match(const char*& p, const CondWord (&words)[N]) {
    for (const CondWord& w : words) {
        if (word_is(p, w.name)) {
            p += std::strlen(w.name);
            return w.code;
        }
    }
    return 0;
}

// The next blank-separated word at p (p moves past it).
std::string next_word(const char*& p) {
    while (is_blank(*p))
        ++p;
    const char* begin = p;
    while (!is_space(*p))
        ++p;
    return std::string(begin, p);
}

// The name at the start of a word: it ends at the first character that
// cannot belong to a name ("DEBUG;comment" names DEBUG).
std::string_view name_in(const std::string& word) {
    const size_t n = symbol_name_length(word.c_str());
    return std::string_view(word).substr(0, n < kMaxSymbolName ? n : kMaxSymbolName);
}

bool is_defined_name(AsmSession& s, const std::string& word, bool& ok) {
    ok = true;
    const std::string_view name = name_in(word);
    if (name.empty()) {
        ok = false;
        return false;
    }
    SymbolRecord* r = s.symbols.find(name);
    if (!r) {
        if (s.symbols.full()) {
            ok = false;
            return false;
        }
        r = s.symbols.enter(name, 0, 0, kSymConditional | kSymUndefined);
        if (!r) {
            ok = false;
            return false;
        }
    }
    return (r->flags & (kSymDefined | kSymDefinedTwice)) != 0;
}

bool skipping_outside(const AsmSession& s) {
    return s.skip_level != 0 && s.skip_level < s.cond_depth;
}

// Opens a conditional level whose test is `test` (evaluated only when
// lines are being assembled).
template <typename Test>
void open_level(AsmSession& s, Msg too_deep, Test test) {
    ++s.cond_depth;
    if (s.cond_depth >= kMaxCondDepth) {
        report(s, too_deep);
        return;
    }
    if (s.skip_level != 0) return;
    s.cond_state[size_t(s.cond_depth)] = 0;
    if (test()) {
        s.cond_state[size_t(s.cond_depth)] = 1;
    } else {
        s.skip_level = s.cond_depth;
        s.force_list = true; // the #if line itself is listed
    }
}

void do_define(AsmSession& s, const char* p) {
    if (s.skip_level != 0) return;
    const std::string word = next_word(p);
    while (is_blank(*p))
        ++p;
    if (word.find_first_of("()") != std::string::npos) {
        report(s, Msg::MacroNotSupported);
        return;
    }
    const std::string_view name = name_in(word);
    if (name.empty()) {
        report(s, Msg::BadPreproc);
        return;
    }
    // A value word follows the name only after a blank: in "LEVEL;x" the
    // rest of the line is a comment.
    const char* value_text = p;
    const bool has_value =
        symbol_name_length(word.c_str()) == word.size() && !is_space(*p) && *p != '*' && *p != ';';
    SymbolRecord* r = s.symbols.find(name);
    if (r && (r->flags & (kSymDefined | kSymDefinedTwice))) {
        r->flags |= kSymDefinedTwice;
        if (r->line != s.file_line) {
            report(s, Msg::PreviouslyDefined, r->name.c_str(), r->line);
            if (has_value && uint32_t(evaluate_text(s, value_text)) != r->value)
                report(s, Msg::Redefined, r->name.c_str(), s.file_line);
        }
        return;
    }
    if (!r) {
        if (s.symbols.full()) {
            report(s, Msg::SymbolTableOverflow);
            return;
        }
        r = s.symbols.enter(name, 0, 0, 0);
        if (!r) return;
    }
    r->flags = uint16_t((r->flags & ~kSymUndefined) | kSymDefined | kSymConstant | kSymConditional);
    r->line = s.file_line;
    r->defined_at = s.global_line;
    r->value = has_value ? uint32_t(evaluate_text(s, value_text)) : 0;
}

} // namespace

void reset_conditionals(AsmSession& s) {
    s.cond_depth = 0;
    s.skip_level = 0;
    s.cond_state.fill(0);
}

bool handle_conditional(AsmSession& s) {
    const char* p = s.line.c_str();
    while (*p && is_space(*p))
        ++p;
    int code = 0;
    if (*p == '#') {
        ++p;
        while (is_blank(*p))
            ++p;
        code = match(p, kHashWords);
    } else if (*p == '.') {
        code = match(p, kDotWords);
    }
    if (code == 0) return false;
    s.show_address = false;
    while (is_blank(*p))
        ++p;
    const size_t depth = size_t(s.cond_depth);
    switch (code) {
    case kCondIf: open_level(s, Msg::IfTooDeep, [&] { return evaluate_text(s, p) != 0; }); break;
    case kCondIfdef:
    case kCondIfndef: {
        const bool inverted = code == kCondIfndef;
        open_level(s, inverted ? Msg::IfndefTooDeep : Msg::IfdefTooDeep, [&] {
            const char* q = p;
            bool ok = true;
            const bool defined = is_defined_name(s, next_word(q), ok);
            if (!ok) {
                report(s, Msg::BadPreproc);
                return false;
            }
            return defined != inverted;
        });
        break;
    }
    case kCondElif: {
        if (skipping_outside(s)) break;
        if (depth == 0) {
            report(s, Msg::ElifWithoutIf);
            break;
        }
        if (depth >= size_t(kMaxCondDepth)) break; // a refused level is never skipped
        if (s.cond_state[depth] == 2) report(s, Msg::ElifAfterElse);
        const char* q = p;
        bool ok = true;
        const bool defined = is_defined_name(s, next_word(q), ok);
        if (defined && s.cond_state[depth] == 0) {
            s.skip_level = 0;
            s.cond_state[depth] = 1;
        } else {
            if (s.skip_level == 0) s.force_list = true;
            s.skip_level = int(depth);
        }
        break;
    }
    case kCondElse:
        if (skipping_outside(s)) break;
        if (depth == 0) {
            report(s, Msg::ElseWithoutIf);
            break;
        }
        if (depth >= size_t(kMaxCondDepth)) break;
        if (s.cond_state[depth] == 2) report(s, Msg::ElseAfterElse);
        if (s.cond_state[depth] == 0) {
            s.skip_level = 0;
        } else {
            if (s.skip_level == 0) s.force_list = true;
            s.skip_level = int(depth);
        }
        s.cond_state[depth] = 2;
        break;
    case kCondEndif:
        if (s.skip_level == 0) {
            if (depth == 0)
                report(s, Msg::EndifWithoutIf);
            else
                --s.cond_depth;
        } else {
            --s.cond_depth;
            if (s.cond_depth < s.skip_level) s.skip_level = 0;
        }
        break;
    case kCondDefine: do_define(s, p); break;
    case kCondError:
        if (s.skip_level == 0) report(s, Msg::MessageDirective);
        break;
    }
    s.line_done = true;
    return true;
}

} // namespace torva
