// Every example program the user manual shows (a fenced block with an ORG)
// and every program in examples/ assembles without errors or warnings.
#include "asm/asm_fixture.h"
#include "support/tool_process.h"

#include <regex>

namespace torva {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::source_root;

// The option that finds the board's include files, as the IDE passes it.
std::string board_include_option() {
    return "-I \"" + (source_root() / "include/machine/rt12").string() + "\" ";
}

// Assembles the file in its directory; returns the output lines.
std::string assemble(const fs::path& file, const std::string& options = "") {
    std::string out;
    AsmSession session;
    session.write_line = [&](std::string_view line) { (out += line) += '\n'; };
    test::CurrentDir here(file.parent_path());
    asm_assemble(session, "-L -w " + options + "\"" + file.filename().string() + "\"");
    return out;
}

// The fenced code blocks of a Markdown text, without their fence lines.
std::vector<std::string> code_blocks(const std::string& text) {
    std::vector<std::string> blocks;
    for (size_t fence = text.find("```"); fence != std::string::npos;) {
        const size_t start = text.find('\n', fence);
        const size_t end = start == std::string::npos ? start : text.find("```", start + 1);
        if (end == std::string::npos) break;
        blocks.push_back(text.substr(start + 1, end - start - 1));
        fence = text.find("```", end + 3);
    }
    return blocks;
}

// Whether the text has the word ORG in any letter case: a program, not a
// fragment.
bool has_org(const std::string& text) {
    static const std::regex org(R"(\bORG\b)", std::regex::icase);
    return std::regex_search(text, org);
}

TEST(DocsExamplesTest, ManualProgramsAssembleCleanly) {
    int programs = 0;
    for (const auto& entry : fs::directory_iterator(source_root() / "docs")) {
        if (entry.path().extension() != ".md") continue;
        for (const std::string& block : code_blocks(read_file(entry.path()))) {
            if (!has_org(block)) continue;
            test::TempDir dir;
            const fs::path file = dir.write("example.asm", block);
            SCOPED_TRACE(entry.path().filename().string() + ":\n" + block);
            // As the IDE assembles them: the board's include files are found.
            EXPECT_EQ("No Errors.\n", assemble(file, board_include_option()));
            ++programs;
        }
    }
    EXPECT_GT(programs, 0);
}

TEST(DocsExamplesTest, ExampleFilesAssembleCleanly) {
    int programs = 0;
    for (const auto& entry : fs::directory_iterator(source_root() / "examples")) {
        if (entry.path().extension() != ".asm") continue;
        test::TempDir dir;
        fs::copy(entry.path(), dir.path() / entry.path().filename());
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ("No Errors.\n", assemble(dir.path() / entry.path().filename()));
        EXPECT_TRUE(fs::exists(dir.path() / entry.path().filename().replace_extension(".s19")));
        ++programs;
    }
    EXPECT_GT(programs, 0);
}

// The board's include file, found through -I as the IDE passes it, names
// the registers and devices the manual describes.
TEST(DocsExamplesTest, BoardIncludeFileAssemblesWithAProgram) {
    test::TempDir dir;
    const fs::path file = dir.write("uses_names.asm", " include \"rt12.inc\"\n"
                                                      " org $1000\n"
                                                      "start ldaa SCI0SR1\n"
                                                      " anda #TDRE\n"
                                                      " staa OUTPORT\n"
                                                      " movb #RTIF,CRGFLG\n"
                                                      " swi\n");
    EXPECT_EQ("No Errors.\n", assemble(file, board_include_option()));
    EXPECT_EQ("S1111000B600CC84807A0400180B8000373FC1\nS9031000EC\n",
              read_file(dir.path() / "uses_names.s19"));
}

} // namespace
} // namespace torva
