// The Output window inside the frame: its place, wrapping at its own width,
// scrolling to the newest lines, and the double click that opens a source.
#include "fakes.h"

#include "shell/command_ids.h"
#include "shell/output_window.h"

#include <QScrollBar>

namespace torva::test {
namespace {

using OutputWindowTest = FrameFixture;

TEST_F(OutputWindowTest, created_across_the_top_quarter_of_the_area) {
    frame->dispatch(cmd::kCreateOutput);
    OutputWindow* output = frame->output_window();
    ASSERT_NE(nullptr, output);
    const QRect area = frame->client().viewport()->rect();
    const QRect placed = frame->client().subWindowList().front()->geometry();
    EXPECT_EQ(QPoint(0, 0), placed.topLeft());
    EXPECT_EQ(area.width(), placed.width());
    EXPECT_EQ(area.height() / 4, placed.height());

    frame->dispatch(cmd::kCreateOutput); // there is only ever one
    EXPECT_EQ(1, frame->child_count());
}

// How lines wrap at that width is the line store's rule.
TEST_F(OutputWindowTest, lines_wrap_at_the_window_width) {
    frame->dispatch(cmd::kCreateOutput);
    OutputWindow& output = *frame->output_window();
    EXPECT_GT(output.store().width_chars(), 10);
    EXPECT_EQ(output.viewport()->width() / frame->fonts().char_width, output.store().width_chars());
}

TEST_F(OutputWindowTest, show_and_clear_creates_clears_and_unmarks) {
    frame->output_append("dropped: no window yet\n");
    frame->output_show_and_clear();
    ASSERT_NE(nullptr, frame->output_window());
    EXPECT_TRUE(frame->output_window()->store().lines().empty());
    EXPECT_EQ(1, documents.line_mark_clears);

    frame->output_append("first run\n");
    frame->output_show_and_clear();
    EXPECT_TRUE(frame->output_window()->store().lines().empty());
    EXPECT_EQ(1, frame->child_count());

    frame->output_window()->handle_command(cmd::kCloseOutput, 0); // closes it
    settle_events();
    EXPECT_EQ(nullptr, frame->output_window());
    frame->output_show_and_clear(); // a new one
    EXPECT_NE(nullptr, frame->output_window());
}

TEST_F(OutputWindowTest, newest_lines_are_visible_after_many_appends) {
    frame->output_show_and_clear();
    OutputWindow& output = *frame->output_window();
    const int rows = output.store().visible_rows();
    ASSERT_GT(rows, 2);
    for (int i = 0; i < 3 * rows; ++i)
        frame->output_append("line " + std::to_string(i) + "\n");
    output.grab(); // paint
    const int last = output.store().last_line();
    EXPECT_GE(last, output.store().first_visible());
    EXPECT_LT(last - output.store().first_visible(), rows);
    EXPECT_EQ(output.store().first_visible(), output.verticalScrollBar()->value());

    output.verticalScrollBar()->setValue(0); // the bar moves the view
    EXPECT_EQ(0, output.store().first_visible());
    output.handle_command(cmd::kArrowDown, 0); // the arrow accelerator scrolls a line
    EXPECT_EQ(1, output.store().first_visible());
}

TEST_F(OutputWindowTest, double_click_opens_the_named_line) {
    frame->output_show_and_clear();
    OutputWindow& output = *frame->output_window();
    frame->output_append("Assembling\n\"/w/src/main.asm\" (12): error: bad operand\n");

    double_click_output_line(output, 0); // not a reference: nothing
    EXPECT_TRUE(documents.opened.empty());

    double_click_output_line(output, 1);
    ASSERT_EQ(1u, documents.opened.size());
    EXPECT_EQ("/w/src/main.asm", documents.opened[0].path);
    EXPECT_EQ(11, documents.opened[0].line);
    auto* document = dynamic_cast<FakeChild*>(documents.find_document("/w/src/main.asm"));
    ASSERT_NE(nullptr, document);
    ASSERT_EQ(1u, document->commands.size());
    EXPECT_EQ(cmd::kGoToLineToChild, document->commands[0].first);
    EXPECT_EQ(11, document->commands[0].second);

    // An open document (letter case aside) is used as it is, and comes on top.
    frame->output_append("\"/W/SRC/MAIN.ASM\" (3): warning: w\n");
    frame->client().setActiveSubWindow(frame->client().subWindowList().front()); // Output on top
    double_click_output_line(output, 2);
    EXPECT_EQ(1u, documents.opened.size());
    EXPECT_EQ(document, frame->top_child());
    EXPECT_EQ(2, document->commands.back().second);
}

} // namespace
} // namespace torva::test
