// Reading lab files: what a teacher writes becomes the lab's terms, and
// every slip is one message naming the line and column.
#include "lab_fixture.h"

namespace torva::lab::test {
namespace {

using LabReaderTest = LabTest;

TEST_F(LabReaderTest, SlipsAreNamedWithTheirLineAndColumn) {
    // A check of the LEDs, and a check of anything, that a case goes on from.
    const std::string leds = "devices = [\"leds\"]\n[[check]]\nname = \"a\"\noutput = \"leds\"\n";
    const std::string any = "[[check]]\nname = \"a\"\nno_undefined = true\n";
    struct Case {
        int line;
        std::string lab;
        const char* message;
    };
    // Each lab is a whole file; the board gets LEDs and switches unless the
    // case is about the board.
    const Case cases[] = {
        {__LINE__, leds + "equals = 1\npionts = 2\n",
         "lab.toml:6:1: unknown key 'pionts' in a [[check]] (did you mean 'points'?)"},
        {__LINE__, "time_limt = \"1s\"\n",
         "lab.toml:1:1: unknown key 'time_limt' in the lab (did you mean 'time_limit'?)"},
        {__LINE__, "cycles = \"fast\"\n",
         "lab.toml:1:10: cycles is \"classic\" (the simulator's own count) or \"cpu12\" (the "
         "board's)"},
        {__LINE__, "x = = 3\n",
         "lab.toml:1:5: Error while parsing value: could not determine value type"},
        // Characters beyond ASCII where toml++ looks for whitespace: a key, the
        // end of a value, the whole file. Strings and comments hold them.
        {__LINE__, "x = 1\n\xC3\xA9 = 2\n",
         "lab.toml:2:1: Error while parsing root table: expected keys, tables, whitespace or "
         "comments, saw '\xC3\xA9'"},
        {__LINE__, "x = 4\xC3\xA9\n",
         "lab.toml:1:6: Error while parsing decimal integer: expected digit, saw '\xC3\xA9'"},
        {__LINE__, "\xEF\xBB\xBB",
         "lab.toml:1:1: Error while parsing root table: expected keys, tables, whitespace or "
         "comments, saw '\xEF\xBB\xBB'"},
        {__LINE__,
         "\xEF\xBB\xBF# \xC3\x9C\nt = \"f\xC3\xBCr \\\" \"\nu = \"\"\"\\\n\xC3\xA9\"\"\"\nv = "
         "\xC3\xA9\n",
         "lab.toml:5:5: Error while parsing value: could not determine value type"},
        {__LINE__, "[check]\nname = \"a\"\n",
         "lab.toml:1:1: check is written as [[check]] tables, one per check"},
        {__LINE__, "title = \"nothing to check\"\n", "lab.toml: the lab has no [[check]]"},
        {__LINE__, "devices = [\"leds\"]\n[[check]]\nname = \"a\"\noutput = \"led\"\nequals = 1\n",
         "lab.toml:4:10: output: no place 'led' on the board (did you mean 'leds'?); a bus address "
         "goes from $400 to $FFF"},
        {__LINE__, leds + "equals = 300\n", "lab.toml:5:10: equals must lie between 0 and 255"},
        {__LINE__, "[[check]]\nname = \"a\"\noutput = \"leds\"\nequals = 1\n",
         "lab.toml:2:8: nothing is connected at 'leds': add it to devices = [...] or to the target "
         "descriptor"},
        {__LINE__, leds + "equals = 1\nat = \"2s\"\n",
         "lab.toml:6:6: at lies after the time limit (1 s)"},
        {__LINE__, leds + "equals = 1\nat = \"20\"\n",
         "lab.toml:6:6: at takes a time with its unit (\"20ms\", \"1.5s\", \"250us\", \"100 "
         "cycles\") or a number of cycles"},
        {__LINE__, leds + "equals = 1\nat = \"1ms\"\nalways = \"..\"\n",
         "lab.toml:6:6: a check looks at one time or over one window: at, always and eventually do "
         "not go together"},
        {__LINE__, leds + "equals = 1\nsettle = \"1ms\"\n",
         "lab.toml:6:10: settle goes only with always"},
        {__LINE__, leds + "contains = \"x\"\n",
         "lab.toml:2:1: a check of a byte needs equals = NUMBER or follows = \"PLACE\""},
        {__LINE__,
         "[[check]]\nname = \"a\"\nserial = \"sci0\"\ncontains = \"x\"\nalways = \"..\"\n",
         "lab.toml:5:10: text that grows is checked at a time or eventually, not always"},
        {__LINE__, "[[check]]\nname = \"a\"\nserial = \"sci0\"\nmatches = \"(\"\n",
         "lab.toml:4:11: matches: not a regular expression (missing ): ()"},
        {__LINE__, "[[check]]\nname = \"a\"\nmemory = \"RESULT\"\nbytes = [1]\nstopped = \"swi\"\n",
         "lab.toml:5:11: a [[check]] checks one thing: memory and stopped go into two of them"},
        {__LINE__, "[[check]]\nname = \"a\"\nmemory = \"RE SULT\"\nbytes = [1]\n",
         "lab.toml:3:10: memory: 'RE SULT' is not a label (with +N or -N)"},
        {__LINE__, "[[check]]\nname = \"a\"\nregisters = { Q = 1 }\n",
         "lab.toml:3:15: registers: no register 'Q' (A, B, D, X, Y, SP, PC, CCR)"},
        {__LINE__, "[[check]]\nname = \"a\"\nstopped = \"swi\"\nat = \"1ms\"\n",
         "lab.toml:4:6: 'at' goes only with output, serial or memory"},
        {__LINE__, "[[stimulus]]\nat = 0\nset = \"switches\"\nsend = \"x\"\n" + any,
         "lab.toml:4:8: a [[stimulus]] does one thing: set and send go into two of them"},
        {__LINE__, "[[stimulus]]\nat = 0\nsend = \"x\"\nvalue = 3\n" + any,
         "lab.toml:4:1: 'value' does not go with send (only sci, pace)"},
        {__LINE__, "[[stimulus]]\nset = \"switches\"\n" + any,
         "lab.toml:1:1: a [[stimulus]] needs at = TIME"},
        {__LINE__, "[[stimulus]]\nat = 0\nset = \"leds\"\nvalue = 1\n" + any,
         "lab.toml:3:7: set: 'leds' has no switches to set"},
        {__LINE__, "[[stimulus]]\nat = 0\naction = \"open_door\"\n" + any,
         "lab.toml:3:10: action: no action 'open_door' (door_button_down, door_button_up, "
         "doorway_blocked, doorway_clear, paper_out, paper_in, flipflop_press, workpiece_in, "
         "workpiece_out, drill_repair)"},
        {__LINE__, "[[stimulus]]\nat = 0\npress = \"G\"\n" + any,
         "lab.toml:3:9: press takes a key of the keypad: 0 to 15, or \"0\" to \"F\""},
        {__LINE__, "board = \"bare\"\ntarget = \"x.hc12sim\"\n",
         "lab.toml:1:9: board and target do not go together: the target descriptor says which "
         "board it is"},
        {__LINE__, "devices = [\"leds\", \"drill\"]\n" + any,
         "lab.toml:1:1: cannot connect drill: its place is taken by another device"},
        {__LINE__, "devices = [\"leds:speaker\"]\n",
         "lab.toml:1:12: devices: no device type 'speaker' (outport, inport, hexdisplay, inout, "
         "segment)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.message, lab_error(c.lab));
    }
}

TEST_F(LabReaderTest, StimuliComeInTimeOrderWithPacedTextAndHeldKeysSpreadOut) {
    const Lab read = lab(R"(
devices = ["keypad", "switches"]
time_limit = "100ms"
[[stimulus]]
at = "20ms"
send = "ab"
pace = "2ms"
[[stimulus]]
at = "10ms"
press = "C"
hold = "15ms"
[[stimulus]]
at = "10ms"
set = "switches"
bit = 3
value = true
[[check]]
name = "a"
no_undefined = true
)");
    ASSERT_EQ(5u, read.stimuli.size());
    struct Expected {
        Cycles at;
        StimulusKind kind;
    };
    // At one time, in the order of the file.
    const Expected expected[] = {{80'000, StimulusKind::kPress},
                                 {80'000, StimulusKind::kSet},
                                 {160'000, StimulusKind::kSend},
                                 {176'000, StimulusKind::kSend},
                                 {200'000, StimulusKind::kRelease}};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].at, read.stimuli[i].at);
        EXPECT_EQ(expected[i].kind, read.stimuli[i].kind);
    }
    EXPECT_EQ(12, read.stimuli[0].value);
    EXPECT_EQ(3, read.stimuli[1].bit);
    EXPECT_EQ("a", read.stimuli[2].text);
    EXPECT_EQ("b", read.stimuli[3].text);
}

TEST_F(LabReaderTest, ChecksTakeTheirComparisonsInTheLabsTerms) {
    const Lab read = lab(R"(
devices = ["leds"]
stop = []
[[check]]
name = "bit"
output = "leds"
bit = 2
equals = 1
[[check]]
name = "words"
memory = "TABLE+2"
words = [0x1234, 5]
at = "10ms"
[[check]]
name = "stop"
stopped = "DONE"
registers = { a = 7, X = "TABLE" }
)");
    ASSERT_EQ(3u, read.checks.size());
    const Check& bit = read.checks[0];
    EXPECT_EQ(0x04, bit.mask);
    EXPECT_EQ(0x04, bit.equals); // equals 1 of the bit
    EXPECT_EQ(When::kAt, bit.when);
    EXPECT_EQ(kEnd, bit.at); // at the end when no time is given
    const Check& words = read.checks[1];
    EXPECT_EQ((std::vector<uint8_t>{0x12, 0x34, 0x00, 0x05}), words.bytes); // big-endian
    EXPECT_EQ("TABLE+2", words.location.text());
    EXPECT_EQ(80'000u, words.at);
    const Check& stop = read.checks[2];
    ASSERT_EQ(2u, stop.registers.size());
    EXPECT_EQ("A", stop.registers[0].name); // in any letter case
    EXPECT_EQ("TABLE", stop.registers[1].value.label);
    // The run stops where a check expects the stop, though stop = [] says none.
    ASSERT_EQ(1u, read.stops.size());
    EXPECT_EQ("DONE", read.stops[0].text());
}

} // namespace
} // namespace torva::lab::test
