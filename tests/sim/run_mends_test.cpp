// Run control as the window drives it: in-service lamps through nested
// services, command enabling while running, refreshes after loading, trace
// listeners, and the real-time runs by the bus clock.
#include "sim_fixture.h"

#include "io/device_table.h"
#include "iosim/devices/port_device.h"
#include "sim/panel.h"

namespace torva {
namespace {

// Counts the refreshes the lamps and counters get.
struct CountingUi final : SimulatorUi {
    int counters = 0;
    int status = 0;
    void refresh_counters() override { ++counters; }
    void refresh_status() override { ++status; }
};

struct RunMendsTest : test::SimulatorFixture {
    uint64_t now = 1'000'000'000;
    RunMendsTest() {
        sim.set_time_source([this] { return now; });
    }
};

// CLI, BRA to itself; IRQ handler at $1100: CLI, then NOP NOP RTI; XIRQ
// handler at $1180: SWI, RTI; SWI handler at $1200: RTI.
const std::initializer_list<test::Chunk> kNesting = {{0x1000, {0x10, 0xEF, 0x20, 0xFE}},
                                                     {0x1100, {0x10, 0xEF, 0xA7, 0xA7, 0x0B}},
                                                     {0x1180, {0x3F, 0x0B}},
                                                     {0x1200, {0x0B}},
                                                     {0xFFF2, {0x11, 0x00}},
                                                     {0xFFF4, {0x11, 0x80}},
                                                     {0xFFF6, {0x12, 0x00}}};

TEST_F(RunMendsTest, InServiceLampsFollowNestedServicesAndSwi) {
    load(kNesting);
    cpu.regs.ccr &= uint8_t(~0x40); // XIRQ unmasked
    sim.step(true);                 // CLI
    sim.dispatch(sim_cmd::kActivateIrq);
    sim.step(true); // IRQ taken
    sim.step(true); // CLI in the handler
    sim.dispatch(sim_cmd::kActivateXirq);
    sim.step(true); // XIRQ taken inside
    EXPECT_TRUE(lamps_of(sim).service_irq);
    EXPECT_TRUE(lamps_of(sim).service_xirq);
    sim.step(true); // SWI
    sim.step(true); // its RTI: both services go on
    EXPECT_TRUE(sim.in_service(InterruptSource::kXirq));
    EXPECT_TRUE(sim.in_service(InterruptSource::kIrq));
    sim.step(true); // XIRQ's RTI
    EXPECT_FALSE(sim.in_service(InterruptSource::kXirq));
    EXPECT_TRUE(sim.in_service(InterruptSource::kIrq)) << "the outer service is still running";
    for (int i = 0; i < 3; ++i)
        sim.step(true); // NOP NOP RTI
    EXPECT_EQ(0x1002, cpu.regs.pc);
    EXPECT_FALSE(sim.in_service(InterruptSource::kIrq));
    EXPECT_EQ(0u, sim.service_nesting());
}

TEST_F(RunMendsTest, BreakpointModuleSwiLightsNoServiceLamp) {
    load(kNesting);
    sim.step(true); // CLI
    // Arm the breakpoint module at $1002 (the BRA).
    for (const auto& [offset, byte] : {std::pair{0x2B, 0x10}, {0x2C, 0x02}, {0x28, 0x80}})
        board.memory().mem_write_byte(uint32_t(offset), uint8_t(byte));
    sim.dispatch(sim_cmd::kActivateIrq);
    sim.step(true);
    EXPECT_EQ(0x1200, cpu.regs.pc) << "the module's SWI";
    EXPECT_FALSE(sim.in_service(InterruptSource::kIrq));
}

TEST_F(RunMendsTest, WhileRunningTheMenusAndPanelOfferMoreThanTheToolbar) {
    load(kNesting);
    sim.dispatch(sim_cmd::kRunFast);
    for (const int id : {sim_cmd::kSetBreak, sim_cmd::kBreakpointTable, sim_cmd::kActivateIrq,
                         sim_cmd::kEnableBreakOnIo, sim_cmd::kClearAllBreaks}) {
        EXPECT_TRUE(sim.command_enabled(id)) << id;
        EXPECT_FALSE(sim.toolbar_enabled(id)) << id;
    }
    for (const int id : {sim_cmd::kStep, sim_cmd::kGotoHere, sim_cmd::kLoadNew, sim_cmd::kRunSlow})
        EXPECT_FALSE(sim.command_enabled(id)) << id;
    sim.dispatch(sim_cmd::kSetBreak, 0x1100);
    EXPECT_EQ(0, sim.breakpoints().find(0x1100));
    sim.dispatch(sim_cmd::kActivateIrq);
    EXPECT_TRUE(sim.manual_request(InterruptSource::kIrq));
    // A disabled command is taken and does nothing.
    const uint32_t cycles = sim.cycle_total();
    EXPECT_TRUE(sim.dispatch(sim_cmd::kStep));
    EXPECT_EQ(cycles, sim.cycle_total());
    EXPECT_TRUE(sim.dispatch(sim_cmd::kResetSimulator));
    EXPECT_TRUE(sim.running());
}

TEST_F(RunMendsTest, LoadChainAndLoadNewRefreshCountersAndLamps) {
    CountingUi counting;
    sim.bind_ui(counting);
    load(kNesting);
    EXPECT_GT(counting.counters, 0);
    EXPECT_GT(counting.status, 0);
    counting = {};
    sim.dispatch(sim_cmd::kLoadNew, std::nullopt, sim.load_file().load_file_path);
    EXPECT_GT(counting.counters, 0);
    EXPECT_GT(counting.status, 0);
    sim.bind_ui(ui);
}

TEST_F(RunMendsTest, EveryTraceListenerSeesEveryInstruction) {
    load(kNesting);
    std::vector<std::string> first, second;
    const int a = sim.add_instruction_listener(
        [&](uint32_t, std::string_view text) { first.emplace_back(text); });
    sim.add_instruction_listener(
        [&](uint32_t address, std::string_view) { second.push_back(std::to_string(address)); });
    sim.step(true);
    sim.remove_instruction_listener(a);
    sim.step(true);
    EXPECT_EQ((std::vector<std::string>{"ANDCC #$EF"}), first);
    EXPECT_EQ((std::vector<std::string>{"4096", "4098"}), second);
}

TEST_F(RunMendsTest, RealTimeRunsByTheBusClock) {
    // BRA to itself: 3 cycles a step.
    load({{0x1000, {0x20, 0xFE}}});
    sim.dispatch(sim_cmd::kRunRealTime);
    EXPECT_EQ(RunMode::kRunningRealTime, sim.run_mode());
    EXPECT_EQ(1, ui.timer_starts);
    const uint32_t start = sim.cycle_total();
    now += 100'000'000; // one 100 ms tick at 8 MHz: 800,000 cycles
    sim.tick();
    EXPECT_NEAR(800'000, double(sim.cycle_total() - start), 3);
    now += 100'000'000;
    sim.tick();
    EXPECT_NEAR(1'600'000, double(sim.cycle_total() - start), 3);
    EXPECT_NEAR(1.0, sim.real_time_ratio(), 0.001);

    sim.dispatch(sim_cmd::kFirstBusClock); // 1 MHz
    EXPECT_EQ(1'000'000u, sim.bus_clock());
    const uint32_t before = sim.cycle_total();
    now += 100'000'000;
    sim.tick();
    EXPECT_NEAR(100'000, double(sim.cycle_total() - before), 3);
    // A stalled host counts half a second at most.
    now += 10'000'000'000;
    const uint32_t stalled = sim.cycle_total();
    sim.tick();
    EXPECT_NEAR(500'000, double(sim.cycle_total() - stalled), 3);

    // Breakpoints and Halt work as in Run Fast.
    sim.breakpoints().add(0x1000, BreakState::kEnabled);
    now += 100'000'000;
    sim.tick();
    EXPECT_FALSE(sim.running());
    sim.set_bus_clock(3);
    EXPECT_EQ(Simulator::kMinBusClock, sim.bus_clock());
    sim.set_bus_clock(900'000'000);
    EXPECT_EQ(Simulator::kMaxBusClock, sim.bus_clock());
}

TEST_F(RunMendsTest, UnlimitedRealTimeRunsForTheTicksHostTime) {
    load({{0x1000, {0x20, 0xFE}}});
    sim.set_bus_clock(0);
    // Every look at the clock moves it on by a millisecond.
    sim.set_time_source([this] { return now += 1'000'000; });
    sim.dispatch(sim_cmd::kRunRealTime);
    const uint32_t start = sim.cycle_total();
    sim.tick();
    EXPECT_TRUE(sim.running());
    // About 12 batches of 1024 steps fit the tick's 12 ms of host time.
    EXPECT_NEAR(12.0 * 1024 * 3, double(sim.cycle_total() - start), 2.0 * 1024 * 3);
    sim.dispatch(sim_cmd::kHalt);
    EXPECT_FALSE(sim.running());
}

// Run Real Time runs a tick's time in slices of at most 16 ms of simulated
// time, and the devices' display frame spans the tick's last slice or more:
// an LED lit for the first half of a 100 ms tick shows dark afterwards (its
// last frame saw it dark), not half lit. When the run ends the LEDs show
// what is latched.
TEST_F(RunMendsTest, RealTimeRunsInDisplaySlices) {
    auto* leds = test::connect_device<PortDevice>(board, bus_row::kOutport, 1);
    ASSERT_NE(nullptr, leds);
    // LDAA #1; STAA $400; LDX #8333; DBNE X,*; CLR $400; BRA *: the LED is
    // lit for about 50,000 cycles (DBNE counts 6), 50 ms at 1 MHz.
    load({{0x1000,
           {0x86, 0x01, 0x7A, 0x04, 0x00, 0xCE, 0x20, 0x8D, 0x04, 0x35, 0xFD, 0x79, 0x04, 0x00,
            0x20, 0xFE}}});
    sim.set_bus_clock(1'000'000);
    sim.dispatch(sim_cmd::kRunRealTime);
    now += 100'000'000;
    sim.tick();
    EXPECT_EQ(0x00, leds->outputs());
    EXPECT_DOUBLE_EQ(0.0, leds->brightness(0));
    sim.dispatch(sim_cmd::kHalt);
    cpu.regs.pc = 0x1000;
    sim.dispatch(sim_cmd::kRunRealTime);
    now += 10'000'000;
    sim.tick(); // lit from its fourth cycle on
    EXPECT_NEAR(1.0, leds->brightness(0), 0.001);
    now += 45'000'000;
    sim.tick(); // three slices of 15 ms; the last frame spans the last two
    EXPECT_NEAR(25.0 / 30, leds->brightness(0), 0.01) << "dark for its last 5 ms";
    sim.dispatch(sim_cmd::kHalt);
    EXPECT_EQ(0.0, leds->brightness(0)) << "halted: as latched";
}

} // namespace
} // namespace torva
