// The link over a real port, against a socat pseudo-terminal pair: the
// exclusive open, the order of bytes from a writer thread and the owning
// thread, a write the far end holds, and the ports the link can open.
#include "terminal/gui/serial_port_link.h"
#include "terminal/port_configuration.h"

#include "support/socat_pair.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

namespace torva {
namespace {

// Lets the event loop run until done says so or the time is up.
bool wait_for(const std::function<bool()>& done,
              std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// What reaches the far end while the link's owner keeps its events going.
std::string read_far_end(const test::SocatPair& pair, SerialLink& link, size_t count) {
    std::string got;
    wait_for([&] {
        link.unsent();
        got += pair.receive(count - got.size(), 1);
        return got.size() >= count;
    });
    return got;
}

// The link on the pair's near end.
std::unique_ptr<SerialPortLink> open_near(const test::SocatPair& pair) {
    std::string error;
    auto link = pair.ready() ? SerialPortLink::open(pair.near_path(), error) : nullptr;
    EXPECT_NE(nullptr, link) << error;
    return link;
}

// Bytes both ways and the settings reaching the port are the terminal
// window test's, over the same kind of pair.
TEST(SerialPortLinkTest, a_second_open_of_a_held_port_is_refused) {
    test::SocatPair pair;
    auto link = open_near(pair);
    ASSERT_NE(nullptr, link);
    std::string error;
    EXPECT_EQ(nullptr, SerialPortLink::open(pair.near_path(), error));
    EXPECT_FALSE(error.empty());
}

TEST(SerialPortLinkTest, bytes_of_a_writer_thread_go_before_a_later_byte_of_the_owner) {
    test::SocatPair pair;
    ASSERT_TRUE(pair.ready());
    std::string error;
    auto link = open_serial_port({0, pair.near_path(), "near"}, error);
    ASSERT_NE(nullptr, link) << error;

    std::thread writer([&] {
        for (int i = 0; i < 20; ++i)
            link->write(std::string_view("S1130000\n"));
    });
    writer.join();
    link->write(std::string_view("\x04"));
    std::string expected;
    for (int i = 0; i < 20; ++i)
        expected += "S1130000\n";
    EXPECT_EQ(expected + "\x04", pair.receive(expected.size() + 1));
}

// The far end holds the line with XOFF: a write queues without waiting,
// the port's failure is told after the stall time, further writes are
// refused; after XON what waited goes, the failure ends, and the next write
// arrives.
TEST(SerialPortLinkTest, a_stalled_write_is_reported_and_the_next_after_xon_arrives) {
    test::SocatPair pair;
    auto link = open_near(pair);
    ASSERT_NE(nullptr, link);
    SerialSettings settings;
    settings.flow_control = flow_control::kXonXoffTransmit;
    ASSERT_TRUE(configure_port(*link, settings).ok);

    pair.send("\x13"); // XOFF
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(5u, link->write(std::string_view("held\n")));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
    EXPECT_EQ("", link->write_failure());
    EXPECT_EQ("", pair.receive(1, 300));
    ASSERT_TRUE(wait_for([&] { return !link->write_failure().empty(); },
                         std::chrono::milliseconds(SerialPortLink::kStallTime.count() + 2000)));
    EXPECT_EQ("no byte went out for 2 seconds", link->write_failure());
    EXPECT_EQ(0u, link->write(std::string_view("refused")));

    pair.send("\x11"); // XON
    ASSERT_TRUE(wait_for([&] { return link->write_failure().empty(); }));
    EXPECT_EQ(4u, link->write(std::string_view("next")));
    EXPECT_EQ("held\nnext", read_far_end(pair, *link, 9));
}

TEST(SerialPortLinkTest, ports_of_the_environment_are_listed_before_the_simulated_ones) {
    test::SocatPair pair;
    ASSERT_TRUE(pair.ready());
    const std::string listed = pair.near_path() + ":/dev/torva-no-such-port";
    setenv("TORVA_SERIAL_PORTS", listed.c_str(), 1);
    const auto table = serial_port_table();
    unsetenv("TORVA_SERIAL_PORTS");

    ASSERT_GE(table.size(), 4u);
    const SerialPortEntry& pty = table[table.size() - 4];
    EXPECT_EQ(pair.near_path(), pty.location);
    EXPECT_TRUE(port_present(pty));
    EXPECT_FALSE(port_present(table[table.size() - 3]));
    EXPECT_EQ("RT12 Simulator SCI0", table[table.size() - 2].name);
    EXPECT_TRUE(port_present(table.back()));

    std::string error;
    EXPECT_EQ(nullptr, open_serial_port(table.back(), error));
    EXPECT_EQ(nullptr, open_serial_port(table[table.size() - 3], error));
}

} // namespace
} // namespace torva
