// The terminal on the simulated board's serial interface, through the whole
// program's wiring: examples/echo_serial.asm running in the simulator echoes
// what is typed in the terminal; the board's monitor takes a download from
// the terminal's Load and runs it with "g 1000"; closing the simulator
// window takes the terminal with it.
#include "io/board_option.h"
#include "io/serial_console.h"
#include "iosim/devices/serial_device.h"
#include "iosim/gui/device_window.h"
#include "shell/command_ids.h"
#include "sim/sim_commands.h"
#include "terminal/port_numbering.h"
#include "terminal/terminal_commands.h"

#include "support/screenshot.h"
#include "terminal_fixture.h"

namespace torva::test {
namespace {

class SimulatedTerminalTest : public SimulatedBoardTerminalFixture {
protected:
    // Opens the simulator window on the load file and runs in real time on
    // a clock the test moves.
    void run_simulator(const std::filesystem::path& load_file) {
        ASSERT_TRUE(s.open_simulator(load_file));
        simulator = s.workbench.simulator_windows().window();
        s.workbench.simulated_board().simulator().set_time_source([this] { return now; });
        simulator_command(sim_cmd::kRunRealTime);
    }

    // A command of the simulator window's (it takes them while on top).
    void simulator_command(int id) {
        s.frame->activate_child(simulator);
        s.frame->dispatch(id);
    }
};

TEST_F(SimulatedTerminalTest, echo_program_answers_typed_text_running_or_halted) {
    const auto program = s.assemble_example("echo_serial");
    // The link connects a serial console; the board's reset (the load)
    // then sets its interface up as the monitor would.
    TerminalWindow* terminal = open_terminal(kSimulatedPortFirst);
    ASSERT_NE(nullptr, terminal);
    run_simulator(program);
    ASSERT_NE(nullptr, simulator);
    EXPECT_EQ("(RT12 Simulator SCI0:9600,N,8,1)", terminal->windowTitle().toStdString());
    // Debug > Terminal offers both interfaces after the system's ports.
    const auto ports = s.workbench.terminal_windows().present_ports();
    ASSERT_GE(ports.size(), 2u);
    EXPECT_EQ("RT12 Simulator SCI0", ports[ports.size() - 2].text);
    EXPECT_EQ(kSimulatedPortFirst + 1, ports.back().number);

    // The console the link connected says it is linked.
    Board& board = s.workbench.simulated_board().board();
    DeviceWindow* console = s.workbench.device_windows().window(board.setup().serial_handle(0));
    ASSERT_NE(nullptr, console);
    EXPECT_TRUE(serial_console(board, 0)->linked());
    EXPECT_TRUE(save_screenshot(*console, "terminal_linked_console.png"));

    simulator_command(sim_cmd::kRunRealTime);
    ASSERT_TRUE(wait_for_text(*terminal, "Hello from the RT12")) << screen(*terminal);
    type(*terminal, "echo me");
    ASSERT_TRUE(wait_for_text(*terminal, "echo me\n")) << screen(*terminal);

    // Typed while halted, the bytes wait for the program.
    simulator_command(sim_cmd::kHalt);
    type(*terminal, "later");
    for (int i = 0; i < 5; ++i)
        terminal->poll();
    EXPECT_EQ(std::string::npos, screen(*terminal).find("later"));
    simulator_command(sim_cmd::kRunRealTime);
    EXPECT_TRUE(wait_for_text(*terminal, "later\n")) << screen(*terminal);

    // The simulator window closes: the terminal goes with a warning.
    close_window(*simulator);
    EXPECT_TRUE(run_until([&] { return s.workbench.terminal_windows().windows().empty(); }));
    ASSERT_FALSE(s.messages.shown.empty());
    EXPECT_EQ(BoxKind::warning, s.messages.shown.back().kind);
    EXPECT_NE(std::string::npos, s.messages.shown.back().text.find("RT12 Simulator SCI0"));
}

TEST_F(SimulatedTerminalTest, monitor_through_reset_takes_a_download_and_runs_it) {
    const std::string program = s.assemble_example("echo_serial").string();
    s.workbench.simulated_board().board().setup().set_option_word(board_option::kLoadMonitor);
    run_simulator("");
    ASSERT_NE(nullptr, simulator);
    TerminalWindow* terminal = open_terminal(kSimulatedPortFirst);
    ASSERT_NE(nullptr, terminal);
    // The monitor starts from its reset vector, twice: the link stays.
    const std::string banner = "RT12 Monitor 1.0\n>\n";
    for (const std::string& expected : {banner, banner + banner}) {
        simulator_command(sim_cmd::kHalt);
        simulator_command(sim_cmd::kResetCpu);
        simulator_command(sim_cmd::kRunRealTime);
        ASSERT_TRUE(wait_for_text(*terminal, expected)) << screen(*terminal);
    }

    s.dialogs.answers.push_back(program);
    terminal->run_menu_choice(terminal_cmd::kDownload); // "Load New": the Load File dialog
    ASSERT_TRUE(terminal->session().download_in_progress());
    ASSERT_TRUE(wait_for_text(*terminal, "Loaded ", 20000)) << screen(*terminal);
    ASSERT_TRUE(run_until([&] { return !terminal->session().download_in_progress(); }, 5000,
                          [&] { step(*terminal); }));
    EXPECT_NE(std::string::npos, screen(*terminal).find(" bytes")) << screen(*terminal);
    EXPECT_EQ(program, terminal->session().last_load_path());

    type(*terminal, "g 1000");
    ASSERT_TRUE(wait_for_text(*terminal, "Hello from the RT12")) << screen(*terminal);
    s.frame->activate_child(terminal);
    QWidget* sub = terminal->parentWidget();
    sub->move(sub->parentWidget()->width() - sub->width(), 0); // the whole grid in the picture
    QCoreApplication::processEvents();
    EXPECT_TRUE(save_screenshot(*s.frame, "terminal_download.png"));

    // Windows > Close All takes both windows without a word about the link.
    s.messages.shown.clear();
    s.frame->dispatch(cmd::kCloseAll);
    settle_events();
    settle_events();
    EXPECT_TRUE(s.workbench.terminal_windows().windows().empty());
    EXPECT_TRUE(s.messages.shown.empty());
}

} // namespace
} // namespace torva::test
