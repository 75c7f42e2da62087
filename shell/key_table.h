// Every keyboard shortcut of the program as data: the key, the command it
// sends, where it works and the menu item that shows it. Free of Qt, so the
// headless simulator panel reads it as well as the frame and the windows.
#pragma once

#include "shell/command_ids.h"
#include "sim/sim_commands.h"

#include <string_view>

namespace torva {

enum class KeyScope {
    frame,     // a frame accelerator, while the frame is the active window
    simulator, // application-wide, while the simulator window exists
    component, // answered by the editing component itself; only shown
    anywhere,  // answered by the help's key filter in every window; only shown
};

struct KeyBinding {
    int command;           // the command the key sends
    std::string_view keys; // in QKeySequence's portable form ("Shift+F5")
    KeyScope scope;
    int menu_item; // the menu item that shows the key beside its text; 0: none
};

// Some accelerators send their own command (Ctrl+O opens without the menu's
// directory choice), yet the menu item they stand for shows the key.
// clang-format off
inline constexpr KeyBinding kKeyTable[] = {
    {cmd::kArrowDown,         "Down",     KeyScope::frame,     0},
    {cmd::kArrowLeft,         "Left",     KeyScope::frame,     0},
    {cmd::kArrowRight,        "Right",    KeyScope::frame,     0},
    {cmd::kArrowUp,           "Up",       KeyScope::frame,     0},
    {cmd::kNew,               "Ctrl+N",   KeyScope::frame,     cmd::kNew},
    {cmd::kAccelOpen,         "Ctrl+O",   KeyScope::frame,     cmd::kOpen},
    {cmd::kAccelSave,         "Ctrl+S",   KeyScope::frame,     cmd::kSave},
    {cmd::kPrint,             "Ctrl+P",   KeyScope::frame,     cmd::kPrint},
    {cmd::kUndo,              "Ctrl+Z",   KeyScope::component, cmd::kUndo},
    {cmd::kRedo,              "Ctrl+Y",   KeyScope::component, cmd::kRedo},
    {cmd::kCut,               "Ctrl+X",   KeyScope::component, cmd::kCut},
    {cmd::kCopy,              "Ctrl+C",   KeyScope::component, cmd::kCopy},
    {cmd::kPaste,             "Ctrl+V",   KeyScope::component, cmd::kPaste},
    {cmd::kDelete,            "Del",      KeyScope::component, cmd::kDelete},
    {cmd::kSelectAll,         "Ctrl+A",   KeyScope::component, cmd::kSelectAll},
    {cmd::kAccelFind,         "Ctrl+F",   KeyScope::frame,     cmd::kFindReplace},
    {cmd::kFindNextDown,      "F3",       KeyScope::frame,     cmd::kFindNextDown},
    {cmd::kFindNextUp,        "Shift+F3", KeyScope::frame,     cmd::kFindNextUp},
    {cmd::kGoToLine,          "Ctrl+G",   KeyScope::frame,     cmd::kGoToLine},
    {cmd::kAssemble,          "F7",       KeyScope::frame,     cmd::kAssemble},
    {cmd::kHelp,              "F1",       KeyScope::anywhere,  cmd::kHelp},
    {sim_cmd::kRunRealTime,   "F5",       KeyScope::simulator, sim_cmd::kRunRealTime},
    {sim_cmd::kHalt,          "Shift+F5", KeyScope::simulator, sim_cmd::kHalt},
    {cmd::kStepInto,          "F11",      KeyScope::simulator, cmd::kStepInto},
    {cmd::kStepOver,          "F10",      KeyScope::simulator, cmd::kStepOver},
    {cmd::kStepOut,           "Shift+F11", KeyScope::simulator, cmd::kStepOut},
    {cmd::kRunToCursor,       "Ctrl+F10", KeyScope::simulator, cmd::kRunToCursor},
    {cmd::kToggleBreakpoint,  "F9",       KeyScope::simulator, cmd::kToggleBreakpoint},
};
// clang-format on

// The key a menu item (or toolbar button) shows, in the portable form, or ""
// for none.
constexpr std::string_view shown_key(int menu_item) {
    for (const KeyBinding& binding : kKeyTable)
        if (binding.menu_item != 0 && binding.menu_item == menu_item) return binding.keys;
    return {};
}

} // namespace torva
