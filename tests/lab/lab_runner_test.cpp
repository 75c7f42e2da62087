// Runs of small programs written for each kind of stimulus and check, with
// the cases a teacher meets: a check at the very time of a stimulus, an
// "always" broken for a few cycles, serial text sent in pieces, a program
// that never stops or gets stuck.
#include "lab_fixture.h"

namespace torva::lab::test {
namespace {

using LabRunnerTest = LabTest;

// Copies the switches to the LEDs, over and over.
constexpr const char* kCopySwitches = R"(
        ORG   $1000
START   LDAA  $600
        STAA  $400
        BRA   START
)";

TEST_F(LabRunnerTest, ChecksAtAndAroundAStimulusSeeTheProgramReactAfterIt) {
    const Lab copy = lab(R"(
devices = ["leds", "switches"]
time_limit = "10ms"
[[stimulus]]
at = "2ms"
set = "switches"
value = 0x0F
[[check]]
name = "at the stimulus"
output = "leds"
follows = "switches"
at = "2ms"
[[check]]
name = "10 us later"
output = "leds"
equals = 0x0F
at = "2.01ms"
[[check]]
name = "always, no time to react"
output = "leds"
follows = "switches"
always = "1ms.."
[[check]]
name = "always, 10 us to react"
output = "leds"
follows = "switches"
always = "1ms.."
settle = "10us"
[[check]]
name = "eventually"
output = "leds"
equals = 0x0F
eventually = "2ms..3ms"
[[check]]
name = "eventually, before the stimulus"
output = "leds"
equals = 0x0F
eventually = "..1.9ms"
)");
    const SubmissionResult result = run(copy, kCopySwitches);
    // Stimuli come first at a time: the check sees the switch set, but the
    // program has not run since.
    const CheckResult& at = check(result, "at the stimulus");
    EXPECT_FALSE(at.passed);
    EXPECT_EQ("$0F (as switches)", at.expected);
    EXPECT_EQ("$00", at.seen);
    EXPECT_EQ(16'000u, at.when);
    EXPECT_TRUE(check(result, "10 us later").passed);
    const CheckResult& hurried = check(result, "always, no time to react");
    EXPECT_FALSE(hurried.passed);
    EXPECT_EQ(16'000u, hurried.when);
    EXPECT_TRUE(check(result, "always, 10 us to react").passed);
    const CheckResult& eventually = check(result, "eventually");
    EXPECT_TRUE(eventually.passed);
    EXPECT_GT(*eventually.when, 16'000u); // the copy loop's next write
    EXPECT_LE(*eventually.when, 16'020u);
    const CheckResult& early = check(result, "eventually, before the stimulus");
    EXPECT_FALSE(early.passed);
    EXPECT_EQ("$00", early.seen);
    EXPECT_EQ(15'200u, early.when);
    EXPECT_EQ(3, result.points);
    EXPECT_EQ(StopReason::kNone, result.stop.reason); // it never stops
}

TEST_F(LabRunnerTest, AlwaysCatchesAGlitchOfAFewCycles) {
    const Lab glitch = lab(R"(
devices = ["leds"]
time_limit = "5ms"
[[check]]
name = "LEDs dark"
output = "leds"
equals = 0
always = ".."
[[check]]
name = "LED 0 flashes"
output = "leds"
bit = 0
equals = 1
eventually = ".."
)");
    // Every millisecond or so LED 0 lights for the three cycles between
    // two stores.
    const SubmissionResult result = run(glitch, R"(
        ORG   $1000
START   CLR   $400
LOOP    LDY   #1000
WAIT    DBNE  Y,WAIT
        MOVB  #1,$400
        CLR   $400
        BRA   LOOP
)");
    const CheckResult& dark = check(result, "LEDs dark");
    EXPECT_FALSE(dark.passed);
    EXPECT_EQ("$01", dark.seen);
    ASSERT_TRUE(dark.when);
    EXPECT_GT(*dark.when, 6'000u);
    EXPECT_LT(*dark.when, 6'100u);
    const CheckResult& flash = check(result, "LED 0 flashes");
    EXPECT_TRUE(flash.passed);
    EXPECT_EQ(dark.when, flash.when);
}

TEST_F(LabRunnerTest, KeypadKeysGoDownAndUp) {
    const Lab keys = lab(R"(
devices = ["keypad", "leds"]
time_limit = "6ms"
[[stimulus]]
at = "1ms"
press = "A"
hold = "2ms"
[[check]]
name = "A held"
output = "leds"
mask = 0x4F
equals = 0x4A
at = "2ms"
[[check]]
name = "A let go"
output = "leds"
mask = 0x4F
equals = 0x0A
at = "4ms"
)");
    // Shows the key register on the LEDs and takes each new key.
    const SubmissionResult result = run(keys, R"(
        ORG   $1000
LOOP    LDAA  $C01
        STAA  $400
        BPL   LOOP
        CLR   $C00
        BRA   LOOP
)");
    EXPECT_TRUE(check(result, "A held").passed) << check(result, "A held").seen;
    EXPECT_TRUE(check(result, "A let go").passed) << check(result, "A let go").seen;
}

TEST_F(LabRunnerTest, SerialTextIsCheckedAsItGrowsWhateverPiecesItCameIn) {
    const Lab serial = lab(R"(
time_limit = "20ms"
[[stimulus]]
at = "6ms"
send = "abc"
[[stimulus]]
at = "10ms"
send = "xyz"
pace = "1ms"
[[check]]
name = "first piece"
serial = "sci0"
equals = "HEL"
at = "1ms"
[[check]]
name = "the pieces together"
serial = "sci0"
contains = "HELLO"
eventually = "..5ms"
[[check]]
name = "a pattern"
serial = "sci0"
matches = "H.L+O\r\n$"
at = "5ms"
[[check]]
name = "echo of a text sent at once"
serial = "sci0"
equals = "abc"
eventually = "6ms..8ms"
[[check]]
name = "echo of a paced text, too soon"
serial = "sci0"
contains = "xyz"
eventually = "10ms..11ms"
)");
    // Sends "HEL", waits about 2 ms, sends "LO" and a new line, then echoes.
    const SubmissionResult result = run(serial, R"(
        include "rt12.inc"
        ORG   $1000
START   LDS   #$3C80
        LDX   #PART1
        BSR   PUTS
        LDY   #3000
WAIT    DBNE  Y,WAIT
        LDX   #PART2
        BSR   PUTS
ECHO    BRCLR SCI0SR1,RDRF,ECHO
        LDAA  SCI0DRL
        BSR   PUTCH
        BRA   ECHO
PUTCH   BRCLR SCI0SR1,TDRE,PUTCH
        STAA  SCI0DRL
        RTS
PUTS    LDAA  1,X+
        BEQ   DONE
        BSR   PUTCH
        BRA   PUTS
DONE    RTS
PART1   FCS   "HEL"
        FCB   0
PART2   FCS   "LO"
        FCB   $0D,$0A,0
)");
    for (const char* name :
         {"first piece", "the pieces together", "a pattern", "echo of a text sent at once"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(check(result, name).passed) << difference_text(check(result, name));
    }
    // The window's text starts at its opening: the greeting is not in it.
    const CheckResult& paced = check(result, "echo of a paced text, too soon");
    EXPECT_FALSE(paced.passed);
    EXPECT_EQ("\"x\"", paced.seen); // y came at 11 ms, its echo just after
    EXPECT_EQ(88'000u, paced.when);
}

TEST_F(LabRunnerTest, DevicesTakeTheUsersActions) {
    struct Case {
        int line;
        const char* devices;
        const char* action;
        const char* copy_from; // the register the program copies to $A00
        uint8_t mask;
        uint8_t expected;
    };
    const Case cases[] = {
        {__LINE__, "door", "door_button_down", "$B00", 0x04, 0x04},
        {__LINE__, "printer", "paper_out", "$801", 0x20, 0x20},
        {__LINE__, "drill", "workpiece_out", "$600", 0x10, 0x00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Lab action = lab(std::string("devices = [\"") + c.devices + "\"]\n" +
                               "time_limit = \"3ms\"\n[[stimulus]]\nat = \"1ms\"\naction = \"" +
                               c.action + "\"\n[[check]]\nname = \"seen\"\noutput = \"$A00\"\n" +
                               "mask = " + std::to_string(c.mask) +
                               "\nequals = " + std::to_string(c.expected) + "\nat = \"2ms\"\n");
        const SubmissionResult result =
            run(action, std::string("        ORG $1000\nLOOP    LDAA ") + c.copy_from +
                            "\n        STAA $A00\n        BRA LOOP\n");
        EXPECT_TRUE(result.checks[0].passed) << difference_text(result.checks[0]);
    }
}

// Counts IRQs and XIRQs; the reset vector restarts it.
constexpr const char* kInterruptCounter = R"(
        ORG   $1000
START   LDS   #$3C80
        CLR   COUNT
        CLR   XCOUNT
        ANDCC #$AF
LOOP    BRA   LOOP
IRQ     INC   COUNT
        RTI
XIRQ    INC   XCOUNT
        RTI
COUNT   FCB   0
XCOUNT  FCB   0
        ORG   $FFF2
        FDB   IRQ,XIRQ
        ORG   $FFFE
        FDB   START
)";

TEST_F(LabRunnerTest, InterruptPulsesAndAResetReachTheProgram) {
    const Lab pulses = lab(R"(
time_limit = "10ms"
[[stimulus]]
at = "1ms"
interrupt = "irq"
[[stimulus]]
at = "2ms"
interrupt = "irq"
[[stimulus]]
at = "3ms"
interrupt = "xirq"
[[stimulus]]
at = "5ms"
reset = true
[[stimulus]]
at = "7ms"
interrupt = "irq"
[[check]]
name = "two IRQs"
memory = "COUNT"
bytes = [2, 1]
at = "4ms"
[[check]]
name = "the reset cleared them"
memory = "COUNT"
bytes = [0, 0]
at = "6ms"
[[check]]
name = "one IRQ since"
memory = "COUNT"
bytes = [1]
)");
    const SubmissionResult result = run(pulses, kInterruptCounter);
    for (const CheckResult& check : result.checks)
        EXPECT_TRUE(check.passed) << check.check->name << ": " << difference_text(check);
}

TEST_F(LabRunnerTest, TheStopIsCheckedWithItsRegistersAndCycles) {
    const Lab stops = lab(R"(
time_limit = "1ms"
[[check]]
name = "SWI with A and X"
stopped = "swi"
registers = { A = 7, X = "TABLE+1", D = 0x0700 }
[[check]]
name = "quick"
cycles_at_most = 20
[[check]]
name = "very quick"
cycles_at_most = 3
[[check]]
name = "at a label the program lacks"
stopped = "NOWHERE"
)");
    const SubmissionResult result = run(stops, R"(
        ORG   $1000
START   LDAA  #7
        CLRB
        LDX   #TABLE+1
        SWI
TABLE   FCB   1,2,3
)");
    EXPECT_EQ(StopReason::kSwi, result.stop.reason);
    EXPECT_EQ(0x1006u, result.stop.pc);
    const CheckResult& swi = check(result, "SWI with A and X");
    EXPECT_TRUE(swi.passed) << difference_text(swi);
    EXPECT_EQ("A = $07, D = $0700, X = $1008 at SWI", swi.expected);
    EXPECT_TRUE(check(result, "quick").passed);
    const CheckResult& slow = check(result, "very quick");
    EXPECT_FALSE(slow.passed);
    EXPECT_EQ("a stop after 4 cycles", slow.seen);
    EXPECT_EQ("the program has no label NOWHERE",
              check(result, "at a label the program lacks").seen);
}

// The same delay loop is half as long in the board's own cycles: DBNE takes
// three of them where the classic count charges six, so a teacher's timing
// check decides differently under the two models.
TEST_F(LabRunnerTest, TheCycleModelDecidesHowLongADelayLoopTakes) {
    constexpr const char* kDelay = R"(
        ORG   $1000
START   LDX   #1000
LOOP    DBNE  X,LOOP
        SWI
)";
    const char* const checks = R"(
time_limit = "10ms"
[[check]]
name = "within 4000 cycles"
cycles_at_most = 4000
)";
    const Lab classic_lab = lab(checks);
    const Lab board_lab = lab(std::string("cycles = \"cpu12\"\n") + checks);
    const SubmissionResult classic = run(classic_lab, kDelay);
    const SubmissionResult board = run(board_lab, kDelay);
    EXPECT_EQ(StopReason::kSwi, classic.stop.reason);
    EXPECT_EQ(StopReason::kSwi, board.stop.reason);
    const CheckResult& slow = check(classic, "within 4000 cycles");
    EXPECT_FALSE(slow.passed);
    EXPECT_EQ("a stop after 6002 cycles", slow.seen);
    EXPECT_TRUE(check(board, "within 4000 cycles").passed)
        << check(board, "within 4000 cycles").seen;
}

// A program that prints its answer and stops: the line still sends the byte
// the program handed it last, at SWI as at a stop label.
TEST_F(LabRunnerTest, TheLastByteSentBeforeAStopIsHeard) {
    const std::string program = R"(
        include "rt12.inc"
        ORG   $1000
START   LDX   #TEXT
NEXT    LDAA  1,X+
        BEQ   DONE
WAIT    BRCLR SCI0SR1,TDRE,WAIT
        STAA  SCI0DRL
        BRA   NEXT
DONE    )";
    const struct {
        const char* stop; // the lab's stop line
        const char* at_done;
        StopReason reason;
    } stops[] = {{"", "SWI", StopReason::kSwi},
                 {"stop = \"DONE\"\n", "BRA DONE", StopReason::kLocation}};
    for (const auto& stop : stops) {
        SCOPED_TRACE(stop.at_done);
        const Lab answer = lab(std::string(stop.stop) + R"(
time_limit = "10ms"
[[check]]
name = "the whole answer"
serial = "sci0"
equals = "OK\r\n"
)");
        const SubmissionResult result =
            run(answer, program + stop.at_done + "\nTEXT FCB $4F,$4B,$0D,$0A,0\n");
        EXPECT_EQ(stop.reason, result.stop.reason);
        EXPECT_TRUE(result.checks[0].passed) << difference_text(result.checks[0]);
    }
}

TEST_F(LabRunnerTest, AProgramThatNeverStopsOrStopsElsewhereFailsTheStop) {
    const Lab stops = lab(R"(
time_limit = "2ms"
stop = ["bgnd"]
[[check]]
name = "at DONE"
stopped = "DONE"
[[check]]
name = "any stop"
stopped = true
)");
    const SubmissionResult at_done = run(stops, " ORG $1000\n NOP\nDONE BRA DONE\n");
    EXPECT_TRUE(check(at_done, "at DONE").passed);
    EXPECT_EQ("DONE ($1001)", check(at_done, "any stop").seen);
    const SubmissionResult at_bgnd = run(stops, " ORG $1000\n BGND\nDONE BRA DONE\n");
    EXPECT_EQ("BGND at $1000", check(at_bgnd, "at DONE").seen);
    const SubmissionResult never = run(stops, " ORG $1000\nDONX BRA DONX\n");
    EXPECT_EQ("the program has no label DONE", check(never, "at DONE").seen);
    const CheckResult& any = check(never, "any stop");
    EXPECT_FALSE(any.passed);
    EXPECT_EQ("no stop: still running at the time limit", any.seen);
    EXPECT_EQ(16'000u, any.when);
}

TEST_F(LabRunnerTest, UndefinedInstructionsAreFoundAndAStuckCpuEndsTheRun) {
    const Lab clean = lab(R"(
time_limit = "1s"
[[check]]
name = "clean"
no_undefined = true
)");
    const SubmissionResult trapped = run(clean, R"(
        ORG   $1000
START   LDS   #$3C80
        NOP
        FCB   $18,$30
LOOP    BRA   LOOP
        ORG   $FFF8
        FDB   LOOP
)");
    EXPECT_EQ("an undefined instruction at $1004 (the CPU took the TRAP)", trapped.checks[0].seen);
    EXPECT_EQ(StopReason::kNone, trapped.stop.reason);
    // A transfer between no registers: the CPU stays there for ever.
    const SubmissionResult stuck = run(clean, " ORG $1000\n NOP\n FCB $B7,$30\n");
    EXPECT_EQ("an undefined instruction at $1001 (the CPU stuck there)", stuck.checks[0].seen);
    EXPECT_EQ(StopReason::kUndefined, stuck.stop.reason);
    EXPECT_LT(stuck.steps, 10u);
}

TEST_F(LabRunnerTest, MemoryIsReadAtLabelsAndAddresses) {
    const Lab memory = lab(R"(
time_limit = "1ms"
[[check]]
name = "bytes"
memory = "RESULT"
bytes = [0x12, 0x34]
[[check]]
name = "words"
memory = "RESULT"
words = [0x1234, 0x5678]
[[check]]
name = "text"
memory = "NAME"
text = "RT12"
[[check]]
name = "address"
memory = "$2000"
bytes = [0x99]
[[check]]
name = "wrong"
memory = "RESULT+1"
bytes = [0x35]
)");
    const SubmissionResult result = run(memory, R"(
        ORG   $1000
START   MOVW  #$1234,RESULT
        MOVW  #$5678,RESULT+2
        MOVB  #$99,$2000
        SWI
RESULT  RMB   4
NAME    FCS   "RT12"
)");
    for (const char* name : {"bytes", "words", "text", "address"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(check(result, name).passed) << difference_text(check(result, name));
    }
    const CheckResult& wrong = check(result, "wrong");
    EXPECT_EQ("$35 at RESULT+1", wrong.expected);
    EXPECT_EQ("$34", wrong.seen);
}

// Sends 'x' for as long as it runs.
constexpr const char* kChatty = R"(
        include "rt12.inc"
        ORG   $1000
LOOP    BRCLR SCI0SR1,TDRE,LOOP
        MOVB  #'x',SCI0DRL
        BRA   LOOP
)";

TEST_F(LabRunnerTest, TheOutputLimitEndsAChattyProgram) {
    const Lab chatty = lab(R"(
time_limit = "1s"
output_limit = 50
[[check]]
name = "quiet"
serial = "sci0"
equals = ""
)");
    const SubmissionResult result = run(chatty, kChatty);
    EXPECT_EQ(StopReason::kOutputLimit, result.stop.reason);
    EXPECT_LT(result.stop.at, 100'000u);
    EXPECT_FALSE(result.checks[0].passed);
}

// Patterns that backtrack over every byte, on as much output as a lab takes:
// decided, without a crash or a hang.
TEST_F(LabRunnerTest, PatternsOverAWholeOutputLimitAreDecided) {
    const Lab patterns = lab(R"(
time_limit = "1s"
[[check]]
name = "nothing but x and y"
serial = "sci0"
matches = "^(x|y)+$"
[[check]]
name = "a z somewhere"
serial = "sci0"
matches = "(x|y)*z"
)");
    const SubmissionResult result = run(patterns, kChatty);
    EXPECT_EQ(StopReason::kOutputLimit, result.stop.reason);
    EXPECT_TRUE(check(result, "nothing but x and y").passed);
    EXPECT_FALSE(check(result, "a z somewhere").passed);
}

TEST_F(LabRunnerTest, TheDisplayAndThePrinterAreCheckedAsText) {
    const Lab text = lab(R"(
devices = ["display", "printer"]
time_limit = "1ms"
[[check]]
name = "shows 123"
output = "display"
equals = "123     "
[[check]]
name = "a pattern"
output = "display"
matches = "^12"
[[check]]
name = "printed"
output = "printer"
equals = "OK"
[[check]]
name = "printed soon"
output = "printer"
contains = "O"
eventually = "..100us"
)");
    // Three digits on the display, then "OK" on the printer.
    const SubmissionResult result = run(text, R"(
        ORG   $1000
        CLR   $C02
        MOVB  #1,$C03
        MOVB  #2,$C03
        MOVB  #3,$C03
        LDX   #TEXT
NEXT    LDAA  1,X+
        BEQ   DONE
READY   BRCLR $801,$80,READY
        STAA  $800
        MOVB  #1,$802
        CLR   $802
        BRA   NEXT
DONE    SWI
TEXT    FCS   "OK"
        FCB   0
)");
    for (const CheckResult& check : result.checks)
        EXPECT_TRUE(check.passed) << check.check->name << ": " << difference_text(check);
}

TEST_F(LabRunnerTest, AProgramThatDidNotAssembleFailsEveryCheckUnrun) {
    const Lab any = lab("[[check]]\nname = \"a\"\nno_undefined = true\n");
    Program program;
    program.state = Program::State::kNotAssembled;
    const SubmissionResult result = run_lab(any, program, {program_dir(), false});
    ASSERT_EQ(1u, result.checks.size());
    EXPECT_EQ("not run: the program does not assemble", result.checks[0].seen);
    EXPECT_EQ(0, result.points);
    EXPECT_FALSE(result.passed());
}

} // namespace
} // namespace torva::lab::test
