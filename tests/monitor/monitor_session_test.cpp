// The board's monitor in whole sessions: rt12run --monitor --sci0 stdio
// reads typed lines and S-records from a file, and every character the
// monitor sends back is compared.
#include "io/memory_map.h"
#include "monitor_session.h"
#include "records/srecord_writer.h"
#include "sim/srecord_loader.h"

namespace torva {
namespace {

namespace fs = std::filesystem;
using test::answer;
using test::data_bytes;
using test::dump_line;
using test::kResetRegisters;
using test::kStartup;
using test::MonitorSessionTest;
using test::read_file;
using test::shell_quoted;
using test::tool_path;

// S-record lines with CR LF line ends, as a terminal program sending the
// file as it is gives them (the IDE's own download sends LF only).
std::string crlf_lines(std::string_view text) {
    std::string lines;
    for (const char c : text)
        if (c == '\n')
            lines += "\r\n";
        else if (c != '\r')
            lines += c;
    return lines;
}

TEST_F(MonitorSessionTest, CommandLinesRegistersAndLineEditing) {
    const std::string input = "rd\r"
                              "\r"     // an empty line prompts again
                              "Rd\r\n" // the LF of CR LF is no second line
                              "xyz\r"
                              "mx\bd 30 31\r"      // BS erases
                              "rm pc 2000\x7f\x7f" // DEL erases too
                              "12\n"               // LF alone ends a line
                              "rm sp 3000\r"
                              "rm X $abcd\r"
                              "rm y 0\r"
                              "rm ccr c1\r"
                              "rm d 789A\r"
                              "rd\r"
                              "rm a 5\r"
                              "rm b 6\r"
                              "rd\r";
    EXPECT_EQ(0, session(input));
    const std::string expected =
        kStartup + answer("rd", {kResetRegisters}) + answer("") + answer("Rd", {kResetRegisters}) +
        answer("xyz", {"Unknown command"}) + answer("mx\b \bd 30 31", {"0030: 00 00"}) +
        answer("rm pc 2000\b \b\b \b12") + answer("rm sp 3000") + answer("rm X $abcd") +
        answer("rm y 0") + answer("rm ccr c1") + answer("rm d 789A") +
        answer("rd", {"PC=2012 SP=3000 X=ABCD Y=0000 A=78 B=9A CCR=C1"}) + answer("rm a 5") +
        answer("rm b 6") + answer("rd", {"PC=2012 SP=3000 X=ABCD Y=0000 A=05 B=06 CCR=C1"});
    EXPECT_EQ(expected, out);
    EXPECT_EQ("", err);
}

TEST_F(MonitorSessionTest, BadArgumentsChangeNothing) {
    struct Case {
        int line;
        const char* typed;
    };
    const Case cases[] = {
        {__LINE__, "rm q 1"},         // no such register
        {__LINE__, "rm a 100"},       // more than a byte
        {__LINE__, "rm pc"},          // no value
        {__LINE__, "rm pc 1 2"},      // one value too many
        {__LINE__, "rm pc 10000"},    // more than 16 bits
        {__LINE__, "g 2000 1"},       // G takes one address
        {__LINE__, "md"},             // no address
        {__LINE__, "md 2000 1fff"},   // end before the start
        {__LINE__, "md $"},           // a $ without digits
        {__LINE__, "md 1g"},          // not hexadecimal
        {__LINE__, "mm 1000"},        // no bytes
        {__LINE__, "mm 1000 12 100"}, // a byte too big: nothing is written
        {__LINE__, "l 1000"},         // L takes nothing
        {__LINE__, "rd 1"},           // neither does RD
        {__LINE__, "help me"},
    };
    std::string input;
    std::string expected = kStartup;
    for (const Case& c : cases) {
        (input += c.typed) += '\r';
        expected += answer(c.typed, {"Bad argument"});
    }
    input += "rd\rmd 1000 1000\r";
    expected += answer("rd", {kResetRegisters}) + answer("md 1000 1000", {"1000: 00"});
    EXPECT_EQ(0, session(input));
    EXPECT_EQ(expected, out);
}

TEST_F(MonitorSessionTest, LinesHoldSeventyTwoCharacters) {
    // "rd" and 70 blanks fill the line; the x beyond is neither echoed nor taken.
    const std::string full = "rd" + std::string(70, ' ');
    EXPECT_EQ(0, session(full + "x\r\x01?\r"));
    const std::string help = "L                load S-records (until S7, S8 or S9)\r\n"
                             "G [addr]         run from addr or the user PC; SWI returns\r\n"
                             "RD               show the registers\r\n"
                             "RM reg value     set PC, SP, X, Y, A, B, D or CCR\r\n"
                             "MD addr [end]    show memory through end, or 4 lines\r\n"
                             "MM addr byte...  write bytes from addr on\r\n"
                             "HELP or ?        this list";
    EXPECT_EQ(kStartup + answer(full, {kResetRegisters}) + answer("?", {help}), out);
}

// Prints a greeting and a word through the monitor's routines, checking
// that they keep the registers, returns with SWI; G goes on behind it.
constexpr char kHello[] = R"(        include "rt12.inc"
        org   $1000
start   ldx   #text
        jsr   PUTSTR
        ldd   #$BEEF
        jsr   PUTHEX16
        ldab  #$12
        jsr   PUTHEX8
        jsr   NEWLINE
        swi
        ldab  #'!'
        jsr   PUTCHAR
        swi
text    fcs   "Hello, "
        fcb   0
)";

TEST_F(MonitorSessionTest, LoadRunAndReturnThroughSwi) {
    const std::string records = assemble("hello", kHello);
    ASSERT_EQ("S9031000EC\n", records.substr(records.rfind('S')));
    ASSERT_EQ(35, data_bytes(records));

    // The file goes down with CR LF line ends; the LF after the end
    // record's CR gives no empty command line.
    EXPECT_EQ(0, session("l\r\n" + crlf_lines(records) + "g\rrd\rg\rmd 1000 1021\r"));
    EXPECT_EQ(
        kStartup + answer("l", {"Loaded 35 bytes"}) +
            answer("g", {"Hello, BEEF12", "", "PC=1015 SP=3C80 X=101B Y=0000 A=BE B=12 CCR=D0"}) +
            answer("rd", {"PC=1015 SP=3C80 X=101B Y=0000 A=BE B=12 CCR=D0"}) +
            answer("g", {"!", "PC=101B SP=3C80 X=101B Y=0000 A=BE B=21 CCR=D0"}) +
            answer("md 1000 1021",
                   {"1000: CE 10 1B 16 FE 06 CC BE EF 16 FE 0C C6 12 16 FE",
                    "1010: 09 16 FE 0F 3F C6 21 16 FE 00 3F 48 65 6C 6C 6F", "1020: 2C 20"}),
        out);
}

// The monitor image as the simulator's own loader reads it: the oracle for
// what MD shows of flash.
std::vector<uint8_t> image_bytes(uint16_t from, int count) {
    MemoryMap memory;
    LoadFileState state;
    const fs::path image =
        fs::path(tool_path("rt12run")).parent_path().parent_path() / "config/kiv12/rt12_kbm12.s19";
    EXPECT_EQ(kLoadOk, load_srecord_file(image.string(), memory, state, {}));
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        uint8_t byte = 0;
        memory.mem_read_byte(uint32_t(from + i), byte);
        bytes.push_back(byte);
    }
    return bytes;
}

