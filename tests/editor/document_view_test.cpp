// What a programmer expects of a document window: line numbers that fit,
// the horizontal scroll bar only for wide lines, Open creating a new file on
// request, Save All, and the save question's Cancel keeping the edits and
// stopping Close All and Exit.
#include "editor_fixture.h"

#include "editor/document_files.h"
#include "shell/menu_tree.h"

#include <QScrollBar>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

using DocumentViewTest = EditorFixture;

TEST_F(DocumentViewTest, line_numbers_fit_the_line_count_in_every_file_type) {
    for (const char* name : {"a.asm", "b.c", "c.txt"}) {
        SCOPED_TRACE(name);
        DocumentWindow* document = open(write(name, "x\ny\n"));
        const SciCall& sci = document->sci();
        EXPECT_EQ(sci::SC_MARGIN_NUMBER, sci.send(sci::SCI_GETMARGINTYPEN, 0));
        const long narrow = sci.send(sci::SCI_GETMARGINWIDTHN, 0);
        EXPECT_GE(narrow, sci.send_text(sci::SCI_TEXTWIDTH, sci::STYLE_LINENUMBER, "999"));

        std::string many;
        for (int i = 0; i < 12000; ++i)
            many += "nop\n";
        type_text(document, many);
        settle_events(); // the view updates
        const long wide = sci.send(sci::SCI_GETMARGINWIDTHN, 0);
        EXPECT_GE(wide, sci.send_text(sci::SCI_TEXTWIDTH, sci::STYLE_LINENUMBER, "99999"));
        EXPECT_GT(wide, narrow);
    }
}

TEST_F(DocumentViewTest, horizontal_scroll_bar_only_for_wide_lines) {
    DocumentWindow* document = open(write("w.asm", "        nop\n"));
    settle_events();
    QScrollBar* bar = document->component().horizontalScrollBar();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_LT(document->sci().send(sci::SCI_GETSCROLLWIDTH), 200);
    type_text(document, std::string(400, 'x') + "\n");
    document->component().viewport()->repaint(); // the width is tracked as lines are drawn
    // The component widens its scroll range on a short timer.
    for (int i = 0; i < 40 && !bar->isVisible(); ++i) {
        let_clock_tick();
        settle_events();
    }
    EXPECT_GT(document->sci().send(sci::SCI_GETSCROLLWIDTH), document->component().width());
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(DocumentViewTest, open_offers_to_create_a_missing_file) {
    const std::string path = dir() + "/fresh.asm";
    dialogs.answers = {path};
    messages.answers = {kBoxNo};
    frame->dispatch(cmd::kOpen);
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(BoxKind::question, messages.shown[0].kind);
    EXPECT_EQ("File '" + path + "' does not exist. Create it?", messages.shown[0].text);
    EXPECT_EQ(0, frame->child_count());
    EXPECT_FALSE(fs::exists(path));

    dialogs.answers = {path};
    messages.answers = {kBoxYes};
    frame->dispatch(cmd::kOpen);
    auto* document = dynamic_cast<DocumentWindow*>(frame->top_child());
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(path, document->path());
    EXPECT_EQ(0u, fs::file_size(path)); // made at once, empty
    EXPECT_FALSE(document->counts_as_modified());
    EXPECT_EQ(path, frame->recent_files().at(0).value_or(""));
    EXPECT_EQ(2u, messages.shown.size()); // no "can't be accessed"
}

TEST_F(DocumentViewTest, save_all_and_the_save_question_of_close_all_and_exit) {
    DocumentWindow* first = open(write("1.asm", "one\n"));
    DocumentWindow* second = open(write("2.asm", "two\n"));
    open(write("3.asm", "three\n")); // unmodified: never asked about
    type_text(first, "a");
    type_text(second, "b");
    frame->dispatch(cmd::kSaveAll);
    EXPECT_EQ("aone\n", read_raw(dir() + "/1.asm").value_or("?"));
    EXPECT_EQ("btwo\n", read_raw(dir() + "/2.asm").value_or("?"));
    type_text(first, "edit ");
    type_text(second, "edit ");

    dialogs.modal_answers = {-1}; // "&Cancel" (or Escape) at the first question
    frame->dispatch(cmd::kCloseAll);
    EXPECT_EQ(1u, dialogs.modal_dialogs.size()); // the second was not asked
    EXPECT_EQ(3, frame->child_count());
    EXPECT_EQ("aedit one\n", first->sci().text());
    EXPECT_TRUE(first->modified());
    EXPECT_TRUE(fs::exists(first->backup_path()));
    EXPECT_EQ("aone\n", read_raw(first->path()).value_or("?"));

    dialogs.modal_answers = {-1};
    frame->dispatch(cmd::kExit); // Exit stops there as well
    EXPECT_EQ(3, frame->child_count());
    EXPECT_TRUE(frame->isVisible());

    dialogs.modal_dialogs.clear();
    dialogs.modal_answers = {1, 0}; // "&Yes" for one, "&No" for the other
    frame->dispatch(cmd::kExit);
    settle_events();
    EXPECT_EQ(2u, dialogs.modal_dialogs.size());
    EXPECT_EQ(0, frame->child_count());
    EXPECT_FALSE(documents.any_document_open());
    EXPECT_EQ("aedit one\n", read_raw(dir() + "/1.asm").value_or("?"));
    EXPECT_EQ("btwo\n", read_raw(dir() + "/2.asm").value_or("?"));
}

} // namespace
} // namespace torva::test
