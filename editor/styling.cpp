// The set-up sequence of the editing component, driven by style, keyword and
// marker tables per file type.
#include "editor/styling.h"

#include "editor/keyword_sets.h"

#include <span>

namespace torva {
namespace {

using sci::rgb;

constexpr long kWhite = rgb(255, 255, 255);
constexpr long kBlack = rgb(0, 0, 0);
constexpr long kGrey90 = rgb(90, 90, 90);
constexpr long kStringColour = rgb(0, 190, 190);
constexpr long kCommentGreen = rgb(0, 127, 0);

constexpr StyleRow kAsmStyles[] = {
    {0, kBlack},           {1, rgb(128, 128, 128)}, // comment
    {2, rgb(255, 0, 0)},                            // number
    {3, kStringColour},                             // string
    {4, kBlack},                                    // operator
    {5, rgb(0, 192, 0)},                            // identifier
    {6, rgb(0, 0, 255)},                            // instruction
    {7, kBlack},           {8, rgb(255, 0, 0)},     // register
    {9, rgb(0, 128, 128)},                          // directive
    {10, kBlack},          {11, kCommentGreen},     // comment block
    {12, kStringColour},                            // character
    {13, kStringColour},                            // unterminated string
    {14, kBlack},
};

constexpr StyleRow kCStyles[] = {
    {1, kCommentGreen},      // comment
    {5, rgb(0, 0, 255)},     // keyword
    {16, rgb(100, 50, 122)}, // second keyword set
};

constexpr StyleRow kLinkerStyles[] = {
    {5, rgb(0, 0, 255)}, {16, -1, 1}, // bold, colour unchanged
};

// Shared by C, header and linker files, after their own styles.
constexpr StyleRow kCommonCStyles[] = {
    {0, kBlack},         {2, kCommentGreen}, // line comment
    {9, rgb(255, 0, 0)},                     // preprocessor
    {10, kGrey90},                           // operator
    {11, kBlack},                            // identifier
    {4, rgb(255, 0, 0)},                     // number
    {6, kStringColour},                      // string
};

constexpr StyleRow kAdaStyles[] = {
    {1, rgb(0, 0, 255)},                      // keyword
    {0, kBlack},         {10, kCommentGreen}, // comment
    {2, kBlack},                              // identifier
    {3, rgb(255, 0, 0)},                      // number
    {7, kStringColour},                       // string
};

// Matched braces bold, unmatched underlined (C, linker and Ada files).
constexpr StyleRow kBraceStyles[] = {
    {sci::STYLE_BRACELIGHT, -1, 1},
    {sci::STYLE_BRACEBAD, -1, -1, 1},
};

// In the order they are defined: the folding markers, then the line marks.
constexpr MarkerRow kMarkers[] = {
    {sci::SC_MARKNUM_FOLDEROPEN, sci::SC_MARK_BOXMINUS, kWhite, kGrey90},
    {sci::SC_MARKNUM_FOLDER, sci::SC_MARK_BOXPLUS, kWhite, kGrey90},
    {sci::SC_MARKNUM_FOLDERSUB, sci::SC_MARK_VLINE, kWhite, kGrey90},
    {sci::SC_MARKNUM_FOLDERTAIL, sci::SC_MARK_LCORNER, kWhite, kGrey90},
    {sci::SC_MARKNUM_FOLDEREND, sci::SC_MARK_BOXPLUSCONNECTED, kWhite, kGrey90},
    {sci::SC_MARKNUM_FOLDEROPENMID, sci::SC_MARK_BOXMINUSCONNECTED, kWhite, kGrey90},
    {sci::SC_MARKNUM_FOLDERMIDTAIL, sci::SC_MARK_TCORNER, kWhite, kGrey90},
    {marker::kBreakpoint, sci::SC_MARK_CIRCLE, kBlack, rgb(255, 0, 0)},
    {marker::kDisabledBreakpoint, sci::SC_MARK_CIRCLE, kGrey90, -1},
    {marker::kGoToLine, sci::SC_MARK_ARROW, kBlack, kBlack},
    {marker::kCurrentLine, sci::SC_MARK_ARROW, kBlack, rgb(0, 180, 0)},
    {marker::kCurrentLineBackground, sci::SC_MARK_BACKGROUND, kBlack, rgb(255, 255, 150)},
};

struct KeywordRow {
    int set;
    const char* words;
};

// What each file type adds in step 4 of the set-up.
struct TypeSetup {
    int lexer;
    std::span<const KeywordRow> keywords;
    std::span<const StyleRow> styles;
    std::span<const StyleRow> common; // shared C styles, or empty
    bool braces_and_indent;           // tab indents, indent 8, brace styles
};

constexpr KeywordRow kAsmKeywords[] = {
    {0, keywords::kAsmInstructions}, {1, " "}, {2, keywords::kAsmRegisters}};
constexpr KeywordRow kCKeywords[] = {{0, keywords::kCWords}, {1, keywords::kCExtensions}};
constexpr KeywordRow kLinkerKeywords[] = {{0, keywords::kLinkerCommands},
                                          {1, keywords::kLinkerSections}};
constexpr KeywordRow kAdaKeywords[] = {{0, keywords::kAdaWords}};

constexpr TypeSetup kAsmSetup{sci::SCLEX_ASM, kAsmKeywords, kAsmStyles, {}, false};
constexpr TypeSetup kCSetup{sci::SCLEX_CPP, kCKeywords, kCStyles, kCommonCStyles, true};
constexpr TypeSetup kLinkerSetup{sci::SCLEX_CPP, kLinkerKeywords, kLinkerStyles, kCommonCStyles,
                                 true};
constexpr TypeSetup kAdaSetup{sci::SCLEX_ADA, kAdaKeywords, kAdaStyles, {}, true};
constexpr TypeSetup kOtherSetup{sci::SCLEX_NULL, {}, {}, {}, false};

const TypeSetup& setup_for(int file_type) {
    switch (file_type) {
    case kFileAsm: return kAsmSetup;
    case kFileC:
    case kFileHeader: return kCSetup;
    case kFileLinker: return kLinkerSetup;
    case kFileAdaBody:
    case kFileAdaDeclarations: return kAdaSetup;
    default: return kOtherSetup;
    }
}

} // namespace

int lexer_for(int file_type) {
    return setup_for(file_type).lexer;
}

void set_up_component(const SciCall& sci, int file_type) {
    const TypeSetup& setup = setup_for(file_type);
    sci.send(sci::SCI_SETLEXER, setup.lexer);
    sci.send(sci::SCI_SETSTYLEBITS, 7);

    sci.send(sci::SCI_STYLESETFORE, sci::STYLE_DEFAULT, kBlack);
    sci.send(sci::SCI_STYLESETBACK, sci::STYLE_DEFAULT, kWhite);
    sci.send(sci::SCI_STYLESETSIZE, sci::STYLE_DEFAULT, 10);
    sci.send_text(sci::SCI_STYLESETFONT, sci::STYLE_DEFAULT, "Courier New");
    sci.send(sci::SCI_STYLECLEARALL);

    for (const StyleRow& row : setup.styles)
        sci.set_one_style(kWhite, row);
    for (const KeywordRow& row : setup.keywords)
        sci.set_keywords(row.set, row.words);
    for (const StyleRow& row : setup.common)
        sci.set_one_style(kWhite, row);
    if (setup.braces_and_indent) {
        sci.send(sci::SCI_SETTABINDENTS, 1);
        sci.send(sci::SCI_SETINDENT, 8);
        for (const StyleRow& row : kBraceStyles)
            sci.set_one_style(kWhite, row);
    }

    sci.send(sci::SCI_SETMARGINTYPEN, kMarkerMargin, sci::SC_MARGIN_SYMBOL);
    sci.send(sci::SCI_SETMARGINSENSITIVEN, kMarkerMargin, 1);
    sci.send(sci::SCI_SETMARGINWIDTHN, kMarkerMargin, 14);

    sci.set_property("fold", "1");
    sci.send(sci::SCI_SETFOLDFLAGS, 0);
    sci.send(sci::SCI_SETFOLDMARGINCOLOUR, 1, kWhite);
    sci.send(sci::SCI_SETMODEVENTMASK, sci::SC_MOD_CHANGEFOLD);

    sci.send(sci::SCI_SETMARGINTYPEN, kFoldMargin, sci::SC_MARGIN_SYMBOL);
    sci.send(sci::SCI_SETMARGINWIDTHN, kFoldMargin, 12);
    sci.send(sci::SCI_SETMARGINMASKN, kFoldMargin, static_cast<long>(sci::SC_MASK_FOLDERS));
    sci.send(sci::SCI_SETMARGINSENSITIVEN, kFoldMargin, 1);

    for (const MarkerRow& row : kMarkers)
        sci.define_marker(row);
}

} // namespace torva
