// The road of a student's program through the whole program's wiring: the
// frame opens examples/blink.asm, assembles it, Debug > Simulator offers and
// loads blink.s19, Run Real Time runs one simulated second that blinks the
// output port, and Halt leaves the current line on the program counter.
#include "sim/sim_commands.h"
#include "support/student_session.h"

#include <set>

namespace torva::test {
namespace {

TEST(SimulatorEndToEnd, BlinkAssembledLoadedAndRunInRealTime) {
    StudentSession student;
    const std::filesystem::path load_file = student.assemble_example("blink");
    ASSERT_TRUE(student.open_simulator(load_file));
    // Debug > Simulator's file dialog started on the load file just assembled.
    ASSERT_FALSE(student.dialogs.requests.empty());
    EXPECT_EQ("Load File", student.dialogs.requests.back().title);
    EXPECT_EQ(load_file.string(), student.dialogs.requests.back().seed);
    KivSimulatorChild* window = student.workbench.simulator_windows().window();
    KivFrame* frame = student.frame.get();
    Simulator& sim = student.workbench.simulated_board().simulator();
    EXPECT_EQ(0x1000, sim.cpu().regs.pc);

    std::set<int> port;
    sim.board().routing().set_device_write_observer([&](uint32_t address, uint8_t byte) {
        if (address == 0x400) port.insert(byte);
    });
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    frame->dispatch(sim_cmd::kRunRealTime); // F5's command, through the frame
    ASSERT_EQ(RunMode::kRunningRealTime, sim.run_mode());
    const uint32_t start = sim.cycle_total();
    for (int tick = 0; tick < 10; ++tick) {
        now += 100'000'000;
        window->timer_tick();
    }
    EXPECT_NEAR(8'000'000.0, double(sim.cycle_total() - start), 10);
    EXPECT_EQ((std::set<int>{0x55, 0xAA}), port) << "the LEDs blinked";
    EXPECT_EQ("Real time ×1.00 (classic cycles)", frame->status_text().toStdString());

    frame->dispatch(sim_cmd::kHalt);
    EXPECT_FALSE(sim.running());
    const int current = window->disassembly().current_line();
    ASSERT_GE(current, 0);
    EXPECT_EQ(sim.cpu().current_execution_address(), window->disassembly().address(current));
    sim.board().routing().set_device_write_observer({});
}

} // namespace
} // namespace torva::test
