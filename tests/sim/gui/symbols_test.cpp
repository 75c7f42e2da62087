// The program's symbols in the windows: the Program pane shows hello.asm's
// labels and branch targets by name until Show Symbols is unticked, and a
// tooltip over a name in the editor gives its value (and a data label's
// bytes) while the simulator is halted. What the lines and tips say is the
// pane's and the tip's own tests'; here, that the windows show them.
#include "editor/document_window.h"
#include "editor/sci_messages.h"
#include "sim/sim_commands.h"
#include "support/screenshot.h"
#include "support/student_session.h"

#include <Qsci/qsciscintillabase.h>

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QThread>
#include <QToolTip>

namespace torva::test {
namespace {

struct SymbolsInWindows : ::testing::Test {
    StudentSession student;
    KivSimulatorChild* window = nullptr;
    DocumentWindow* source = nullptr;

    void SetUp() override {
        const std::filesystem::path load_file = student.assemble_example("hello");
        ASSERT_TRUE(student.open_simulator(load_file));
        window = student.workbench.simulator_windows().window();
        ASSERT_TRUE(student.workbench.simulated_board().simulator().load_file().debug_map);
        const auto documents = student.frame->findChildren<DocumentWindow*>();
        ASSERT_EQ(1, documents.size());
        source = documents.front();
    }
    // The Program pane's lines as painted.
    std::vector<std::string> program_lines() const {
        std::vector<std::string> lines;
        for (int line = 0; line < DisassemblyPane::kLines; ++line)
            lines.push_back(window->disassembly().text(line));
        return lines;
    }
    // The tooltip the editor shows with the mouse resting on the first
    // letter of the nth occurrence of word in the source; "" for none.
    std::string tip_over(const std::string& word, int occurrence = 1) {
        const std::string text = source->sci().text();
        size_t at = std::string::npos;
        for (int n = 0; n < occurrence; ++n)
            at = text.find(word, at == std::string::npos ? 0 : at + 1);
        EXPECT_NE(std::string::npos, at) << word;
        const auto position = static_cast<unsigned long>(at);
        source->sci().send(sci::SCI_GOTOPOS, position); // into view
        const QPoint point(
            int(source->sci().send(sci::SCI_POINTXFROMPOSITION, 0, long(position))) + 2,
            int(source->sci().send(sci::SCI_POINTYFROMPOSITION, 0, long(position))) + 4);
        QWidget& area = *source->component().viewport();
        // A tooltip takes a moment to go.
        QToolTip::hideText();
        for (int wait = 0; wait < 100 && QToolTip::isVisible(); ++wait) {
            QThread::msleep(10);
            QCoreApplication::processEvents();
        }
        EXPECT_FALSE(QToolTip::isVisible());
        QHelpEvent help(QEvent::ToolTip, point, area.mapToGlobal(point));
        QApplication::sendEvent(&area, &help);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
    }
};

TEST_F(SymbolsInWindows, ProgramPaneShowsLabelsUntilUnticked) {
    // hello.asm starts at START, and the loop branches back to SEND.
    std::vector<std::string> lines = program_lines();
    EXPECT_EQ("  START:", lines[0].substr(0, 8));
    EXPECT_EQ("  1000 LDS", lines[1].substr(0, 10));
    EXPECT_EQ(1, window->disassembly().current_line());
    const auto has = [&](const std::string& piece) {
        for (const std::string& line : program_lines())
            if (line.find(piece) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(has("BEQ   COPY")) << "a branch target by name";
    EXPECT_TRUE(save_screenshot(*window, "simulator_symbols.png"));

    // The context menu offers Show Symbols, ticked; choosing it shows the
    // plain disassembly, and choosing it again brings the labels back.
    std::vector<bool> ticks;
    window->set_menu_runner([&](QMenu& menu, QPoint) {
        for (QAction* action : menu.actions())
            if (action->data().toInt() == sim_cmd::kShowSymbols) {
                ticks.push_back(action->isChecked());
                return sim_cmd::kShowSymbols;
            }
        return 0;
    });
    window->open_context_menu(window->line_rect(3).center());
    ASSERT_EQ(1u, ticks.size());
    EXPECT_TRUE(ticks[0]);
    EXPECT_EQ("  1000 LDS", program_lines()[0].substr(0, 10));
    EXPECT_FALSE(has(":"));
    EXPECT_TRUE(has("BEQ   $"));
    EXPECT_EQ(0, window->disassembly().current_line());
    window->open_context_menu(QPoint(5, 5)); // outside the pane
    ASSERT_EQ(2u, ticks.size());
    EXPECT_FALSE(ticks[1]);
    EXPECT_TRUE(has("BEQ   COPY"));
}

// The texts are SymbolTipTest's; here the editor shows them for the word
// under the mouse, a data label's with its bytes, and none while running.
TEST_F(SymbolsInWindows, TooltipGivesValuesWhileHalted) {
    EXPECT_EQ(0u, tip_over("HELLO").find("HELLO = $"));
    EXPECT_NE(std::string::npos, tip_over("HELLO").find(": 48 65 6C 6C 6F 0D 0A 00"));
    EXPECT_EQ("OUTPORT = $0400 (1024)", tip_over("OUTPORT", 2));
    EXPECT_EQ("", tip_over("baud")) << "no symbol";
    Simulator& sim = student.workbench.simulated_board().simulator();
    sim.dispatch(sim_cmd::kRunFast);
    ASSERT_TRUE(sim.running());
    EXPECT_EQ("", tip_over("OUTPORT", 2));
    sim.dispatch(sim_cmd::kHalt);
    EXPECT_EQ("OUTPORT = $0400 (1024)", tip_over("OUTPORT", 2));
}

} // namespace
} // namespace torva::test
