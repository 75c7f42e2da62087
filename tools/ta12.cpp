// ta12: the assembler on the command line. Messages and the summary go to
// standard output; the exit status is 0 without errors and 1 with errors.
#include "asm/session.h"
#include "tools/program_directory.h"
#include "tools/ta12_command_line.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const torva::Ta12Request request = torva::ta12_request(args);
    switch (request.kind) {
    case torva::Ta12Request::Kind::kHelp: std::fputs(torva::ta12_help().c_str(), stdout); return 0;
    case torva::Ta12Request::Kind::kVersion:
        std::fputs(torva::ta12_version().c_str(), stdout);
        return 0;
    case torva::Ta12Request::Kind::kUsageError:
        if (!request.error.empty()) std::fprintf(stderr, "ta12: %s\n", request.error.c_str());
        std::fputs(torva::ta12_usage().c_str(), stderr);
        return 1;
    case torva::Ta12Request::Kind::kAssemble: break;
    }

    torva::AsmSession session;
    session.write_line = [](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
    };
    session.fatal = [](std::string_view text) {
        std::printf("FATAL ERROR: %.*s, Closing %s\n", int(text.size()), text.data(), "TA12");
    };
    session.program_dir = torva::program_directory(argc > 0 ? argv[0] : nullptr).string();
    session.compat_switch = "--compat"; // the hint after a failure it would mend
    return torva::asm_assemble(session, request.line) == 1 ? 0 : 1;
}
