// Debug > Check Lab... end to end: the source saved and assembled, the lab
// file asked for, each check listed in the Output window, faults of the lab
// file named with their line, and a picture of the IDE after a check.
#include "editor_fixture.h"
#include "support/screenshot.h"

#include <algorithm>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

class CheckLabTest : public EditorFixture {
protected:
    // The example lab and a solution of it, copied into the test's folder.
    std::string example(const std::string& name) {
        const fs::path copy = temp.path() / name;
        fs::copy_file(source_root() / "examples/labs" / name, copy,
                      fs::copy_options::overwrite_existing);
        return copy.generic_string();
    }
};

TEST_F(CheckLabTest, lists_each_check_with_its_difference) {
    const std::string lab = example("switches.toml");
    DocumentWindow* document = open(example("switches_faulty.asm"));
    document->sci().send(sci::SCI_DOCUMENTEND);
    type_text(document, "; checked\n");
    dialogs.answers = {lab};

    frame->dispatch(cmd::kCheckLab);

    EXPECT_FALSE(document->modified()); // saved first
    ASSERT_EQ(1u, dialogs.requests.size());
    EXPECT_EQ("Check Lab", dialogs.requests[0].title);
    EXPECT_EQ("*.toml", dialogs.requests[0].filters.at(0).second);
    EXPECT_EQ(dir(), dialogs.requests[0].initial_dir); // beside the source
    const std::vector<std::string> expected = {
        "No Errors.",
        "Checking switches_faulty.asm with the lab \"Switches to LEDs\" (switches.toml)",
        "PASS  LEDs dark while every switch is off (1/1)",
        "FAIL  LEDs follow the switches (0/3): expected $0F (as switches), seen $00 at 10.1 ms",
        "FAIL  LED 7 lights with switch 7 (0/1): expected bit 7 = 1, seen bit 7 = 0 at 31 ms",
        "Points: 1/5 - ran to the time limit, 100 ms",
    };
    EXPECT_EQ(expected, output_lines());
    EXPECT_EQ("Ready", frame->status_text().toStdString());
    EXPECT_FALSE(fs::exists(dir() + "/switches_faulty.s19")); // assembled elsewhere
    EXPECT_TRUE(messages.shown.empty());

    // The next check starts from the lab file used last; cancelling it
    // leaves the Output window as it was.
    frame->dispatch(cmd::kCheckLab);
    EXPECT_EQ(lab, dialogs.requests.back().seed);
    EXPECT_EQ(expected, output_lines());
}

TEST_F(CheckLabTest, faults_of_the_lab_and_of_the_source_are_listed) {
    const std::string lab = write("lab.toml", "[[check]]\nname = \"x\"\nno_undefinde = true\n");
    open(write("prog.asm", "        ORG   $1000\n        BOGUS\n"));
    dialogs.answers = {lab};
    frame->dispatch(cmd::kCheckLab);
    EXPECT_EQ(std::vector<std::string>{lab + ":3:1: unknown key 'no_undefinde' in a [[check]] "
                                             "(did you mean 'no_undefined'?)"},
              output_lines());

    write("lab.toml", "[[check]]\nname = \"x\"\nno_undefined = true\n");
    dialogs.answers = {lab};
    frame->dispatch(cmd::kCheckLab);
    const auto lines = output_lines();
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "The program does not assemble:"));
    const std::string error =
        std::string(1, '"').append(dir()).append("/prog.asm\" (2): error: Illegal mnemonic");
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), error));
    EXPECT_EQ("Points: 0/1", lines.back());
}

TEST_F(CheckLabTest, picture_of_a_check) {
    const std::string lab = example("echo_serial.toml");
    frame->dispatch(cmd::kCreateOutput);
    DocumentWindow* document = open(example("echo_serial_faulty.asm"));
    document->parentWidget()->setGeometry(0, 250, 900, 540);
    dialogs.answers = {lab};
    frame->dispatch(cmd::kCheckLab);
    const auto lines = output_lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("Points: 2/4 - ran to the time limit, 100 ms", lines.back());
    settle_events();
    document->sci().send(sci::SCI_COLOURISE, 0, -1);

    ASSERT_TRUE(save_screenshot(*frame, "lab_check.png"));
    EXPECT_GT(fs::file_size(screenshot_dir() / "lab_check.png"), 10000u);
}

} // namespace
} // namespace torva::test
