// rt12run --sci0 pty and --realtime: a terminal device opened as a terminal
// program would open it talks to the simulated board's serial interface 0;
// a paced run takes at least the time its cycles take at the bus clock.
#include "support/echo_programs.h"
#include "support/spawned_tool.h"
#include "tool_fixture.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace torva::test {
namespace {

using namespace std::chrono_literals;

constexpr char kPrompt[] = "\r\n> ";

struct Rt12runPtyTest : ToolTest {
    Rt12runPtyTest() : ToolTest({"rt12run", "ta12"}) {}
};

TEST_F(Rt12runPtyTest, MonitorSessionThroughThePseudoTerminal) {
    SpawnedTool tool(tool_path("rt12run"),
                     {"--monitor", "--sci0", "pty", "--realtime", "--max-steps", "0"});
    ASSERT_TRUE(tool.started());
    const std::string path = tool.stderr_line("SCI0: ");
    ASSERT_TRUE(path.starts_with("/dev/")) << tool.stderr_text();
    TerminalDevice terminal(path);
    ASSERT_TRUE(terminal.is_open()) << path;
    // The greeting was sent before the terminal was opened and waited for it.
    EXPECT_EQ("\r\nRT12 Monitor 1.0\r\n> ", terminal.read_until(kPrompt));

    ASSERT_TRUE(terminal.write("RD\r"));
    EXPECT_EQ("RD\r\nPC=1000 SP=3C80 X=0000 Y=0000 A=00 B=00 CCR=D0\r\n> ",
              terminal.read_until(kPrompt));

    // Three lines in one burst: the monitor takes them a character at a
    // time, and none is lost to an overrun of the receiver.
    std::string bytes;
    std::vector<int> memory;
    for (int i = 0; i < 20; ++i) {
        char text[4];
        std::snprintf(text, sizeof text, " %02X", 0x40 + i);
        bytes += text;
        memory.push_back(0x40 + i);
    }
    memory.insert(memory.end(), memory.begin(), memory.end());
    std::string dump;
    for (size_t i = 0; i < memory.size(); ++i) {
        char text[12];
        if (i % 16 == 0) {
            std::snprintf(text, sizeof text, "\r\n%04X:", unsigned(0x1000 + i));
            dump += text;
        }
        std::snprintf(text, sizeof text, " %02X", unsigned(memory[i]));
        dump += text;
    }
    const std::string burst = "MM 1000" + bytes + "\rMM 1014" + bytes + "\rMD 1000 1027\r";
    ASSERT_TRUE(terminal.write(burst));
    const std::string expected =
        "MM 1000" + bytes + kPrompt + "MM 1014" + bytes + kPrompt + "MD 1000 1027" + dump + kPrompt;
    // Read up to the last line of the dump and its prompt.
    EXPECT_EQ(expected, terminal.read_until(expected.substr(expected.size() - 32)));
    // --max-steps 0: no limit; the board is still there.
    EXPECT_EQ(-1, tool.wait_exit(std::chrono::milliseconds(200)));
}

// Every byte value goes both ways through the pseudo-terminal, $00 and the
// flow-control characters included, and SWI ends the run with status 0;
// the program's last byte, written right before SWI, still arrives.
TEST_F(Rt12runPtyTest, EveryByteValueAndTheLastByteThroughThePseudoTerminal) {
    ASSERT_TRUE(assemble("echo", kEcho256));
    SpawnedTool echo(tool_path("rt12run"), {"--sci0", "pty", "--max-steps", "0", file("echo.s19")});
    const std::string path = echo.stderr_line("SCI0: ");
    ASSERT_FALSE(path.empty()) << echo.stderr_text();
    {
        TerminalDevice terminal(path);
        ASSERT_TRUE(terminal.is_open()) << path;
        ASSERT_TRUE(terminal.write(every_byte_value()));
        EXPECT_EQ(every_byte_value(), terminal.read_until("\xFF"));
    }
    EXPECT_EQ(0, echo.wait_exit());

    ASSERT_TRUE(assemble("last", "        org $1000\n"
                                 "        ldab #'Z'\n"
                                 "        stab $cf\n"
                                 "        swi\n"));
    SpawnedTool last(tool_path("rt12run"), {"--sci0", "pty", file("last.s19")});
    const std::string last_path = last.stderr_line("SCI0: ");
    ASSERT_FALSE(last_path.empty()) << last.stderr_text();
    TerminalDevice terminal(last_path);
    ASSERT_TRUE(terminal.is_open()) << last_path;
    EXPECT_EQ("Z", terminal.read_until("Z", 3s));
    EXPECT_EQ(0, last.wait_exit());
}

// SIGINT and SIGTERM end a run that would go on for ever, and what was
// asked for is printed first: a grader's interrupted run still shows
// where the program was.
TEST_F(Rt12runPtyTest, AStopSignalPrintsWhatWasAskedForFirst) {
    ASSERT_TRUE(assemble("spin", "        org $1000\nloop    bra loop\n"));
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(signal);
        const std::string printed_to = file("signal.out");
        // The pseudo-terminal's line says the run has begun.
        SpawnedTool spin(tool_path("rt12run"),
                         {"--sci0", "pty", "--max-steps", "0", "--dump-regs", "--dump-mem",
                          "0x1000:2", file("spin.s19")},
                         printed_to);
        ASSERT_FALSE(spin.stderr_line("SCI0: ").empty()) << spin.stderr_text();
        spin.send_signal(signal);
        EXPECT_EQ(status, spin.wait_exit());
        const std::string printed = read_file(printed_to);
        EXPECT_EQ(0u, printed.find("PC=1000 SP=3C80 ")) << printed;
        EXPECT_NE(std::string::npos, printed.find(" steps=")) << printed;
        EXPECT_NE(std::string::npos, printed.find("1000: 20 FE\n")) << printed;
    }
}

TEST_F(Rt12runPtyTest, RealTimeRunTakesTheTimeOfItsCycles) {
    ASSERT_TRUE(assemble("spin", "        org $1000\nloop    bra loop\n"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(2, run("rt12run", "--realtime=1000000 --max-steps 100000 --dump-regs spin.s19"));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const size_t at = out.find("cycles=");
    ASSERT_NE(std::string::npos, at) << out;
    const double cycles = std::stod(out.substr(at + 7));
    EXPECT_GT(cycles, 200000);
    // Only a lower bound: a loaded host may take longer, never less.
    EXPECT_GE(seconds, 0.8 * cycles / 1e6) << out;
}

TEST_F(Rt12runPtyTest, SerialAndClockArgumentsAreChecked) {
    ASSERT_TRUE(assemble("spin", "        org $1000\nloop    bra loop\n"));
    for (const char* bad : {"--realtime=0", "--realtime=fast", "--max-steps -1", "--sci0 tty"})
        EXPECT_EQ(1, run("rt12run", std::string(bad) + " spin.s19")) << bad;
    EXPECT_NE(std::string::npos, err.find("stdio or pty")) << err;
    EXPECT_EQ(2, run("rt12run", "--realtime=0x7A1200 --max-steps 1000 spin.s19"));
    // A clock below 10 Hz still runs: two 3-cycle steps at 9 Hz take about
    // half a second.
    EXPECT_EQ(2, run("rt12run", "--realtime=9 --max-steps 2 spin.s19"));
}

} // namespace
} // namespace torva::test
