// The README's monitor workflow, step for step as it is worded there: a
// program assembled and loaded into the simulator, a terminal on "RT12
// Simulator SCI0", Simulator Setup with "Load debugger" ticked and OK, Reset
// CPU, Run Real Time, the download from the terminal, and "g 1000".
#include "sim/sim_commands.h"
#include "terminal/port_numbering.h"
#include "terminal/terminal_commands.h"

#include "terminal/gui/terminal_fixture.h"

#include <QCheckBox>
#include <QToolBar>

namespace torva::test {
namespace {

class MonitorWorkflowTest : public SimulatedBoardTerminalFixture {
protected:
    // A button of the simulator window's toolbar.
    void press(int id) { simulator->toolbar_action(id)->trigger(); }
};

TEST_F(MonitorWorkflowTest, LoadDebuggerResetRunDownloadAndGo) {
    // Assemble, then Debug > Simulator with the load file.
    const std::string program = s.assemble_example("echo_serial").string();
    ASSERT_TRUE(s.open_simulator(program));
    simulator = s.workbench.simulator_windows().window();
    s.workbench.simulated_board().simulator().set_time_source([this] { return now; });
    // Debug > Terminal > RT12 Simulator SCI0.
    TerminalWindow* terminal = open_terminal(kSimulatedPortFirst);
    ASSERT_NE(nullptr, terminal);

    // Simulator Setup: tick "Load debugger", OK.
    s.dialogs.while_open = [](QDialog& dialog) {
        if (dialog.objectName() != "RT12TARGETSETUP") return;
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("id1102"));
        ASSERT_NE(nullptr, box);
        box->click();
    };
    s.frame->activate_child(simulator);
    press(sim_cmd::kSimulatorSetup);
    s.dialogs.while_open = {};

    press(sim_cmd::kResetCpu);
    press(sim_cmd::kRunRealTime);
    ASSERT_TRUE(wait_for_text(*terminal, "RT12 Monitor 1.0\n>")) << screen(*terminal);

    // Download: the terminal's Load New with the load file.
    s.dialogs.answers.push_back(program);
    terminal->run_menu_choice(terminal_cmd::kDownload);
    ASSERT_TRUE(wait_for_text(*terminal, "Loaded ", 20000)) << screen(*terminal);
    ASSERT_TRUE(run_until([&] { return !terminal->session().download_in_progress(); }, 5000,
                          [&] { step(*terminal); }));

    type(*terminal, "g 1000");
    EXPECT_TRUE(wait_for_text(*terminal, "Hello from the RT12")) << screen(*terminal);
    press(sim_cmd::kHalt);
}

} // namespace
} // namespace torva::test
