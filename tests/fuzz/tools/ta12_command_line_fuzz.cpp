// Fuzz target: any arguments to ta12. What ta12 accepts reaches the
// assembler intact: its include directories are exactly the -I directories
// ta12 read (the first 20), however the options were written, and
// assembling with them ends without a fault.
#include "asm/session.h"
#include "fuzz/tools/arguments.h"
#include "support/temp_dir.h"
#include "tools/ta12_command_line.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static torva::test::TempDir dir;
    static const bool ready = [] {
        dir.write("t.asm", " org $1000\n include \"t.inc\"\n ldaa #1\n swi\n end\n");
        dir.write("t.inc", "five equ 5\n");
        return true;
    }();
    (void)ready;

    const auto args = torva::test::fuzz_arguments(data, size);
    const torva::Ta12Request request = torva::ta12_request(args);
    if (request.kind != torva::Ta12Request::Kind::kAssemble) return 0;

    std::vector<std::string> given = request.include_dirs;
    if (given.size() > size_t(torva::kMaxIncludeDirs)) given.resize(torva::kMaxIncludeDirs);

    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    torva::AsmSession session;
    session.write_line = [](std::string_view) {};
    session.fatal = [](std::string_view) {};
    torva::asm_assemble(session, request.line);
    std::filesystem::current_path(old);
    if (session.include_dirs != given) std::abort();
    return 0;
}
