// The simulated serial line as a student uses it, in wall time: the board's
// monitor runs in the simulator window (Run Real Time), a terminal window
// is linked to "RT12 Simulator SCI0", and
//  - the terminal's Load sends a 4 KB program (137 data records and the end
//    record) until the monitor answers "Loaded 4096 bytes", at the board's
//    8 MHz and unlimited;
//  - the monitor's "md 0 ffff" (about 225 KB of text) runs until its last
//    line is on the terminal's grid, at 8 MHz.
// Everything runs on the real timers and event loop, as in the program.
#include "app/workbench.h"
#include "io/board_option.h"
#include "records/srecord_writer.h"
#include "shell/command_ids.h"
#include "sim/sim_commands.h"
#include "terminal/gui/terminal_window.h"
#include "terminal/port_numbering.h"
#include "terminal/terminal_commands.h"

#include "bench/support/qt_bench_main.h"
#include "support/scripted_services.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace torva {
namespace {

using Clock = std::chrono::steady_clock;

// The frame with the simulator window running the monitor, and a terminal
// on the simulated port that has seen the monitor's prompt.
class MonitorSession {
public:
    explicit MonitorSession(uint32_t clock_hz) {
        frame_ = std::make_unique<KivFrame>(workbench_.services(messages_, dialogs_), dirs_);
        workbench_.attach(*frame_);
        frame_->create_fonts();
        frame_->build_menus();
        frame_->resize(1100, 760);
        frame_->show();
        Simulator& sim = workbench_.simulated_board().simulator();
        sim.board().setup().set_option_word(board_option::kLoadMonitor);
        dialogs_.answers.push_back(std::string()); // the simulator without a load file
        frame_->dispatch(cmd::kSimulator);
        sim.set_bus_clock(clock_hz);
        frame_->dispatch(cmd::kOpenTerminal, kSimulatedPortFirst);
        terminal_ = workbench_.terminal_windows().window_on(kSimulatedPortFirst);
        simulator_command(sim_cmd::kResetCpu);
        simulator_command(sim_cmd::kRunRealTime);
        ready_ = run_until([this] { return shows("> "); }, 10'000) >= 0;
    }

    bool ready() const { return ready_ && terminal_ != nullptr; }
    TerminalWindow& terminal() { return *terminal_; }
    const test::TempDir& temp() const { return temp_; }

    // Whether the grid holds the text on one of its rows.
    bool shows(const std::string& text) const {
        const TerminalGrid& grid = terminal_->session().grid();
        for (int row = 0; row < grid.rows(); ++row)
            if (grid.row(row).find(text) != std::string_view::npos) return true;
        return false;
    }

    // Runs the program's event loop until done says so; the seconds it
    // took, or -1 after timeout_ms.
    static double run_until(const std::function<bool()>& done, int timeout_ms) {
        const auto start = Clock::now();
        bool met = done();
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            met = done();
            if (met || Clock::now() - start > std::chrono::milliseconds(timeout_ms))
                QCoreApplication::exit(0);
        });
        look.start(1);
        if (!met) QApplication::exec();
        return met ? std::chrono::duration<double>(Clock::now() - start).count() : -1;
    }

private:
    void simulator_command(int id) {
        frame_->activate_child(workbench_.simulator_windows().window());
        frame_->dispatch(id);
    }

    test::TempDir temp_;
    test::ScriptedMessages messages_;
    test::ScriptedDialogs dialogs_;
    Directories dirs_;
    Workbench workbench_;
    std::unique_ptr<KivFrame> frame_;
    TerminalWindow* terminal_ = nullptr;
    bool ready_ = false;
};

// 4096 bytes at $1000 in records of 30 data bytes, then the end record.
std::string four_kilobyte_program() {
    std::vector<uint8_t> bytes(4096);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 13 + 7);
    std::string text;
    for (size_t at = 0; at < bytes.size(); at += 30) {
        const size_t n = std::min<size_t>(30, bytes.size() - at);
        text += srecord_data(uint32_t(0x1000 + at), std::span(bytes).subspan(at, n)) + "\n";
    }
    return text + "S9030000FC\n";
}

void download(benchmark::State& state, uint32_t clock_hz) {
    MonitorSession session(clock_hz);
    if (!session.ready()) return state.SkipWithError("the monitor did not answer");
    const std::string path = session.temp().write("prog.s19", four_kilobyte_program());
    double seconds = -1;
    for (auto _ : state) {
        const auto start = Clock::now();
        session.terminal().download(path);
        const double waited =
            MonitorSession::run_until([&] { return session.shows("Loaded 4096 bytes"); }, 30'000);
        if (waited < 0) return state.SkipWithError("no \"Loaded 4096 bytes\"");
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
    }
    state.counters["seconds"] = seconds;
}

void BM_Download4KB8MHz(benchmark::State& state) {
    download(state, 8'000'000);
}
BENCHMARK(BM_Download4KB8MHz)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Download4KBUnlimited(benchmark::State& state) {
    download(state, 0);
}
BENCHMARK(BM_Download4KBUnlimited)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MemoryDumpOfEverything8MHz(benchmark::State& state) {
    MonitorSession session(8'000'000);
    if (!session.ready()) return state.SkipWithError("the monitor did not answer");
    double seconds = -1;
    for (auto _ : state) {
        const auto start = Clock::now();
        session.terminal().link().write(std::string_view("md 0 ffff\r"));
        if (MonitorSession::run_until([&] { return session.shows("FFF0: "); }, 120'000) < 0)
            return state.SkipWithError("the dump did not end");
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
    }
    state.counters["seconds"] = seconds;
}
BENCHMARK(BM_MemoryDumpOfEverything8MHz)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace torva

int main(int argc, char** argv) {
    return torva::bench::run_window_benchmarks(argc, argv);
}
