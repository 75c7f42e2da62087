#include "io/memory_map.h"
#include "records/srecord_writer.h"
#include "sim/srecord_loader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

namespace torva {
namespace {

TEST(SrecordWriterTest, FormatsCountAddressAndChecksum) {
    const uint8_t data[] = {0xAA, 0xBB};
    EXPECT_EQ("S1051000AABB85", srecord_data(0x1000, data));
    EXPECT_EQ("S9030000FC", srecord_end(0));
    EXPECT_EQ("S2063C8000AABB", srecord_data(0x3C8000, data).substr(0, 14));
    EXPECT_EQ('3', srecord_data(0x1000000, data)[1]);
    EXPECT_EQ("S804123456", srecord_end(0x123456).substr(0, 10));
    EXPECT_EQ("S70512345678", srecord_end(0x12345678).substr(0, 12));
    EXPECT_EQ("S9", srecord_end(0xFFFF).substr(0, 2));
    EXPECT_EQ("S8", srecord_end(0x10000).substr(0, 2));
}

// Checksum of a written record, verified from first principles: all bytes
// from the count on, checksum included, add up to $FF.
TEST(SrecordWriterTest, EveryRecordSumsToFF) {
    std::vector<uint8_t> data;
    for (int i = 0; i < 32; ++i)
        data.push_back(uint8_t(i * 37 + 5));
    for (uint32_t address : {0u, 0xFFFFu, 0x10000u, 0xFFFFFFu, 0x1000000u, 0xFFFFFFFFu}) {
        const std::string line = srecord_data(address, data);
        unsigned sum = 0;
        for (size_t i = 2; i < line.size(); i += 2)
            sum += std::stoul(line.substr(i, 2), nullptr, 16);
        EXPECT_EQ(0xFFu, sum & 0xFF) << line;
        EXPECT_EQ((line.size() - 4) / 2, std::stoul(line.substr(2, 2), nullptr, 16)) << line;
    }
}

struct LoaderTest : ::testing::Test {
    test::TempDir dir;
    MemoryMap memory;
    LoadFileState state;
    std::string output;

