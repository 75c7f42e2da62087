// Fuzz target: any bytes as a source must give the same listing and
// S-record file on two runs of one session, and every line of that
// S-record file must be a well-formed record (count, hexadecimal digits,
// checksum).
#include "asm/session.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

// The checks below are the judge, not the code under test: their branches
// would only feed the fuzzer features that say nothing about the assembler,
// and a load file of megabytes would cost seconds under the instrumentation.
#if defined(__clang__)
#define NOT_FUZZED __attribute__((no_sanitize("coverage")))
#else
#define NOT_FUZZED
#endif

// The whole file; empty when it does not exist.
std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::string text(size_t(in.tellg()), '\0');
    in.seekg(0);
    in.read(text.data(), std::streamsize(text.size()));
    return text;
}

NOT_FUZZED int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1; // the writer uses upper-case digits only
}

// One record as the format defines it: "S", a type digit, then pairs of
// upper-case digits: count, address, data, checksum. The count covers
// everything after it; all bytes from the count on add up to $FF.
NOT_FUZZED bool well_formed(std::string_view line) {
    if (line.size() < 10 || line[0] != 'S' || line.size() % 2 != 0) return false;
    if (std::string_view("0123789").find(line[1]) == std::string_view::npos) return false;
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

NOT_FUZZED void check_records(std::string_view text) {
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        if (!well_formed(text.substr(0, end))) std::abort();
        text.remove_prefix(std::min(end + 1, text.size()));
    }
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
    std::string listings[2];
    std::string records[2];
    for (int run = 0; run < 2; ++run) {
        std::filesystem::remove(dir.path() / "f.s19");
        torva::asm_assemble(session, "-L -S -w f.asm");
        listings[run] = contents(dir.path() / "f.lst");
        records[run] = contents(dir.path() / "f.s19");
    }
    // Nothing of the first run may survive into the second.
    if (listings[0] != listings[1] || records[0] != records[1]) std::abort();
    check_records(records[1]);
    std::filesystem::current_path(old);
    return 0;
}
