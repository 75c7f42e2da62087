// Go To Line: the dialog's number, its only way out, and Ctrl+G moving the
// active document with the line mark.
#include "editor_fixture.h"
#include "support/screenshot.h"

#include "editor/goto_line_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace torva::test {
namespace {

using GotoLineTest = EditorFixture;

TEST_F(GotoLineTest, dialog_reads_the_number_and_leaves_only_by_ok) {
    GotoLineDialog dialog(frame.get());
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("id2018"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("id1"));
    ASSERT_NE(nullptr, field);
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ("1", field->text().toStdString());
    dialog.show();
    EXPECT_TRUE(save_screenshot(dialog, "goto_line.png"));

    // Escape and the close box leave it open.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());

    field->clear();
    QTest::keyClicks(field, "12x"); // only digits can be typed
    EXPECT_EQ("12", field->text().toStdString());
    ok->click();
    EXPECT_EQ(12, dialog.result());
    EXPECT_FALSE(dialog.isVisible());
    field->clear();
    EXPECT_EQ(0, dialog.typed_number()); // an empty field reads as 0
}

TEST_F(GotoLineTest, ctrl_g_moves_the_document_to_the_line) {
    DocumentWindow* document = open(write("g.asm", "a\nb\nc\nd\ne\n"));
    struct Case {
        int line;
        int answer; // the dialog's number
        int caret_line;
    };
    constexpr Case kCases[] = {
        {__LINE__, 4, 3},
        {__LINE__, 0, 3}, // 0 (an empty field) does nothing
        {__LINE__, 1, 0},
        {__LINE__, 99, 5}, // beyond the end: the last line
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        dialogs.modal_answers = {c.answer};
        frame->dispatch(cmd::kGoToLine);
        EXPECT_EQ("GOTOLINE", dialogs.modal_dialogs.back());
        EXPECT_EQ(c.caret_line, caret_line(document));
        EXPECT_TRUE(has_line_mark(document, c.caret_line));
    }
}

} // namespace
} // namespace torva::test
