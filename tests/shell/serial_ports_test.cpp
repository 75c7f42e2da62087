// Serial port numbering and presence: a pseudo-terminal named in
// TORVA_SERIAL_PORTS follows the system's ports and shows its own name.
#include "shell/serial_ports.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace torva {
namespace {

TEST(serial_ports_test, menu_text_of_com_and_other_ports) {
    EXPECT_EQ("COM&3", port_menu_text({2, "COM3", "COM3"}));
    EXPECT_EQ("ttyUSB0", port_menu_text({0, "/dev/ttyUSB0", "ttyUSB0"}));
    EXPECT_EQ("/tmp/a&&b", port_menu_text({1, "/tmp/a&b", "/tmp/a&b"})); // "&" shown as is
}

TEST(serial_ports_test, pseudo_terminal_from_the_environment_is_present) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(0, grantpt(master));
    ASSERT_EQ(0, unlockpt(master));
    const std::string slave = ptsname(master);
    const std::string listed = slave + ":/dev/torva-no-such-port";
    setenv("TORVA_SERIAL_PORTS", listed.c_str(), 1);

    const auto table = serial_port_table();
    ASSERT_GE(table.size(), 2u);
    const SerialPortEntry& pty = table[table.size() - 2];
    const SerialPortEntry& missing = table.back();
    EXPECT_EQ(slave, pty.location);
    EXPECT_EQ(pty.number + 1, missing.number); // numbered after the system's ports
    EXPECT_EQ(slave, serial_port(pty.number).location);
    EXPECT_TRUE(port_present(pty));
    EXPECT_FALSE(port_present(missing));

    bool listed_present = false;
    for (const auto& item : PortLister().present_ports()) {
        EXPECT_NE(missing.number, item.number);
        if (item.number == pty.number) listed_present = item.text == slave;
    }
    EXPECT_TRUE(listed_present);
    unsetenv("TORVA_SERIAL_PORTS");
    close(master);
}

} // namespace
} // namespace torva
