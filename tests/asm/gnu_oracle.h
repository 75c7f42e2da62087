// Assembles the same rows with our assembler and with GNU m68hc11-as and
// compares the bytes, naming the first line where they differ.
#pragma once

#include "asm_fixture.h"
#include "support/oracle.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace torva::test {

// The tools the comparisons run; TORVA_REQUIRE_ORACLE(TORVA_GNU_AS_TOOLS) opens each test.
#define TORVA_GNU_AS_TOOLS "m68hc11-as", "m68hc11-objcopy"

// Our syntax to GNU's: $hex becomes 0xhex, a forced direct '<' becomes '*',
// RMB becomes .skip.
inline std::string to_gnu(const std::string& line) {
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '$') {
            out += "0x";
        } else if (line[i] == '<') {
            out += '*';
        } else {
            out += line[i];
        }
    }
    const size_t rmb = out.find("rmb ");
    if (rmb != std::string::npos) out = out.substr(0, rmb) + ".skip " + out.substr(rmb + 4);
    return out;
}

struct Rows {
    std::vector<std::string> lines;
    int label = 0;
    void add(const std::string& s) { lines.push_back(s); }
    std::string next_label() {
        char name[16];
        std::snprintf(name, sizeof name, "L%d", ++label);
        return name;
    }
};

// Where the assembler's own rules decide against GNU as: the bytes, and why.
struct OwnRule {
    int line;
    const char* source;
    std::vector<uint8_t> bytes;
    const char* why;
};

class OracleTest : public AsmFixture {
protected:
    void check_own_rules(const std::vector<OwnRule>& rules) {
        for (const OwnRule& c : rules) {
            SCOPED_TRACE(c.line);
            std::string messages;
            EXPECT_EQ(c.bytes, code_of(c.source, &messages)) << c.why << "\n" << messages;
        }
    }

    // Assembles the rows with both assemblers and compares the bytes.
    void compare(const Rows& rows, const std::string& prologue, const std::string& gnu_cpu) {
        std::string ours = prologue, gnu;
        for (const std::string& line : rows.lines) {
            ours += line + "\n";
            gnu += to_gnu(line) + "\n";
        }
        const AsmRun r = assemble(ours, "-L");
        if (r.result != 1) {
            std::istringstream in(ours);
            std::string text;
            for (int n = 1; std::getline(in, text); ++n)
                if (r.messages().find(" (" + std::to_string(n) + "):") != std::string::npos)
                    ADD_FAILURE() << n << ": " << text;
        }
        ASSERT_EQ(1, r.result) << r.messages();
        const std::vector<uint8_t> mine = r.bytes();

        dir.write("gnu.s", gnu);
        const std::string base = dir.path().string() + "/gnu";
        const std::string command = "m68hc11-as " + gnu_cpu + " -o " + base + ".o " + base +
                                    ".s > " + base + ".err 2>&1 && m68hc11-objcopy -O binary " +
                                    base + ".o " + base + ".bin";
        ASSERT_EQ(0, std::system(command.c_str())) << read_text(base + ".err");
        const std::string theirs_text = read_text(base + ".bin");
        const std::vector<uint8_t> theirs(theirs_text.begin(), theirs_text.end());
        if (mine == theirs) {
            EXPECT_GT(mine.size(), 100u); // the sweep really ran
            return;
        }
        // Name the first line whose bytes differ, from the listing's addresses.
        size_t at = 0;
        while (at < mine.size() && at < theirs.size() && mine[at] == theirs[at])
            ++at;
        std::istringstream listing(r.listing);
        std::string line, culprit;
        while (std::getline(listing, line)) {
            if (line.size() < 40 || !std::isxdigit(static_cast<unsigned char>(line[0]))) continue;
            if (std::stoul(line.substr(0, 6), nullptr, 16) <= at) culprit = line;
        }
        auto hex = [](const std::vector<uint8_t>& v, size_t from) {
            std::string out;
            char b[4];
            for (size_t i = from; i < v.size() && i < from + 8; ++i) {
                std::snprintf(b, sizeof b, "%02X ", v[i]);
                out += b;
            }
            return out;
        };
        ADD_FAILURE() << "first difference at " << at << " in: " << culprit
                      << "\n ours: " << hex(mine, at) << "\n gnu:  " << hex(theirs, at)
                      << "\n sizes " << mine.size() << " / " << theirs.size();
    }
};

} // namespace torva::test
