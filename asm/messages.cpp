// The texts of the assembler's messages, letter for letter.
#include "asm/messages.h"

#include "asm/session.h"

#include <array>

namespace torva {

namespace {
using K = MsgKind;
constexpr MessageDef kMessages[] = {
    {Msg::IncludeStackExhausted, K::Warning, "Include stack is exhausted, '%s' is ignored"},
    {Msg::PathnameNotQuoted, K::Warning, "Pathname should be quoted, option ignored"},
    {Msg::UnknownOption, K::Warning, "Unknown Option (ignored) "},
    {Msg::SymbolTableOverflow, K::Fatal, "(F1010) Symbol table overflow"},
    {Msg::UnknownClass, K::Error, "(F1016)"},
    {Msg::BadTruncationSize, K::Error, "(F1017)"},
    {Msg::BadDefinitionState, K::Error, "(F1023)"},
    {Msg::SymbolEnteredTwice, K::Error, "(F1024)"},
    {Msg::FileNameTooLong, K::Error, "(F1034) File name too long: '%s'"},
    {Msg::ParserUnreachable, K::Error, "Reached unreacheable point in Parser..P0"},
    {Msg::PhaseError, K::Error, "Phase error between passes"},
    {Msg::CantOpenSource, K::Plain, "Can't open source file '%s'"},
    {Msg::CantCreateFile, K::Plain, "Can't create file '%s'"},
    {Msg::OutputNameConflict, K::Plain,
     "'%s' can't be assembled since the filename conflicts with assembler generated files"},
    // An error, not a warning: the part of the line past the limit is never
    // assembled, so the run must not pass for a good one.
    {Msg::LineTooLong, K::Error, "Source line is to long"},
    {Msg::FileRecursion, K::Warning, "Recursion in file stack, file ignored"},
    {Msg::LastLineContinuation, K::Error, "Read Error: Possibly last line continuation"},
    {Msg::IllegalLabel, K::Error, "Illegal label"},
    {Msg::IllegalMnemonic, K::Error, "Illegal mnemonic"},
    {Msg::IfTooDeep, K::Error, "#if too deeply nested"},
    {Msg::IfdefTooDeep, K::Error, "#ifdef too deeply nested"},
    {Msg::IfndefTooDeep, K::Error, "#ifndef too deeply nested"},
    {Msg::BadPreproc, K::Error, "Bad preproc"},
    {Msg::ElifWithoutIf, K::Error, "#elif with no #if"},
    {Msg::ElifAfterElse, K::Error, "#elif after #else"},
    {Msg::ElseWithoutIf, K::Error, "#else with no #if"},
    {Msg::ElseAfterElse, K::Error, "#else after #else"},
    {Msg::EndifWithoutIf, K::Error, "#endif with no #if"},
    {Msg::MacroNotSupported, K::Warning, "Macro Expansions is NOT supported, 'define' igored"},
    // A warning after #define, an error after EQU (callers pass the kind).
    {Msg::PreviouslyDefined, K::Warning, "symbol '%s' previously defined at line %d"},
    {Msg::Redefined, K::Error, "symbol '%s' redefined at line %d"},
    {Msg::MessageDirective, K::Error, "Message Directive"},
    {Msg::AtPosition, K::Error, "%s, Position[%d]"},
    {Msg::ReservedWord, K::Error, "Illegal use of reserved word"},
    {Msg::MissingOperator, K::Error, "Missing operator"},
    {Msg::OperandExpected, K::Error, "Operand expected"},
    {Msg::UnexpectedParenthesis, K::Error, "Unexpected Parenthesis"},
    {Msg::IllegalCharacter, K::Error, "Illegal character"},
    {Msg::UnterminatedExpression, K::Error, "Unterminated expression"},
    {Msg::MissingParenthesis, K::Error, "Missing Parenthesis"},
    {Msg::IllegalBinaryDigit, K::Error, "Illegal binary digit"},
    {Msg::IllegalOctalDigit, K::Error, "Illegal octal digit"},
    {Msg::IllegalHexDigit, K::Error, "Illegal hexadecimal digit"},
    {Msg::IllegalDecimalDigit, K::Error, "Illegal decimal digit"},
    {Msg::IllegalEscape, K::Error, "Illegal escape character"},
    // An error in expressions, a warning in strings.
    {Msg::IllegalAscii, K::Error, "Illegal ASCII character"},
    {Msg::DivideByZero, K::Error, "Integer divide by zero"},
    {Msg::UndefinedSymbolNamed, K::Error, "Undefined symbol '%s'"},
    {Msg::NameQuoted, K::Error, "%s: '%s'"},
    {Msg::UndefinedSymbol, K::Error, "Undefined symbol"},
    {Msg::MultipleDefinition, K::Error, "Multiple definition"},
    {Msg::NoLabelForEqu, K::Error, "No label for \"equ\""},
    {Msg::ForwardReferenced, K::Warning, "symbol '%s' is forward referenced from line %d"},
    {Msg::OldFashioned, K::Warning, "Old fashioned directive: '%s', use '%s' instead"},
    {Msg::Unimplemented, K::Warning, "Unimplemented assembler directive, ignored"},
    {Msg::FileNotFound, K::Error, "File not found"},
    {Msg::ForwardReference, K::Error, "Forward reference"},
    {Msg::StartSymbolUndefined, K::Warning, "start symbol '%s' is defined"},
    {Msg::EntryAlreadyDefined, K::Warning, "Program entry defined, END <address> ignored"},
    {Msg::EntryBadOperand, K::Error, "Directive function name or address"},
    {Msg::MultipleEntries, K::Warning, "Multiple entry definitions"},
    {Msg::BadDelimiter, K::Error, "Bad delimiter"},
    {Msg::ByteTruncated, K::Warning, "Byte sized operand/data truncated"},
    // A warning for data, an error for instruction operands.
    {Msg::WordTruncated, K::Warning, "Word sized operand/data truncated"},
    {Msg::BadConstantDelimiter, K::Error, "Bad constant delimiter"},
    {Msg::UndeterminedSize, K::Error, "Undetermined size for reservation of storage"},
    {Msg::BadOperandSyntax, K::Error, "Bad operand syntax"},
    {Msg::ExtraAfterString, K::Warning, "Extra characters after string ignored"},
    {Msg::IllegalAlignment, K::Error, "Illegal alignment"},
    {Msg::OptionNeedsArgument, K::Error, "'option' requires argument(s)"},
    {Msg::UnrecognisedOption, K::Error, "Unrecognised option"},
    {Msg::InvalidForModel, K::Error, "Invalid instruction for this model"},
    {Msg::IllegalAddressingModeCaps, K::Error, "Illegal Addressing Mode"},
    {Msg::IllegalAddressingModeLower, K::Error, "Illegal addressing mode"},
    {Msg::IllegalAdressingMode, K::Error, "Illegal Adressing Mode"},
    {Msg::SyntaxError, K::Error, "Syntax Error"},
    {Msg::DirectPageTruncated, K::Error, "8-bit direct-page offset truncated"},
    {Msg::DisplacementTruncated, K::Error, "8-bit displacement truncated"},
    {Msg::LoopDisplacementTruncated, K::Error, "9-bit displacement truncated"},
    {Msg::DirectPageSubstituted, K::Warning,
     "Direct Page is not allowed, substituting with extended mode"},
    {Msg::UnrecognizedTrap, K::Warning, "Unrecognized trap vector"},
    {Msg::SourceModeHcs12, K::Error, "Source mode illegal for HCS12"},
    {Msg::IllegalSource, K::Error, "Illegal Source operand"},
    {Msg::IllegalDestination, K::Error, "Illegal destination operand"},
    {Msg::BadRegisters, K::Error, "Bad Register(s)"},
    {Msg::IllegalRegisterCombination, K::Error, "Illegal register combination"},
    {Msg::XRegisterExpected, K::Error, "Register expected"},
    {Msg::XImmediateExpected, K::Error, "Immediate operand expected"},
    {Msg::XConstantExpected, K::Error, "Constant expected"},
    {Msg::XMisaligned, K::Error, "Branch to misaligned instruction"},
    {Msg::XBranchTooLong, K::Warning, "Branch to long"},
    {Msg::XOutOfRange, K::Warning, "Operand out of range, truncated"},
    {Msg::XImm8Truncated, K::Warning, "8-bit immediate value truncated"},
    {Msg::XInvalidRegister, K::Error, "Invalid register"},
    {Msg::XCommaExpected, K::Error, "Comma expected"},
    {Msg::XExtraCharacters, K::Error, "Extra characters in operand"},
    {Msg::XSyntaxError, K::Error, "Syntax error"},
    {Msg::XIllegalAdressingMode, K::Error, "Illegal adressing mode"},
};

constexpr bool catalog_in_order() {
    if (std::size(kMessages) != size_t(Msg::Count_)) return false;
    for (size_t i = 0; i < std::size(kMessages); ++i)
        if (size_t(kMessages[i].id) != i) return false;
    return true;
}
static_assert(catalog_in_order(), "one catalog row per message, in enum order");
} // namespace

const MessageDef& message(Msg id) {
    return kMessages[size_t(id)];
}

void report_text(AsmSession& s, MsgKind kind, const std::string& text) {
    switch (kind) {
    case MsgKind::Error: asm_error(s, text); break;
    case MsgKind::Warning: asm_warning(s, text); break;
    case MsgKind::Fatal: asm_fatal(s, text); break;
    case MsgKind::Plain:
        if (s.write_line) s.write_line(text);
        break;
    }
}

} // namespace torva
