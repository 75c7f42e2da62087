// Tokenizing, syntax checking and evaluating expressions.
#include "asm/expression.h"

#include "asm/messages.h"
#include "asm/session.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstring>
#include <string_view>
#include <vector>

namespace torva {

namespace {

// Models in which a register name is reserved, as a bit set of CpuModel.
constexpr int kNotXgate = (1 << kModelHC12) | (1 << kModelHCS12) | (1 << kModelHCS12X);
constexpr int kAllModels = kNotXgate | (1 << kModelXGATE);
constexpr int kOnlyX = 1 << kModelHCS12X;

struct RegisterName {
    std::string_view name;
    int code;
    int models;
};

constexpr RegisterName kRegisters[] = {
    {"A", kTokRegA, kNotXgate},    {"B", kTokRegB, kNotXgate},     {"D", kTokRegD, kNotXgate},
    {"X", kTokRegX, kNotXgate},    {"Y", kTokRegY, kNotXgate},     {"SP", kTokRegSP, kNotXgate},
    {"PC", kTokRegPC, kAllModels}, {"XH", kTokRegXH, kOnlyX},      {"XL", kTokRegXL, kOnlyX},
    {"YH", kTokRegYH, kOnlyX},     {"YL", kTokRegYL, kOnlyX},      {"SPH", kTokRegSPH, kOnlyX},
    {"SPL", kTokRegSPL, kOnlyX},   {"CCRW", kTokRegCCRW, kOnlyX},  {"CCRL", kTokRegCCRL, kOnlyX},
    {"CCRH", kTokRegCCRH, kOnlyX}, {"PCR", kTokRegPCR, kNotXgate}, {"CCR", kTokRegCCR, kAllModels},
};

bool continues_name(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_';
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// A register name at p (followed by a character that cannot continue a
// name), recognised in the current model; 0 when none.
int match_register(int model, const char* p, int32_t& value, const char*& end) {
    if ((*p == 'R' || *p == 'r') && model == kModelXGATE && p[1] >= '0' && p[1] <= '7' &&
        !continues_name(p[2])) {
        value = p[1] - '0';
        end = p + 2;
        return kTokRegR;
    }
    const char first = upper(*p);
    // Every register name starts with one of these letters.
    if (first != 'A' && first != 'B' && first != 'C' && first != 'D' && first != 'P' &&
        first != 'S' && first != 'X' && first != 'Y')
        return 0;
    for (const RegisterName& r : kRegisters) {
        if (r.name[0] != first || !(r.models & (1 << model))) continue;
        const size_t n = r.name.size();
        size_t i = 1;
        while (i < n && upper(p[i]) == r.name[i])
            ++i;
        if (i == n && !continues_name(p[n])) {
            end = p + n;
            return r.code;
        }
    }
    return 0;
}

struct TwoCharOperator {
    char first, second;
    int code;
};
constexpr TwoCharOperator kTwoCharOperators[] = {
    {'=', '=', kTokEq},  {'!', '=', kTokNe},   {'<', '=', kTokLe},
    {'>', '=', kTokGe},  {'|', '|', kTokOrOr}, {'&', '&', kTokAndAnd},
    {'<', '<', kTokShl}, {'>', '>', kTokShr},  {'%', '%', kTokRem},
};

struct SingleCharOperator {
    char c;
    int code;
};
constexpr SingleCharOperator kSingleCharOperators[] = {
    {'.', kTokLocation}, {'<', kTokLess},  {'>', kTokGreater}, {'(', kTokLParen}, {')', kTokRParen},
    {'!', kTokNot},      {'~', kTokCompl}, {'&', kTokAnd},     {'|', kTokOr},     {'^', kTokXor},
    {'-', kTokMinus},    {'+', kTokPlus},  {'/', kTokDiv},
};

int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Digits of the given base up to the next delimiter; any other character
// there makes the whole number illegal.
Token read_digits(const char* begin, const char* p, int base, Msg illegal) {
    Token t;
    t.begin = begin;
    t.code = kTokNumber;
    uint32_t value = 0;
    bool any = false;
    bool bad = false;
    while (!is_delimiter(*p)) {
        const int d = digit_value(*p);
        if (d >= base) bad = true;
        value = value * uint32_t(base) + uint32_t(d < base ? d : 0);
        any = true;
        ++p;
    }
    t.end = p;
    t.value = int32_t(value);
    if (bad || !any) {
        t.code = kTokError;
        t.error = int(illegal);
    }
    return t;
}

Token read_number(const char* p, bool operand_before) {
    const char* begin = p;
    // Binary with a suffix: two or more binary digits, then b or B.
    {
        const char* q = p;
        while (*q == '0' || *q == '1')
            ++q;
        if (q - p >= 2 && (*q == 'b' || *q == 'B') && is_delimiter(q[1])) {
            Token t = read_digits(begin, p, 2, Msg::IllegalBinaryDigit);
            uint32_t value = 0;
            for (const char* d = p; d < q; ++d)
                value = value * 2 + uint32_t(*d - '0');
            t.code = kTokNumber;
            t.value = int32_t(value);
            t.end = q + 1;
            return t;
        }
    }
    int base = 10;
    Msg illegal = Msg::IllegalDecimalDigit;
    const char second = p[0] == '0' ? p[1] : 0;
    if ((*p == '%' && !operand_before) || second == 'b' || second == 'B') {
        base = 2;
        illegal = Msg::IllegalBinaryDigit;
        p += *p == '%' ? 1 : 2;
    } else if (*p == '@' || second == 'o' || second == 'O') {
        base = 8;
        illegal = Msg::IllegalOctalDigit;
        p += *p == '@' ? 1 : 2;
    } else if (*p == '$' || second == 'x' || second == 'X') {
        base = 16;
        illegal = Msg::IllegalHexDigit;
        if (*p == '$') {
            ++p;
            if (*p == 'x' || *p == 'X') ++p;
        } else {
            p += 2;
        }
    } else {
        return read_digits(begin, p, 10, illegal);
    }
    while (is_blank(*p))
        ++p;
    return read_digits(begin, p, base, illegal);
}

Token read_character(const char* p) {
    Token t;
    t.begin = p;
    t.code = kTokNumber;
    const char* q = p + 1;
    auto fail = [&](Msg m, const char* end) {
        t.code = kTokError;
        t.error = int(m);
        t.end = end;
        return t;
    };
    const auto c = static_cast<unsigned char>(*q);
    if (c == '\\') {
        const char e = q[1];
        switch (e) {
        case '"':
        case '\'':
        case '\\': t.value = e; break;
        case 'b': t.value = 8; break;
        case 'n': t.value = 10; break;
        case 'r': t.value = 13; break;
        case 't': t.value = 11; break; // 11, not 9: sources written for this assembler rely on it
        default:
            if (e >= '0' && e <= '9')
                t.value = e - '0';
            else
                return fail(Msg::IllegalEscape, q + (e ? 2 : 1));
        }
        q += 2;
    } else if (c >= 128) {
        return fail(Msg::IllegalAscii, q + 1);
    } else if (c < ' ' || c == '\'') {
        return fail(Msg::IllegalCharacter, q);
    } else {
        t.value = c;
        ++q;
    }
    if (*q != '\'') return fail(Msg::IllegalCharacter, q);
    t.end = q + 1;
    return t;
}

bool starts_with_nocase(const char* p, const char* word) {
    for (; *word; ++p, ++word)
        if (upper(*p) != upper(*word)) return false;
    return true;
}

} // namespace

namespace {
// Characters that end a number or an expression, besides blanks and
// control characters.
constexpr std::array<bool, 256> make_delimiters() {
    std::array<bool, 256> table{};
    for (int c = 0; c <= ' '; ++c)
        table[size_t(c)] = true;
    for (const char* p = "!%&()*+,-./:;<=>[]^{|}~"; *p; ++p)
        table[static_cast<unsigned char>(*p)] = true;
    return table;
}
constexpr std::array<bool, 256> kDelimiters = make_delimiters();
} // namespace

bool is_delimiter(char c) {
    return kDelimiters[static_cast<unsigned char>(c)];
}

Token peek_token(const AsmSession& s, const char* p, bool operand_before) {
    Token t;
    t.begin = p;
    if (int code = match_register(s.cpu_model, p, t.value, t.end)) {
        t.code = code;
        return t;
    }
    for (const TwoCharOperator& op : kTwoCharOperators) {
        if (p[0] == op.first && p[1] == op.second) {
            t.code = op.code;
            t.end = p + 2;
            return t;
        }
    }
    t.end = p + 1;
    if (*p == '*') {
        t.code = operand_before ? kTokMul : kTokLocation;
        return t;
    }
    if (*p == '%' && operand_before) {
        t.code = kTokRem;
        t.value = 1; // a single % sits on the additive level
        return t;
    }
    for (const SingleCharOperator& op : kSingleCharOperators) {
        if (*p == op.c) {
            t.code = op.code;
            return t;
        }
    }
    if (std::isdigit(static_cast<unsigned char>(*p)) || *p == '%' || *p == '@' || *p == '$')
        return read_number(p, operand_before);
    if (*p == '\'') return read_character(p);
    if (const size_t n = symbol_name_length(p)) {
        t.code = kTokSymbol;
        t.end = p + n;
        if (p[n] == '@') {
            const char* q = p + n + 1;
            if (starts_with_nocase(q, "ha") && is_delimiter(q[2])) {
                t.code = kTokSymbolHa;
                t.end = q + 2;
            } else if (starts_with_nocase(q, "h") && is_delimiter(q[1])) {
                t.code = kTokSymbolH;
                t.end = q + 1;
            } else if (starts_with_nocase(q, "l") && is_delimiter(q[1])) {
                t.code = kTokSymbolL;
                t.end = q + 1;
            }
        }
        return t;
    }
    t.code = static_cast<unsigned char>(*p);
    if (*p == 0) t.end = p;
    return t;
}

namespace {

bool is_operand(int code) {
    return code == kTokLocation || code == kTokNumber ||
           (code >= kTokSymbol && code <= kTokSymbolL);
}

bool is_binary(int code) {
    return (code >= kTokEq && code <= kTokAndAnd) || code == kTokXor || code == kTokMinus ||
           (code >= kTokPlus && code <= kTokOr) || code == kTokRem;
}

bool is_multiplicative(const Token& t) {
    return t.code == kTokMul || t.code == kTokDiv || (t.code == kTokRem && t.value == 0);
}

struct SyntaxResult {
    bool ok = true;
    Msg error = Msg::IllegalCharacter;
    const char* where = nullptr;
    const char* end = nullptr;
};

// Runs the syntax check over the expression at p and collects its tokens.
SyntaxResult check_syntax(const AsmSession& s, const char* p, std::vector<Token>& tokens) {
    enum { Start, AfterOperator, AfterOperand } state = Start;
    int depth = 0;
    tokens.clear();
    auto fail = [](Msg m, const char* where) { return SyntaxResult{false, m, where, where}; };
    for (;;) {
        const Token t = peek_token(s, p, state == AfterOperand);
        const int c = t.code;
        if (c == kTokError) return fail(Msg(t.error), t.begin);
        if (is_register_token(c)) return fail(Msg::ReservedWord, t.begin);
        if (is_operand(c)) {
            if (state == AfterOperand) return fail(Msg::MissingOperator, t.begin);
            state = AfterOperand;
        } else if (c == kTokNot || c == kTokCompl || c == kTokMinus ||
                   (c == kTokPlus && state != AfterOperand)) {
            // A sign where no operand precedes is unary: -7 and +7 alike.
            state = AfterOperator;
        } else if (is_binary(c)) {
            if (state != AfterOperand) return fail(Msg::OperandExpected, t.begin);
            state = AfterOperator;
        } else if (c == kTokLParen) {
            if (state == AfterOperand) return fail(Msg::OperandExpected, t.begin);
            ++depth;
            state = AfterOperator;
        } else if (c == kTokRParen) {
            if (depth == 0) {
                if (s.cpu_model == kModelXGATE) {
                    if (state != AfterOperand) return fail(Msg::UnterminatedExpression, t.begin);
                    return SyntaxResult{true, Msg::IllegalCharacter, nullptr, p};
                }
                return fail(Msg::UnexpectedParenthesis, t.begin);
            }
            // "()" or "(1+)" would leave the evaluator without an operand.
            if (state != AfterOperand) return fail(Msg::OperandExpected, t.begin);
            --depth;
            state = AfterOperand;
        } else {
            if (c < 256 && !is_delimiter(char(c))) return fail(Msg::IllegalCharacter, t.begin);
            if (state != AfterOperand) return fail(Msg::UnterminatedExpression, t.begin);
            if (depth > 0) return fail(Msg::MissingParenthesis, t.begin);
            return SyntaxResult{true, Msg::IllegalCharacter, nullptr, p};
        }
        tokens.push_back(t);
        p = t.end;
    }
}

class Evaluator {
public:
    Evaluator(AsmSession& s, const std::vector<Token>& t, ExprValue& out)
        : s_(s), t_(t), out_(out) {}