TEST_F(MonitorSessionTest, MemoryOverRamAndFlash) {
    EXPECT_EQ(0, session("mm 1000 de ad $be ef\r"
                         "md 1000 1003\r"
                         "md 0ff8\r"       // four lines from an odd start
                         "mm c000 01 02\r" // flash does not take bytes
                         "md c000 c00f\r"
                         "md fff8\r"       // four lines would pass $FFFF
                         "mm 3d00 1\r"     // the monitor's own RAM is refused
                         "mm 3ff0 12 34\r" // a user vector slot is not
                         "md 3ff0 3ff1\r"
                         "mm cb 0\r"     // its serial interface is refused: it stays
                         "mm c6 1 2 3\r" // ...in hearing (C6, C7 take no bytes either)
                         "md 3ff0 3ff0\r"));
    const std::string from_ff8 =
        dump_line(0x0FF8, {0, 0, 0, 0, 0, 0, 0, 0, 0xDE, 0xAD, 0xBE, 0xEF, 0, 0, 0, 0});
    EXPECT_EQ(
        kStartup + answer("mm 1000 de ad $be ef") + answer("md 1000 1003", {"1000: DE AD BE EF"}) +
            answer("md 0ff8", {from_ff8, dump_line(0x1008, std::vector<uint8_t>(16, 0)),
                               dump_line(0x1018, std::vector<uint8_t>(16, 0)),
                               dump_line(0x1028, std::vector<uint8_t>(16, 0))}) +
            answer("mm c000 01 02", {"Write error at $C000"}) +
            answer("md c000 c00f", {dump_line(0xC000, image_bytes(0xC000, 16))}) +
            answer("md fff8", {dump_line(0xFFF8, image_bytes(0xFFF8, 8))}) +
            answer("mm 3d00 1", {"Write error at $3D00"}) + answer("mm 3ff0 12 34") +
            answer("md 3ff0 3ff1", {"3FF0: 12 34"}) + answer("mm cb 0", {"Write error at $00CB"}) +
            answer("mm c6 1 2 3", {"Write error at $00C6"}) + answer("md 3ff0 3ff0", {"3FF0: 12"}),
        out);
}

