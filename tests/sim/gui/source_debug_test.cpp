// The editor follows the simulator: examples/blink.asm assembled with its
// debug map, a breakpoint toggled on the BSR WAIT line, Run Real Time stops
// there and the source shows the current line and the breakpoint beside the
// simulator window; Step Into enters WAIT, Step Out comes back; a run takes
// the current line away.
#include "app/source_marks.h"
#include "editor/document_window.h"
#include "editor/sci_messages.h"
#include "editor/styling.h"
#include "shell/command_ids.h"
#include "sim/debug_map.h"
#include "sim/gui/breakpoints_dialog.h"
#include "sim/sim_commands.h"
#include "support/mouse_click.h"
#include "support/screenshot.h"
#include "support/student_session.h"

#include <Qsci/qsciscintillabase.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <memory>
#include <tuple>

namespace torva::test {
namespace {

long markers_on(const DocumentWindow& document, int line) {
    return document.sci().send(sci::SCI_MARKERGET, static_cast<unsigned long>(line));
}

TEST(SourceDebugging, BreakpointAndCurrentLineInTheSource) {
    StudentSession student;
    const std::filesystem::path load_file = student.assemble_example("blink");
    ASSERT_TRUE(
        std::filesystem::exists(std::filesystem::path(load_file).replace_extension(".dbg")));
    ASSERT_TRUE(student.open_simulator(load_file));
    Simulator& sim = student.workbench.simulated_board().simulator();
    KivSimulatorChild* window = student.workbench.simulator_windows().window();
    ASSERT_TRUE(sim.load_file().debug_map) << "Assemble wrote the map; the simulator read it";
    const DebugMap& map = *sim.load_file().debug_map;

    const auto documents = student.frame->findChildren<DocumentWindow*>();
    ASSERT_EQ(1, documents.size());
    DocumentWindow& source = *documents.front();
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    auto run_out = [&] {
        for (int tick = 0; tick < 100 && sim.running(); ++tick) {
            now += 16'000'000;
            window->timer_tick();
        }
        return !sim.running();
    };
    auto caret_to = [&](int line) {
        source.sci().send(sci::SCI_GOTOLINE, static_cast<unsigned long>(line - 1));
    };
    auto current_line = [&] {
        return int(source.sci().send(sci::SCI_MARKERNEXT, 0, 1 << SourceMarks::kCurrentArrow)) + 1;
    };

    // Line 15 is "BSR WAIT"; line 16 gets a breakpoint that is then disabled,
    // line 18 (empty, clicked in the margin) one that lands on line 20, and
    // goes again.
    constexpr int kBsrLine = 15;
    caret_to(kBsrLine);
    student.frame->dispatch(cmd::kToggleBreakpoint); // F9
    const uint32_t bsr = map.code_at_or_after(0, kBsrLine)->start;
    EXPECT_EQ(BreakState::kEnabled, sim.breakpoints().state_of(bsr));
    caret_to(kBsrLine + 1);
    student.frame->dispatch(cmd::kToggleBreakpoint); // F9
    sim.breakpoints().set_state(map.code_at_or_after(0, kBsrLine + 1)->start,
                                BreakState::kDisabled);
    // A click in the marker margin beside line 18 does what F9 does there.
    const auto margin_click = [&](int line) {
        const long start =
            source.sci().send(sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line - 1));
        const int x = int(source.sci().send(sci::SCI_GETMARGINWIDTHN, kLineNumberMargin)) + 5;
        const int y = int(source.sci().send(sci::SCI_POINTYFROMPOSITION, 0,
                                            static_cast<unsigned long>(start))) +
                      3;
        click(*source.component().viewport(), QPoint(x, y));
    };
    margin_click(18);
    EXPECT_TRUE(markers_on(source, 19) & (1 << SourceMarks::kBreakpointMarker));
    margin_click(18);
    EXPECT_FALSE(markers_on(source, 19) & (1 << SourceMarks::kBreakpointMarker));

    student.frame->dispatch(sim_cmd::kRunRealTime);
    ASSERT_TRUE(run_out());
    ASSERT_EQ(bsr, sim.cpu().regs.pc);
    const long at_bsr = markers_on(source, kBsrLine - 1);
    EXPECT_TRUE(at_bsr & (1 << SourceMarks::kCurrentArrow));
    EXPECT_TRUE(at_bsr & (1 << SourceMarks::kCurrentBackground));
    EXPECT_TRUE(at_bsr & (1 << SourceMarks::kBreakpointMarker));
    EXPECT_TRUE(markers_on(source, kBsrLine) & (1 << SourceMarks::kDisabledMarker));
    EXPECT_EQ(0, markers_on(source, kBsrLine - 2));
    // Side by side: the source and the simulator do not overlap.
    EXPECT_FALSE(source.parentWidget()->geometry().intersects(window->parentWidget()->geometry()));
    EXPECT_TRUE(save_screenshot(*student.frame, "source_debug.png"));

