// ta12: the assembler on the command line. Messages and the summary go to
// standard output; the exit status is 0 without errors and 1 with errors.
#include "asm/session.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

void usage() {
    std::fputs("usage: ta12 [-L] [-S] [-w] [-I \"dir\"] FILE\n", stderr);
}

std::string in_quotes(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

int main(int argc, char** argv) {
    // Rebuild the assembler's one-string command line; paths are quoted so
    // that blanks in them survive.
    std::string line;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() >= 2 && arg[0] == '-' && arg[1] == 'I') {
            std::string dir = arg.substr(2);
            if (dir.empty() && i + 1 < argc) dir = argv[++i];
            line += "-I " + in_quotes(dir) + " ";
        } else if (!arg.empty() && arg[0] == '-') {
            line += arg + " ";
        } else if (file.empty()) {
            file = arg;
        } else {
            usage();
            return 1;
        }
    }
    if (file.empty()) {
        usage();
        return 1;
    }
    line += in_quotes(file);

    torva::AsmSession session;
    session.write_line = [](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
    };
    session.fatal = [](std::string_view text) {
        std::printf("FATAL ERROR: %.*s, Closing %s\n", int(text.size()), text.data(), "TA12");
    };
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        session.program_dir = self.parent_path().string();
    else if (argc > 0)
        session.program_dir = std::filesystem::absolute(argv[0], ec).parent_path().string();
    return torva::asm_assemble(session, line) == 1 ? 0 : 1;
}