std::string record(uint32_t address, std::vector<uint8_t> data) {
    return srecord_data(address, data) + "\n";
}

TEST_F(MonitorSessionTest, DamagedRecordsAndRefusedBytesDoNotStopTheLoad) {
    std::string wrong_checksum = srecord_data(0x2010, std::vector<uint8_t>{5, 6});
    wrong_checksum.back() = wrong_checksum.back() == '0' ? '1' : '0';
    std::string load = "l\n" + srecord_line('0', 0, std::vector<uint8_t>{'h', 'd', 'r'}) + "\n" +
                       "stray text between records\n" + record(0x2000, {1, 2, 3, 4}) +
                       wrong_checksum + "\n" + record(0xC000, {0xAA}) + // flash
                       record(0x3D00, {0xAA}) +                         // the monitor's RAM
                       record(0x3C8000, {0x11, 0x22}) +                 // paged flash, via PPAGE
                       srecord_line('5', 1, {}) + "\n" +                // a record count: skipped
                       "S1072020010203\n" + // count larger than the record
                       "S10520200G0186\n" + // not a hex digit
                       "S105202001020\n";   // half a pair
    // 300 bytes in ten records, to see the count in decimal.
    for (int r = 0; r < 10; ++r)
        load += record(uint32_t(0x2100 + 30 * r), std::vector<uint8_t>(30, uint8_t(r + 1)));
    load += srecord_end(0x2000) + "\n";
    EXPECT_EQ(0, session(load + "md 2000 2003\rmd 2010 2011\rmd 2100\rmd 30 30\rrd\r"));
    EXPECT_EQ(kStartup +
                  answer("l", {"Checksum error", "Write error at $C000", "Write error at $3D00",
                               "Write error at $3C8000", "Checksum error", "Checksum error",
                               "Checksum error", "Loaded 304 bytes"}) +
                  answer("md 2000 2003", {"2000: 01 02 03 04"}) +
                  answer("md 2010 2011", {"2010: 00 00"}) +
                  answer("md 2100",
                         {dump_line(0x2100, std::vector<uint8_t>(16, 1)),
                          dump_line(0x2110, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2}),
                          dump_line(0x2120, std::vector<uint8_t>(16, 2)),
                          dump_line(0x2130, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3})}) +
                  answer("md 30 30", {"0030: 00"}) + // PPAGE is back
                  answer("rd", {"PC=2000 SP=3C80 X=0000 Y=0000 A=00 B=00 CCR=D0"}),
              out);
}