    int32_t run() {
        const int32_t v = expression();
        return stop_ ? 0 : v;
    }

private:
    int32_t expression() {
        int32_t v = term();
        while (!stop_ && i_ < t_.size() && is_binary(t_[i_].code) && !is_multiplicative(t_[i_])) {
            const int op = t_[i_++].code;
            v = apply(op, v, term());
        }
        return v;
    }

    int32_t term() {
        if (stop_) return 0;
        if (i_ >= t_.size()) return unreachable();
        const Token& t = t_[i_++];
        int32_t v = 0;
        switch (t.code) {
        case kTokMinus: return int32_t(0u - uint32_t(term()));
        case kTokPlus: return term();
        case kTokNot: return term() == 0 ? 1 : 0;
        case kTokCompl: return ~term();
        case kTokLParen:
            v = expression();
            if (i_ < t_.size() && t_[i_].code == kTokRParen)
                ++i_;
            else if (!stop_)
                return unreachable();
            break;
        case kTokLocation: v = int32_t(s_.line_start); break;
        case kTokNumber: v = t.value; break;
        case kTokSymbol:
        case kTokSymbolH:
        case kTokSymbolHa:
        case kTokSymbolL: v = symbol_value(t); break;
        default: return unreachable();
        }
        if (!stop_ && i_ < t_.size() && is_multiplicative(t_[i_])) {
            const int op = t_[i_++].code;
            v = apply(op, v, term());
        }
        return v;
    }

