// Keys typed into a document as the user types them: the frame's
// accelerators (Ctrl+S, the arrows) and the component's own keys meet.
#include "editor_fixture.h"

#include "editor/document_files.h"
#include "editor/find_dialog.h"

#include <QApplication>
#include <QTest>

namespace torva::test {
namespace {

using KeysTest = EditorFixture;

TEST_F(KeysTest, ctrl_s_saves_and_arrows_move_once) {
    DocumentWindow* document = open(write("keys.asm", "abc\ndef\n"));
    QApplication::setActiveWindow(frame.get());
    document->component().setFocus();
    QWidget* target = document->component().viewport();

    QTest::keyClick(target, Qt::Key_Right);
    QTest::keyClick(target, Qt::Key_Down);
    EXPECT_EQ(5, document->sci().current_pos()); // one step each, not two
    QTest::keyClick(target, Qt::Key_Left);
    QTest::keyClick(target, Qt::Key_Up);
    EXPECT_EQ(0, document->sci().current_pos());
    QTest::keyClick(target, Qt::Key_Right);
    QTest::keyClick(target, Qt::Key_Down);

    QTest::keyClicks(target, "x");
    EXPECT_EQ("abc\ndxef\n", document->sci().text());
    QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ("abc\ndxef\n", read_raw(document->path()).value_or("?"));
    EXPECT_FALSE(document->modified());

    QTest::keyClick(target, Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(nullptr, documents.finder().dialog());
    EXPECT_TRUE(documents.finder().dialog()->isVisible());
    EXPECT_EQ("dxef", documents.finder().state().find_text); // the word at the caret
}

TEST_F(KeysTest, shortcuts_shown_in_the_menus_work) {
    DocumentWindow* document = open(write("k.asm", "ldaa #1\nldaa #2\n"));
    QApplication::setActiveWindow(frame.get());
    document->component().setFocus();
    QWidget* target = document->component().viewport();

    QTest::keyClick(target, Qt::Key_F3); // no find text: the dialog opens
    ASSERT_NE(nullptr, documents.finder().dialog());
    documents.finder().state().find_text = "ldaa";
    documents.finder().dialog()->close();
    document->component().setFocus();
    QTest::keyClick(target, Qt::Key_F3);
    QTest::keyClick(target, Qt::Key_F3);
    EXPECT_EQ(8, document->sci().send(sci::SCI_GETSELECTIONSTART));
    QTest::keyClick(target, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(0, document->sci().send(sci::SCI_GETSELECTIONSTART));
    EXPECT_FALSE(documents.finder().state().search_up); // the dialog's own choice is kept

    QTest::keyClicks(target, "x"); // replaces the selection
    QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ("ldaa #1\nldaa #2\n", document->sci().text()); // undone once
    QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ("x #1\nldaa #2\n", document->sci().text());

    dialogs.modal_answers = {2};
    QTest::keyClick(target, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ("GOTOLINE", dialogs.modal_dialogs.back());
    EXPECT_EQ(1, caret_line(document));

    dialogs.modal_answers = {QDialog::Rejected};
    QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ("PrintDialog", dialogs.modal_dialogs.back());

    QTest::keyClick(target, Qt::Key_F7);
    EXPECT_EQ(document->path(), assembler.last_assembled());
    EXPECT_FALSE(document->modified()); // saved before assembling

    QTest::keyClick(frame.get(), Qt::Key_N, Qt::ControlModifier); // cancelled
    EXPECT_EQ(FileDialogRequest::Mode::save, dialogs.requests.back().mode);
}

} // namespace
} // namespace torva::test