TEST_F(MonitorSessionTest, StopLoadEndsTheLoadAtOnce) {
    // EOT in the middle of a record: that record is not written, the
    // monitor prompts, and what follows is a command line again.
    const std::string load =
        "l\n" + record(0x2200, {1}) + "S1052210\x04" + "md 2200 2200\r" + "md 2210 2210\rrd\r";
    EXPECT_EQ(0, session(load));
    EXPECT_EQ(kStartup + answer("l", {"Load aborted"}) + answer("md 2200 2200", {"2200: 01"}) +
                  answer("md 2210 2210", {"2210: 00"}) + answer("rd", {kResetRegisters}),
              out);
}

// Installs handlers in the RAM slots of the real-time interrupt and TRAP,
// counts five ticks, then traps with A and X set (the handler notes what
// it sees) and returns with SWI. At $1100 a program enables the tick
// without a handler.
constexpr char kInterrupts[] = R"(        include "rt12.inc"
        org   $1000
start   movw  #tick,VRTI-RAMVEC
        movw  #trap,VTRAP-RAMVEC
        movb  #RTIE,CRGINT
        movb  #$20,RTICTL        ; every 4096 cycles
        cli
wait    ldaa  ticks
        cmpa  #5
        bne   wait
        clr   RTICTL
        clr   CRGINT
        ldaa  #$5A
        ldx   #$1234
        trap  #$30
        swi
tick    movb  #RTIF,CRGFLG
        inc   ticks
        rti
trap    staa  seen
        stx   seen+1
        rti
        org   $1080
ticks   fcb   0
seen    fcb   0,0,0
        org   $1100
lost    movb  #RTIE,CRGINT
        movb  #$20,RTICTL
        cli
        bra   *
)";

TEST_F(MonitorSessionTest, InterruptsGoThroughTheRamSlots) {
    const std::string records = assemble("interrupts", kInterrupts);
    EXPECT_EQ(
        0, session("l\n" + records + "g\rmd 1080 1083\rmd 3ff0 3ff1\rmm 3ff0 0 0\rg 1100\rrd\r"));
    // G: five ticks counted, the trap handler saw A and X, SWI came back
    // with the program's registers. Then the tick without a handler.
    EXPECT_EQ(kStartup + answer("l", {"Loaded " + std::to_string(data_bytes(records)) + " bytes"}) +
                  answer("g", {"", "PC=102D SP=3C80 X=1234 Y=0000 A=5A B=00 CCR=C0"}) +
                  answer("md 1080 1083", {"1080: 05 5A 12 34"}) +
                  answer("md 3ff0 3ff1", {"3FF0: 10 2D"}) + answer("mm 3ff0 0 0") +
                  answer("g 1100", {"", "Unhandled interrupt $FFF0"}) +
                  answer("rd", {"PC=110C SP=3C80 X=1234 Y=0000 A=5A B=00 CCR=C0"}),
              out);
}

TEST_F(MonitorSessionTest, TheSessionEndsWithItsInputOrItsSteps) {
    // Input that ends within a line: the monitor waits for more, and that
    // ends the session as a stop condition does.
    EXPECT_EQ(0, session("rd"));
    EXPECT_EQ(kStartup + std::string("rd"), out);
    EXPECT_EQ("", err);
    // A program that never comes back runs into the step limit.
    EXPECT_EQ(2, session("mm 1000 20 fe\rg 1000\rrd\r", "--max-steps 100000"));
    EXPECT_EQ(kStartup + answer("mm 1000 20 fe") + "g 1000\r\n", out);
    EXPECT_NE(std::string::npos, err.find("step limit of 100000 steps")) << err;

    // Without the monitor image there is nothing to run.
    fs::create_directories(dir.path() / "bin");
    fs::copy_file(tool_path("rt12run"), dir.path() / "bin/rt12run");
    const std::string command =
        shell("bin/rt12run --monitor < /dev/null > session.out 2> session.err");
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_NE(std::string::npos,
              read_file(dir.path() / "session.err").find("/../config/kiv12/rt12_kbm12.s19'"));
}

} // namespace
} // namespace torva