    int32_t unreachable() {
        report(s_, Msg::ParserUnreachable);
        stop_ = true;
        return 0;
    }

    int32_t symbol_value(const Token& t) {
        SymbolRecord* r = reference_symbol(s_, std::string_view(t.begin, size_t(t.end - t.begin))
                                                   .substr(0, symbol_name_length(t.begin)));
        if (!r) {
            stop_ = true;
            return 0;
        }
        ++out_.symbols;
        if (s_.pass == 0) {
            if (r->flags & kSymUndefined) {
                if (!(r->flags & kSymForwardRef)) {
                    r->flags |= kSymForwardRef;
                    r->forward_line = s_.file_line;
                }
                ++out_.forward;
            }
        } else {
            if ((r->flags & kSymUndefined) || r->defined_at > s_.global_line) ++out_.forward;
            // Every reference to a name still undefined is reported, so that
            // a misspelt name beside a forward one cannot slip through. A
            // name first met in pass 2 has nothing but the undefined flag.
            if (r->flags == kSymUndefined)
                report(s_, Msg::NameQuoted, message(Msg::UndefinedSymbol).text, r->name.c_str());
            else if (r->flags & kSymUndefined)
                report(s_, Msg::UndefinedSymbolNamed, r->name.c_str());
        }
        const uint32_t value = r->value;
        switch (t.code) {
        case kTokSymbolH:
        case kTokSymbolHa: return int32_t(value >> 16);
        case kTokSymbolL: return int32_t(value & 0xFFFF);
        default: return int32_t(value);
        }
    }

