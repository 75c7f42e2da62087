// Find/Replace and its histories: Find Next down and up with its status
// texts, the walk over all documents, Replace, Replace All as one undo
// action, the scope warning, Ctrl+F's find text, and a picture of the
// dialog.
#include "editor_fixture.h"
#include "support/screenshot.h"

#include "editor/find_dialog.h"
#include "editor/finder.h"
#include "editor/search_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace torva::test {
namespace {

TEST(SearchHistoryTest, keeps_sixteen_whole_texts_newest_first) {
    SearchHistory history;
    history.push("ldaa");
    history.push("ldaa"); // the same text twice: no second entry
    EXPECT_EQ(1, history.size());
    history.push(""); // an empty search is not remembered
    EXPECT_EQ(1, history.size());

    const std::string long_text(200, 'x');
    history.push(long_text);
    EXPECT_EQ(std::string(SearchState::kMaxText, 'x'), history.at(0)); // whole up to 127
    EXPECT_EQ("ldaa", history.at(1));                                  // nothing spilled
    // 127 characters, however many bytes each takes; never half a one.
    std::string accents;
    for (int i = 0; i < 130; ++i)
        accents += "\xC3\xA9"; // é
    history.push(accents);
    EXPECT_EQ(accents.substr(0, 2 * SearchState::kMaxText), history.at(0));
    EXPECT_EQ("ab\xE2\x82\xAC", cut_to_characters("ab\xE2\x82\xAC"
                                                  "c",
                                                  3)); // a whole euro sign
    EXPECT_EQ("ab", cut_to_characters("ab\xE2\x82\xAC", 2));
    for (int i = 0; i < 20; ++i)
        history.push(std::to_string(i) + "t");
    EXPECT_EQ(SearchHistory::kEntries, history.size());
    EXPECT_EQ("19t", history.at(0));
    EXPECT_EQ("4t", history.at(15)); // the oldest have dropped out
}

class FindReplaceTest : public EditorFixture {
protected:
    DocumentWindow* open_text(const std::string& name, const std::string& text) {
        return open(write(name, text));
    }
    Finder& finder() { return documents.finder(); }
    SearchState& state() { return finder().state(); }
    FindDialog* dialog() { return finder().dialog(); }
    template <typename T>
    T* control(int id) {
        return dialog()->findChild<T*>(QStringLiteral("id%1").arg(id));
    }
    // Opens the dialog on the active document and types the find text.
    void find_what(const std::string& text) {
        frame->dispatch(cmd::kFindReplace);
        ASSERT_NE(nullptr, dialog());
        control<QComboBox>(1233)->setEditText(QString::fromStdString(text));
    }
    void click(int id) { control<QPushButton>(id)->click(); }
    static std::pair<long, long> selection(DocumentWindow* document) {
        return {document->sci().send(sci::SCI_GETSELECTIONSTART),
                document->sci().send(sci::SCI_GETSELECTIONEND)};
    }
    static void select(DocumentWindow* document, long start, long end) {
        document->sci().send(sci::SCI_SETSEL, start, end);
    }
    std::string status() const { return frame->status_text().toStdString(); }
};

TEST_F(FindReplaceTest, dialog_has_its_controls_and_a_picture) {
    DocumentWindow* document = open_text("a.asm", "start   ldaa #1\n");
    select(document, 8, 12);
    frame->dispatch(cmd::kFindReplace);
    ASSERT_NE(nullptr, dialog());
    EXPECT_FALSE(dialog()->isModal());
    EXPECT_EQ("ldaa", control<QComboBox>(1233)->currentText().toStdString()); // the selection
    EXPECT_TRUE(control<QRadioButton>(2088)->isChecked());
    // Replace mode is off at first and governs the replace controls.
    EXPECT_FALSE(control<QPushButton>(2079)->isEnabled());
    EXPECT_FALSE(control<QComboBox>(1235)->isEnabled());
    control<QCheckBox>(2093)->setChecked(true);
    EXPECT_TRUE(control<QPushButton>(2085)->isEnabled());
    control<QComboBox>(1235)->setEditText(QStringLiteral("ldab"));
    EXPECT_TRUE(save_screenshot(*dialog(), "find_replace.png"));

    // The state outlives the dialog; closing it leaves a blank status.
    click(2078);
    click(2);
    settle_events();
    EXPECT_EQ(nullptr, dialog());
    EXPECT_EQ(" ", status());
    EXPECT_TRUE(state().replace_mode);
    EXPECT_EQ("ldab", state().replace_history.at(0));
    document->sci().send(sci::SCI_GOTOPOS, 6); // no word at the caret
    frame->dispatch(cmd::kFindReplace);
    EXPECT_EQ("ldaa", control<QComboBox>(1233)->currentText().toStdString());
    EXPECT_TRUE(control<QPushButton>(2079)->isEnabled());
}

TEST_F(FindReplaceTest, ctrl_f_takes_the_word_at_the_caret) {
    DocumentWindow* document = open_text("w.asm", "loop    dbne x,loop\n        swi\n");
    document->sci().send(sci::SCI_GOTOPOS, 10); // inside "dbne"
    frame->dispatch(cmd::kAccelFind);
    ASSERT_NE(nullptr, dialog());
    EXPECT_EQ("dbne", state().find_text);
    select(document, 0, 25); // over two lines: not taken
    frame->dispatch(cmd::kAccelFind);
    EXPECT_EQ("dbne", state().find_text);
}

TEST_F(FindReplaceTest, find_next_down_and_up_with_its_status_texts) {
    DocumentWindow* document = open_text("f.asm", "LDAA #1\nldaa #2\nabab\n");
    find_what("ldaa");
    click(2078); // match case off finds the capitals first
    EXPECT_EQ((std::pair<long, long>{0, 4}), selection(document));
    EXPECT_EQ("Ready", status());
    click(2078);
    EXPECT_EQ((std::pair<long, long>{8, 12}), selection(document));
    click(2078); // nothing more: the selection stays
    EXPECT_EQ("Passed end of document", status());
    EXPECT_EQ((std::pair<long, long>{8, 12}), selection(document));

    control<QCheckBox>(2090)->setChecked(true); // match case
    select(document, 0, 0);
    click(2078);
    EXPECT_EQ((std::pair<long, long>{8, 12}), selection(document));

    // Searching up finds a match that ends right where the selection starts.
    control<QComboBox>(1233)->setEditText(QStringLiteral("ab"));
    control<QCheckBox>(2092)->setChecked(true);
    select(document, 18, 20);
    click(2078);
    EXPECT_EQ((std::pair<long, long>{16, 18}), selection(document));
    select(document, 0, 0);
    click(2078);
    EXPECT_EQ("At beginning of document", status());
    EXPECT_EQ((std::pair<long, long>{0, 0}), selection(document));

    control<QCheckBox>(2091)->setChecked(true); // whole word: "ab" is not one
    control<QCheckBox>(2092)->setChecked(false);
    click(2078);
    EXPECT_EQ("Passed end of document", status());
    EXPECT_EQ("ab", state().find_history.at(0));
    EXPECT_EQ("ldaa", state().find_history.at(1));
}

TEST_F(FindReplaceTest, walk_over_all_documents_and_its_end) {
    DocumentWindow* first = open_text("1.asm", "nop\n");
    DocumentWindow* second = open_text("2.asm", "x swi\n");
    DocumentWindow* third = open_text("3.asm", "swi\nswi\n");
    activate(first);
    find_what("swi");
    control<QRadioButton>(2089)->setChecked(true);
    click(2078);
    EXPECT_EQ(second, frame->top_child()); // the next document, from its start
    EXPECT_EQ((std::pair<long, long>{2, 5}), selection(second));
    click(2078);
    EXPECT_EQ(third, frame->top_child());
    EXPECT_EQ((std::pair<long, long>{0, 3}), selection(third));
    click(2078);
    EXPECT_EQ((std::pair<long, long>{4, 7}), selection(third));
    click(2078); // the list is exhausted: the walk ends where it is
    EXPECT_EQ(third, frame->top_child());
    EXPECT_EQ("Passed end of document", status());
    EXPECT_TRUE(state().last_search_text.empty());

    // Searching up walks too, each further document from its end.
    activate(third);
    select(third, 0, 0);
    control<QCheckBox>(2092)->setChecked(true);
    click(2078);
    EXPECT_EQ(second, frame->top_child());
    EXPECT_EQ((std::pair<long, long>{2, 5}), selection(second));
}

TEST_F(FindReplaceTest, an_empty_find_text_touches_no_document) {
    DocumentWindow* first = open_text("1.asm", "nop\n");
    DocumentWindow* second = open_text("2.asm", "swi\n");
    activate(first);
    select(first, 1, 2);
    select(second, 2, 3);
    find_what("");
    control<QRadioButton>(2089)->setChecked(true);
    click(2078);
    EXPECT_EQ("No text to match", status());
    EXPECT_EQ(first, frame->top_child());
    EXPECT_EQ((std::pair<long, long>{1, 2}), selection(first));
    EXPECT_EQ((std::pair<long, long>{2, 3}), selection(second));
}

TEST_F(FindReplaceTest, long_texts_are_cut_between_characters) {
    DocumentWindow* document = open_text("e.asm", "x\n");
    QString accents;
    for (int i = 0; i < 100; ++i)
        accents += QChar(0xE9); // é: two bytes each
    find_what("x");
    control<QCheckBox>(2093)->setChecked(true);
    control<QComboBox>(1235)->setEditText(accents);
    click(2085);
    EXPECT_EQ(accents.toStdString() + "\n", document->sci().text());
    frame->dispatch(cmd::kSave);
    EXPECT_EQ(accents.toStdString() + "\n", read_raw(document->path()).value_or("?"));
}

TEST_F(FindReplaceTest, replace_once_replaces_the_selection_and_finds_on) {
    DocumentWindow* document = open_text("r.asm", "inca\ninca\n");
    find_what("inca");
    control<QCheckBox>(2093)->setChecked(true);
    control<QComboBox>(1235)->setEditText(QStringLiteral("incb"));
    click(2079); // nothing selected: nothing happens
    EXPECT_EQ("inca\ninca\n", document->sci().text());
    click(2078);
    click(2079);
    EXPECT_EQ("incb\ninca\n", document->sci().text());
    EXPECT_EQ((std::pair<long, long>{5, 9}), selection(document)); // the next one
}

TEST_F(FindReplaceTest, replace_all_is_one_undo_action) {
    DocumentWindow* document = open_text("all.asm", "aaa");
    find_what("a");
    control<QCheckBox>(2093)->setChecked(true);
    control<QComboBox>(1235)->setEditText(QStringLiteral("aa"));
    click(2085);
    // Each search goes on after the inserted text, never inside it.
    EXPECT_EQ("aaaaaa", document->sci().text());
    EXPECT_EQ((std::pair<long, long>{6, 6}), selection(document));
    frame->dispatch(cmd::kUndo);
    EXPECT_EQ("aaa", document->sci().text());

    // All documents: a warning, and the scope turns to the current one.
    control<QRadioButton>(2089)->setChecked(true);
    control<QComboBox>(1235)->setEditText(QStringLiteral("b"));
    click(2085);
    EXPECT_EQ(1, boxes_containing("'Replace All' affects only current active document"));
    EXPECT_EQ(BoxKind::warning, messages.shown.back().kind);
    EXPECT_TRUE(control<QRadioButton>(2088)->isChecked());
    EXPECT_EQ("bbb", document->sci().text());

    control<QComboBox>(1233)->setEditText(QString());
    click(2085);
    EXPECT_EQ("No text to match", status());
    EXPECT_EQ("bbb", document->sci().text());
}

TEST_F(FindReplaceTest, actions_without_a_document_say_so) {
    DocumentWindow* document = open_text("n.asm", "x\n");
    find_what("x");
    control<QCheckBox>(2093)->setChecked(true);
    frame->dispatch(cmd::kCreateOutput); // not a document on top
    click(2078);
    EXPECT_EQ("Find text failed", status());
    click(2079);
    EXPECT_EQ("Replace Once failed", status());
    click(2085);
    EXPECT_EQ("Replace All failed", status());
    EXPECT_EQ("x\n", document->sci().text());
}

} // namespace
} // namespace torva::test
