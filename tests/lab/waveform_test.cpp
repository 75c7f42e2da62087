// Waveforms of a lab run, written as a Value Change Dump and read back by
// GTKWave's own converters (vcd2fst, fst2vcd).
#include "lab/waveform.h"
#include "lab_fixture.h"
#include "support/gtkwave.h"

#include <fstream>
#include <sstream>

namespace torva::lab::test {
namespace {

using WaveformTest = LabTest;
using torva::test::through_gtkwave;

// The identifier GTKWave's dump gives a signal of that name.
std::string identifier_of(const std::string& dump, const std::string& name) {
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string var, type, width, id, signal;
        if (words >> var >> type >> width >> id >> signal && var == "$var" && signal == name)
            return id;
    }
    return {};
}

TEST_F(WaveformTest, TheRunsOutputsReadBackInAViewer) {
    const Lab copy = lab(R"(
devices = ["leds", "switches"]
time_limit = "3ms"
[[stimulus]]
at = "2ms"
set = "switches"
value = 0x0F
[[check]]
name = "copied"
output = "leds"
follows = "switches"
)");
    const SubmissionResult result = run(copy, R"(
        include "rt12.inc"
        ORG   $1000
        MOVB  #'R',SCI0DRL
START   LDAA  $600
        STAA  $400
        BRA   START
)",
                                        true);
    ASSERT_TRUE(result.waveform);
    const auto vcd = dir_.path() / "run.vcd";
    {
        std::ofstream out(vcd);
        result.waveform->write_vcd(out, "a test");
    }
    const std::string dump = through_gtkwave(vcd);
    const std::string switches = identifier_of(dump, "switches");
    const std::string leds = identifier_of(dump, "leds");
    const std::string sent = identifier_of(dump, "sci0_tx");
    ASSERT_FALSE(switches.empty()) << dump;
    ASSERT_FALSE(leds.empty());
    ASSERT_FALSE(sent.empty());
    // The switches change at the stimulus, the LEDs a loop later, the serial
    // line sends an R.
    EXPECT_NE(std::string::npos, dump.find("#2000000\nb00001111 " + switches + "\n")) << dump;
    const size_t copied = dump.find("b00001111 " + leds + "\n");
    ASSERT_NE(std::string::npos, copied);
    const size_t stamp = dump.rfind('#', copied);
    const long at = std::stol(dump.substr(stamp + 1));
    EXPECT_GT(at, 2'000'000);
    EXPECT_LT(at, 2'003'000);
    EXPECT_NE(std::string::npos, dump.find("b01010010 " + sent + "\n"));
}

TEST_F(WaveformTest, SignalsAreUnknownUntilTheirFirstValueAndRecordingStopsAtItsLimit) {
    Waveform wave(3);
    const uint32_t a = wave.add_signal("a", 8);
    const uint32_t b = wave.add_signal("b", 1);
    EXPECT_EQ(a, wave.add_signal("a", 8));
    wave.change(a, 0, 5);
    wave.change(a, 10, 5); // no change
    wave.change(b, 20, 1);
    wave.change(a, 30, 6);
    wave.change(a, 40, 7); // beyond the limit
    EXPECT_TRUE(wave.truncated());
    std::ostringstream out;
    wave.write_vcd(out, "limit $end test");
    const std::string vcd = out.str();
    EXPECT_NE(std::string::npos,
              vcd.find("$comment limit _end test (the recording stopped after 3 changes) $end"));
    EXPECT_NE(std::string::npos,
              vcd.find("$dumpvars\nb00000101 !\nx\"\n$end\n#2500\n1\"\n#3750\nb00000110 !\n"));
    EXPECT_EQ(std::string::npos, vcd.find("b00000111"));
}

} // namespace
} // namespace torva::lab::test