    int32_t apply(int op, int32_t a, int32_t b) {
        const uint32_t ua = uint32_t(a), ub = uint32_t(b);
        switch (op) {
        case kTokPlus: return int32_t(ua + ub);
        case kTokMinus: return int32_t(ua - ub);
        case kTokMul: return int32_t(ua * ub);
        case kTokDiv:
            if (b == 0) {
                report(s_, Msg::DivideByZero);
                stop_ = true;
                return 0;
            }
            if (a == INT32_MIN && b == -1) return INT32_MIN; // wraps, as the hardware would
            return a / b;
        case kTokRem:
            if (b == 0) {
                stop_ = true;
                return 0;
            }
            if (b == -1) return 0;
            return a % b;
        case kTokShl: return int32_t(ua << (ub & 31));
        case kTokShr: return a >> (ub & 31);
        case kTokAnd: return a & b;
        case kTokOr: return a | b;
        case kTokXor: return a ^ b;
        case kTokEq: return a == b;
        case kTokNe: return a != b;
        case kTokLe: return a <= b;
        case kTokGe: return a >= b;
        case kTokAndAnd: return a != 0 && b != 0;
        case kTokOrOr: return a != 0 || b != 0;
        default: return unreachable();
        }
    }

    AsmSession& s_;
    const std::vector<Token>& t_;
    ExprValue& out_;
    size_t i_ = 0;
    bool stop_ = false;
};

int column_of(const AsmSession& s, const char* start, const char* where) {
    const char* base = s.line.data();
    if (start < base || start > base + s.line.size()) return int(where - start);
    const size_t column = size_t(where - base);
    // A rewritten line's columns point into the line as the source has it.
    if (!s.line_rewritten) return int(column);
    if (column < s.source_columns.size()) return int(s.source_columns[column]);
    return int(s.source_line.size() - std::min(s.source_line.size(), s.line.size() - column));
}

void report_syntax(AsmSession& s, const char* start, const SyntaxResult& r) {
    report(s, Msg::AtPosition, message(r.error).text, column_of(s, start, r.where));
}

} // namespace

int32_t evaluate_text(AsmSession& s, const char* p) {
    std::vector<Token>& tokens = s.tokens;
    const SyntaxResult r = check_syntax(s, p, tokens);
    if (!r.ok) {
        report_syntax(s, p, r);
        return 0;
    }
    ExprValue out;
    return Evaluator(s, tokens, out).run();
}

bool evaluate_operand(AsmSession& s, ExprValue& out, bool report_errors) {
    std::vector<Token>& tokens = s.tokens;
    out = ExprValue{};
    const SyntaxResult r = check_syntax(s, s.scan, tokens);
    if (!r.ok) {
        const bool name_char = r.error == Msg::IllegalCharacter && continues_name(*r.where);
        if (report_errors && !name_char) report_syntax(s, s.scan, r);
        return false;
    }
    out.value = Evaluator(s, tokens, out).run();
    s.scan = r.end;
    return true;
}

} // namespace torva
