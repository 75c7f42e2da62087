// The reports of a lab run: the table a teacher reads and the files graders
// and CI systems read, with names that need escaping.
#include "lab/report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace torva::lab {
namespace {

class ReportTest : public ::testing::Test {
protected:
    ReportTest() {
        lab_.title = "Lab <1> & \"more\"";
        lab_.checks.resize(2);
        lab_.checks[0].name = "LEDs <follow>";
        lab_.checks[0].points = 3;
        lab_.checks[1].name = "Greets";
        lab_.checks[1].points = 1;
    }
    SubmissionResult result(std::string name, bool first, bool second) {
        SubmissionResult r;
        r.program.submission = std::move(name);
        r.program.state = Program::State::kReady;
        r.max_points = 4;
        r.checks = {{&lab_.checks[0], first, "$0F (as switches)", "$00", 80'800},
                    {&lab_.checks[1], second, "\"Hi\\r\\n\"", "\"Hi\\r\"", kEnd}};
        r.points = (first ? 3 : 0) + (second ? 1 : 0);
        return r;
    }
    std::vector<SubmissionResult> results() {
        std::vector<SubmissionResult> all;
        all.push_back(result("alice/lab.asm", true, true));
        all.push_back(result("bob", false, false));
        SubmissionResult carol;
        carol.program.submission = "carol";
        carol.program.state = Program::State::kNotAssembled;
        carol.program.messages = {"\"/x/lab.asm\" (3): warning: hm",
                                  "\"/x/lab.asm\" (7): error: Undefined symbol 'X'",
                                  "-- 1 error(s)."};
        carol.max_points = 4;
        for (const Check& check : lab_.checks)
            carol.checks.push_back(
                {&check, false, "", "not run: the program does not assemble", {}});
        all.push_back(carol);
        SubmissionResult dave;
        dave.program.submission = "dave";
        dave.program.error = "holds no source (.asm, .s12) or load file (.s19)";
        all.push_back(dave);
        return all;
    }
    Lab lab_;
};

TEST_F(ReportTest, TheTableListsPointsAndEveryFailedCheck) {
    EXPECT_EQ(
        "SUBMISSION     POINTS  FAILED CHECKS\n"
        "alice/lab.asm     4/4\n"
        "bob               0/4  LEDs <follow>: expected $0F (as switches), seen $00 at 10.1 ms\n"
        "                       Greets: expected \"Hi\\r\\n\", seen \"Hi\\r\" at the end\n"
        "carol             0/4  does not assemble: \"/x/lab.asm\" (7): error: Undefined symbol "
        "'X'\n"
        "dave                -  unreadable: holds no source (.asm, .s12) or load file (.s19)\n"
        "4 submissions: 1 passed, 2 failed, 1 unreadable\n",
        result_table(lab_, results()));
}

TEST_F(ReportTest, JunitCountsChecksAndEscapesWhatXmlCannotHold) {
    std::ostringstream out;
    write_junit(out, lab_, results());
    const std::string xml = out.str();
    EXPECT_NE(std::string::npos,
              xml.find("<testsuites name=\"Lab &lt;1&gt; &amp; &quot;more&quot;\" tests=\"7\" "
                       "failures=\"4\" errors=\"1\">"));
    EXPECT_NE(std::string::npos,
              xml.find("<testcase classname=\"bob\" name=\"LEDs &lt;follow&gt;\">\n"
                       "      <failure type=\"check\" message=\"expected $0F (as switches), seen "
                       "$00 at 10.1 ms\"/>"));
    EXPECT_NE(std::string::npos,
              xml.find("<testcase classname=\"alice/lab.asm\" name=\"Greets\"/>"));
    EXPECT_NE(std::string::npos, xml.find("<error type=\"unreadable\" message=\"holds no source"));
    EXPECT_NE(std::string::npos, xml.find("<system-out>&quot;/x/lab.asm&quot; (3): warning: hm\n"));
    // Every element opened is closed.
    EXPECT_EQ(5u, [&] {
        size_t n = 0;
        for (size_t at = xml.find("<testsuite"); at != std::string::npos;
             at = xml.find("<testsuite", at + 1))
            ++n;
        return n;
    }());
    EXPECT_NE(std::string::npos, xml.rfind("</testsuites>\n"));
}

TEST_F(ReportTest, JsonGivesEachCheckWithItsTime) {
    std::ostringstream out;
    write_json(out, lab_, results());
    const std::string json = out.str();
    EXPECT_NE(std::string::npos, json.find("\"lab\": \"Lab <1> & \\\"more\\\"\""));
    EXPECT_NE(std::string::npos, json.find("\"submissions\": 4,\n  \"passed\": 1,"));
    EXPECT_NE(
        std::string::npos,
        json.find("{\"name\": \"LEDs <follow>\", \"points\": 0, \"max_points\": 3, \"passed\": "
                  "false, \"expected\": \"$0F (as switches)\", \"seen\": \"$00\", \"cycles\": "
                  "80800, \"time\": \"10.1 ms\"}"));
    EXPECT_NE(std::string::npos, json.find("\"seen\": \"\\\"Hi\\\\r\\\"\"}"));
    EXPECT_NE(std::string::npos, json.find("\"state\": \"not assembled\""));
}

} // namespace
} // namespace torva::lab
