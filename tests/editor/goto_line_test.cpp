// Go To Line: the dialog's number, its only way out, and a line beyond the
// end of the document.
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

// The dialog's number reaches the document zero-based (the frame test) and
// moves its caret and mark (the document window test); Ctrl+G opens it (the
// keys test). A line beyond the end takes the last one.
TEST_F(GotoLineTest, a_line_beyond_the_end_is_the_last) {
    DocumentWindow* document = open(write("g.asm", "a\nb\nc\nd\ne\n"));
    dialogs.modal_answers = {99};
    frame->dispatch(cmd::kGoToLine);
    EXPECT_EQ("GOTOLINE", dialogs.modal_dialogs.back());
    EXPECT_EQ(5, caret_line(document));
    EXPECT_TRUE(has_line_mark(document, 5));
}

} // namespace
} // namespace torva::test
