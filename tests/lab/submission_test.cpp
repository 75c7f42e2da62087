// Finding the program in a submission, and the labels of its listing.
#include "lab_fixture.h"

#include <fstream>

namespace torva::lab::test {
namespace {

using SubmissionTest = LabTest;
namespace fs = std::filesystem;

TEST_F(SubmissionTest, AFolderGivesItsOneProgramOrSaysWhyNot) {
    struct Case {
        int line;
        const char* program; // the lab's program = ...
        std::vector<const char*> files;
        const char* found; // the file chosen, or null
        const char* why;
    };
    const Case cases[] = {
        {__LINE__, "", {"main.asm", "notes.txt"}, "main.asm", ""},
        {__LINE__, "", {"lab.s12"}, "lab.s12", ""},
        {__LINE__, "", {"old.s19"}, "old.s19", ""},
        // A source wins over load files, which may be its own.
        {__LINE__, "", {"main.asm", "main.s19"}, "main.asm", ""},
        {__LINE__, "lab2.asm", {"LAB2.ASM", "helper.asm"}, "LAB2.ASM", ""},
        {__LINE__,
         "",
         {"b.asm", "a.asm"},
         nullptr,
         "holds 2 sources (a.asm, b.asm): which one is the program?"},
        {__LINE__,
         "lab2.asm",
         {"a.asm", "b.asm"},
         nullptr,
         "holds 2 sources (a.asm, b.asm): which one is the program? (the lab asks for lab2.asm)"},
        {__LINE__,
         "",
         {"x.s19", "y.s19"},
         nullptr,
         "holds 2 load files (x.s19, y.s19) and no source"},
        {__LINE__, "", {"readme.txt"}, nullptr, "holds no source (.asm, .s12) or load file (.s19)"},
    };
    int folder = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Lab lab;
        lab.program = c.program;
        const fs::path dir = dir_.path() / std::to_string(++folder);
        fs::create_directories(dir);
        for (const char* file : c.files)
            std::ofstream(dir / file) << "\n";
        std::string why;
        const auto found = find_program(lab, dir, why);
        if (c.found) {
            ASSERT_TRUE(found) << why;
            EXPECT_EQ(c.found, found->filename().string());
        } else {
            EXPECT_FALSE(found);
            EXPECT_EQ(c.why, why);
        }
    }
    Lab lab;
    std::string why;
    EXPECT_FALSE(find_program(lab, dir_.path() / "missing", why));
    EXPECT_EQ("no such file or folder", why);
    EXPECT_FALSE(find_program(lab, dir_.write("notes.txt", "x"), why));
    EXPECT_EQ("not a source (.asm, .s12) or load file (.s19)", why);
}

TEST_F(SubmissionTest, ASourceIsAssembledWithTheBoardsNamesAndItsLabelsKept) {
    const Lab lab;
    const std::string source =
        dir_.write("ok.asm", " include \"rt12.inc\"\n ORG $1000\nSTART LDAA SCI0SR1\nHERE SWI\n");
    const Program ready = prepare_program(lab, source, dir_.path() / "work", program_dir());
    ASSERT_EQ(Program::State::kReady, ready.state);
    EXPECT_TRUE(fs::exists(ready.load_file));
    EXPECT_EQ(dir_.path() / "work", ready.load_file.parent_path()); // not beside the source
    ASSERT_TRUE(ready.symbols);
    EXPECT_EQ(0x1003u, ready.symbols->at("HERE"));
    EXPECT_EQ(0xCCu, ready.symbols->at("SCI0SR1"));

    const std::string broken = dir_.write("bad.asm", " ORG $1000\n LDAA NOWHERE\n");
    const Program failed = prepare_program(lab, broken, dir_.path() / "work2", program_dir());
    EXPECT_EQ(Program::State::kNotAssembled, failed.state);
    ASSERT_FALSE(failed.messages.empty());
    EXPECT_NE(std::string::npos,
              failed.messages.front().find("(2): error: Undefined symbol 'NOWHERE'"));
}

TEST_F(SubmissionTest, ALoadFileTakesItsLabelsFromTheListingBesideIt) {
    const std::string listing = "    1. START NOP\n\n--\tSYMBOL TABLE:\n--\tVALUE\tSYMBOL "
                                "\n\t1000\tSTART\n\t3F8000\tFAR\n\tZZ\tBAD";
    const auto symbols = listing_symbols(listing);
    ASSERT_TRUE(symbols);
    EXPECT_EQ(2u, symbols->size());
    EXPECT_EQ(0x3F8000u, symbols->at("FAR"));
    EXPECT_FALSE(listing_symbols("    1. START NOP\n")); // assembled without -S

    dir_.write("prog.s19", "S1041000A744\nS9031000EC\n");
    dir_.write("prog.lst", listing);
    const Program loaded =
        prepare_program(Lab{}, dir_.path() / "prog.s19", dir_.path() / "w", program_dir());
    ASSERT_EQ(Program::State::kReady, loaded.state);
    ASSERT_TRUE(loaded.symbols);
    EXPECT_EQ(0x1000u, loaded.symbols->at("START"));
}

} // namespace
} // namespace torva::lab::test
