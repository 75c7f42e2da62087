// Keys typed into a document as the user types them: the frame's
// accelerators (Ctrl+S, the arrows) and the component's own keys meet.
#include "editor_fixture.h"

#include "editor/document_files.h"

#include <QApplication>
#include <QTest>

namespace torva::test {
namespace {

using keys_test = EditorFixture;

TEST_F(keys_test, ctrl_s_saves_and_arrows_move_once) {
    DocumentWindow* document = open(write("keys.asm", "abc\ndef\n"));
    QApplication::setActiveWindow(frame.get());
    document->component().setFocus();
    QWidget* target = document->component().viewport();

    QTest::keyClick(target, Qt::Key_Right);
    QTest::keyClick(target, Qt::Key_Down);
    EXPECT_EQ(5, document->sci().current_pos()); // one step each, not two

    QTest::keyClicks(target, "x");
    EXPECT_EQ("abc\ndxef\n", document->sci().text());
    QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ("abc\ndxef\n", read_raw(document->path()).value_or("?"));
    EXPECT_FALSE(document->modified());

    QTest::keyClick(target, Qt::Key_F, Qt::ControlModifier); // nothing visible yet
    EXPECT_EQ("abc\ndxef\n", document->sci().text());
}

} // namespace
} // namespace torva::test
