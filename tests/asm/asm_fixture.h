// Runs the assembler on sources written to a temporary directory and
// collects what it produced: result, output lines, listing and S-records.
#pragma once

#include "asm/session.h"
#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace torva::test {

struct AsmRun {
    int result = -1;
    std::vector<std::string> output;
    std::string listing;
    std::string srecords;
    bool srecord_exists = false;

    // Output lines joined with '\n', for EXPECT_THAT(HasSubstr).
    std::string messages() const {
        std::string all;
        for (const std::string& line : output)
            all += line + "\n";
        return all;
    }
    // Code bytes shown in the listing for lines with an address and their
    // continuation lines, in order.
    std::vector<uint8_t> listed_bytes() const {
        std::vector<uint8_t> out;
        std::istringstream in(listing);
        std::string line;
        while (std::getline(in, line)) {
            if (line.size() < 24) continue;
            const std::string address = line.substr(0, 6);
            const bool hex = address.find_first_not_of("0123456789ABCDEF") == std::string::npos;
            const bool blank = address == "      ";
            const bool continuation =
                blank && line.find_first_not_of(" 0123456789ABCDEF") == std::string::npos;
            if (!hex && !continuation) continue;
            std::istringstream code(line.substr(6, 18));
            std::string group;
            while (code >> group)
                for (size_t i = 0; i + 1 < group.size(); i += 2)
                    out.push_back(uint8_t(std::stoul(group.substr(i, 2), nullptr, 16)));
        }
        return out;
    }
    // Data bytes of all S1/S2/S3 records, in file order.
    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out;
        std::istringstream in(srecords);
        std::string line;
        while (std::getline(in, line)) {
            if (line.size() < 4 || line[0] != 'S' || line[1] < '1' || line[1] > '3') continue;
            const size_t address_digits = size_t(line[1] - '0' + 1) * 2;
            for (size_t i = 4 + address_digits; i + 2 < line.size(); i += 2)
                out.push_back(uint8_t(std::stoul(line.substr(i, 2), nullptr, 16)));
        }
        return out;
    }
};

// The whole file, by the name the assembler's tests have used for it.
inline std::string read_text(const std::filesystem::path& path) {
    return read_file(path);
}

// Makes a directory current for the lifetime of the object.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~CurrentDir() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

class AsmFixture : public ::testing::Test {
protected:
    TempDir dir;
    AsmSession session;

    AsmRun run(const std::string& command_line, const std::string& base = "prog") {
        AsmRun r;
        session.write_line = [&r](std::string_view line) { r.output.emplace_back(line); };
        CurrentDir here(dir.path());
        r.result = asm_assemble(session, command_line);
        r.listing = read_text(dir.path() / (base + ".lst"));
        r.srecord_exists = std::filesystem::exists(dir.path() / (base + ".s19"));
        r.srecords = read_text(dir.path() / (base + ".s19"));
        return r;
    }

    AsmRun assemble(const std::string& source, const std::string& options = "-L -w") {
        dir.write("prog.asm", source);
        return run(options + " \"prog.asm\"");
    }

    // The code of one instruction line assembled at $1000.
    std::vector<uint8_t> code_of(const std::string& line, std::string* messages = nullptr,
                                 const std::string& prologue = "") {
        const AsmRun r = assemble(prologue + " org $1000\n" + line + "\n");
        if (messages) *messages = r.messages();
        return r.listed_bytes();
    }

    // One instruction line, the bytes it must give at $1000 and a message the
    // output must hold ("" for none: the run ends with "No Errors.").
    struct CodeCase {
        int line;
        const char* source;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    // A source and the whole output it gives with the default options.
    struct OutputCase {
        int line;
        const char* source;
        std::vector<std::string> output;
    };
    void check_output(const std::vector<OutputCase>& cases) {
        for (const OutputCase& c : cases) {
            SCOPED_TRACE(c.line);
            EXPECT_EQ(c.output, assemble(std::string(c.source) + "\n").output) << c.source;
        }
    }

    void check_code(const std::vector<CodeCase>& cases, const std::string& prologue = "") {
        for (const CodeCase& c : cases) {
            SCOPED_TRACE(c.line);
            std::string messages;
            EXPECT_EQ(c.bytes, code_of(c.source, &messages, prologue)) << c.source << "\n"
                                                                       << messages;
            EXPECT_THAT(messages, ::testing::HasSubstr(*c.message ? c.message : "No Errors."))
                << c.source;
        }
    }
};

} // namespace torva::test
