// The terminal window against the command-line simulator: rt12run runs the
// board's monitor on a pseudo-terminal it makes; the terminal opens that
// pseudo-terminal through TORVA_SERIAL_PORTS, downloads an assembled
// program to the monitor and starts it with "g 1000".
#include "terminal/gui/serial_port_link.h"
#include "terminal/terminal_commands.h"

#include "support/tool_process.h"
#include "terminal_fixture.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace torva::test {
namespace {

// rt12run with the monitor on a pseudo-terminal, stopped when the test ends.
class MonitorOnPty {
public:
    explicit MonitorOnPty(const std::filesystem::path& dir) : log_(dir / "rt12run.err") {
        const std::string program = tool_path("rt12run");
        const char* argv[] = {program.c_str(), "--monitor",   "--sci0", "pty",
                              "--realtime",    "--max-steps", "0",      nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, const_cast<char**>(argv),
                        environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~MonitorOnPty() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    MonitorOnPty(const MonitorOnPty&) = delete;
    MonitorOnPty& operator=(const MonitorOnPty&) = delete;

    // The pseudo-terminal's path once rt12run said it; "" until then.
    std::string device() const {
        std::ifstream log(log_);
        for (std::string line; std::getline(log, line);)
            if (line.starts_with("SCI0: ")) return line.substr(6);
        return {};
    }

private:
    std::filesystem::path log_;
    pid_t pid_ = -1;
};

class Rt12runPtyTest : public TerminalFixture {};

TEST_F(Rt12runPtyTest, monitor_takes_a_download_through_a_real_pseudo_terminal) {
    const std::string program = s.assemble_example("echo_serial").string();
    MonitorOnPty monitor(s.temp.path());
    std::string device;
    ASSERT_TRUE(run_until([&] { return !(device = monitor.device()).empty(); }));
    setenv("TORVA_SERIAL_PORTS", device.c_str(), 1);
    int port = -1;
    for (const SerialPortEntry& entry : serial_port_table())
        if (entry.location == device) port = entry.number;
    TerminalWindow* terminal = open_terminal(port);
    unsetenv("TORVA_SERIAL_PORTS");
    ASSERT_NE(nullptr, terminal);

    auto shows = [&](const std::string& text) {
        return run_until([&] { return screen(*terminal).find(text) != std::string::npos; }, 15000);
    };
    type(*terminal, "");
    ASSERT_TRUE(shows("\n>\n")) << screen(*terminal);
    terminal->download(program);
    ASSERT_TRUE(shows("Loaded ")) << screen(*terminal);
    ASSERT_TRUE(run_until([&] { return !terminal->session().download_in_progress(); }));
    type(*terminal, "g 1000");
    EXPECT_TRUE(shows("Hello from the RT12")) << screen(*terminal);
}

} // namespace
} // namespace torva::test
