#include "iosim/io_simulator.h"

#include "iosim/devices/flip_flop.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace torva {
namespace {

struct Record {
    int type;
    std::string name;
    int size;
    std::string description;
};

// Reads the list the way the device dialog does: "%d %s %d" for the first
// three fields, the description from behind the third tab.
std::vector<Record> parse_list(const char* list) {
    std::vector<Record> records;
    std::string text(list);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\r', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        Record r{};
        char name[64] = {};
        EXPECT_EQ(3, std::sscanf(line.c_str(), "%d %63s %d", &r.type, name, &r.size)) << line;
        r.name = name;
        size_t tab = 0;
        for (int i = 0; i < 3 && tab != std::string::npos; ++i)
            tab = line.find('\t', tab + (i > 0));
        EXPECT_NE(std::string::npos, tab) << line;
        r.description = line.substr(tab + 1);
        records.push_back(r);
        start = end + 1;
    }
    return records;
}

TEST(IoSimulatorTest, DeviceTypeListHasEveryTypeTheBoardNeeds) {
    IoSimulator lib;
    const int32_t size = lib.QueryIOListSize();
    ASSERT_GT(size, 1);
    std::vector<char> buffer(size_t(size), 'x');
    EXPECT_EQ(size, lib.GetIOList(buffer));
    EXPECT_EQ('\0', buffer.back());
    EXPECT_EQ(size_t(size - 1), std::strlen(buffer.data()));
    EXPECT_NE('\r', buffer[size_t(size) - 2]); // separated, not terminated, by CR

    std::map<int, Record> by_type;
    for (const Record& r : parse_list(buffer.data())) {
        EXPECT_LE(r.name.size(), 15u);
        EXPECT_LE(r.description.size(), 63u);
        EXPECT_FALSE(r.description.empty());
        EXPECT_TRUE(by_type.emplace(r.type, r).second) << "type twice: " << r.type;
    }
    // Every type the board's descriptors name, 1 to 12, is listed and opens.
    for (int type = 1; type <= 12; ++type) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(by_type.count(type));
        EXPECT_GE(by_type[type].size, 1);
        const int32_t handle = lib.OpenSim(type, "$400", 0);
        EXPECT_GE(handle, 0);
        EXPECT_EQ(DeviceType(type), lib.device(handle)->type());
    }
}

TEST(IoSimulatorTest, ShortBufferGetsACutListEndedByZero) {
    IoSimulator lib;
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(8, lib.GetIOList(buffer));
    EXPECT_EQ(std::string("1\tOutpo"), buffer);
    EXPECT_EQ(0, lib.GetIOList(std::span<char>()));
}

TEST(IoSimulatorTest, HandleThatNamesNoDeviceChangesNothing) {
    IoSimulator lib;
    const int32_t ff = lib.OpenSim(4, "$DC0", 0);
    lib.device_as<FlipFlop>(ff)->press_button();
    const uint64_t changes = lib.device(ff)->change_count();
    for (int32_t handle : {-1, -7, 1, 1000}) {
        SCOPED_TRACE(handle);
        EXPECT_EQ(0, lib.QuerySim(handle));
        EXPECT_EQ(0xFF, lib.InputSim(handle, 0));
        EXPECT_EQ(-1, lib.OutputSim(handle, 0x55, 0));
        EXPECT_EQ(0, lib.IsIosimPendingIrq(handle));
        EXPECT_EQ(-1, lib.SetOptionSim(handle, 2));
        EXPECT_EQ(0, lib.GetOptionSim(handle));
        EXPECT_EQ(-1, lib.CloseSim(handle));
    }
    EXPECT_EQ(changes, lib.device(ff)->change_count());
    EXPECT_EQ(1, lib.IsIosimPendingIrq(ff));
    EXPECT_EQ(-1, lib.OpenSim(0, "$400", 0));
    EXPECT_EQ(-1, lib.OpenSim(13, "$400", 0));
    EXPECT_EQ(-1, lib.OpenSim(-1, "$400", 0));
}

TEST(IoSimulatorTest, UserCloseSilencesTheDeviceUntilTheProgramClosesIt) {
    IoSimulator lib;
    const int32_t ff = lib.OpenSim(4, "$DC0", 0);
    auto* model = lib.device_as<FlipFlop>(ff);
    model->press_button();
    EXPECT_EQ(1, lib.QuerySim(ff));
    model->user_close();
    EXPECT_EQ(0, lib.QuerySim(ff));
    EXPECT_EQ(0, lib.IsIosimPendingIrq(ff));
    EXPECT_EQ(0xFF, lib.InputSim(ff, 0));
    EXPECT_TRUE(model->is_set()); // the read did not reach the model
    EXPECT_EQ(-1, lib.OutputSim(ff, 0, 0));
    EXPECT_EQ(0, lib.CloseSim(ff));
    EXPECT_EQ(nullptr, lib.device(ff));
    EXPECT_EQ(-1, lib.CloseSim(ff));
}

TEST(IoSimulatorTest, HandlesAreNeverReused) {
    IoSimulator lib;
    const int32_t a = lib.OpenSim(1, "$400", 0);
    EXPECT_EQ(0, lib.CloseSim(a));
    const int32_t b = lib.OpenSim(2, "$600", 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(0, lib.QuerySim(a));
    EXPECT_EQ(std::vector<int32_t>{b}, lib.handles());
    EXPECT_EQ("$600", lib.device(b)->address_text());
}

TEST(IoSimulatorTest, OptionsAndCallbacks) {
    IoSimulator lib;
    std::vector<std::string> events;
    lib.set_open_callback([&](int32_t h, Device& d) {
        events.push_back("open " + std::to_string(h) + " " + d.address_text());
    });
    lib.set_close_callback(
        [&](int32_t h, Device&) { events.push_back("close " + std::to_string(h)); });
    const int32_t kb = lib.OpenSim(6, "$C00", 0);
    EXPECT_EQ(0, lib.GetOptionSim(kb));
    EXPECT_EQ(0, lib.SetOptionSim(kb, 2));
    EXPECT_EQ(2, lib.GetOptionSim(kb));
    int notified = 0;
    lib.device(kb)->set_change_callback([&] { ++notified; });
    lib.OutputSim(kb, 0x80, 0);
    EXPECT_EQ(1, notified);
    lib.CloseSim(kb);
    EXPECT_EQ((std::vector<std::string>{"open 0 $C00", "close 0"}), events);
}

TEST(IoSimulatorTest, TwoLibrariesAreIndependent) {
    IoSimulator one, two;
    const int32_t a = one.OpenSim(4, "$DC0", 0);
    const int32_t b = two.OpenSim(4, "$DC0", 0);
    one.device_as<FlipFlop>(a)->press_button();
    EXPECT_EQ(1, one.IsIosimPendingIrq(a));
    EXPECT_EQ(0, two.IsIosimPendingIrq(b));
}

} // namespace
} // namespace torva
