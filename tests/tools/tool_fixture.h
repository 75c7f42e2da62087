// The command-line tools run as processes in a temporary folder: sources
// assembled with ta12, a tool's standard output and error read back, its
// exit status returned. A test whose tools were not built is skipped.
#pragma once

#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace torva::test {

class ToolTest : public ::testing::Test {
protected:
    // The tools the tests need; a test is skipped unless all were built.
    explicit ToolTest(std::initializer_list<const char*> tools) : tools_(tools) {}
    void SetUp() override {
        for (const char* tool : tools_)
            if (!std::filesystem::exists(tool_path(tool))) GTEST_SKIP() << tool << " not built";
    }

    // Runs the program with arguments (shell words) in the folder, after the
    // shell commands in `before`; standard input from /dev/null unless the
    // arguments redirect it. A run that hangs ends after 30 s (status 124).
    int run_program(const std::string& program, const std::string& args,
                    const std::string& before = "") {
        std::string command = "cd " + shell_quoted(dir.path().string()) + " && (" + before +
                              "exec timeout 30 " + shell_quoted(program) + " " + args + ")";
        command += " > out 2> err";
        if (args.find('<') == std::string::npos) command += " < /dev/null";
        const int status = std::system(command.c_str());
        out = read_file(dir.path() / "out");
        err = read_file(dir.path() / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    int run(const char* tool, const std::string& args, const std::string& before = "") {
        return run_program(tool_path(tool), args, before);
    }

    // Assembles source as name.asm with ta12; true when it assembled.
    bool assemble(const std::string& name, const std::string& source,
                  const std::string& options = "") {
        dir.write(name + ".asm", source);
        return run("ta12", options + " " + name + ".asm") == 0;
    }
    std::string file(const std::string& name) const { return (dir.path() / name).string(); }
    std::string read(const std::string& name) const { return read_file(dir.path() / name); }

    TempDir dir;
    std::string out;
    std::string err;

private:
    std::vector<const char*> tools_;
};

} // namespace torva::test
