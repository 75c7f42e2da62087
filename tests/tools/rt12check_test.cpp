// rt12check as a process: the example labs scored to the point, a class's
// worth of submissions, the exit statuses graders rely on, and the files it
// writes (JUnit, JSON, waveforms that GTKWave reads).
#include "support/gtkwave.h"
#include "tool_fixture.h"

#include <filesystem>
#include <regex>
#include <string>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

struct Rt12checkTest : ToolTest {
    Rt12checkTest() : ToolTest({"rt12check"}) {}
    int run(const std::string& args, const char* tool = "rt12check") {
        return ToolTest::run(tool, args);
    }
    void copy_example(const std::string& name, const std::string& as) {
        fs::copy_file(source_root() / "examples/labs" / name, dir.path() / as,
                      fs::copy_options::overwrite_existing);
    }
};

// Every examples/labs/NAME.toml has NAME_correct and NAME_faulty beside it:
// the correct one passes, the faulty one fails.
TEST_F(Rt12checkTest, ExampleLabsScoreTheirSolutionsToThePoint) {
    int labs = 0;
    for (const auto& entry : fs::directory_iterator(source_root() / "examples/labs")) {
        if (entry.path().extension() != ".toml") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const fs::path folder = entry.path().parent_path();
        const auto solution = [&](const std::string& kind) {
            const fs::path as_folder = folder / (name + "_" + kind);
            return fs::exists(as_folder) ? as_folder : folder / (name + "_" + kind + ".asm");
        };
        const std::string lab = shell_quoted(entry.path().string());
        EXPECT_EQ(0, run(lab + " " + shell_quoted(solution("correct").string()))) << out << err;
        EXPECT_EQ(1, run(lab + " " + shell_quoted(solution("faulty").string()))) << out << err;
        EXPECT_NE(std::string::npos, out.find("1 submission: 0 passed, 1 failed")) << out;
        ++labs;
    }
    EXPECT_EQ(3, labs);
}

// A class: 100 submissions, every other one faulty, each in its own folder.
TEST_F(Rt12checkTest, AHundredSubmissionsAreAllScored) {
    copy_example("switches.toml", "switches.toml");
    std::string submissions;
    for (int i = 0; i < 100; ++i) {
        const std::string student = "student" + std::to_string(i);
        fs::create_directories(dir.path() / student);
        copy_example(i % 2 ? "switches_faulty.asm" : "switches_correct.asm",
                     student + "/switches.asm");
        submissions += " " + student;
    }
    EXPECT_EQ(1, run("-j 2 --json results.json --junit results.xml switches.toml" + submissions))
        << err;
    EXPECT_NE(std::string::npos, out.find("100 submissions: 50 passed, 50 failed\n"));
    const std::string json = read("results.json");
    const std::regex entry("\"submission\": \"student([0-9]+)\",[^}]*?\"passed\": (true|false),\n"
                           "      \"points\": ([0-9]+)");
    int scored = 0;
    for (auto it = std::sregex_iterator(json.begin(), json.end(), entry);
         it != std::sregex_iterator(); ++it) {
        const int student = std::stoi((*it)[1]);
        SCOPED_TRACE(student);
        EXPECT_EQ(student % 2 ? "false" : "true", (*it)[2].str());
        EXPECT_EQ(student % 2 ? "1" : "5", (*it)[3].str());
        EXPECT_EQ(scored, student); // in the order given
        ++scored;
    }
    EXPECT_EQ(100, scored);
    const std::string xml = read("results.xml");
    EXPECT_NE(std::string::npos, xml.find("tests=\"300\" failures=\"100\" errors=\"0\""));
}

