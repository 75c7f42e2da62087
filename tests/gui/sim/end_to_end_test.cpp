// The road of a student's program through the whole program's wiring: the
// frame opens examples/blink.asm, assembles it, Debug > Simulator loads
// blink.s19, Run Real Time runs one simulated second that blinks the output
// port, and Halt leaves the current line on the program counter.
#include "app/workbench.h"
#include "shell/fakes.h"
#include "sim/sim_commands.h"

#include <cstdlib>
#include <set>

namespace torva::test {
namespace {

TEST(SimulatorEndToEnd, BlinkAssembledLoadedAndRunInRealTime) {
    TempDir temp;
    const std::filesystem::path source = temp.path() / "blink.asm";
    std::filesystem::copy_file(
        std::filesystem::path(std::getenv("TORVA_SOURCE_DIR")) / "examples" / "blink.asm", source);
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    Workbench workbench;
    Directories dirs;
    dirs.start_dir = temp.path().generic_string() + "/";
    auto frame = std::make_unique<KivFrame>(workbench.services(messages, dialogs), dirs);
    workbench.attach(*frame);
    frame->create_fonts();
    frame->build_menus();
    frame->resize(1100, 760);
    frame->show();

    frame->open_document(false, source.string(), -1);
    frame->dispatch(43108); // Debug > Assemble
    const std::filesystem::path load_file = temp.path() / "blink.s19";
    ASSERT_TRUE(std::filesystem::exists(load_file));
    dialogs.answers.push_back(load_file.string());
    frame->dispatch(43098); // Debug > Simulator
    KivSimulatorChild* window = workbench.simulator_windows().window();
    ASSERT_NE(nullptr, window);
    Simulator& sim = workbench.simulated_board().simulator();
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
    EXPECT_EQ("Real time ×1.00", frame->status_text().toStdString());

    frame->dispatch(sim_cmd::kHalt);
    EXPECT_FALSE(sim.running());
    const int current = window->disassembly().current_line();
    ASSERT_GE(current, 0);
    EXPECT_EQ(sim.cpu().current_execution_address(), window->disassembly().address(current));
    sim.board().routing().set_device_write_observer({});
    frame.reset();
    settle_events();
}

} // namespace
} // namespace torva::test
