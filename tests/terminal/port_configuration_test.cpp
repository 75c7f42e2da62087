// Configuring a link: the steps in order, the message of each failing step,
// and the state written.
#include "terminal/port_configuration.h"

#include "terminal/terminal_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torva {
namespace {

// Records the steps; the step named in fail_at fails.
class FakeLink final : public SerialLink {
public:
    std::string fail_at;
    std::vector<std::string> steps;
    PortState reported;
    PortState written;
    PortTimeouts timeouts;
    uint32_t mask = 0, in = 0, out = 0;

    void clear_error() override { steps.push_back("clear"); }
    bool purge() override { return step("purge"); }
    bool get_state(PortState& s) override {
        s = reported;
        return step("get");
    }
    bool set_state(const PortState& s) override {
        written = s;
        return step("set");
    }
    bool set_event_mask(uint32_t m) override {
        mask = m;
        return step("mask");
    }
    bool set_queues(uint32_t i, uint32_t o) override {
        in = i;
        out = o;
        return step("queues");
    }
    bool set_timeouts(const PortTimeouts& t) override {
        timeouts = t;
        return step("timeouts");
    }
    size_t read(std::span<uint8_t>) override { return 0; }
    size_t write(std::span<const uint8_t> b) override { return b.size(); }

private:
    bool step(const char* name) {
        steps.emplace_back(name);
        return fail_at != name;
    }
};

TEST(PortConfigurationTest, EachFailingStepStopsWithItsMessage) {
    struct Case {
        const char* fail_at;
        const char* message;
        size_t steps;
    };
    const Case cases[] = {
        {"purge", nullptr, 2},
        {"get", terminal_message::kCantObtainState, 3},
        {"set", terminal_message::kCantSetState, 4},
        {"mask", terminal_message::kCantSetMask, 5},
        {"queues", terminal_message::kCantSetBuffer, 6},
        {"timeouts", nullptr, 7}, // the time-outs cannot fail the configuration
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail_at);
        FakeLink link;
        link.fail_at = c.fail_at;
        SerialSettings s;
        const ConfigureResult result = configure_port(link, s);
        EXPECT_EQ(c.message == nullptr && std::string(c.fail_at) == "timeouts", result.ok);
        EXPECT_STREQ(c.message, result.message);
        EXPECT_EQ(c.steps, link.steps.size());
    }
}

TEST(PortConfigurationTest, WritesTheSettingsOverTheReportedState) {
    FakeLink link;
    link.reported.baud = 1200;
    SerialSettings s{0, line_control::make(2, 3), 7, 1, 2, 0b1010};
    ASSERT_TRUE(configure_port(link, s).ok);
    EXPECT_EQ(9600u, s.baud); // repaired in place
    const PortState w = link.written;
    EXPECT_EQ((PortState{9600, 10, 10, 7, 1, 2, 0x12, 0x10, 2, 3, false, true, false, true}), w);
    EXPECT_EQ(5u, link.mask);
    EXPECT_EQ(1024u, link.in);
    EXPECT_EQ(128u, link.out);
    EXPECT_EQ(UINT32_MAX, link.timeouts.read_interval);
    EXPECT_EQ(0u, link.timeouts.read_total_constant + link.timeouts.write_total_constant);
}

} // namespace
} // namespace torva