    int load(const std::string& text) {
        state.load_file_path = dir.write("prog.s19", text);
        return load_srecord_file(state.load_file_path, memory, state,
                                 [this](std::string_view t) { output += t; });
    }
    uint8_t at(uint32_t address) {
        uint8_t byte = 0xEE;
        memory.mem_read_byte(address, byte);
        return byte;
    }
};

TEST_F(LoaderTest, StartAddressComesFromTheFirstDataRecordOrTheEndRecord) {
    struct Case {
        int line;
        const char* text;
        uint32_t start;
    };
    const Case cases[] = {
        // Header and end record only: nothing loaded, start address 0.
        {__LINE__, "S00600004844521B\nS9031234B6\n", 0},
        // An end record after data overrides the data record's address.
        {__LINE__, "S0030000FC\nS10710000102030400\nS9032000DC\n", 0x2000},
        // Without an end record the first data record's address stays.
        {__LINE__, "S10710000102030400\nS10520000000\n", 0x1000},
        // S2 and S8 carry 24-bit addresses.
        {__LINE__, "S2083C800001020304\nS8043C8002FF\n", 0x3C8002},
        // An end address that cannot be read keeps the data record's.
        {__LINE__, "S1041000AA40\nS903ZZZZFC\n", 0x1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        state.load_start_address = 0xDEAD;
        EXPECT_EQ(kLoadOk, load(c.text));
        EXPECT_EQ(c.start, state.load_start_address);
    }
}

TEST_F(LoaderTest, DataBytesLandAtTheirAddressesWhateverTheChecksum) {
    // Wrong count and wrong checksum do not stop the load; lower-case digits
    // read like upper-case ones; the last line has no line end.
    ASSERT_EQ(kLoadOk, load("S1FF1000aabbccdd00\nS1051004eeff00"));
    EXPECT_EQ(0xAA, at(0x1000));
    EXPECT_EQ(0xDD, at(0x1003));
    EXPECT_EQ(0xEE, at(0x1004));
    EXPECT_EQ(0xFF, at(0x1005));
    EXPECT_EQ(0x1000u, state.load_start_address);
    EXPECT_EQ("", output);
}

TEST_F(LoaderTest, WindowedS1RecordsGoToPageZeroAndS2RecordsToTheirPage) {
    memory.set_ppage(0x22);
    ASSERT_EQ(kLoadOk, load("S1059000123400\n"));
    EXPECT_EQ(0, memory.get_ppage());
    EXPECT_EQ(0x12, at(0x008000 + 0x1000));
    memory.set_ppage(0x22);
    ASSERT_EQ(kLoadOk, load("S2063C90005600\n"));
    EXPECT_EQ(0x22, memory.get_ppage());
    EXPECT_EQ(0x56, at(0x3C9000));
}

TEST_F(LoaderTest, FlashLoadsWithRomWriteEnableOffAndKeepsItOff) {
    memory.set_rom_write_enable(false);
    ASSERT_EQ(kLoadOk, load("S105C000A5A500\nS9030000FC\n"));
    EXPECT_EQ(0xA5, at(0xC000));
    EXPECT_FALSE(memory.rom_write_enable());
    memory.set_rom_write_enable(true);
    ASSERT_EQ(kLoadCannotOpen, load_srecord_file(dir.path() / "missing.s19", memory, state, {}));
    ASSERT_EQ(kLoadError, load("S5030001FB\n"));
    EXPECT_TRUE(memory.rom_write_enable());
}

TEST_F(LoaderTest, UnwritableByteStopsTheLoadWithTheVmLine) {
    ASSERT_EQ(kLoadError, load("S10510001122BB\nS1050FFF334400\nS1051100556600\n"));
    EXPECT_EQ("VM: Can't write to simulator memory at 0x00000FFF\n", output);
    EXPECT_EQ(0x11, at(0x1000)); // earlier records stay
    EXPECT_EQ(0x00, at(0x1100)); // later ones never come
    output.clear();
    ASSERT_EQ(kLoadError, load("S2064000000000\n"));
    EXPECT_EQ("VM: Can't write to simulator memory at 0x00400000\n", output);
}

TEST_F(LoaderTest, MalformedFilesAreLoadErrorsWithoutText) {
    struct Case {
        int line;
        const char* text;
    };
    const Case cases[] = {
        {__LINE__, "S5030001FB\n"},            // record count
        {__LINE__, "S4030001FB\n"},            // unknown type
        {__LINE__, "SX030001FB\n"},            // non-digit type
        {__LINE__, "hello\n"},                 // not a record at all
        {__LINE__, "S10510001122BB\n:1000\n"}, // garbage after data
        {__LINE__, "S1051G001122BB\n"},        // address not hexadecimal
        {__LINE__, "S105\n"},                  // address missing
        {__LINE__, "S3\n"},                    // cut short
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(kLoadError, load(c.text));
    }
    EXPECT_EQ("", output);
}

TEST_F(LoaderTest, EveryLineEndEndsARecordAndBlankLinesAreSkipped) {
    // A lone CR as older Macintosh editors write it: the checksum stays a
    // checksum and the end record ends the file; nothing after it is read.
    for (const char* end : {"\r", "\n", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        const std::string e = end;
        ASSERT_EQ(kLoadOk, load(e + "S1041000AA40" + e + e + "   " + e + "S9031000EC" + e +
                                "S1041002BB2F" + e + "garbage" + e));
        EXPECT_EQ(0xAA, at(0x1000));
        EXPECT_EQ(0x00, at(0x1001)); // not the checksum $40
        EXPECT_EQ(0x00, at(0x1002)); // not read: after the end record
        EXPECT_EQ(0x1000u, state.load_start_address);
    }
}

TEST_F(LoaderTest, OnlyRegularFilesAreOpenedAndLinesAreBounded) {
    // A line longer than any record is an error, not a growing buffer.
    EXPECT_EQ(kLoadError, load("S1041000" + std::string(4000, 'A') + "\n"));
    EXPECT_EQ(kLoadError, load("S1" + std::string(5'000'000, '0')));

    const std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    for (const std::string& path : {dir.path().string(), fifo, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        state.load_file_path = path;
        EXPECT_EQ(kLoadCannotOpen, load_srecord_file(path, memory, state, {}));
    }
}

TEST_F(LoaderTest, RecordsTheTimeAndBaseNameOfTheCurrentLoadFile) {
    const std::string monitor = dir.write("monitor.s19", "S1041000AA40\n");
    state.load_file_path = dir.write("user.s19", "");
    ASSERT_EQ(kLoadOk, load_srecord_file(monitor, memory, state, {}));
    EXPECT_EQ("user.s19", state.load_file_base_name);
    EXPECT_EQ(std::filesystem::last_write_time(state.load_file_path), state.load_file_time);
    EXPECT_EQ("a.s19", load_file_base_name("C:\\work\\a.s19"));
    EXPECT_EQ("b.s19", load_file_base_name("/home/u/b.s19"));
    EXPECT_EQ("c.s19", load_file_base_name("c.s19"));
}

// Written records read back byte for byte over all three address widths,
// one of them a record of 250 bytes (far longer than 79 characters).
TEST_F(LoaderTest, WriterAndLoaderRoundTrip) {
    struct Chunk {
        uint32_t address;
        size_t size;
    };
    const Chunk chunks[] = {{0x1000, 30},   {0x3FF0, 16},   {0x4000, 250},           {0xC000, 7},
                            {0x3C8000, 30}, {0x3DBFF0, 16}, {0x01000000 | 0x1000, 0}};
    std::string text = "S00600004844521B\n";
    std::vector<uint8_t> expected;
    for (const Chunk& c : chunks) {
        std::vector<uint8_t> data(c.size);
        for (size_t i = 0; i < c.size; ++i)
            data[i] = uint8_t(c.address + i * 7);
        text += srecord_data(c.address, data) + "\n";
    }
    text += srecord_end(0x3C8000) + "\n";
    ASSERT_EQ(kLoadOk, load(text));
    for (const Chunk& c : chunks)
        for (size_t i = 0; i < c.size; ++i)
            ASSERT_EQ(uint8_t(c.address + i * 7), at(c.address + uint32_t(i))) << c.address + i;
    EXPECT_EQ(0x3C8000u, state.load_start_address);
}

} // namespace
} // namespace torva
