#include "sim_fixture.h"

#include "io/board_option.h"
#include "io/descriptor_file.h"

#include <fstream>

namespace torva {
namespace {

using test::RecordingUi;
using Box = RecordingUi::Box;

// NOP, NOP, NOP, BRA back to the first NOP.
const test::Chunk kNopLoop{0x1000, {0xA7, 0xA7, 0xA7, 0x20, 0xFB}};
// BRA to itself: one 2-byte instruction per step.
const test::Chunk kSpin{0x1000, {0x20, 0xFE}};
// CLI, then BRA to itself; the IRQ handler at $1100 is RTI; vector $FFF2.
const std::initializer_list<test::Chunk> kIrqProgram = {
    {0x1000, {0x10, 0xEF, 0x20, 0xFE}}, {0x1100, {0x0B}}, {0xFFF2, {0x11, 0x00}}};

struct SimulatorTest : test::SimulatorFixture {};

TEST_F(SimulatorTest, LoadChainResetsWithClearingAndStartsAtTheLoadAddress) {
    sim.breakpoints().add(0x1234, BreakState::kEnabled);
    sim.set_break_on_io(true);
    sim.set_break_on_irq(true);
    load({{0x2000, {0xA7}}, kSpin});
    EXPECT_EQ(0x2000, cpu.regs.pc);
    EXPECT_EQ(0, sim.breakpoints().used_count());
    EXPECT_FALSE(sim.break_on_io());
    EXPECT_FALSE(sim.break_on_irq());
    EXPECT_EQ("program.s19", sim.load_file().load_file_base_name);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(SimulatorTest, LoadChainMessages) {
    const std::string monitor = program_dir.string() + "/../config/kiv12/rt12_kbm12.s19";
    // A load file that cannot be opened is not reported; the chain goes on.
    sim.load_file().load_file_path = (dir.path() / "missing.s19").string();
    cpu.regs.pc = 0x2222;
    EXPECT_EQ(kLoadCannotOpen, sim.load_chain());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(0, cpu.regs.pc);

    // A load error stops the chain before the reset.
    const std::string bad = dir.write("bad.s19", "S5030001FB\n");
    sim.load_file().load_file_path = bad;
    cpu.regs.pc = 0x2222;
    sim.breakpoints().add(0x1000, BreakState::kEnabled);
    EXPECT_EQ(kLoadError, sim.load_chain());
    EXPECT_EQ((std::vector<Box>{{kFrameCaption, "Failed to load:\r\n'" + bad +
                                                    "'\r\nYou should check simulator setup"}}),
              ui.boxes);
    EXPECT_EQ(0x2222, cpu.regs.pc);
    EXPECT_EQ(1, sim.breakpoints().used_count());

    // The monitor option without a monitor image: its message, then the load file.
    ui.boxes.clear();
    board.setup().set_option_word(board_option::kLoadMonitor);
    load({kSpin});
    EXPECT_EQ((std::vector<Box>{{kFrameCaption, "Failed to load '" + monitor + "'"}}), ui.boxes);
    EXPECT_EQ(0x1000, cpu.regs.pc);

    // With the image in place it loads first and ROM write enable goes off.
    ui.boxes.clear();
    std::filesystem::create_directories(dir.path() / "config" / "kiv12");
    std::filesystem::create_directories(program_dir);
    const uint8_t image[] = {0x5A, 0xA5};
    std::ofstream(dir.path() / "config" / "kiv12" / "rt12_kbm12.s19")
        << srecord_data(0xC000, image) << "\n"
        << srecord_end(0xC000) << "\n";
    board.memory().set_rom_write_enable(true);
    load({kSpin});
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(0x5A, read(0xC000));
    EXPECT_FALSE(board.memory().rom_write_enable());
    EXPECT_EQ(0x1000, cpu.regs.pc); // the load file's start, not the monitor's
}

TEST_F(SimulatorTest, ResetsWithAndWithoutClearing) {
    load({{0x1000, {0xA7, 0x20, 0xFD}}, {0xFFFE, {0x10, 0x01}}});
    sim.breakpoints().add(0x1001, BreakState::kEnabled);
    sim.set_break_on_io(true);
    sim.toggle_exception_handling();
    sim.step_button();
    EXPECT_NE(0u, sim.cycle_counter());
    cpu.regs.a = 0x55;

    EXPECT_TRUE(sim.dispatch(sim_cmd::kResetSimulator));
    EXPECT_EQ(0x1000, cpu.regs.pc);
    EXPECT_EQ(0, cpu.regs.a);
    EXPECT_EQ(0u, sim.cycle_counter());
    EXPECT_EQ(0u, sim.byte_counter());
    EXPECT_EQ(0u, sim.cycle_total());
    EXPECT_TRUE(sim.exception_handling());
    EXPECT_EQ(1, sim.breakpoints().used_count()); // kept
    EXPECT_TRUE(sim.break_on_io());

    sim.reset_simulator(true);
    EXPECT_EQ(0, sim.breakpoints().used_count());
    EXPECT_FALSE(sim.break_on_io());

    // Reset CPU takes the reset vector and wakes a waiting CPU.
    cpu.cpu_waiting = true;
    EXPECT_TRUE(sim.dispatch(sim_cmd::kResetCpu));
    EXPECT_EQ(0x1001, cpu.regs.pc);
    EXPECT_FALSE(cpu.cpu_waiting);
}

TEST_F(SimulatorTest, EnabledBreakpointHaltsAndStays) {
    load({kNopLoop});
    sim.breakpoints().add(0x1002, BreakState::kEnabled);
    sim.dispatch(sim_cmd::kRunFast);
    EXPECT_EQ(RunMode::kRunningFast, sim.run_mode());
    EXPECT_EQ(1, ui.timer_starts);
    EXPECT_EQ(0x1001, cpu.regs.pc); // the first instruction runs at once
    sim.tick();
    EXPECT_EQ(RunMode::kHalted, sim.run_mode());
    EXPECT_EQ(0x1002, cpu.regs.pc);
    EXPECT_EQ(1, ui.timer_stops);
    EXPECT_EQ(0, sim.breakpoints().find(0x1002));

    // A run started on the breakpoint leaves it and comes round again.
    sim.dispatch(sim_cmd::kRunSlow);
    EXPECT_EQ(0x1003, cpu.regs.pc);
    for (int tick = 0; tick < 10 && sim.running(); ++tick)
        sim.tick();
    EXPECT_EQ(0x1002, cpu.regs.pc);
    // NOP, NOP before the halt; NOP, BRA, NOP, NOP after it.
    EXPECT_EQ(7u, sim.byte_counter());
}

TEST_F(SimulatorTest, TemporaryBreakpointIsRemovedWhenHitAndDisabledOnesAreIgnored) {
    load({kNopLoop});
    sim.breakpoints().add(0x1001, BreakState::kDisabled);
    // Goto here on the disabled line: the entry stays as it is and the run passes it.
    sim.dispatch(sim_cmd::kGotoHere, 0x1001);
    sim.tick();
    EXPECT_TRUE(sim.running());
    EXPECT_EQ(BreakState::kDisabled, sim.breakpoints().state_of(0x1001));
    sim.halt();

    cpu.regs.pc = 0x1000;
    sim.dispatch(sim_cmd::kGotoHere, 0x1003);
    EXPECT_EQ(BreakState::kTemporary, sim.breakpoints().state_of(0x1003));
    sim.tick();
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(0x1003, cpu.regs.pc);
    EXPECT_FALSE(sim.breakpoints().state_of(0x1003));
    EXPECT_EQ(1, sim.breakpoints().used_count());
}

TEST_F(SimulatorTest, FastTickRunsAtMost500StepsAndSlowTickOne) {
    load({kSpin});
    sim.dispatch(sim_cmd::kRunFast);
    EXPECT_EQ(2u, sim.byte_counter());
    sim.tick();
    EXPECT_TRUE(sim.running());
    EXPECT_EQ(2u * (1 + Simulator::kFastStepsPerTick), sim.byte_counter());
    sim.dispatch(sim_cmd::kHalt);
    sim.tick(); // halted: nothing
    EXPECT_EQ(2u * (1 + Simulator::kFastStepsPerTick), sim.byte_counter());

    sim.dispatch(sim_cmd::kRunSlow);
    const uint32_t before = sim.byte_counter();
    sim.tick();
    EXPECT_EQ(before + 2, sim.byte_counter());
}

TEST_F(SimulatorTest, CommandsEnabledByRunModeAndLoadFile) {
    EXPECT_FALSE(sim.command_enabled(sim_cmd::kHalt));
    EXPECT_FALSE(sim.command_enabled(sim_cmd::kReload)); // no load file yet
    EXPECT_TRUE(sim.command_enabled(sim_cmd::kRunFast));
    load({kSpin});
    EXPECT_TRUE(sim.command_enabled(sim_cmd::kReload));
    EXPECT_FALSE(sim.dispatch(767));
    EXPECT_FALSE(sim.dispatch(813));
    // Every command of the table is taken by the dispatcher.
    for (const SimCommandInfo& info : kSimCommands)
        EXPECT_NE(nullptr, find_sim_command(info.id));
}

TEST_F(SimulatorTest, BreakOnIoHaltsARunAtTheFirstAccessButNotAStep) {
    // LDAA $0030 (the program page register), BRA back.
    load({{0x1000, {0xB6, 0x00, 0x30, 0x20, 0xFB}}});
    sim.dispatch(sim_cmd::kEnableBreakOnIo);
    sim.dispatch(sim_cmd::kStep);
    EXPECT_EQ(0x00, cpu.regs.a); // the register itself
    EXPECT_EQ(0x1003, cpu.regs.pc);

    sim.dispatch(sim_cmd::kRunFast); // BRA, then LDAA halts
    sim.tick();
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(0x1003, cpu.regs.pc); // the instruction completed
    EXPECT_EQ(BoardRouting::kSuppressedRead, cpu.regs.a);

    sim.dispatch(sim_cmd::kDisableBreakOnIo);
    cpu.regs.a = 0;
    sim.dispatch(sim_cmd::kRunFast);
    sim.tick();
    EXPECT_TRUE(sim.running());
}

// A window whose disassembly refresh lists lines through the CPU, as the
// disassembly pane does.
class DisassemblingUi final : public SimulatorUi {
public:
    explicit DisassemblingUi(Cpu& cpu) : cpu_(cpu) {}
    void refresh_disassembly() override {
        for (uint32_t address = 0x1100, line = 0; line < 12; ++line)
            address += cpu_.cpu_step(address, false, true);
        ++refreshes;
    }
    int refreshes = 0;

private:
    Cpu& cpu_;
};

TEST_F(SimulatorTest, BreakOnIoHaltComesAfterTheInstructionCompleted) {
    DisassemblingUi disassembling(cpu);
    sim.bind_ui(disassembling);
    // NOP, STAA $0030 (the program page register), BRA back; the lines the
    // refresh lists at $1100 are loads with operands of their own.
    std::vector<uint8_t> listed;
    for (int line = 0; line < 12; ++line)
        listed.insert(listed.end(), {0xFC, 0x12, 0x34}); // LDD $1234
    load({{0x1000, {0xA7, 0x7A, 0x00, 0x30, 0x20, 0xFA}}, {0x1100, listed}});
    cpu.regs.a = 0x80;
    sim.set_break_on_io(true);
    sim.start_run(RunMode::kRunningFast); // NOP
    const int refreshes_before = disassembling.refreshes;
    sim.tick(); // STAA halts
    EXPECT_FALSE(sim.running());
    EXPECT_GT(disassembling.refreshes, refreshes_before);
    EXPECT_EQ(0x1004, cpu.regs.pc); // behind the STAA, not behind a listed line
    EXPECT_EQ(1u + 3u, sim.cycle_counter());
    EXPECT_EQ(1u + 3u, sim.byte_counter());
    EXPECT_EQ(ccr_bits::N, cpu.regs.ccr & (ccr_bits::N | ccr_bits::Z | ccr_bits::V));
    EXPECT_EQ(0, board.memory().get_ppage()); // the store was not made
    sim.bind_ui(ui);
}

TEST_F(SimulatorTest, InterruptsBreakOnIrqAndTheServiceIndicator) {
    load(kIrqProgram);
    sim.dispatch(sim_cmd::kEnableBreakOnIrq);
    sim.dispatch(sim_cmd::kRunFast); // CLI
    sim.dispatch(sim_cmd::kActivateIrq);
    EXPECT_TRUE(sim.manual_request(InterruptSource::kIrq));
    sim.tick();
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(0x1100, cpu.regs.pc);
    EXPECT_FALSE(sim.manual_request(InterruptSource::kIrq));
    EXPECT_TRUE(sim.in_service(InterruptSource::kIrq));
    EXPECT_EQ(0x3C80 - 9, cpu.regs.sp);
    sim.dispatch(sim_cmd::kStep); // RTI
    EXPECT_FALSE(sim.in_service(InterruptSource::kIrq));
    EXPECT_EQ(0x1002, cpu.regs.pc);
    EXPECT_EQ(0x3C80, cpu.regs.sp);
}

TEST_F(SimulatorTest, MaskedManualRequestIsConsumedAndTheInstructionExecutes) {
    load(kIrqProgram);
    ASSERT_TRUE(cpu.regs.ccr & ccr_bits::I);
    sim.dispatch(sim_cmd::kActivateIrq);
    sim.dispatch(sim_cmd::kActivateXirq);
    sim.dispatch(sim_cmd::kStep); // IRQ masked: consumed, CLI executes
    EXPECT_FALSE(sim.manual_request(InterruptSource::kIrq));
    EXPECT_TRUE(sim.manual_request(InterruptSource::kXirq));
    EXPECT_EQ(0x1002, cpu.regs.pc);
    sim.dispatch(sim_cmd::kStep); // XIRQ masked by X: consumed too
    EXPECT_FALSE(sim.manual_request(InterruptSource::kXirq));
    EXPECT_FALSE(sim.in_service(InterruptSource::kXirq));
    EXPECT_EQ(0x1002, cpu.regs.pc);
}

TEST_F(SimulatorTest, PendingInterruptWithExceptionHandlingOffHalts) {
    load(kIrqProgram);
    sim.dispatch(sim_cmd::kToggleExceptions);
    EXPECT_FALSE(sim.exception_handling());
    sim.dispatch(sim_cmd::kRunFast);
    sim.dispatch(sim_cmd::kActivateIrq);
    sim.tick();
    EXPECT_FALSE(sim.running());
    EXPECT_EQ(0x1002, cpu.regs.pc); // nothing executed
    EXPECT_EQ((std::vector<Box>{{"Message", "IRQ-pending but exception handling is disabled"}}),
              ui.boxes);
}

TEST_F(SimulatorTest, WaitingCpuCountsCyclesUntilAnInterruptWakesIt) {
    // CLI, WAI, BRA to itself; handler RTI.
    load({{0x1000, {0x10, 0xEF, 0x3E, 0x20, 0xFE}}, {0x1100, {0x0B}}, {0xFFF2, {0x11, 0x00}}});
    sim.dispatch(sim_cmd::kStep);
    sim.dispatch(sim_cmd::kStep);
    ASSERT_TRUE(cpu.cpu_waiting);
    const uint32_t cycles = sim.cycle_counter();
    sim.dispatch(sim_cmd::kStep);
    EXPECT_EQ(cycles + 1, sim.cycle_counter());
    // A run started while waiting executes nothing either.
    sim.dispatch(sim_cmd::kRunFast);
    EXPECT_EQ(cycles + 2, sim.cycle_counter());
    EXPECT_EQ(0x1003, cpu.regs.pc);
    sim.dispatch(sim_cmd::kActivateIrq);
    sim.tick();
    EXPECT_FALSE(cpu.cpu_waiting);
    sim.halt();
    EXPECT_EQ(0x1003, cpu.regs.pc); // back behind WAI after the RTI
    EXPECT_EQ(0x3C80, cpu.regs.sp);
}

TEST_F(SimulatorTest, CountersClearOnTheirButtons) {
    load({kSpin});
    sim.dispatch(sim_cmd::kStep);
    EXPECT_EQ(3u, sim.cycle_counter());
    EXPECT_EQ(2u, sim.byte_counter());
    sim.dispatch(sim_cmd::kClearCycles);
    EXPECT_EQ(0u, sim.cycle_counter());
    EXPECT_EQ(3u, sim.cycle_total());
    sim.dispatch(sim_cmd::kClearBytes);
    EXPECT_EQ(0u, sim.byte_counter());
    sim.dispatch(sim_cmd::kToggleRomWrite);
    EXPECT_TRUE(sim.rom_write_enable());
}

TEST_F(SimulatorTest, ClearAllBreaksAlsoSwitchesOffTheBreakConditions) {
    load({kSpin});
    sim.dispatch(sim_cmd::kSetBreak, 0x1000);
    sim.dispatch(sim_cmd::kDisableBreak, 0x1000);
    EXPECT_EQ(BreakState::kDisabled, sim.breakpoints().state_of(0x1000));
    sim.dispatch(sim_cmd::kEnableBreak, 0x1000);
    EXPECT_EQ(BreakState::kEnabled, sim.breakpoints().state_of(0x1000));
    sim.dispatch(sim_cmd::kSetBreak); // no selected line: nothing
    sim.dispatch(sim_cmd::kEnableBreakOnIo);
    sim.dispatch(sim_cmd::kEnableBreakOnIrq);
    sim.dispatch(sim_cmd::kClearAllBreaks);
    EXPECT_EQ(0, sim.breakpoints().used_count());
    EXPECT_FALSE(sim.break_on_io());
    EXPECT_FALSE(sim.break_on_irq());
}

TEST_F(SimulatorTest, SetupReloadWithABadFileZeroesTheStartAddress) {
    load({kSpin});
    sim.dispatch(sim_cmd::kSimulatorSetup);
    EXPECT_EQ(1, ui.setup_runs);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(0x1000u, sim.load_file().load_start_address);

    dir.write("program.s19", "S1051000A7\nS4030000FC\n");
    sim.dispatch(sim_cmd::kSimulatorSetup);
    EXPECT_EQ((std::vector<Box>{{"Message", "There were Load-errors, check simulator settings "
                                            "and/or loadfile"}}),
              ui.boxes);
    EXPECT_EQ(0u, sim.load_file().load_start_address);
}

TEST_F(SimulatorTest, LoadNewTakesThePathOrAsks) {
    const std::string file = write_s19("other.s19", {{0x1800, {0xA7}}});
    sim.dispatch(sim_cmd::kLoadNew); // dialog cancelled: nothing
    EXPECT_TRUE(sim.load_file().load_file_path.empty());
    ui.chosen_file = file;
    sim.dispatch(sim_cmd::kLoadNew);
    EXPECT_EQ(0x1800, cpu.regs.pc);
    sim.dispatch(sim_cmd::kLoadNew, std::nullopt, write_s19("third.s19", {{0x1900, {0xA7}}}));
    EXPECT_EQ(0x1900, cpu.regs.pc);
    EXPECT_EQ("third.s19", sim.load_file().load_file_base_name);
}

TEST_F(SimulatorTest, ReloadKeepsStateAndFixesAPcOutsideWritableMemory) {
    load({kSpin});
    cpu.regs.pc = 0x1234;
    sim.breakpoints().add(0x1000, BreakState::kEnabled);
    sim.dispatch(sim_cmd::kReload);
    EXPECT_EQ(0x1234, cpu.regs.pc); // RAM: writable, stays
    EXPECT_EQ(1, sim.breakpoints().used_count());
    cpu.regs.pc = 0xC000; // flash with ROM write enable off
    sim.dispatch(sim_cmd::kReload);
    EXPECT_EQ(0x1000, cpu.regs.pc);
}

TEST_F(SimulatorTest, ReloadPromptAsksAboutEveryRebuildAfterTheLoadChain) {
    const auto touch = [&](const std::string& path, int seconds, uint8_t byte) {
        const auto time = std::filesystem::last_write_time(path);
        write_s19("program.s19", {{0x1000, {byte}}});
        std::filesystem::last_write_time(path, time + std::chrono::seconds(seconds));
    };
    // A window activated before its load chain: the newer time it finds is
    // the file about to be loaded, and nothing is asked.
    const std::string path = write_s19("program.s19", {{0x1000, {0x11}}});
    sim.load_file().load_file_path = path;
    touch(path, 10, 0x11);
    sim.window_activated();
    EXPECT_TRUE(ui.questions.empty());
    ASSERT_EQ(kLoadOk, sim.load_chain());

    sim.window_activated(); // same time: nothing
    EXPECT_TRUE(ui.questions.empty());
    // The user's first rebuild after the load chain asks.
    touch(path, 10, 0x33);
    ui.answers = {false};
    sim.window_activated();
    EXPECT_EQ((std::vector<std::string>{"An updated Loadfile exists, reload it?"}), ui.questions);
    EXPECT_EQ(0x11, read(0x1000));
    touch(path, 10, 0x44);
    ui.answers = {true};
    cpu.regs.pc = 0x1555;
    sim.window_activated();
    EXPECT_EQ(2u, ui.questions.size());
    EXPECT_EQ(0x44, read(0x1000));
    EXPECT_EQ(0x1555, cpu.regs.pc); // memory only, no reset
    sim.window_activated();
    EXPECT_EQ(2u, ui.questions.size());
}

TEST_F(SimulatorTest, WindowCreationErasesFlashAndReadsTheDescriptorAgain) {
    const std::string descriptor =
        dir.write("sci.hc12sim", ":iotarget:10:0:200:9:sci0:\n:emul:0\n");
    board.setup().set_current_descriptor(descriptor);
    board.memory().set_rom_write_enable(true);
    board.memory().mem_write_byte(0xC000, 0x12);
    sim.window_created();
    EXPECT_EQ(0xFF, read(0xC000));
    EXPECT_GE(board.setup().serial_handle(0), 0);
    sim.window_closing();
    EXPECT_LT(board.setup().serial_handle(0), 0);
}

// The board outlives the window: the devices connected when it closed come
// back with the next one (those read from a file and those connected since,
// with their types and options), not the descriptor read last.
TEST_F(SimulatorTest, DevicesComeBackWithTheNextWindow) {
    const std::string descriptor =
        dir.write("sci.hc12sim", ":iotarget:10:0:200:9:sci0:\n:emul:2\n");
    ASSERT_TRUE(read_descriptor(board.setup(), descriptor));
    DeviceSetup& setup = board.setup();
    ASSERT_GE(setup.connect_row(bus_row::kOutport, 11), 0);
    ASSERT_GE(setup.connect_row(bus_row::kKeyboardC00), 0);
    setup.disconnect_row(bus_row::kSerial0);
    const std::string connected = descriptor_text(setup);
    sim.window_closing();
    EXPECT_TRUE(board.iosim().handles().empty());
    sim.window_created();
    EXPECT_EQ(connected, descriptor_text(setup));
    EXPECT_EQ(2u, board.iosim().handles().size());
    EXPECT_LT(setup.serial_handle(0), 0);
    for (const ConnectionSlot& slot : setup.connection_slots())
        EXPECT_FALSE(slot.is_new);
}

TEST_F(SimulatorTest, DeviceSetupMessagesReachTheUi) {
    for (int i = 0; i < 21; ++i)
        board.setup().open_device(-1, 1, 0xA00 + uint32_t(i), 0, "");
    EXPECT_EQ((std::vector<Box>{{kFrameCaption, "You already have max (20) devices connected, "
                                                "disconnect one and try again"}}),
              ui.boxes);
}

TEST_F(SimulatorTest, HeadlessRunStopsAtTheOpcodeTheBreakpointOrTheLimit) {
    // NOP, NOP, SWI.
    load({{0x1000, {0xA7, 0xA7, 0x3F}}});
    const uint8_t swi[] = {0x3F};
    auto result = sim.run_headless(100, swi);
    EXPECT_EQ(Simulator::StopReason::kOpcode, result.reason);
    EXPECT_EQ(2u, result.steps);
    EXPECT_EQ(0x1002, cpu.regs.pc); // SWI not executed
    EXPECT_FALSE(sim.running());

    cpu.regs.pc = 0x1000;
    sim.breakpoints().add(0x1001, BreakState::kEnabled);
    result = sim.run_headless(100, swi);
    EXPECT_EQ(Simulator::StopReason::kBreakpoint, result.reason);
    EXPECT_EQ(1u, result.steps);

    // Without a stop opcode the SWI runs into its (erased) vector.
    sim.breakpoints().clear();
    cpu.regs.pc = 0x1000;
    result = sim.run_headless(3, {});
    EXPECT_EQ(Simulator::StopReason::kStepLimit, result.reason);
    EXPECT_EQ(3u, result.steps);
    EXPECT_EQ(0xFFFF, cpu.regs.pc);
}

// A paced run's slice: the run ends after the step that reaches the cycle
// total, and the next slice goes on from there.
TEST_F(SimulatorTest, HeadlessRunEndsAtACycleTotal) {
    // loop: BRA loop (3 cycles a step).
    load({{0x1000, {0x20, 0xFE}}});
    const uint32_t start = sim.cycle_total();
    auto result = sim.run_headless(1000, {}, start + 10);
    EXPECT_EQ(Simulator::StopReason::kStepLimit, result.reason);
    EXPECT_EQ(4u, result.steps);
    EXPECT_EQ(start + 12, sim.cycle_total());
    result = sim.run_headless(1000, {}, start + 30);
    EXPECT_EQ(6u, result.steps);
    // Without a cycle total only the step limit ends it.
    result = sim.run_headless(50, {});
    EXPECT_EQ(50u, result.steps);
}

} // namespace
} // namespace torva
