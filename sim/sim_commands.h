// The simulator's command identifiers (768-812, and Run Real Time with its
// clock choices from 830, the cycle models from 840, the window's Show
// Symbols 850) with their toolbar tips and menu texts, shared by the
// window's toolbar, menus and the frame.
#pragma once

#include "cpu/cycle_model.h"

#include <array>
#include <string_view>

namespace torva {

namespace sim_cmd {
inline constexpr int kResetSimulator = 768;
inline constexpr int kResetCpu = 769;
inline constexpr int kRunSlow = 770;
inline constexpr int kRunFast = 771;
inline constexpr int kHalt = 772;
inline constexpr int kStep = 773;
inline constexpr int kClearCycles = 774;
inline constexpr int kClearBytes = 775;
inline constexpr int kToggleRomWrite = 779;
inline constexpr int kToggleExceptions = 780;
inline constexpr int kActivateIrq = 787;
inline constexpr int kActivateXirq = 788;
inline constexpr int kSetBreak = 797;
inline constexpr int kRemoveBreak = 798;
inline constexpr int kClearAllBreaks = 799;
inline constexpr int kEnableBreak = 800;
inline constexpr int kDisableBreak = 801;
inline constexpr int kEnableBreakOnIo = 802;
inline constexpr int kDisableBreakOnIo = 803;
inline constexpr int kEnableBreakOnIrq = 804;
inline constexpr int kDisableBreakOnIrq = 805;
inline constexpr int kBreakpointTable = 806;
inline constexpr int kGotoHere = 807;
inline constexpr int kLoadNew = 808;
inline constexpr int kLoadChain = 809;
inline constexpr int kReload = 810;
inline constexpr int kAfterLoadRefresh = 811;
inline constexpr int kSimulatorSetup = 812;
// Beyond the classic set: a run at the board's own speed.
inline constexpr int kRunRealTime = 830;
inline constexpr int kFirstBusClock = 831;   // the clock choices below, in order
inline constexpr int kFirstCycleModel = 840; // the cycle model choices below, in order
// The window's own view choice, not sent to the simulator: the Program pane
// shows the labels of the debug map.
inline constexpr int kShowSymbols = 850;
} // namespace sim_cmd

struct SimCommandInfo {
    int id;
    std::string_view tip;       // toolbar tip; empty for none
    std::string_view menu_text; // menu item text; empty for none
    bool needs_selection;       // acts on the selected disassembly line
};

// clang-format off
inline constexpr std::array<SimCommandInfo, 29> kSimCommands = {{
    {sim_cmd::kResetSimulator,   "Reset Simulator", "&Reset Simulator", false},
    {sim_cmd::kResetCpu,         "Reset CPU",       "Reset &CPU",       false},
    {sim_cmd::kRunSlow,          "Run Slow",        "R&un",             false},
    {sim_cmd::kRunFast,          "Run Fast",        "Run &Fast",        false},
    {sim_cmd::kHalt,             "Halt",            "&Halt",            false},
    {sim_cmd::kStep,             "",                "",                 false},
    {sim_cmd::kClearCycles,      "",                "",                 false},
    {sim_cmd::kClearBytes,       "",                "",                 false},
    {sim_cmd::kToggleRomWrite,   "",                "",                 false},
    {sim_cmd::kToggleExceptions, "",                "",                 false},
    {sim_cmd::kActivateIrq,      "",                "",                 false},
    {sim_cmd::kActivateXirq,     "",                "",                 false},
    {sim_cmd::kSetBreak,         "",                "&Set Break",       true},
    {sim_cmd::kRemoveBreak,      "",                "&Remove Break",    true},
    {sim_cmd::kClearAllBreaks,   "",                "&Clear All Breaks", false},
    {sim_cmd::kEnableBreak,      "",                "&Enable Break",    true},
    {sim_cmd::kDisableBreak,     "",                "&Disable Break",   true},
    {sim_cmd::kEnableBreakOnIo,  "",                "&Enable Break on IO", false},
    {sim_cmd::kDisableBreakOnIo, "",                "&Disable Break on IO", false},
    {sim_cmd::kEnableBreakOnIrq, "",                "E&nable Break on IRQ", false},
    {sim_cmd::kDisableBreakOnIrq, "",               "D&isable Break on IRQ", false},
    {sim_cmd::kBreakpointTable,  "Breakpoints",     "&Breakpoint Table", false},
    {sim_cmd::kGotoHere,         "",                "&Goto here",       true},
    {sim_cmd::kLoadNew,          "Load New",        "Load &New",        false},
    {sim_cmd::kLoadChain,        "",                "",                 false},
    {sim_cmd::kReload,           "Reload",          "Reload (%s)",      false},
    {sim_cmd::kAfterLoadRefresh, "",                "",                 false},
    {sim_cmd::kSimulatorSetup,   "Simulator Setup", "Simulator Setup",  false},
    {sim_cmd::kRunRealTime,      "Run Real Time",   "Run Re&al Time",   false},
}};
// clang-format on

inline constexpr std::string_view kShowSymbolsText = "Show &Symbols";

// The row of a command identifier, or null for one the simulator lacks.
constexpr const SimCommandInfo* find_sim_command(int id) {
    for (const SimCommandInfo& info : kSimCommands)
        if (info.id == id) return &info;
    return nullptr;
}

// Run Real Time's clock choices (menu ids kFirstBusClock on); 0 Hz is unlimited.
struct BusClockChoice {
    unsigned hz;
    std::string_view menu_text;
};
inline constexpr std::array<BusClockChoice, 8> kBusClockChoices = {{
    {1'000'000, "&1 MHz"},
    {2'000'000, "&2 MHz"},
    {4'000'000, "&4 MHz"},
    {8'000'000, "&8 MHz (board)"},
    {16'000'000, "1&6 MHz"},
    {25'000'000, "2&5 MHz"},
    {50'000'000, "5&0 MHz"},
    {0, "&Unlimited"},
}};

// The cycle model choices (menu ids kFirstCycleModel on).
struct CycleModelChoice {
    CycleModel model;
    std::string_view menu_text;
};
inline constexpr std::array<CycleModelChoice, 2> kCycleModelChoices = {{
    {CycleModel::Classic, "&Classic"},
    {CycleModel::Cpu12, "CPU&12 (as the board)"},
}};

// A toolbar tip request for anything else gets this text.
inline constexpr std::string_view kUnknownTip = "Huh?";

} // namespace torva
