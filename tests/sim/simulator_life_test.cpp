// The simulator outlives its window: binding and unbinding the window, and
// the frame's start request.
#include "sim_fixture.h"

#include "sim/simulated_board.h"

namespace torva::test {
namespace {

TEST(SimulatorLife, BoxesReachOnlyTheBoundWindowAndStateSurvivesIt) {
    TempDir dir;
    SimulatedBoard simulated(dir.path());
    Simulator& sim = simulated.simulator();
    EXPECT_FALSE(sim.ui_bound());
    // Unbound: a failing load shows nothing anywhere and does not crash.
    sim.load_file().load_file_path = dir.write("bad.s19", "S1FF\n");
    sim.load_chain();

    RecordingUi first;
    sim.bind_ui(first);
    sim.window_created();
    sim.breakpoints().add(0x2000, BreakState::kEnabled);
    sim.load_chain();
    ASSERT_EQ(1u, first.boxes.size());
    sim.window_closing();
    sim.unbind_ui();
    sim.load_chain();
    EXPECT_EQ(1u, first.boxes.size());

    // A new window finds what the last one left.
    RecordingUi second;
    sim.bind_ui(second);
    EXPECT_EQ(0, sim.breakpoints().find(0x2000));
    EXPECT_EQ((dir.path() / "bad.s19").string(), sim.load_file().load_file_path);
    sim.unbind_ui();
}

TEST_F(SimulatorFixture, StartRequestResetsOnlyASimulatorStartedBefore) {
    load({{0x2000, {0xA7, 0xA7, 0xA7}}}); // NOP NOP NOP
    sim.breakpoints().add(0x2002, BreakState::kEnabled);
    sim.step(true);
    sim.start_request();
    EXPECT_EQ(1u, sim.cycle_total()) << "the first start request resets nothing";
    sim.start_request();
    EXPECT_EQ(0u, sim.cycle_total());
    EXPECT_EQ(0, sim.breakpoints().find(0x2002)) << "breakpoints survive the restart";
}

// A reset that comes during a run (a reload's load chain, a restart) ends
// the run with its timer, as Halt does.
TEST_F(SimulatorFixture, ResetsDuringARunStopTheTimer) {
    load({{0x2000, {0x20, 0xFE}}}); // BRA *
    for (const bool clearing : {false, true}) {
        sim.dispatch(sim_cmd::kRunFast);
        const int stops = ui.timer_stops;
        sim.reset_simulator(clearing);
        EXPECT_FALSE(sim.running());
        EXPECT_EQ(stops + 1, ui.timer_stops);
    }
}

} // namespace
} // namespace torva::test
