// Expressions: tokenizer, syntax check with error positions, and the
// two-level evaluator (multiplicative operators group from the right, all
// others share one level and group from the left).
#pragma once

#include <cstdint>
#include <string>

namespace torva {

struct AsmSession;

enum TokenCode : int {
    kTokLocation = 257,
    kTokEq = 258,
    kTokNe = 259,
    kTokLe = 260,
    kTokGe = 261,
    kTokOrOr = 262,
    kTokAndAnd = 264,
    kTokNot = 265,
    kTokCompl = 266,
    kTokXor = 267,
    kTokMinus = 268,
    kTokPlus = 269,
    kTokMul = 270,
    kTokDiv = 271,
    kTokShl = 272,
    kTokShr = 273,
    kTokAnd = 274,
    kTokOr = 275,
    kTokNumber = 276,
    kTokSymbol = 277,
    kTokSymbolH = 278,
    kTokSymbolHa = 279,
    kTokSymbolL = 280,
    kTokLess = 284,
    kTokGreater = 285,
    kTokRem = 286,
    kTokLParen = 287,
    kTokRParen = 288,
    kTokRegA = 289,
    kTokRegB = 290,
    kTokRegD = 291,
    kTokRegCCR = 292,
    kTokRegX = 294,
    kTokRegY = 295,
    kTokRegSP = 297,
    kTokRegPC = 298,
    kTokRegXH = 299,
    kTokRegXL = 300,
    kTokRegYH = 301,
    kTokRegYL = 302,
    kTokRegSPH = 303,
    kTokRegSPL = 304,
    kTokRegCCRW = 305,
    kTokRegCCRL = 306,
    kTokRegCCRH = 307,
    kTokRegR = 308,
    kTokRegPCR = 309,
    kTokError = 1000, // a malformed number or character constant
};

struct Token {
    int code = 0;
    int32_t value = 0;
    const char* begin = nullptr;
    const char* end = nullptr;
    int error = -1; // Msg of a malformed token
};

inline bool is_register_token(int code) {
    return code >= kTokRegA && code <= kTokRegPCR;
}

// Blank, control character or one of the characters that end a number.
bool is_delimiter(char c);

// The next token at p (p is not moved); `operand_before` tells `*` and `%`
// apart.
Token peek_token(const AsmSession& s, const char* p, bool operand_before);

// The result of evaluating an operand expression.
struct ExprValue {
    int32_t value = 0;
    int forward = 0; // references to symbols undefined or defined further on
    int symbols = 0; // symbol references
};

// Evaluates the expression at p and reports any error; returns 0 after one.
int32_t evaluate_text(AsmSession& s, const char* p);

// Evaluates the expression at s.scan and moves s.scan to its end. Returns
// false on a syntax error, which is reported only when `report` is set.
bool evaluate_operand(AsmSession& s, ExprValue& out, bool report);

} // namespace torva
