// The component's set-up per file type: lexer, keyword sets (checked by how
// the lexer colours words), style colours, margins, markers and folding.
#include "editor_fixture.h"

#include "editor/folding.h"
#include "editor/styling.h"

namespace torva::test {
namespace {

using StylingTest = EditorFixture;
using sci::rgb;

int style_of_word(DocumentWindow* document, const std::string& word) {
    const std::string text = document->sci().text();
    const auto at = text.find(word);
    EXPECT_NE(std::string::npos, at) << word;
    document->sci().send(sci::SCI_COLOURISE, 0, -1);
    return static_cast<int>(document->sci().send(sci::SCI_GETSTYLEAT, at));
}

TEST_F(StylingTest, lexer_and_keyword_sets_follow_the_file_type) {
    struct Case {
        int line;
        const char* name;
        const char* text;
        int lexer;
        const char* word;
        int style;
    };
    constexpr Case kCases[] = {
        {__LINE__, "a.asm", "start ldaa 1,x ; note\n", 34, "ldaa", 6},   // instruction
        {__LINE__, "a.asm", "start ldaa 1,x ; note\n", 34, "x ", 8},     // register
        {__LINE__, "a.asm", "start ldaa 1,x ; note\n", 34, "; note", 1}, // comment
        {__LINE__, "b.ASM", "  gldaa 1,y\n", 34, "gldaa", 6},            // capitals: assembler
        {__LINE__, "b.s12", "  emacs 1,sp\n", 34, "sp", 8},
        {__LINE__, "c.asm", "  frobnicate\n", 34, "frobnicate", 5}, // not an instruction
        {__LINE__, "d.c", "static int __far x;\n", 3, "static", 5},
        {__LINE__, "d.c", "static int __far x;\n", 3, "__far", 16}, // second set
        {__LINE__, "e.h", "/* c */ unsigned y;\n", 3, "unsigned", 5},
        {__LINE__, "f.lsc", "layout rodata\n", 3, "layout", 5},
        {__LINE__, "f.lsc", "layout rodata\n", 3, "rodata", 16},
        {__LINE__, "f.lsc", "layout int\n", 3, "int", 11}, // no C words here
        {__LINE__, "g.adb", "begin null; end;\n", 20, "begin", 1},
        {__LINE__, "h.ads", "package P is\n", 20, "package", 1},
        {__LINE__, "i.txt", "ldaa ; x\n", 1, "ldaa", 0}, // no colours at all
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        DocumentWindow* document = open(write(c.name, c.text));
        ASSERT_NE(nullptr, document);
        EXPECT_EQ(c.lexer, document->sci().send(sci::SCI_GETLEXER));
        EXPECT_EQ(c.style, style_of_word(document, c.word));
        close(document);
    }
}

// Every style takes the one font on white; only C, linker and Ada files
// mark braces (matched bold, unmatched underlined). The colours themselves
// are the styling table's data, seen in the screenshots.
TEST_F(StylingTest, one_font_for_every_style_and_brace_styles_where_they_belong) {
    struct Case {
        int line;
        const char* name;
        int style;
        int bold;
        int underline;
    };
    constexpr Case kCases[] = {
        {__LINE__, "a.asm", 1, 0, 0}, {__LINE__, "a.asm", 34, 0, 0}, // no brace styles
        {__LINE__, "c.c", 34, 1, 0},  {__LINE__, "c.c", 35, 0, 1},   {__LINE__, "t.txt", 1, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        DocumentWindow* document = open(write(c.name, ""));
        const SciCall& s = document->sci();
        EXPECT_EQ(rgb(255, 255, 255), s.send(sci::SCI_STYLEGETBACK, c.style));
        EXPECT_EQ(c.bold, s.send(sci::SCI_STYLEGETBOLD, c.style));
        EXPECT_EQ(c.underline, s.send(sci::SCI_STYLEGETUNDERLINE, c.style));
        EXPECT_EQ(10, s.send(sci::SCI_STYLEGETSIZE, c.style));
        char font[64] = {};
        document->component().SendScintilla(sci::SCI_STYLEGETFONT, c.style, font);
        EXPECT_STREQ("Courier New", font);
        close(document);
    }
}

TEST_F(StylingTest, every_file_type_gets_margins_folding_and_markers) {
    for (const char* name : {"a.asm", "b.txt", "c.c"}) {
        SCOPED_TRACE(name);
        DocumentWindow* document = open(write(name, "x\n"));
        const SciCall& s = document->sci();
        EXPECT_GT(s.send(sci::SCI_GETMARGINWIDTHN, 2), 0); // the fold margin shows
        EXPECT_EQ(1, s.send(sci::SCI_GETMARGINSENSITIVEN, 1));
        EXPECT_EQ(1, s.send(sci::SCI_GETMARGINSENSITIVEN, 2));
        EXPECT_EQ(static_cast<long>(static_cast<int>(sci::SC_MASK_FOLDERS)),
                  static_cast<long>(static_cast<int>(s.send(sci::SCI_GETMARGINMASKN, 2))));
        EXPECT_EQ(sci::SC_MOD_CHANGEFOLD, s.send(sci::SCI_GETMODEVENTMASK));
        char fold[8] = {};
        document->component().SendScintilla(sci::SCI_GETPROPERTY, "fold", fold);
        EXPECT_STREQ("1", fold);
        close(document);
    }
}

TEST_F(StylingTest, fold_margin_clicks) {
    DocumentWindow* document = open(write("fold.c", "int f()\n{\n  a;\n}\nint g()\n{\n  b;\n}\n"));
    const SciCall& s = document->sci();
    s.send(sci::SCI_COLOURISE, 0, -1);
    const auto visible = [&s](int line) { return s.send(sci::SCI_GETLINEVISIBLE, line) != 0; };
    const long line1 = s.position_from_line(1);
    ASSERT_NE(0, s.fold_level(1) & sci::SC_FOLDLEVELHEADERFLAG);

    fold_margin_click(s, line1, 0); // plain click toggles the fold
    EXPECT_FALSE(visible(2));
    fold_margin_click(s, line1, sci::SCMOD_CTRL); // contracted: Ctrl expands
    EXPECT_TRUE(visible(2));
    EXPECT_TRUE(s.fold_expanded(1));
    fold_margin_click(s, line1, sci::SCMOD_CTRL); // expanded: Ctrl contracts
    EXPECT_FALSE(visible(2));
    fold_margin_click(s, line1, sci::SCMOD_SHIFT); // Shift expands
    EXPECT_TRUE(visible(2));
    fold_margin_click(s, s.position_from_line(2), 0); // not a header: nothing
    EXPECT_TRUE(visible(2));

    // Shift+Ctrl: the first header is expanded, so every fold contracts ...
    fold_margin_click(s, s.position_from_line(2), sci::SCMOD_SHIFT | sci::SCMOD_CTRL);
    EXPECT_FALSE(visible(2));
    EXPECT_FALSE(visible(6));
    EXPECT_FALSE(s.fold_expanded(5));
    // ... and again: now it is contracted, so all expand.
    fold_margin_click(s, 0, sci::SCMOD_SHIFT | sci::SCMOD_CTRL);
    EXPECT_TRUE(visible(2));
    EXPECT_TRUE(visible(6));
}

TEST_F(StylingTest, removing_a_closed_fold_shows_its_lines) {
    DocumentWindow* document = open(write("gone.c", "int f()\n{\n  a;\n}\n"));
    const SciCall& s = document->sci();
    s.send(sci::SCI_COLOURISE, 0, -1);
    fold_margin_click(s, s.position_from_line(1), 0);
    ASSERT_EQ(0, s.send(sci::SCI_GETLINEVISIBLE, 2));
    // Deleting the opening brace ends the fold.
    s.send(sci::SCI_SETSEL, s.position_from_line(1), s.position_from_line(1) + 1);
    s.send(sci::SCI_CLEAR);
    s.send(sci::SCI_COLOURISE, 0, -1);
    EXPECT_EQ(0, s.fold_level(1) & sci::SC_FOLDLEVELHEADERFLAG);
    EXPECT_EQ(1, s.send(sci::SCI_GETLINEVISIBLE, 2));
}

} // namespace
} // namespace torva::test
