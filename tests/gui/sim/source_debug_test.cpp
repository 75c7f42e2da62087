// The editor follows the simulator: examples/blink.asm assembled with its
// debug map, a breakpoint on the BSR WAIT line, Run Real Time stops there
// and the source shows the current line and the breakpoint beside the
// simulator window; the next run takes the current line away.
#include "app/source_marks.h"
#include "editor/document_window.h"
#include "editor/sci_messages.h"
#include "sim/debug_map.h"
#include "sim/sim_commands.h"
#include "support/screenshot.h"
#include "support/student_session.h"

namespace torva::test {
namespace {

long markers_on(const DocumentWindow& document, int line) {
    return document.sci().send(sci::SCI_MARKERGET, static_cast<unsigned long>(line));
}

TEST(SourceDebugging, BreakpointAndCurrentLineInTheSource) {
    StudentSession student;
    const std::filesystem::path load_file = student.assemble_example("blink");
    ASSERT_TRUE(
        std::filesystem::exists(std::filesystem::path(load_file).replace_extension(".dbg")));
    ASSERT_TRUE(student.open_simulator(load_file));
    Simulator& sim = student.workbench.simulated_board().simulator();
    KivSimulatorChild* window = student.workbench.simulator_windows().window();
    ASSERT_TRUE(sim.load_file().debug_map) << "Assemble wrote the map; the simulator read it";
    const DebugMap& map = *sim.load_file().debug_map;

    // Line 15 is "BSR WAIT"; line 16 gets a disabled breakpoint.
    constexpr int kBsrLine = 15;
    const auto bsr = map.code_at_or_after(0, kBsrLine);
    ASSERT_TRUE(bsr);
    sim.breakpoints().add(bsr->start, BreakState::kEnabled);
    sim.breakpoints().add(map.code_at_or_after(0, kBsrLine + 1)->start, BreakState::kDisabled);
    uint64_t now = 0;
    sim.set_time_source([&] { return now; });
    student.frame->dispatch(sim_cmd::kRunRealTime);
    for (int tick = 0; tick < 10 && sim.running(); ++tick) {
        now += 16'000'000;
        window->timer_tick();
    }
    ASSERT_FALSE(sim.running());
    ASSERT_EQ(bsr->start, sim.cpu().regs.pc);

    const auto documents = student.frame->findChildren<DocumentWindow*>();
    ASSERT_EQ(1, documents.size());
    const DocumentWindow& source = *documents.front();
    const long at_bsr = markers_on(source, kBsrLine - 1);
    EXPECT_TRUE(at_bsr & (1 << SourceMarks::kCurrentArrow));
    EXPECT_TRUE(at_bsr & (1 << SourceMarks::kCurrentBackground));
    EXPECT_TRUE(at_bsr & (1 << SourceMarks::kBreakpointMarker));
    EXPECT_TRUE(markers_on(source, kBsrLine) & (1 << SourceMarks::kDisabledMarker));
    EXPECT_EQ(0, markers_on(source, kBsrLine - 2));
    // Side by side: the source and the simulator do not overlap.
    EXPECT_FALSE(source.parentWidget()->geometry().intersects(window->parentWidget()->geometry()));
    EXPECT_TRUE(save_screenshot(*student.frame, "source_debug.png"));

    student.frame->dispatch(sim_cmd::kRunRealTime);
    EXPECT_TRUE(sim.running());
    EXPECT_EQ(0, markers_on(source, kBsrLine - 1) & (1 << SourceMarks::kCurrentArrow));
    student.frame->dispatch(sim_cmd::kHalt);
}

} // namespace
} // namespace torva::test
