// The corpus of programs written in the styles of other HCS12 assemblers
// (tests/asm/compat_corpus): each assembles unchanged with other
// assemblers' syntax accepted and fails, with the hint, without it; those
// with a NAME.out run under the monitor (typed: NAME.run, then NAME.in)
// and print exactly that.
#include "asm/asm_fixture.h"
#include "monitor_session.h"

#include <algorithm>

namespace torva {
namespace {

namespace fs = std::filesystem;
using test::MonitorSessionTest;
using test::read_file;

fs::path corpus_dir() {
    return test::source_root() / "tests/asm/compat_corpus";
}

std::string without_cr(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// The messages of one run of the assembler on a corpus program.
struct Assembled {
    int result;
    std::string messages;
};

Assembled assemble_in_process(const fs::path& dir, const std::string& file, bool compat) {
    AsmSession session;
    session.compat_switch = "--compat";
    Assembled a{0, {}};
    session.write_line = [&](std::string_view line) { (a.messages += line) += '\n'; };
    test::CurrentDir here(dir);
    a.result = asm_assemble(session, std::string("-L -w ") + (compat ? "-c " : "") + "-I \"" +
                                         test::board_include().string() + "\" \"" + file + "\"");
    return a;
}

TEST_F(MonitorSessionTest, CorpusOfOtherAssemblersStyles) {
    int programs = 0, unchanged = 0, ran = 0;
    for (const auto& entry : fs::directory_iterator(corpus_dir())) {
        if (entry.path().extension() != ".asm") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ++programs;
        const std::string source = read_file(entry.path());
        dir.write(name + ".asm", source);

        const Assembled plain = assemble_in_process(dir.path(), name + ".asm", false);
        EXPECT_EQ(0, plain.result) << "assembles without the dialect";
        EXPECT_NE(std::string::npos, plain.messages.find("\nHint: ")) << plain.messages;
        const Assembled other = assemble_in_process(dir.path(), name + ".asm", true);
        EXPECT_EQ(1, other.result) << other.messages;
        unchanged += other.result;

        fs::path expected = entry.path();
        if (!fs::exists(expected.replace_extension(".out"))) continue;
        const std::string records = assemble(name, source, "--compat");
        const std::string typed =
            without_cr(read_file(fs::path(expected).replace_extension(".run")));
        const std::string input = read_file(fs::path(expected).replace_extension(".in"));
        ASSERT_EQ(0, session("l\n" + records + typed.substr(0, typed.find('\n')) + "\r" + input));
        const std::string shown = without_cr(out);
        const std::string printed = read_file(expected);
        EXPECT_NE(std::string::npos, shown.find("\n" + printed)) << shown;
        ++ran;
    }
    EXPECT_EQ(10, programs);
    EXPECT_EQ(programs, unchanged);
    EXPECT_EQ(7, ran);
}

} // namespace
} // namespace torva
