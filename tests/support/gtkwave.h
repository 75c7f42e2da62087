// A Value Change Dump as GTKWave reads it: converted to its own format with
// vcd2fst and dumped back with fst2vcd, so that a test sees what a viewer
// shows, not what the writer meant.
#pragma once

#include "support/tool_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace torva::test {

// GTKWave's dump of the file; empty (and a failure) when a converter rejects it.
inline std::string through_gtkwave(const std::filesystem::path& vcd) {
    const std::string fst = vcd.string() + ".fst", back = vcd.string() + ".back";
    const std::string command = "vcd2fst " + shell_quoted(vcd.string()) + " " + shell_quoted(fst) +
                                " > /dev/null 2>&1 && fst2vcd " + shell_quoted(fst) + " > " +
                                shell_quoted(back) + " 2> /dev/null";
    EXPECT_EQ(0, std::system(command.c_str())) << command;
    return read_file(back);
}

} // namespace torva::test
