// Tokenizer and evaluator: radix forms, constants, precedence and grouping,
// error texts with their positions.
#include "asm/expression.h"
#include "asm/session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torva {
namespace {

struct Evaluation {
    int32_t value;
    std::vector<std::string> messages;
};

// Evaluates `text` as a pass-2 line of its own.
Evaluation evaluate(const std::string& text, int model = kModelHCS12) {
    AsmSession s;
    Evaluation e{0, {}};
    s.write_line = [&e](std::string_view line) { e.messages.emplace_back(line); };
    s.pass = 1;
    s.cpu_model = model;
    s.current_file = "e.asm";
    s.file_line = 7;
    s.line_start = 0x1234;
    s.line = text + "\n";
    e.value = evaluate_text(s, s.line.c_str());
    return e;
}

struct Case {
    int line;
    const char* text;
    int32_t value;
};

constexpr Case kValues[] = {
    {__LINE__, "$FF", 255},
    {__LINE__, "0xff", 255},
    {__LINE__, "0XFF", 255},
    {__LINE__, "$ FF", 255}, // blanks after a prefix
    {__LINE__, "$xFF", 255}, // x after $ is skipped
    {__LINE__, "255", 255},
    {__LINE__, "%1010", 10},
    {__LINE__, "0b1010", 10},
    {__LINE__, "1010b", 10},
    {__LINE__, "@17", 15},
    {__LINE__, "0o17", 15},
    {__LINE__, "0", 0},
    {__LINE__, "$FFFFFFFF+2", 1}, // 32-bit wrap
    {__LINE__, "'A'", 65},
    {__LINE__, "'\\n'", 10},
    {__LINE__, "'\\t'", 11}, // tab is 11 here
    {__LINE__, "'\\7'", 7},
    {__LINE__, "'\\''", 39},
    {__LINE__, "2+3*4", 14},
    {__LINE__, "2*3+4", 10},
    {__LINE__, "8-2-1", 5},
    {__LINE__, "100/10/2", 20}, // multiplicative operators group from the right
    {__LINE__, "-2*3", -6},
    {__LINE__, "+7", 7}, // a sign where no operand precedes is unary, + as -
    {__LINE__, "1++2", 3},
    {__LINE__, "-+2*3", -6},
    {__LINE__, "(1+2)*3", 9},
    {__LINE__, "1<<2+1", 5}, // one additive level, left to right
    {__LINE__, "7%3*2", 1},
    {__LINE__, "1+8%3", 0},  // single % is additive: (1+8)%3
    {__LINE__, "1+8%%3", 3}, // %% is multiplicative: 1+(8%3)
    {__LINE__, "-7/2", -3},  // truncation toward zero
    {__LINE__, "-7%%2", -1}, // remainder takes the dividend's sign
    {__LINE__, "-8>>1", -4}, // arithmetic shift
    {__LINE__, "1<<33", 2},  // shift count modulo 32
    {__LINE__, "3==3", 1},
    {__LINE__, "3!=3", 0},
    {__LINE__, "2<=3&&4>=5", 0},
    {__LINE__, "0||7", 1},
    {__LINE__, "!0", 1},
    {__LINE__, "~0", -1},
    {__LINE__, "6&3|8^1", 11},
    {__LINE__, "*", 0x1234}, // location counter
    {__LINE__, ".", 0x1234},
    {__LINE__, "*+2", 0x1236},
    {__LINE__, "**2", 0x2468}, // location counter times two
    {__LINE__, "1 +2", 1},     // a blank ends the expression
    {__LINE__, "(-2147483647-1)/-1", -2147483647 - 1},
    {__LINE__, "5%%0", 0}, // remainder by zero: 0, no message
};

TEST(ExpressionTest, Values) {
    for (const Case& c : kValues) {
        SCOPED_TRACE(c.line);
        const Evaluation e = evaluate(c.text);
        EXPECT_EQ(c.value, e.value) << c.text;
        EXPECT_TRUE(e.messages.empty()) << c.text << ": " << e.messages.front();
    }
}

struct ErrorCase {
    int line;
    const char* text;
    int model;
    const char* message;
};

constexpr ErrorCase kErrors[] = {
    {__LINE__, "0FFh", kModelHCS12, "Illegal decimal digit, Position[0]"},
    {__LINE__, "1b", kModelHCS12, "Illegal decimal digit, Position[0]"},
    {__LINE__, "%102", kModelHCS12, "Illegal binary digit, Position[0]"},
    {__LINE__, "@8", kModelHCS12, "Illegal octal digit, Position[0]"},
    {__LINE__, "1+$G", kModelHCS12, "Illegal hexadecimal digit, Position[2]"},
    {__LINE__, "$", kModelHCS12, "Illegal hexadecimal digit, Position[0]"},
    {__LINE__, "(1+2", kModelHCS12, "Missing Parenthesis, Position[4]"},
    {__LINE__, "1+2)", kModelHCS12, "Unexpected Parenthesis, Position[3]"},
    {__LINE__, "X+1", kModelHCS12, "Illegal use of reserved word, Position[0]"},
    {__LINE__, "XL+1", kModelHCS12X, "Illegal use of reserved word, Position[0]"},
    {__LINE__, "1 2", kModelHCS12, ""}, // ends at the blank: fine
    {__LINE__, "1(2)", kModelHCS12, "Operand expected, Position[1]"},
    {__LINE__, "*2", kModelHCS12, "Missing operator, Position[1]"},
    {__LINE__, "+", kModelHCS12, "Unterminated expression, Position[1]"},
    {__LINE__, "1+", kModelHCS12, "Unterminated expression, Position[2]"},
    {__LINE__, "(1)#", kModelHCS12, "Illegal character, Position[3]"},
    {__LINE__, "'\\q'", kModelHCS12, "Illegal escape character, Position[0]"},
    {__LINE__, "'A", kModelHCS12, "Illegal character, Position[0]"},
    {__LINE__, "()", kModelHCS12, "Operand expected, Position[1]"},
    {__LINE__, "1/0", kModelHCS12, "Integer divide by zero"},
    {__LINE__, "NOWHERE", kModelHCS12, "Undefined symbol: 'NOWHERE'"},
};

TEST(ExpressionTest, ErrorsNameTheirPosition) {
    for (const ErrorCase& c : kErrors) {
        SCOPED_TRACE(c.line);
        const Evaluation e = evaluate(c.text, c.model);
        if (*c.message == 0) {
            EXPECT_TRUE(e.messages.empty()) << c.text;
            continue;
        }
        ASSERT_FALSE(e.messages.empty()) << c.text;
        EXPECT_EQ(std::string("\"e.asm\" (7): error: ") + c.message, e.messages.front());
        EXPECT_EQ(1u, e.messages.size()) << c.text;
        EXPECT_EQ(0, e.value);
    }
}

TEST(ExpressionTest, RegisterNamesDependOnTheModel) {
    // XL is an ordinary symbol outside HCS12X; XH never reads as X.
    EXPECT_EQ("\"e.asm\" (7): error: Undefined symbol: 'XL'", evaluate("XL").messages.at(0));
    EXPECT_EQ("\"e.asm\" (7): error: Undefined symbol: 'XH'", evaluate("XH").messages.at(0));
    // In the XGATE model A and X are plain names, R3 is reserved.
    EXPECT_EQ("\"e.asm\" (7): error: Undefined symbol: 'A'",
              evaluate("A", kModelXGATE).messages.at(0));
    EXPECT_EQ("\"e.asm\" (7): error: Illegal use of reserved word, Position[0]",
              evaluate("R3", kModelXGATE).messages.at(0));
    // XGATE: an unmatched ')' just ends the expression.
    EXPECT_TRUE(evaluate("5)", kModelXGATE).messages.empty());
}

TEST(ExpressionTest, HalvesOfASymbol) {
    AsmSession s;
    s.pass = 1;
    s.line = "x\n";
    SymbolRecord* r = s.symbols.enter("BIG", 0x12345678, 1, kSymDefined);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(0x1234, evaluate_text(s, "BIG@h"));
    EXPECT_EQ(0x1234, evaluate_text(s, "BIG@HA"));
    EXPECT_EQ(0x5678, evaluate_text(s, "BIG@l"));
    EXPECT_EQ(0x12345678, evaluate_text(s, "BIG"));
}

TEST(ExpressionTest, OperandEvaluationStopsAtTheDelimiter) {
    AsmSession s;
    s.pass = 1;
    s.line = "3*4,x\n";
    s.scan = s.line.c_str();
    ExprValue v;
    ASSERT_TRUE(evaluate_operand(s, v, true));
    EXPECT_EQ(12, v.value);
    EXPECT_EQ(',', *s.scan);
    // A register name fails quietly without the report flag.
    s.line = "a,x\n";
    s.scan = s.line.c_str();
    int messages = 0;
    s.write_line = [&](std::string_view) { ++messages; };
    EXPECT_FALSE(evaluate_operand(s, v, false));
    EXPECT_EQ(0, messages);
    EXPECT_EQ(s.line.c_str(), s.scan);
}

} // namespace
} // namespace torva
