// The command-line tools as processes: where the build put them, the files
// they wrote, and running a shell command for its output.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include <sys/wait.h>

namespace torva::test {

// build/bin/<name>; tests run from build/tests.
inline std::string tool_path(const char* name) {
    if (const char* build = std::getenv("TORVA_BUILD_DIR"))
        return std::string(build) + "/bin/" + name;
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "bin" / name).string();
}

// The source tree (examples, docs), as CTest tells the tests.
inline std::filesystem::path source_root() {
    const char* root = std::getenv("TORVA_SOURCE_DIR");
    return root ? std::filesystem::path(root) : std::filesystem::current_path();
}

// The whole file as bytes; empty when it cannot be read.
inline std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A shell word that stands for text exactly.
inline std::string shell_quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    return quoted + "'";
}

// Runs a shell command: its standard output and exit status (-1 when it
// did not end by itself).
inline std::pair<std::string, int> run_command(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {"", -1};
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pclose(pipe);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

} // namespace torva::test
