// What the run control needs from the window that shows it: message boxes,
// the panes it refreshes, the run timer and the dialogs. Every call has a
// do-nothing default, so a headless caller implements only what it uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torva {

// Box captions: the frame's title, and the simulator's own for some texts.
inline constexpr char kFrameCaption[] = "TORVA 6 for RT12";
inline constexpr char kMessageCaption[] = "Message";

namespace sim_message {
inline constexpr char kFailedToLoadMonitor[] = "Failed to load '%s'";
inline constexpr char kFailedToLoad[] =
    "Failed to load:\r\n'%s'\r\nYou should check simulator setup";
inline constexpr char kLoadErrors[] =
    "There were Load-errors, check simulator settings and/or loadfile";
inline constexpr char kIrqPendingNoExceptions[] = "IRQ-pending but exception handling is disabled";
inline constexpr char kUpdatedLoadfile[] = "An updated Loadfile exists, reload it?";
inline constexpr char kBadlyFormedAddress[] = "Badly formed address";
} // namespace sim_message

enum class RunMode { kHalted, kRunningSlow, kRunningFast, kRunningRealTime };

class SimulatorUi {
public:
    virtual ~SimulatorUi() = default;

    // A message box with an OK button.
    virtual void show_message(std::string_view caption, std::string_view text) {
        (void)caption;
        (void)text;
    }
    // A Yes/No question; true for Yes.
    virtual bool ask_yes_no(std::string_view caption, std::string_view text) {
        (void)caption;
        (void)text;
        return false;
    }

    // Pane refreshes. The disassembly refresh anchors the pane at PC.
    virtual void refresh_registers() {}
    virtual void refresh_memory() {}
    virtual void refresh_disassembly() {}
    // After a step with full display: the pane follows the program counter,
    // scrolling for sequential flow, re-anchoring when flow left the sequence.
    virtual void track_disassembly(bool flow_left_sequence) { (void)flow_left_sequence; }
    virtual void refresh_counters() {}
    // Lamps: running, IO break, IRQ break, exception handling, ROM write
    // enable, in-service indicators.
    virtual void refresh_status() {}
    // Toolbar and Step button follow the run mode (Simulator::command_enabled).
    virtual void update_toolbar() {}
    // The program counter's line becomes the current line.
    virtual void mark_current_line() {}
    virtual void set_apply_enabled(bool on) { (void)on; }

    // The 100 ms run timer; each tick calls Simulator::tick(). A slow run
    // also gives the window the keyboard focus.
    virtual void start_timer(RunMode mode) { (void)mode; }
    virtual void stop_timer() {}

    // Dialogs. The load-file dialog gives the chosen path, none when
    // cancelled; the target setup dialog runs to its end and tells whether
    // its OK ran the load chain (the configuration changed).
    virtual std::optional<std::string> choose_load_file() { return std::nullopt; }
    virtual bool run_target_setup() { return false; }
    virtual void run_breakpoint_dialog() {}
};

} // namespace torva
