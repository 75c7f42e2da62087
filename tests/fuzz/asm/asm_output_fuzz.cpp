// Fuzz target: any bytes as a source must give the same listing and
// S-record file on two runs of one session, and every line of that
// S-record file must be a well-formed record (count, hexadecimal digits,
// checksum).
#include "asm/session.h"
#include "support/temp_dir.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1; // the writer uses upper-case digits only
}

// One record as the format defines it: "S", a type digit, then pairs of
// upper-case digits: count, address, data, checksum. The count covers
// everything after it; all bytes from the count on add up to $FF.
bool well_formed(const std::string& line) {
    if (line.size() < 10 || line[0] != 'S' || line.size() % 2 != 0) return false;
    if (line[1] != '0' && line[1] != '1' && line[1] != '2' && line[1] != '3' && line[1] != '7' &&
        line[1] != '8' && line[1] != '9')
        return false;
    unsigned sum = 0;
    for (size_t i = 2; i < line.size(); i += 2) {
        const int high = hex_value(line[i]);
        const int low = hex_value(line[i + 1]);
        if (high < 0 || low < 0) return false;
        sum += unsigned(high * 16 + low);
    }
    const unsigned count = unsigned(hex_value(line[2]) * 16 + hex_value(line[3]));
    return count == (line.size() - 4) / 2 && (sum & 0xFF) == 0xFF;
}

void check_records(const std::string& text) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!well_formed(line)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static torva::test::TempDir dir;
    const std::string text(reinterpret_cast<const char*>(data), size);
    dir.write("f.asm", text);
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());

    // No message sink: the messages are in the listing, and without a
    // reader of messages the run skips the trial for the syntax hint, which
    // would double the work per input and is fuzzed by asm_source_fuzz.
    torva::AsmSession session;
    std::string outputs[2];
    for (std::string& output : outputs) {
        std::filesystem::remove(dir.path() / "f.s19");
        torva::asm_assemble(session, "-L -S -w f.asm");
        output = contents(dir.path() / "f.lst") + '\0' + contents(dir.path() / "f.s19");
    }
    // Nothing of the first run may survive into the second.
    if (outputs[0] != outputs[1]) std::abort();
    check_records(contents(dir.path() / "f.s19"));
    std::filesystem::current_path(old);
    return 0;
}