    student.frame->dispatch(cmd::kStepInto); // F11
    ASSERT_TRUE(run_out());
    EXPECT_EQ(20, current_line()) << "into WAIT";
    student.frame->dispatch(cmd::kStepOut); // Shift+F11
    ASSERT_TRUE(run_out());
    EXPECT_EQ(16, current_line()) << "back after the BSR";
    caret_to(kBsrLine + 2);
    student.frame->dispatch(cmd::kRunToCursor); // Ctrl+F10
    ASSERT_TRUE(run_out());
    EXPECT_EQ(17, current_line());

    // A double-click on a Program pane line opens its source line: the
    // caret goes back to line 17 from the top of the file.
    caret_to(1);
    const auto caret_line = [&] {
        return int(source.sci().send(
                   sci::SCI_LINEFROMPOSITION,
                   static_cast<unsigned long>(source.sci().send(sci::SCI_GETCURRENTPOS)))) +
               1;
    };
    ASSERT_EQ(1, caret_line());
    double_click(*window, window->line_rect(window->disassembly().current_line()).center());
    EXPECT_EQ(17, caret_line());

    // The Watch window: Y counts down while the program runs.
    student.frame->dispatch(cmd::kWatch); // Debug > Watch
    WatchWindow* watch = student.workbench.open_watch_window();
    ASSERT_NE(nullptr, watch);
    // Four rows, as the manual's picture of the window shows them.
    for (const auto& [expression, format, count] :
         {std::tuple{"Y", WatchFormat::kHexWord, 1}, std::tuple{"A", WatchFormat::kHexByte, 1},
          std::tuple{"X", WatchFormat::kUnsignedWord, 1},
          std::tuple{"WLOOP", WatchFormat::kByteArray, 3}}) {
        watch->expression_field().setText(QString::fromLatin1(expression));
        watch->format_box().setCurrentIndex(int(format));
        watch->count_box().setValue(count);
        watch->add_from_line();
    }
    ASSERT_EQ(4, watch->table().rowCount());
    EXPECT_EQ("04 36 FD", watch->table().item(3, 2)->text().toStdString());
    sim.breakpoints().clear();
    student.frame->dispatch(sim_cmd::kRunRealTime);
    EXPECT_TRUE(sim.running());
    EXPECT_EQ(0, markers_on(source, kBsrLine - 1) & (1 << SourceMarks::kCurrentArrow));
    const QString y_before = watch->table().item(0, 2)->text();
    now += 16'000'000;
    window->timer_tick();
    EXPECT_NE(y_before, watch->table().item(0, 2)->text()) << "Y moved while running";
    EXPECT_TRUE(watch->rows().rows()[0].changed);
    EXPECT_TRUE(save_screenshot(*student.frame, "watch.png"));
    student.frame->dispatch(sim_cmd::kHalt);
}

// One table, two views: a breakpoint set, disabled or removed in the
// Program pane or the Breakpoints dialog shows in the margin at once.
TEST(SourceDebugging, MarginFollowsTheSimulatorsBreakpointCommands) {
    StudentSession student;
    const std::filesystem::path load_file = student.assemble_example("blink");
    ASSERT_TRUE(student.open_simulator(load_file));
    Simulator& sim = student.workbench.simulated_board().simulator();
    KivSimulatorChild* window = student.workbench.simulator_windows().window();
    ASSERT_TRUE(sim.load_file().debug_map);
    const DebugMap& map = *sim.load_file().debug_map;
    DocumentWindow& source = *student.frame->findChildren<DocumentWindow*>().front();
    constexpr int kBsrLine = 15;
    const uint32_t bsr = map.code_at_or_after(0, kBsrLine)->start;
    const auto mark = [&] { return markers_on(source, kBsrLine - 1); };
    constexpr long kEnabled = 1 << SourceMarks::kBreakpointMarker;
    constexpr long kDisabled = 1 << SourceMarks::kDisabledMarker;

    // The Program pane's line menu on the BSR's line.
    int line = -1;
    for (int i = 0; i < 40 && line < 0; ++i)
        if (window->disassembly().address(i) == bsr) line = i;
    ASSERT_GE(line, 0);
    int choice = sim_cmd::kSetBreak;
    window->set_menu_runner([&](QMenu&, QPoint) { return choice; });
    window->open_context_menu(window->line_rect(line).center());
    EXPECT_EQ(kEnabled, mark() & (kEnabled | kDisabled)) << "set";
    choice = sim_cmd::kDisableBreak;
    window->open_context_menu(window->line_rect(line).center());
    EXPECT_EQ(kDisabled, mark() & (kEnabled | kDisabled)) << "disabled";
    choice = sim_cmd::kRemoveBreak;
    window->open_context_menu(window->line_rect(line).center());
    EXPECT_EQ(0, mark() & (kEnabled | kDisabled)) << "removed";

    // The dialog: each button shows in the margin while it is still open.
    std::vector<long> seen;
    student.dialogs.while_open = [&](QDialog& shown) {
        auto* dialog = dynamic_cast<BreakpointsDialog*>(&shown);
        ASSERT_NE(nullptr, dialog);
        dialog->field().setText(QString::number(bsr, 16));
        dialog->add_button().click();
        seen.push_back(mark() & (kEnabled | kDisabled));
        dialog->list().setCurrentRow(0);
        dialog->toggle_button().click();
        seen.push_back(mark() & (kEnabled | kDisabled));
        dialog->remove_button().click();
        seen.push_back(mark() & (kEnabled | kDisabled));
    };
    student.frame->dispatch(sim_cmd::kBreakpointTable);
    EXPECT_EQ((std::vector<long>{kEnabled, kDisabled, 0}), seen);

    // Goto here's temporary entry is no breakpoint of the user's.
    choice = sim_cmd::kGotoHere;
    window->open_context_menu(window->line_rect(line).center());
    EXPECT_EQ(0, mark() & (kEnabled | kDisabled));
    student.frame->dispatch(sim_cmd::kHalt);
}

// Breakpoints stay with their source lines: F9 on BSR WAIT, a line
// inserted above it, Assemble and Reload, and the breakpoint is on the same
// source line at its new address; a disabled one stays disabled, and one
// set in the edited source before the build is placed with it. A new
// start of the IDE (a second workbench over the same settings) brings them
// back with the program. (How stored text survives garbage, and where a
// line's entry lands, is SourceBreakpoints' to check.)
TEST(SourceDebugging, BreakpointsStayWithTheirLinesAcrossBuildsAndRestarts) {
    std::filesystem::path source_path;
    std::filesystem::path load_file;
    uint32_t bsr_after_edit = 0;
    auto student = std::make_unique<StudentSession>();
    {
        load_file = student->assemble_example("blink");
        ASSERT_TRUE(student->open_simulator(load_file));
        Simulator& sim = student->workbench.simulated_board().simulator();
        KivSimulatorChild* window = student->workbench.simulator_windows().window();
        DocumentWindow& source = *student->frame->findChildren<DocumentWindow*>().front();
        source_path = source.path();
        const uint32_t bsr_before = sim.load_file().debug_map->code_at_or_after(0, 15)->start;
        source.sci().send(sci::SCI_GOTOLINE, 14);
        student->frame->dispatch(cmd::kToggleBreakpoint); // F9 on BSR WAIT
        source.sci().send(sci::SCI_GOTOLINE, 15);
        student->frame->dispatch(cmd::kToggleBreakpoint); // F9 on the line after
        sim.breakpoints().set_state(sim.load_file().debug_map->code_at_or_after(0, 16)->start,
                                    BreakState::kDisabled);
        window->refresh_breakpoints();
        student->frame->dispatch(sim_cmd::kDisableBreak); // nothing selected: no change

        // Two lines above, one of them code (after the ORG): every address
        // after it moves.
        const auto insert_at_line = [&](int line, const char* text) {
            const long at =
                source.sci().send(sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line - 1));
            source.sci().send_text(QsciScintillaBase::SCI_INSERTTEXT,
                                   static_cast<unsigned long>(at), text);
        };
        insert_at_line(1, "; moved down\n");
        insert_at_line(13, "\tNOP\n"); // before START
        EXPECT_TRUE(markers_on(source, 16) & (1 << SourceMarks::kBreakpointMarker))
            << "the margin's marker moved with its line";
        // F9 in the edited source marks BRA BLINK's line for the next build;
        // the table (the old build's addresses) and the moved marks stay.
        source.sci().send(sci::SCI_GOTOLINE, 18);
        student->frame->dispatch(cmd::kToggleBreakpoint);
        EXPECT_EQ(2, sim.breakpoints().used_count());
        EXPECT_TRUE(markers_on(source, 18) & (1 << SourceMarks::kBreakpointMarker));
        EXPECT_TRUE(markers_on(source, 16) & (1 << SourceMarks::kBreakpointMarker));
        EXPECT_EQ(0, markers_on(source, 14)) << "no snap back to the old build's lines";
        student->frame->dispatch(cmd::kAssemble); // saves, writes a new map
        // Reload from the simulator window's menu.
        window->set_menu_runner([](QMenu&, QPoint) { return sim_cmd::kReload; });
        window->open_context_menu(QPoint(250, 60));
        ASSERT_TRUE(sim.load_file().debug_map);
        const DebugMap& map = *sim.load_file().debug_map;
        bsr_after_edit = map.code_at_or_after(0, 17)->start;
        ASSERT_NE(bsr_before, bsr_after_edit);
        EXPECT_EQ(BreakState::kEnabled, sim.breakpoints().state_of(bsr_after_edit));
        EXPECT_EQ(BreakState::kDisabled,
                  sim.breakpoints().state_of(map.code_at_or_after(0, 18)->start));
        EXPECT_EQ(3, sim.breakpoints().used_count()) << "no stray at the old addresses";
        EXPECT_TRUE(markers_on(source, 16) & (1 << SourceMarks::kBreakpointMarker));
        EXPECT_TRUE(markers_on(source, 17) & (1 << SourceMarks::kDisabledMarker));
    }

