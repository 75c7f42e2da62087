// Whole sessions with the board's monitor: rt12run --monitor --sci0 stdio
// reads typed lines and S-records from a file; programs for it are
// assembled with the board's include files.
#pragma once

#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace torva::test {

namespace fs = std::filesystem;

inline constexpr char kStartup[] = "\r\nRT12 Monitor 1.0\r\n> ";
inline constexpr char kResetRegisters[] = "PC=1000 SP=3C80 X=0000 Y=0000 A=00 B=00 CCR=D0";

// What the monitor sends for a line typed at the prompt: its echo, the
// lines it answers (each starts a new line), and the next prompt.
inline std::string answer(std::string_view echo,
                          std::initializer_list<std::string_view> lines = {}) {
    std::string text(echo);
    for (const std::string_view line : lines)
        (text += "\r\n") += line;
    return text + "\r\n> ";
}

inline fs::path board_include() {
    return source_root() / "include/machine/rt12";
}

// The bytes of "addr: XX XX ..." as MD and rt12run --dump-mem print them.
inline std::string dump_line(uint16_t address, const std::vector<uint8_t>& bytes) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X:", unsigned(address));
    std::string line = text;
    for (const uint8_t byte : bytes) {
        std::snprintf(text, sizeof text, " %02X", unsigned(byte));
        line += text;
    }
    return line;
}

struct MonitorSessionTest : ::testing::Test {
    test::TempDir dir;
    std::string out;
    std::string err;

    void SetUp() override {
        if (!fs::exists(tool_path("rt12run")) || !fs::exists(tool_path("ta12")))
            GTEST_SKIP() << "rt12run or ta12 not built";
    }
    std::string shell(const std::string& command) const {
        return "cd " + shell_quoted(dir.path().string()) + " && " + command;
    }
    // Assembles a program with the board's include files; its S-records.
    std::string assemble(const std::string& name, const std::string& source,
                         const std::string& options = "") {
        dir.write(name + ".asm", source);
        const std::string command =
            shell(shell_quoted(tool_path("ta12")) + " " + options + " -I " +
                  shell_quoted(board_include()) + " " + name + ".asm > ta12.out 2>&1");
        EXPECT_EQ(0, std::system(command.c_str())) << read_file(dir.path() / "ta12.out");
        return read_file(dir.path() / (name + ".s19"));
    }
    // One session: input goes in byte for byte; gives rt12run's exit status.
    int session(const std::string& input, const std::string& options = "") {
        dir.write("session.in", input);
        const std::string command =
            shell(shell_quoted(tool_path("rt12run")) + " --monitor --sci0 stdio " + options +
                  " < session.in > session.out 2> session.err");
        const int status = std::system(command.c_str());
        out = read_file(dir.path() / "session.out");
        err = read_file(dir.path() / "session.err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// Data bytes of the S1 records of an assembler's S-record file.
inline int data_bytes(const std::string& records) {
    int bytes = 0;
    for (size_t at = 0; (at = records.find("S1", at)) != std::string::npos; at += 2)
        bytes += std::stoi(records.substr(at + 2, 2), nullptr, 16) - 3;
    return bytes;
}

} // namespace torva::test
