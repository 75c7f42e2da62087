// The line rewriting of the compatibility dialect.
#include "asm/compat_line.h"

#include "asm/letter_case.h"
#include "asm/symbols.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace torva {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}
// A blank, a control character or the end of the line.
bool is_space(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool ends_field(char c) {
    return c == '\n' || c == '\0';
}

// Mnemonics other assemblers accept beside the CPU12 names.
struct Alias {
    std::string_view name;
    std::string_view canonical;
};
constexpr Alias kMnemonicAliases[] = {
    {"lda", "ldaa"}, {"ldb", "ldab"}, {"sta", "staa"}, {"stb", "stab"}, {"ora", "oraa"},
    {"orb", "orab"}, {"cmpd", "cpd"}, {"cmpx", "cpx"}, {"cmpy", "cpy"}, {"cmps", "cps"},
};

// What the operand field of the statement holds.
enum class Operand {
    kPlain,     // expressions and registers separated by commas
    kFileName,  // INCLUDE's file name
    kDelimited, // FCC: text between two equal delimiters
};

class Rewriter {
public:
    Rewriter(std::string_view in, std::string& text, std::vector<uint32_t>& columns)
        : in_(in), text_(text), columns_(columns) {}

    bool run(bool xgate);

private:
    char at(size_t i) const { return i < in_.size() ? in_[i] : '\0'; }
    void put(char c, size_t from) {
        text_.push_back(c);
        columns_.push_back(uint32_t(from));
    }
    void put(std::string_view s, size_t from) {
        text_ += s;
        columns_.insert(columns_.end(), s.size(), uint32_t(from));
    }
    // Every line is copied through here, mostly whole: in pieces, not
    // character by character.
    void copy(size_t from, size_t to) {
        to = std::min(to, in_.size());
        if (from >= to) return;
        text_ += in_.substr(from, to - from);
        const size_t old = columns_.size();
        columns_.resize(old + (to - from));
        std::iota(columns_.begin() + std::ptrdiff_t(old), columns_.end(), uint32_t(from));
    }
    size_t skip_blanks(size_t i) const {
        while (is_blank(at(i)))
            ++i;
        return i;
    }
    size_t word_end(size_t i) const {
        while (i < in_.size() && !is_space(in_[i]))
            ++i;
        return i;
    }
    // Past the string or character constant that opens at i (its closing
    // quote included), or the end of the line when it is not closed.
    size_t past_quoted(size_t i) const {
        const char quote = in_[i];
        for (++i; i < in_.size() && !ends_field(in_[i]); ++i) {
            if (in_[i] == quote) return i + 1;
            if (in_[i] == '\\' && !ends_field(at(i + 1))) ++i;
        }
        return i;
    }

    size_t label(bool& done);
    size_t operation(size_t i, bool xgate, Operand& kind, bool& done);
    size_t file_name(size_t i);
    size_t delimited(size_t i);
    size_t plain(size_t i);

    std::string_view in_;
    std::string& text_;
    std::vector<uint32_t>& columns_;
};

// The label: in column 1 as always, or indented and followed by a colon,
// which moves it to column 1. Returns where the blanks before the operation
// word start.
size_t Rewriter::label(bool& done) {
    if (!is_space(in_[0])) {
        // "#include" or ".include" in column 1 is an operation word; other
        // words there (.stab, #define) are the default's.
        if (in_[0] == '#' || in_[0] == '.') {
            const size_t word = in_[0] == '#' ? skip_blanks(1) : 0;
            const size_t end = word_end(word);
            const std::string_view name = in_.substr(word, end - word);
            if (!equal_nocase(name, in_[0] == '#' ? "include" : ".include")) {
                done = true;
                return 0;
            }
            put(' ', 0);
            return 0;
        }
        const size_t n = symbol_name_length(in_.data());
        if (n == 0 || n > in_.size()) {
            done = true; // not a label: the statement parser reports it
            return 0;
        }
        copy(0, n);
        if (at(n) != ':') return n;
        put(':', n);
        return n + 1;
    }
    const size_t start = skip_blanks(0);
    const size_t n = start < in_.size() ? symbol_name_length(in_.data() + start) : 0;
    if (n == 0 || at(start + n) != ':') return 0;
    copy(start, start + n + 1);
    // A blank keeps the operation word apart from the moved label.
    if (!is_blank(at(start + n + 1))) put(' ', start + n + 1);
    return start + n + 1;
}

// The operation word at i, which a ';' ends too (rts;); sets what its
// operand field holds.
size_t Rewriter::operation(size_t i, bool xgate, Operand& kind, bool& done) {
    size_t end = i;
    while (end < in_.size() && !is_space(in_[end]) && in_[end] != ';')
        ++end;
    const std::string_view word = in_.substr(i, end - i);
    if (in_[i] == '#') {
        // "#include" and "# include": any other # word is the default's.
        const size_t name = skip_blanks(i + 1);
        const size_t name_end = word_end(name);
        if (!equal_nocase(in_.substr(name, name_end - name), "include")) {
            done = true;
            return i;
        }
        put("include", i);
        kind = Operand::kFileName;
        return name_end;
    }
    if (equal_nocase(word, ".include")) {
        put("include", i);
        kind = Operand::kFileName;
        return end;
    }
    if (equal_nocase(word, "include") || equal_nocase(word, "use")) {
        kind = Operand::kFileName;
    } else if (equal_nocase(word, "fcc")) {
        kind = Operand::kDelimited;
    } else if (!xgate) {
        for (const Alias& a : kMnemonicAliases) {
            if (equal_nocase(word, a.name)) {
                put(a.canonical, i);
                return end;
            }
        }
    }
    copy(i, end);
    return end;
}

// 'name', <name> and "name" all become "name" (a backslash in a name is a
// directory separator); a bare name ends at a ';'.
size_t Rewriter::file_name(size_t i) {
    const char open = in_[i];
    if (open == '\'' || open == '<' || open == '"') {
        const char close = open == '<' ? '>' : open;
        size_t end = i + 1;
        while (end < in_.size() && in_[end] != close && !ends_field(in_[end]))
            ++end;
        if (at(end) != close) return i;
        put('"', i);
        copy(i + 1, end);
        put('"', end);
        return end + 1;
    }
    size_t end = i;
    while (end < in_.size() && !is_space(in_[end]) && in_[end] != ';')
        ++end;
    copy(i, end);
    if (at(end) == ';') put(' ', end);
    return end;
}

// FCC /text/: the text is left as it is, blanks and semicolons included.
size_t Rewriter::delimited(size_t i) {
    const char delimiter = in_[i];
    size_t end = i + 1;
    while (end < in_.size() && in_[end] != delimiter && !ends_field(in_[end]))
        ++end;
    if (at(end) == delimiter) ++end;
    copy(i, end);
    return end;
}

// Expressions separated by commas: blanks around a comma or inside
// parentheses are dropped, a ';' ends the field; strings are kept whole.
size_t Rewriter::plain(size_t i) {
    int depth = 0;
    while (i < in_.size()) {
        const char c = in_[i];
        if (c == '"' || c == '\'') {
            const size_t end = past_quoted(i);
            copy(i, end);
            i = end;
            continue;
        }
        if (c == ';') {
            put(' ', i);
            return i;
        }
        if (is_blank(c)) {
            const size_t next = skip_blanks(i);
            const char after = at(next);
            const bool joins = depth > 0 || after == ',' || (!text_.empty() && text_.back() == ',');
            if (!joins || ends_field(after) || after == ';') return i;
            i = next;
            continue;
        }
        if (is_space(c)) return i;
        if (c == '(' || c == '[') ++depth;
        if ((c == ')' || c == ']') && depth > 0) --depth;
        put(c, i);
        ++i;
    }
    return i;
}

bool Rewriter::run(bool xgate) {
    const char first = at(0);
    if (ends_field(first) || first == '*' || first == ';') return false;
    bool done = false;
    size_t i = label(done);
    if (!done) {
        const size_t word = skip_blanks(i);
        copy(i, word);
        i = word;
        const char c = at(i);
        Operand kind = Operand::kPlain;
        if (!ends_field(c) && c != ';' && c != '*') i = operation(i, xgate, kind, done);
        if (!done) {
            const size_t operand = skip_blanks(i);
            copy(i, operand);
            i = operand;
            if (i < in_.size() && !ends_field(in_[i])) {
                switch (kind) {
                case Operand::kFileName: i = file_name(i); break;
                case Operand::kDelimited: i = delimited(i); break;
                case Operand::kPlain: i = plain(i); break;
                }
            }
        }
    }
    if (done) return false;
    copy(i, in_.size());
    return text_ != in_;
}

} // namespace

bool rewrite_compat_line(std::string_view line, bool xgate, std::string& text,
                         std::vector<uint32_t>& columns) {
    text.clear();
    columns.clear();
    return Rewriter(line, text, columns).run(xgate);
}

} // namespace torva
