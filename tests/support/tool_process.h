// The command-line tools as processes: where the build put them, and the
// files they wrote.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

} // namespace torva::test
