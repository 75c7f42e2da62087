// The assembler's message catalog: every text once, with its kind.
#pragma once

#include <cstdio>
#include <string>

namespace torva {

struct AsmSession;

enum class MsgKind { Error, Warning, Fatal, Plain };

enum class Msg {
    // Driver and options.
    IncludeStackExhausted,
    PathnameNotQuoted,
    UnknownOption,
    SymbolTableOverflow,
    UnknownClass,
    BadTruncationSize,
    BadDefinitionState,
    SymbolEnteredTwice,
    FileNameTooLong,
    ParserUnreachable,
    PhaseError,
    CantOpenSource,
    CantCreateFile,
    OutputNameConflict,
    // Source input and conditional assembly.
    LineTooLong,
    FileRecursion,
    LastLineContinuation,
    IllegalLabel,
    IllegalMnemonic,
    IfTooDeep,
    IfdefTooDeep,
    IfndefTooDeep,
    BadPreproc,
    ElifWithoutIf,
    ElifAfterElse,
    ElseWithoutIf,
    ElseAfterElse,
    EndifWithoutIf,
    MacroNotSupported,
    PreviouslyDefined,
    Redefined,
    MessageDirective,
    // Expressions.
    AtPosition,
    ReservedWord,
    MissingOperator,
    OperandExpected,
    UnexpectedParenthesis,
    IllegalCharacter,
    UnterminatedExpression,
    MissingParenthesis,
    IllegalBinaryDigit,
    IllegalOctalDigit,
    IllegalHexDigit,
    IllegalDecimalDigit,
    IllegalEscape,
    IllegalAscii,
    DivideByZero,
    UndefinedSymbolNamed,
    NameQuoted,
    UndefinedSymbol,
    // Symbols and directives.
    MultipleDefinition,
    NoLabelForEqu,
    ForwardReferenced,
    OldFashioned,
    Unimplemented,
    FileNotFound,
    ForwardReference,
    StartSymbolUndefined,
    EntryAlreadyDefined,
    EntryBadOperand,
    MultipleEntries,
    BadDelimiter,
    ByteTruncated,
    WordTruncated,
    BadConstantDelimiter,
    UndeterminedSize,
    BadOperandSyntax,
    ExtraAfterString,
    IllegalAlignment,
    OptionNeedsArgument,
    UnrecognisedOption,
    // Instruction encoding.
    InvalidForModel,
    IllegalAddressingModeCaps,
    IllegalAddressingModeLower,
    IllegalAdressingMode,
    SyntaxError,
    DirectPageTruncated,
    DisplacementTruncated,
    LoopDisplacementTruncated,
    DirectPageSubstituted,
    UnrecognizedTrap,
    SourceModeHcs12,
    IllegalSource,
    IllegalDestination,
    BadRegisters,
    IllegalRegisterCombination,
    // XGATE instructions.
    XRegisterExpected,
    XImmediateExpected,
    XConstantExpected,
    XMisaligned,
    XBranchTooLong,
    XOutOfRange,
    XImm8Truncated,
    XInvalidRegister,
    XCommaExpected,
    XExtraCharacters,
    XSyntaxError,
    XIllegalAdressingMode,
    Count_
};

struct MessageDef {
    Msg id;
    MsgKind kind;
    const char* text;
};

const MessageDef& message(Msg id);

// The message text with printf-style arguments filled in.
template <typename... Args>
std::string format_message(Msg id, Args... args) {
    const char* text = message(id).text;
    if constexpr (sizeof...(Args) == 0) {
        return text;
    } else {
        char buffer[1024];
        std::snprintf(buffer, sizeof buffer, text, args...);
        return buffer;
    }
}

// Reports a catalogued message with its kind (or the kind given).
void report_text(AsmSession& s, MsgKind kind, const std::string& text);

template <typename... Args>
void report(AsmSession& s, Msg id, Args... args) {
    report_text(s, message(id).kind, format_message(id, args...));
}

template <typename... Args>
void report_as(AsmSession& s, MsgKind kind, Msg id, Args... args) {
    report_text(s, kind, format_message(id, args...));
}

} // namespace torva
