// The textbook monitor's routine table at $EE80 as the board's monitor
// offers it: programs call printf, putchar and the other routines through
// the table, run under the monitor in rt12run, and their output is
// compared character for character.
#include "monitor_session.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

using test::answer;
using test::kStartup;
using test::MonitorSessionTest;

// printf's conversions, flags, widths and longs, then its count.
constexpr char kPrintf[] = R"(        include "dbug12.inc"
        org   $1000
start   lds   #$3C80
        ldd   #name
        pshd
        ldd   #$BEEF
        pshd
        ldd   #-1234
        pshd
        ldd   #fmt1
        jsr   [printf,pcr]
        leas  6,sp
        ldd   #$EE6B          ; 4000000000: high word
        movw  #$2800,2,-sp    ; low word pushed first
        pshd
        movw  #$5678,2,-sp
        movw  #$1234,2,-sp
        movw  #$12,2,-sp
        movw  #65535,2,-sp
        movw  #7,2,-sp
        movw  #'Z',2,-sp
        ldd   #fmt2
        jsr   [printf,pcr]
        leas  16,sp
        movw  #-32768,2,-sp
        movw  #$7960,2,-sp    ; -100000: the low word first
        movw  #$FFFE,2,-sp
        movw  #9,2,-sp
        movw  #4,2,-sp
        movw  #$1A,2,-sp
        movw  #8,2,-sp
        movw  #name,2,-sp
        movw  #name,2,-sp
        movw  #name,2,-sp
        movw  #5,2,-sp
        movw  #5,2,-sp
        ldd   #fmt3
        jsr   [printf,pcr]
        leas  24,sp
        call  [out4hex,pcr]   ; printf's count
        swi
fmt1    fcs   "%d %x %s"
        fcb   13,10,0
fmt2    fcs   "[%c][%5d][%-5u|][%05x][%lX][%lu][%%][%q]"
        fcb   13,10,0
fmt3    fcs   "[%+d][% d][%.2s][%8s][%-8s|][%o][%p][%*d][%ld][%i]"
        fcb   13,10,0
name    fcs   "RT12"
        fcb   0
        end
)";

// Every other routine of the table, each result shown as four hex digits.
constexpr char kRoutines[] = R"(        include "dbug12.inc"
        org   $1000
start   ldd   #buf                ; getcmdline(buf, 5)
        movw  #5,2,-sp
        call  [getcmdline,pcr]
        leas  2,sp
        movw  #buf,2,-sp          ; printf("<%s>", buf)
        ldd   #f_text
        jsr   [printf,pcr]
        leas  2,sp
        ldd   #line               ; getcmdline(line, 20)
        movw  #20,2,-sp
        call  [getcmdline,pcr]
        leas  2,sp
        ldd   #line               ; sscanhex(line, &number)
        movw  #number,2,-sp
        call  [sscanhex,pcr]
        leas  2,sp
        subd  #line               ; the characters it read
        movw  number,2,-sp
        pshd
        ldd   #f_scan
        jsr   [printf,pcr]
        leas  4,sp
        ldd   #toobig             ; sscanhex("12345", &number): 0
        movw  #number,2,-sp
        call  [sscanhex,pcr]
        leas  2,sp
        jsr   show
        ldd   #'f'
        jsr   [isxdigit,pcr]
        jsr   show
        ldd   #'g'
        jsr   [isxdigit,pcr]
        jsr   show
        ldd   #'k'
        jsr   [isalpha,pcr]
        jsr   show
        ldd   #'_'
        jsr   [isalpha,pcr]
        jsr   show
        ldd   #'q'
        jsr   [toupper,pcr]
        jsr   [putchar,pcr]
        ldd   #hello
        jsr   [strlen,pcr]
        jsr   show
        ldd   #copy               ; strcpy(copy, "RT12"), then printf(copy)
        movw  #rt12,2,-sp
        jsr   [strcpy,pcr]
        leas  2,sp
        jsr   [printf,pcr]
        jsr   [getchar,pcr]
        jsr   [putchar,pcr]
        ldd   #$78                ; the real-time interrupt by number
        movw  #handler,2,-sp
        jsr   [setuservector,pcr]
        leas  2,sp
        jsr   show
        ldd   $3FF0               ; the slot holds the handler
        subd  #handler
        jsr   show
        ldd   #$FFF6              ; SWI has no slot
        movw  #handler,2,-sp
        jsr   [setuservector,pcr]
        leas  2,sp
        jsr   show
        ldd   #$FFD6              ; serial interface 0 by address
        movw  #start,2,-sp
        jsr   [setuservector,pcr]
        leas  2,sp
        jsr   show
        ldd   $3FD6
        subd  #start
        jsr   show
        ldd   #$1F00              ; writemem($1F00, xyz, 3)
        movw  #3,2,-sp
        movw  #xyz,2,-sp
        call  [writemem,pcr]
        leas  4,sp
        jsr   show
        ldd   #$1F00              ; readmem($1F00, copy, 3)
        movw  #3,2,-sp
        movw  #copy,2,-sp
        call  [readmem,pcr]
        leas  4,sp
        jsr   show
        ldd   #copy
        jsr   [printf,pcr]
        ldd   #$C000              ; flash does not take bytes
        movw  #1,2,-sp
        movw  #xyz,2,-sp
        call  [writemem,pcr]
        leas  4,sp
        jsr   show
        ldd   #$0400
        movw  #1,2,-sp
        call  [writeeebyte,pcr]
        leas  2,sp
        jsr   show
        call  [eraseee,pcr]
        jsr   show
        swi
