// rt12run as a process: programs assembled with ta12, run to their stop
// condition, with the output lines and exit statuses graders rely on.
#include "support/echo_programs.h"
#include "tool_fixture.h"

#include <cstdio>

namespace torva::test {
namespace {

struct Rt12runTest : ToolTest {
    Rt12runTest() : ToolTest({"rt12run", "ta12"}) {}
    int run(const std::string& args) { return ToolTest::run("rt12run", args); }
};

// Prints "Hi" and a line feed through serial interface 0, waits until the
// last bit left, then stops on SWI at $1016.
constexpr char kHello[] = R"(        org $1000
start   ldx #msg
next    ldab 1,x+
        beq done
wait    brclr $cc,#$80,wait
        stab $cf
        bra next
done    brclr $cc,#$40,done
        swi
msg     fcs "Hi"
        fcb 10,0
)";

TEST_F(Rt12runTest, SerialOutputRegistersAndMemory) {
    ASSERT_TRUE(assemble("hello", kHello));
    EXPECT_EQ(0, run("--sci0 stdio --dump-regs --dump-mem 0x1000:23 --dump-mem '$1017:3' "
                     "hello.s19"));
    // The cycle and step counts between the fixed lines are the CPU's business.
    const std::string head = "Hi\n"
                             "PC=1016 SP=3C80 X=101B Y=0000 A=00 B=00 CCR=D4\n"
                             "cycles=";
    const std::string tail = "1000: CE 10 17 E6 30 27 0A 1F 00 CC 80 FB 7B 00 CF 20\n"
                             "1010: F2 1F 00 CC 40 FB 3F\n"
                             "1017: 48 69 0A\n";
    ASSERT_GT(out.size(), head.size() + tail.size()) << out;
    EXPECT_EQ(head, out.substr(0, head.size()));
    EXPECT_EQ(tail, out.substr(out.size() - tail.size()));
    const std::string counts = out.substr(head.size(), out.size() - head.size() - tail.size());
    unsigned cycles = 0, steps = 0;
    char end_of_line = 0;
    EXPECT_EQ(3, std::sscanf(counts.c_str(), "%u steps=%u%c", &cycles, &steps, &end_of_line))
        << counts;
    EXPECT_EQ('\n', end_of_line);
    EXPECT_GT(cycles, steps);
    EXPECT_EQ("", err);

    // Without a serial device the program never gets its bytes out; the
    // step limit ends it with status 2.
    EXPECT_EQ(2, run("--max-steps 500 hello.s19"));
    EXPECT_EQ("", out);
    EXPECT_NE(std::string::npos, err.find("step limit")) << err;
}

TEST_F(Rt12runTest, TraceAndTheStepLimit) {
    ASSERT_TRUE(assemble("hello", kHello));
    EXPECT_EQ(2, run("--trace --max-steps 3 --dump-regs hello.s19"));
    EXPECT_EQ("1000  LDX   #$1017\n"
              "1003  LDAB  1,X+\n"
              "1005  BEQ   $1011\n"
              "PC=1007 SP=3C80 X=1018 Y=0000 A=00 B=48 CCR=D0\n"
              "cycles=6 steps=3\n",
              out);
}

TEST_F(Rt12runTest, LabelsAndTheSourceLineThroughTheDebugMap) {
    const std::string source = "        org $1000\n"
                               "        ldaa #7\n"
                               "        staa BUFFER+1\n"
                               "LOOP    bra LOOP\n"
                               "BUFFER  fcb 1,2,3\n";
    ASSERT_TRUE(assemble("prog", source, "-g"));
    EXPECT_EQ(0, run("--break LOOP --dump-regs --dump-mem BUFFER:3 prog.s19")) << err;
    EXPECT_NE(std::string::npos, out.find("PC=1005 ")) << out;
    EXPECT_NE(std::string::npos, out.find("source=prog.asm:4\n")) << out;
    EXPECT_NE(std::string::npos, out.find("1007: 01 07 03\n")) << out;
    // An unknown label, and a label without a map, are usage errors.
    EXPECT_EQ(1, run("--break NOWHERE prog.s19"));
    EXPECT_NE(std::string::npos, err.find("no label NOWHERE")) << err;
    ASSERT_TRUE(assemble("prog", source));
    EXPECT_EQ(1, run("--break LOOP prog.s19"));
    EXPECT_NE(std::string::npos, err.find("ta12 -g")) << err;
    EXPECT_EQ(0, run("--break 0x1005 --dump-regs prog.s19"));
    EXPECT_EQ(std::string::npos, out.find("source=")) << "a map of another build is not used";
}

TEST_F(Rt12runTest, StopOnAndTheResetVector) {
    ASSERT_TRUE(assemble("stops", R"(        org $1000
        swi
        nop
        bgnd
handler bra handler
        org $fff6
        fdb handler
        org $fffe
        fdb $1001
)"));
    EXPECT_EQ(0, run("--dump-regs stops.s19"));
    EXPECT_EQ(0u, out.find("PC=1000 ")) << out;
    EXPECT_NE(std::string::npos, out.find("steps=0\n"));
    EXPECT_EQ(0, run("--vector --stop-on bgnd --dump-regs stops.s19"));
    EXPECT_EQ(0u, out.find("PC=1002 ")) << out;
    EXPECT_NE(std::string::npos, out.find("steps=1\n"));
    // SWI runs into its handler, which spins until the limit.
    EXPECT_EQ(2, run("--stop-on none --max-steps 0x10 --dump-regs stops.s19"));
    EXPECT_EQ(0u, out.find("PC=1003 SP=3C77 ")) << out;
    EXPECT_NE(std::string::npos, out.find("steps=16\n"));
}

// Every byte value is data on the way in and out, $00 included, with the
// serial device of --sci0 or the one a descriptor connects.
TEST_F(Rt12runTest, EveryByteValueThroughStandardInputAndOutput) {
    ASSERT_TRUE(assemble("echo", kEcho256));
    dir.write("bytes.bin", every_byte_value());
    dir.write("sci.hc12sim", ":iotarget:10:0:200:9:sci0:\n:emul:0\n");
    for (const char* target : {"", "--target sci.hc12sim "}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(0, run(std::string(target) + "--sci0 stdio echo.s19 < bytes.bin"));
        EXPECT_EQ(every_byte_value(), out);
    }
}

// A program that stops right behind its last write still gets that byte out.
TEST_F(Rt12runTest, TheByteWrittenJustBeforeSwiArrives) {
    ASSERT_TRUE(assemble("last", "        org $1000\n"
                                 "        ldab #'Z'\n"
                                 "        stab $cf\n"
                                 "        swi\n"));
    EXPECT_EQ(0, run("--sci0 stdio --dump-regs last.s19"));
    EXPECT_EQ(0u, out.find("ZPC=1005 ")) << out;
}

// Standard input that stays open and says nothing does not hold the run:
// it ends at its step limit. (A FIFO opened for reading and writing has a
// writer, itself, that never writes.)
TEST_F(Rt12runTest, ASilentStandardInputDoesNotHoldTheRun) {
    ASSERT_TRUE(assemble("echo", kEchoUntilDot));
    ASSERT_EQ(0, std::system(("mkfifo " + shell_quoted(file("silent"))).c_str()));
    EXPECT_EQ(2, run("--sci0 stdio --max-steps 100000 echo.s19 0<>silent"));
    EXPECT_NE(std::string::npos, err.find("step limit")) << err;
}

TEST_F(Rt12runTest, IoLogAndSwitches) {
    ASSERT_TRUE(assemble("leds", R"(        org $1000
        ldaa #1
loop    staa $400
        asla
        bne loop
        swi
)"));
    dir.write("board.hc12sim", ":iotarget:1:0:1024:0::\n:iotarget:2:0:1536:1::\n:emul:0\n");
    EXPECT_EQ(0, run("--target board.hc12sim --io-log leds.s19"));
    // LDAA # takes 1 cycle; each round STAA, ASLA, BNE takes 3 + 1 + 3.
    std::string expected;
    for (int i = 0; i < 8; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "IO %d 0400 %02X\n", 1 + 7 * i, 1 << i);
        expected += line;
    }
    EXPECT_EQ(expected, out);

    ASSERT_TRUE(assemble("switches", R"(        org $1000
        ldaa $600
        staa $1100
        swi
)"));
    EXPECT_EQ(0, run("--target board.hc12sim --switches 0x600=0xA5 --dump-mem '$1100:1' "
                     "switches.s19"));
    EXPECT_EQ("1100: A5\n", out);
    EXPECT_EQ(1, run("--target board.hc12sim --switches 0x400=1 switches.s19"));
    EXPECT_NE(std::string::npos, err.find("no input device at $400")) << err;
}

// The cycle model changes the count, not the run: a loop of five DBNE is
// 6 cycles a pass the classic way and 3 on the board's CPU12.
TEST_F(Rt12runTest, CycleModelsCountTheSameRun) {
    ASSERT_TRUE(assemble("loop", "        org $1000\n"
                                 "        ldx #$2000\n"  // 2 either way
                                 "        ldab #5\n"     // 1
                                 "wait    dbne b,wait\n" // 6 or 3, five times
                                 "        swi\n"));
    for (const auto& [model, cycles] : {std::pair{"classic", 33}, std::pair{"cpu12", 18}}) {
        SCOPED_TRACE(model);
        EXPECT_EQ(0, run(std::string("--cycles ") + model + " --dump-regs loop.s19"));
        EXPECT_EQ("PC=1008 SP=3C80 X=2000 Y=0000 A=00 B=00 CCR=D0\n"
                  "cycles=" +
                      std::to_string(cycles) + " steps=7\n",
                  out);
    }
}

TEST_F(Rt12runTest, BadArgumentsAndLoadErrorsGiveStatusOne) {
    ASSERT_TRUE(assemble("hello", kHello));
    dir.write("bad.s19", "S1041000A7\nS5030001FB\n");
    struct Case {
        int line;
        const char* args;
        const char* message; // part of standard error
    };
    // The faults of the arguments themselves are the parser's (see
    // command_line_test); here, that they end the process with status 1.
    const Case cases[] = {
        {__LINE__, "", "no load file"},
        {__LINE__, "--max-steps ten hello.s19", "--max-steps needs a number"},
        {__LINE__, "missing.s19", "can't open 'missing.s19'"},
        {__LINE__, "--target missing.hc12sim hello.s19", "Can't open 'missing.hc12sim'"},
        {__LINE__, "bad.s19", "Failed to load: 'bad.s19' You should check simulator setup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(1, run(c.args));
        EXPECT_NE(std::string::npos, err.find(c.message)) << err;
        EXPECT_EQ("", out);
    }
}

} // namespace
} // namespace torva::test
