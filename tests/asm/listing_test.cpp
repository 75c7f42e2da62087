// Listing layout and the splitting of S-records.
#include "asm/listing.h"
#include "asm_fixture.h"
#include "records/srecord_writer.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace torva {
namespace {

using test::AsmFixture;
using ::testing::HasSubstr;
using ::testing::Not;

class ListingTest : public AsmFixture {};

// Joins pieces (g++ 12 warns falsely about chains of operator+ here).
std::string cat(std::initializer_list<std::string_view> pieces) {
    std::string out;
    for (std::string_view p : pieces)
        out += p;
    return out;
}

std::string banner() {
    return "TA12 - MC68HC12 Absolute crossassembler, Version 1.6.3\n"
           "TORVA 6 for RT12 built-in assembler for the CPU12 family\n\n\nFile: prog.lst\n";
}

TEST_F(ListingTest, ColumnsWordModeAndContinuationLines) {
    const test::AsmRun r = assemble("; demo\n"
                                    "VAL     EQU   $1234\n"
                                    "        ORG   $4000\n"
                                    "START   LDAA  #1\n"
                                    "        FDB   $1234,START\n"
                                    "        FCB   1,2,3,4,5,6,7,8,9,10,11,12,13,14\n"
                                    "        FCB   1,2,3,4,5,6,7,8,9,10,11,12\n"
                                    "        END   START\n");
    ASSERT_EQ(1, r.result) << r.messages();
    const std::string blank6(6, ' '), blank18(18, ' ');
    const std::string expected = cat({
        banner(),
        blank6,
        blank18,
        "    1. ; demo\n", // comment: no address
        "       0000 1234        ",
        "    2. VAL     EQU   $1234\n", // EQU: two words
        "004000",
        blank18,
        "    3.         ORG   $4000\n",
        "004000 86 01            ",
        "    4. START   LDAA  #1\n",
        "004002 1234 4000        ",
        "    5.         FDB   $1234,START\n",
        "004006 01 02 03 04 05 06",
        "    6.         FCB   1,2,3,4,5,6,7,8,9,10,11,12,13,14\n",
        "       07 08 09 0A 0B 0C\n",
        "       0D 0E            \n",
        "004014 01 02 03 04 05 06",
        "    7.         FCB   1,2,3,4,5,6,7,8,9,10,11,12\n",
        "       07 08 09 0A 0B 0C\n",
        "004020",
        blank18,
        "    8.         END   START\n",
    });
    EXPECT_EQ(expected, r.listing);
    std::vector<uint8_t> code = {0x86, 0x01, 0x12, 0x34, 0x40, 0x00};
    for (int i = 1; i <= 14; ++i)
        code.push_back(uint8_t(i));
    for (int i = 1; i <= 12; ++i)
        code.push_back(uint8_t(i));
    const std::vector<uint8_t> head(code.begin(), code.begin() + 30),
        tail(code.begin() + 30, code.end());
    EXPECT_EQ(cat({srecord_data(0x4000, head), "\n", srecord_data(0x401E, tail), "\n"}),
              r.srecords.substr(0, r.srecords.find("S9")));
    EXPECT_THAT(r.srecords, HasSubstr("\nS9034000BC\n"));
}

TEST_F(ListingTest, CommentLinesShowNoAddressWhereverTheyStart) {
    const test::AsmRun r = assemble(" org $1000\n   ; indented\n\t* tab and star\nlab ; label\n");
    const std::string blank24(24, ' ');
    EXPECT_THAT(r.listing, HasSubstr(cat({blank24, "    2.    ; indented\n"})));
    EXPECT_THAT(r.listing, HasSubstr(cat({blank24, "    3. \t* tab and star\n"})));
    EXPECT_THAT(r.listing,
                HasSubstr(cat({"001000", std::string(18, ' '), "    4. lab ; label\n"})));
}

// Records split at window boundaries as they do at thirty bytes (above).
TEST_F(ListingTest, RecordsSplitAtWindowBoundaries) {
    test::AsmRun r = assemble(" org $7FFC\n fcb 1,2,3,4,5,6\n");
    const uint8_t low[] = {1, 2, 3, 4}, high[] = {5, 6};
    EXPECT_EQ(srecord_data(0x7FFC, low) + "\n" + srecord_data(0x8000, high) + "\n" +
                  srecord_end(0x7FFC) + "\n",
              r.srecords);

    // No ORG: from address 0, the end record carries the final location.
    r = assemble(" nop\n nop\n");
    EXPECT_EQ("S1050000A7A7AC\nS9030002FA\n", r.srecords);

    // Above $FFFF: S2 records and an S8 end record.
    r = assemble(" org $3C8000\n fcb 1\n");
    const uint8_t one[] = {1};
    EXPECT_EQ(srecord_data(0x3C8000, one) + "\n" + srecord_end(0x3C8000) + "\n", r.srecords);
    EXPECT_EQ('8', srecord_end(0x3C8000)[1]);

    // END with a start symbol, and storage as zero bytes.
    r = assemble(" org $1000\n rmb 3\nstart nop\n end start\n");
    const uint8_t code[] = {0, 0, 0, 0xA7};
    EXPECT_EQ(srecord_data(0x1000, code) + "\n" + srecord_end(0x1003) + "\n", r.srecords);
    EXPECT_THAT(r.listing, HasSubstr(cat({"001000", std::string(18, ' '), "    2.  rmb 3\n"})));
}

// A reservation's zeros go into the records exactly as the same zeros
// given byte by byte: after a partly filled record, across window
// boundaries, and where the address widens to S2 and S3 records.
TEST_F(ListingTest, ReservationsSplitLikeTheSameBytesGivenOneByOne) {
    const auto zeros = [](int count) {
        std::string lines;
        for (; count > 0; count -= 500) {
            lines += " fcb 0";
            for (int i = 1; i < std::min(count, 500); ++i)
                lines += ",0";
            lines += '\n';
        }
        return lines;
    };
    struct Case {
        int line;
        const char* before;
        int size;
    };
    const Case cases[] = {
        {__LINE__, " org $1000\n", 1},
        {__LINE__, " org $1000\n", 60},
        {__LINE__, " org $3FE2\n", 0x1E},
        {__LINE__, " org $1000\n fcb 1\n", 29},
        {__LINE__, " org $1000\n fcb 1,2\n", 61},
        {__LINE__, " org $3FF0\n fcb 1,2,3\n", 40},
        {__LINE__, " org $7FE5\n", 0x4020},
        {__LINE__, " org $FFF0\n fcb 9\n", 0x30},
        {__LINE__, " org $FFFFF5\n", 0x20},
        {__LINE__, " org $FFC0\n", 0x80},
        {__LINE__, " org $7FF0\n", 0x10000},
        {__LINE__, " org $10000\n", 0x10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string after = " fcb 5\n";
        const test::AsmRun reserved =
            assemble(c.before + (" rmb " + std::to_string(c.size) + "\n") + after);
        const test::AsmRun given = assemble(c.before + zeros(c.size) + after);
        ASSERT_FALSE(given.output.empty());
        ASSERT_THAT(given.output.back(), HasSubstr("No Errors."));
        EXPECT_EQ(given.srecords, reserved.srecords);
    }
}

TEST_F(ListingTest, LongCodeListsOnlyTheFirst120Bytes) {
    const test::AsmRun r = assemble(" ascii \"" + std::string(130, 'x') + "\"\n", "-L");
    EXPECT_EQ(130u, r.bytes().size());
    EXPECT_EQ(120u, r.listed_bytes().size());
}

TEST_F(ListingTest, ListNolistAndListcond) {
    const test::AsmRun r = assemble(" option nolist\n"
                                    "hidden1 nop\n"
                                    " option list\n"
                                    "#if 0\n"
                                    "skipped1 nop\n"
                                    "#endif\n"
                                    " option listcond\n"
                                    "#if 0\n"
                                    "skipped2 nop\n"
                                    "#endif\n");
    EXPECT_THAT(r.listing, HasSubstr("    1.  option nolist\n"));
    EXPECT_THAT(r.listing, Not(HasSubstr("hidden1")));
    EXPECT_THAT(r.listing, HasSubstr("    3.  option list\n"));
    EXPECT_THAT(r.listing, HasSubstr(cat({std::string(24, ' '), "    4. #if 0\n"})));
    EXPECT_THAT(r.listing, Not(HasSubstr("skipped1")));
    EXPECT_THAT(r.listing, HasSubstr("    6. #endif\n"));
    EXPECT_THAT(r.listing, HasSubstr("    9. skipped2 nop\n"));
}

TEST_F(ListingTest, FileMarkersAroundAnInclude) {
    dir.write("part.inc", " nop\n");
    const test::AsmRun r = assemble(" include \"part.inc\"\n nop\n");
    EXPECT_THAT(r.listing, HasSubstr("    1.  include \"part.inc\"\n---- File: \"part.inc\"\n"));
    EXPECT_THAT(r.listing, HasSubstr("    2.  nop\n"));
    EXPECT_THAT(r.listing, HasSubstr("    3.  nop\n---- File: \"prog.asm\"\n"));
}

} // namespace
} // namespace torva