show    call  [out4hex,pcr]       ; D as four hex digits and a blank
        ldab  #' '
        jmp   [putchar,pcr]
handler rti
f_text  fcs   "<%s>"
        fcb   0
f_scan  fcs   "[%u %X]"
        fcb   0
toobig  fcs   "12345"
        fcb   0
hello   fcs   "hello"
        fcb   0
rt12    fcs   "RT12"
        fcb   0
xyz     fcs   "xyz"
        fcb   0
buf     rmb   5
line    rmb   20
number  rmb   2
copy    rmb   8
        end
)";

TEST_F(MonitorSessionTest, PrintfThroughTheTable) {
    const std::string records = assemble("printf", kPrintf);
    ASSERT_EQ(0, session("l\n" + records + "g\r"));
    const std::string printed =
        "-1234 beef RT12\r\n"
        "[Z][    7][65535|][00012][12345678][4000000000][%][q]\r\n"
        "[+5][ 5][RT][    RT12][RT12    |][10][001A][   9][-100000][-32768]\r\n"
        "0044"; // the third line's 68 characters
    const size_t at = out.find("> g\r\n");
    ASSERT_NE(std::string::npos, at) << out;
    EXPECT_EQ(printed, out.substr(at + 5, printed.size())) << out;
}

TEST_F(MonitorSessionTest, TheOtherRoutinesOfTheTable) {
    const std::string records = assemble("routines", kRoutines);
    // Typed for the program: two lines (BS erases; the buffer of five holds
    // four characters), then one character.
    ASSERT_EQ(0, session("l\n" + records + "g\rab\bcdefgh\r\n7f3A rest\n#"));
    const std::string printed = "ab\b \bcde<acde>"          // getcmdline, printf
                                "7f3A rest[4 7F3A]"         // getcmdline, sscanhex
                                "0000 "                     // sscanhex of 5 digits
                                "0001 0000 0001 0000 "      // isxdigit f g, isalpha k _
                                "Q0005 RT12#"               // toupper, strlen, strcpy, getchar
                                "0000 0000 FFFF 0000 0000 " // setuservector and its slots
                                "0000 0000 xyz2"            // writemem, readmem
                                "FFFF 0000 FFFF ";          // flash, writeeebyte, eraseee
    const size_t at = out.find("> g\r\n");
    ASSERT_NE(std::string::npos, at) << out;
    EXPECT_EQ(printed, out.substr(at + 5, printed.size())) << out;
}

} // namespace
} // namespace torva