TEST_F(Rt12checkTest, ExitStatusSaysWhetherAllPassedSomeFailedOrSomethingWasUnreadable) {
    copy_example("switches.toml", "switches.toml");
    copy_example("switches_correct.asm", "good.asm");
    dir.write("typo.asm",
              "        ORG   $1000\nSTART   LDAA  $600\n        STAA  $400\n        BRA   STRAT\n");
    fs::create_directories(dir.path() / "two");
    copy_example("switches_correct.asm", "two/a.asm");
    copy_example("switches_faulty.asm", "two/b.asm");

    // Each submission is reported, whatever the others do. (The table's
    // lines are ReportTest's, the reasons SubmissionTest's.)
    EXPECT_EQ(2, run("--quiet switches.toml typo.asm two good.asm missing.asm"));
    EXPECT_NE(std::string::npos, out.find("\n4 submissions: 1 passed, 1 failed, 2 unreadable\n"))
        << out;
    EXPECT_NE(std::string::npos, out.find("Undefined symbol 'STRAT'")) << out;
    EXPECT_EQ("", err);

    EXPECT_EQ(1, run("switches.toml typo.asm good.asm"));
    EXPECT_EQ(0, run("switches.toml good.asm"));

    // A slip in the lab file: its line and column, and nothing is run.
    std::string lab = read("switches.toml");
    lab.replace(lab.find("points = 3"), 10, "pionts = 3");
    dir.write("typo.toml", lab);
    EXPECT_EQ(2, run("typo.toml good.asm"));
    EXPECT_EQ("", out);
    EXPECT_EQ(
        "rt12check: typo.toml:35:1: unknown key 'pionts' in a [[check]] (did you mean 'points'?)\n",
        err);
    EXPECT_EQ(2, run("nowhere.toml good.asm"));
    EXPECT_EQ("rt12check: nowhere.toml: can't read the lab file\n", err);

    // A report file named like an input (its own name forgotten) is refused
    // before anything runs: the lab file and the program stay whole.
    const std::string lab_before = read("switches.toml");
    const std::string good_before = read("good.asm");
    EXPECT_EQ(2, run("--junit switches.toml switches.toml good.asm"));
    EXPECT_EQ("rt12check: --junit: 'switches.toml' is an input of the run; it is left as it is\n",
              err);
    EXPECT_EQ(2, run("--json ./good.asm switches.toml good.asm"));
    EXPECT_EQ("", out);
    EXPECT_EQ(lab_before, read("switches.toml"));
    EXPECT_EQ(good_before, read("good.asm"));
}

TEST_F(Rt12checkTest, WaveformsOfFailingRunsAndOfRt12runReadBackInGtkwave) {
    copy_example("switches.toml", "switches.toml");
    copy_example("switches_correct.asm", "good.asm");
    copy_example("switches_faulty.asm", "bad.asm");
    EXPECT_EQ(1, run("--vcd-dir waves switches.toml good.asm bad.asm"));
    EXPECT_FALSE(fs::exists(dir.path() / "waves/good_asm.vcd")); // passing runs write none
    const std::string lab_run = through_gtkwave(dir.path() / "waves/bad_asm.vcd");
    // The switches move at the first stimulus, 10 ms in.
    EXPECT_TRUE(
        std::regex_search(lab_run, std::regex("\\$var wire 8 (\\S+) switches \\[7:0\\] \\$end[^]*"
                                              "#10000000\nb00001111 \\1\n")))
        << lab_run;

    // rt12run: the LEDs of a program, on a board with an outport (its
    // first instruction writes them, at time 0).
    dir.write("board.hc12sim", ":iotarget:1:0:1024:0::\n:emul:0\n");
    dir.write("leds.s19", "S1091000180B5A04000065\nS9031000EC\n"); // MOVB #$5A,$0400; BGND
    EXPECT_EQ(0, run("--target board.hc12sim --stop-on bgnd --vcd leds.vcd leds.s19", "rt12run"))
        << err;
    const std::string rt12run_run = through_gtkwave(dir.path() / "leds.vcd");
    EXPECT_TRUE(
        std::regex_search(rt12run_run, std::regex("\\$var wire 8 (\\S+) leds \\[7:0\\] \\$end[^]*"
                                                  "b01011010 \\1\n")))
        << rt12run_run;
}

} // namespace
} // namespace torva::test
