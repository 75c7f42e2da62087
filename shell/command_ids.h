// The fixed command numbers of the frame, its menus and accelerators, shared by
// every window that sends or handles commands.
#pragma once

namespace torva::cmd {

// Menu items and frame commands.
inline constexpr int kTitleModifiedQuery = 43003; // non-zero: the title shows " *"
inline constexpr int kGoToLineToChild = 43004;    // parameter: zero-based line
inline constexpr int kCreateOutput = 43010;
inline constexpr int kCloseOutput = 43015; // sent to the Output window
inline constexpr int kClose = 43019;
inline constexpr int kSave = 43020;
inline constexpr int kSaveAs = 43022;
inline constexpr int kSaveAll = 43023;
inline constexpr int kPrint = 43024;
inline constexpr int kExit = 43028;
inline constexpr int kAbout = 43030;
inline constexpr int kHelp = 43031;
inline constexpr int kRedo = 43032;
inline constexpr int kCascade = 43039;
inline constexpr int kTile = 43040;
inline constexpr int kArrangeIcons = 43041;
inline constexpr int kCloseAll = 43042;
inline constexpr int kUndo = 43043;
inline constexpr int kCut = 43044;
inline constexpr int kCopy = 43045;
inline constexpr int kPaste = 43046;
inline constexpr int kDelete = 43047;
inline constexpr int kSelectAll = 43048;
inline constexpr int kFindReplace = 43049;
inline constexpr int kGoToLine = 43054;
inline constexpr int kSimulator = 43098; // parameter 0: ask for the load file first
inline constexpr int kSimulatorNoFile = 43099;
inline constexpr int kAssemble = 43108;
inline constexpr int kAcceptOtherSyntax = 43109; // toggles the assembler's dialect
inline constexpr int kCheckLab = 43200;
inline constexpr int kKeyboardShortcuts = 43201;
// Debugging in the source; they act while the simulator window exists.
inline constexpr int kStepInto = 43210;
inline constexpr int kStepOver = 43211;
inline constexpr int kStepOut = 43212;
inline constexpr int kRunToCursor = 43213;
inline constexpr int kToggleBreakpoint = 43214;
inline constexpr int kWatch = 43215;
inline constexpr int kSimulatorRestart = 43150;
inline constexpr int kOpen = 43151;
inline constexpr int kOpenKeepDirFirst = 43152; // 43152..43157
inline constexpr int kOpenKeepDirLast = 43157;
inline constexpr int kNew = 43158;
inline constexpr int kNewKeepDirFirst = 43159; // 43159..43164
inline constexpr int kNewKeepDirLast = 43164;
inline constexpr int kRecentFirst = 43165; // six ids, one per recent-file slot
inline constexpr int kRecentCount = 6;

// Terminals: 41000 opens the port whose zero-based number is the parameter;
// the 256 ids from 41001 are the entries of the "&Terminal" pop-up.
inline constexpr int kOpenTerminal = 41000;
inline constexpr int kPortFirst = 41001;
inline constexpr int kPortCount = 256;

// Accelerators without a menu item.
inline constexpr int kAccelOpen = 40025;
inline constexpr int kAccelSave = 40026;
inline constexpr int kAccelFind = 40027;
// Find Next with the last search, down (F3) and up (Shift+F3).
inline constexpr int kFindNextDown = 40028;
inline constexpr int kFindNextUp = 40029;
inline constexpr int kArrowLeft = 40030;
inline constexpr int kArrowUp = 40031;
inline constexpr int kArrowDown = 40032;
inline constexpr int kArrowRight = 40033;

// The multiple-document client numbers its window-list entries from here.
inline constexpr int kFirstMdiChild = 1000;

constexpr bool is_recent(int id) {
    return id >= kRecentFirst && id < kRecentFirst + kRecentCount;
}
constexpr bool is_port(int id) {
    return id >= kPortFirst && id < kPortFirst + kPortCount;
}

} // namespace torva::cmd
