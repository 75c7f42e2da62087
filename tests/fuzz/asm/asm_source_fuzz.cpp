// Fuzz target: any bytes as a source file (and an include file beside it)
// must assemble to a result without a crash or an invalid access.
#include "asm/session.h"
#include "support/temp_dir.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static torva::test::TempDir dir;
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The second half doubles as an include file.
    dir.write("f.asm", text);
    dir.write("f.inc", text.substr(size / 2));
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    torva::AsmSession session;
    session.write_line = [](std::string_view) {};
    session.fatal = [](std::string_view) {};
    torva::asm_assemble(session, "-L -S -w f.asm");
    std::filesystem::current_path(old);
    return 0;
}
