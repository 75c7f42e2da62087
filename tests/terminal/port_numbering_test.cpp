// Serial port numbers and names: the system's ports, the paths from the
// environment, then the simulated board's two interfaces.
#include "terminal/port_numbering.h"

#include <gtest/gtest.h>

namespace torva {
namespace {

TEST(PortNumberingTest, SystemPortsInNameOrderThenExtraPathsThenTheSimulator) {
    const auto table = number_serial_ports({{"/dev/ttyUSB0", "ttyUSB0"}, {"/dev/ttyS0", "ttyS0"}},
                                           false, "/dev/pts/4::/tmp/b");
    ASSERT_EQ(6u, table.size());
    EXPECT_EQ("ttyS0", table[0].name);
    EXPECT_EQ(1, table[1].number);
    EXPECT_EQ("/dev/pts/4", table[2].location);
    EXPECT_EQ(3, table[3].number); // the empty path takes no number
    EXPECT_EQ((SerialPortEntry{254, "", "RT12 Simulator SCI0", 0}.name), table[4].name);
    EXPECT_EQ(1, table[5].simulated_interface);
    EXPECT_EQ(255, table[5].number);
    EXPECT_FALSE(find_serial_port(table, 7).simulated());
    EXPECT_TRUE(find_serial_port(table, 7).location.empty());
}

TEST(PortNumberingTest, ComPortsKeepTheirNumbersAndNamesInMenusAndTitles) {
    const auto table = number_serial_ports(
        {{"\\\\.\\COM3", "COM3"}, {"\\\\.\\COM1", "COM1"}, {"x", "LPT1"}, {"y", "COM255"}}, true,
        "");
    ASSERT_EQ(4u, table.size()); // COM255 would take a simulated port's number
    EXPECT_EQ(0, table[0].number);
    EXPECT_EQ(2, table[1].number);
    EXPECT_EQ("COM&3", port_menu_text(table[1]));
    EXPECT_EQ("COM3", port_title_name(table[1]));
    EXPECT_EQ("RT12 Simulator SCI0", port_menu_text(table[2]));
    EXPECT_EQ("/tmp/a&&b", port_menu_text({1, "/tmp/a&b", "/tmp/a&b"})); // "&" shown as is
}

} // namespace
} // namespace torva