    // The IDE starts again: the same source and program, opened afresh.
    const auto restart = [&] {
        auto next = std::make_unique<StudentSession>();
        next->frame->open_document(false, source_path.string(), -1);
        EXPECT_TRUE(next->open_simulator(load_file));
        return next;
    };
    auto again = restart();
    {
        Simulator& sim = again->workbench.simulated_board().simulator();
        EXPECT_EQ(BreakState::kEnabled, sim.breakpoints().state_of(bsr_after_edit));
        EXPECT_EQ(3, sim.breakpoints().used_count());
        DocumentWindow& source = *again->frame->findChildren<DocumentWindow*>().front();
        EXPECT_TRUE(markers_on(source, 16) & (1 << SourceMarks::kBreakpointMarker));
        EXPECT_TRUE(markers_on(source, 17) & (1 << SourceMarks::kDisabledMarker));
    }
    again.reset();
    student.reset();
}

// The Watch window's rows go with the program's source file: loading
// another program shows that program's rows, loading the first again (and
// a new start of the IDE) brings its rows back.
TEST(SourceDebugging, WatchRowsAreKeptPerSourceFile) {
    const auto rows_of = [](WatchWindow& watch) {
        std::vector<std::string> texts;
        for (const WatchRow& row : watch.rows().rows())
            texts.push_back(row.expression + " " + std::to_string(row.count));
        return texts;
    };
    std::filesystem::path blink;
    // The first run's scratch directory holds the program until the end.
    auto first = std::make_unique<StudentSession>();
    {
        StudentSession& student = *first;
        blink = student.assemble_example("blink");
        const std::filesystem::path hello = student.assemble_example("hello");
        ASSERT_TRUE(student.open_simulator(blink));
        KivSimulatorChild* window = student.workbench.simulator_windows().window();
        WatchWindow* watch = student.workbench.open_watch_window();
        ASSERT_NE(nullptr, watch);
        watch->expression_field().setText("WLOOP");
        watch->format_box().setCurrentIndex(int(WatchFormat::kByteArray));
        watch->count_box().setValue(3);
        watch->add_from_line();
        watch->expression_field().setText("Y");
        watch->format_box().setCurrentIndex(int(WatchFormat::kHexWord));
        watch->add_from_line();
        const std::vector<std::string> blink_rows{"WLOOP 3", "Y 1"};
        ASSERT_EQ(blink_rows, rows_of(*watch));

        const auto load_new = [&](const std::filesystem::path& load_file) {
            student.dialogs.answers.push_back(load_file.string());
            window->set_menu_runner([](QMenu&, QPoint) { return sim_cmd::kLoadNew; });
            window->open_context_menu(QPoint(250, 60));
        };
        load_new(hello);
        EXPECT_TRUE(rows_of(*watch).empty()) << "hello.asm has rows of its own: none";
        watch->expression_field().setText("A");
        watch->add_from_line();
        load_new(blink);
        EXPECT_EQ(blink_rows, rows_of(*watch));
        EXPECT_EQ("04 36 FD", watch->table().item(0, 2)->text().toStdString());
        // The table's Remove is kept too.
        watch->table().setCurrentCell(1, 0);
        watch->remove_button().click();
        load_new(hello);
        EXPECT_EQ(std::vector<std::string>{"A 1"}, rows_of(*watch));
    }
    StudentSession again;
    ASSERT_TRUE(again.open_simulator(blink));
    WatchWindow* watch = again.workbench.open_watch_window();
    ASSERT_NE(nullptr, watch);
    EXPECT_EQ(std::vector<std::string>{"WLOOP 3"}, rows_of(*watch));
    first.reset();
}

} // namespace
} // namespace torva::test
