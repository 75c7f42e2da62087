// The frame's menu bar as data (texts and command ids), and the object that
// builds it into Qt menus and finds its items again by id.
#pragma once

#include "shell/child_window.h"
#include "shell/command_ids.h"
#include "shell/key_table.h"
#include "sim/sim_commands.h"

#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class QWidget;

namespace torva {

enum class Popup { file, edit, debug, windows, help, recent, terminal, none };

enum class Row { item, separator, popup_begin, popup_end };

struct MenuRow {
    Row row;
    const char* text;
    int id;      // command id of an item
    Popup popup; // the pop-up a popup_begin row opens
    bool greyed; // item starts greyed
};

inline constexpr MenuRow kMenuTree[] = {
    {Row::popup_begin, "&File", 0, Popup::file, false},
    {Row::item, "&New", cmd::kNew, Popup::none, false},
    {Row::item, "&Open", cmd::kOpen, Popup::none, false},
    {Row::item, "&Close", cmd::kClose, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Save", cmd::kSave, Popup::none, false},
    {Row::item, "Save &As", cmd::kSaveAs, Popup::none, false},
    {Row::item, "Save A&ll", cmd::kSaveAll, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Print", cmd::kPrint, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::popup_begin, "&Recent files", 0, Popup::recent, false},
    {Row::item, "(Empty)", cmd::kRecentFirst, Popup::none, true},
    {Row::popup_end, "", 0, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Exit", cmd::kExit, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Edit", 0, Popup::edit, false},
    {Row::item, "&Undo", cmd::kUndo, Popup::none, false},
    {Row::item, "&Redo", cmd::kRedo, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "Cu&t", cmd::kCut, Popup::none, false},
    {Row::item, "&Copy", cmd::kCopy, Popup::none, false},
    {Row::item, "&Paste", cmd::kPaste, Popup::none, false},
    {Row::item, "&Delete", cmd::kDelete, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "Select &All", cmd::kSelectAll, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Find/Replace", cmd::kFindReplace, Popup::none, false},
    {Row::item, "Find &Next", cmd::kFindNextDown, Popup::none, false},
    {Row::item, "Find Pre&vious", cmd::kFindNextUp, Popup::none, false},
    {Row::item, "&Go To Line", cmd::kGoToLine, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Debug", 0, Popup::debug, false},
    {Row::popup_begin, "&Terminal", 0, Popup::terminal, false},
    {Row::popup_end, "", 0, Popup::none, false},
    {Row::item, "&Simulator", cmd::kSimulator, Popup::none, false},
    {Row::item, "&Assemble", cmd::kAssemble, Popup::none, false},
    {Row::item, "Accept &other assemblers' syntax", cmd::kAcceptOtherSyntax, Popup::none, false},
    {Row::item, "Check &Lab...", cmd::kCheckLab, Popup::none, false},
    // The simulator window's run keys; it enables them while it exists.
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "Run Re&al Time", sim_cmd::kRunRealTime, Popup::none, true},
    {Row::item, "&Halt", sim_cmd::kHalt, Popup::none, true},
    {Row::item, "S&tep", sim_cmd::kStep, Popup::none, true},
    {Row::item, "Step &Into", cmd::kStepInto, Popup::none, true},
    {Row::item, "Step &Over", cmd::kStepOver, Popup::none, true},
    {Row::item, "Step O&ut", cmd::kStepOut, Popup::none, true},
    {Row::item, "Run to &Cursor", cmd::kRunToCursor, Popup::none, true},
    {Row::item, "Toggle &Breakpoint", cmd::kToggleBreakpoint, Popup::none, true},
    {Row::item, "&Watch", cmd::kWatch, Popup::none, true},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Windows", 0, Popup::windows, false},
    {Row::item, "&Cascade", cmd::kCascade, Popup::none, false},
    {Row::item, "&Tile", cmd::kTile, Popup::none, false},
    {Row::item, "Close &All", cmd::kCloseAll, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Help", 0, Popup::help, false},
    {Row::item, "&Help on TORVA 6", cmd::kHelp, Popup::none, false},
    {Row::item, "&Keyboard Shortcuts", cmd::kKeyboardShortcuts, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&About", cmd::kAbout, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},
};

// The simulator's run items: they act on the simulator window, and follow its
// enabling, while it exists; greyed without it.
inline constexpr int kSimulatorRunItems[] = {
    sim_cmd::kRunRealTime, sim_cmd::kHalt,         sim_cmd::kStep,
    cmd::kStepInto,        cmd::kStepOver,         cmd::kStepOut,
    cmd::kRunToCursor,     cmd::kToggleBreakpoint, cmd::kWatch};

// Items the enabling pass greys before the active child enables its own.
inline constexpr int kDocumentItems[] = {
    cmd::kSave,     cmd::kSaveAs, cmd::kClose,  cmd::kPrint,        cmd::kCut,
    cmd::kCopy,     cmd::kPaste,  cmd::kDelete, cmd::kSelectAll,    cmd::kFindReplace,
    cmd::kGoToLine, cmd::kUndo,   cmd::kRedo,   cmd::kFindNextDown, cmd::kFindNextUp};

// The key of an item as the platform writes it ("Ctrl+N"), or "" for none.
QString menu_shortcut_text(int id);
// A row of the key table as Qt binds it.
QKeySequence key_sequence(const KeyBinding& binding);
// Where an item sits in the menus, as the manual writes it: "File ▸ New";
// "" for an id of no item.
QString menu_path(int id);

// Builds the tree into a menu bar; every item's action sends its id to the
// dispatcher and carries the id in its data (and in objectName "id<number>").
class MenuBar final : public MenuItems {
public:
    using Dispatch = std::function<void(int id)>;

    MenuBar(QMenuBar& bar, Dispatch dispatch);

    QAction* action(int id) const;
    QMenu* popup(Popup which) const;
    // Which pop-up a menu is, or none.
    Popup which(const QMenu* menu) const;
    void set_enabled(int id, bool enabled) override;
    // Shows the item as a setting that is on or off.
    void set_checked(int id, bool checked);

    // "&Recent files": "(Empty)" while no slot is filled, else "%d: %s".
    void rebuild_recent(std::span<const std::string> paths);
    // "&Terminal": one item per present port, with its id and text.
    struct PortItem {
        int number;
        std::string text;
    };
    void rebuild_terminal(std::span<const PortItem> ports);
    // "&Windows": the fixed items, then one item per open window.
    void rebuild_window_list(const std::vector<std::pair<QString, bool>>& windows,
                             const std::function<void(int index)>& activate);

private:
    QAction* add_item(QMenu& menu, const QString& text, int id, QAction* before = nullptr);

    QMenuBar& bar_;
    Dispatch dispatch_;
    std::map<int, QPointer<QAction>> actions_;
    std::array<QPointer<QMenu>, 7> popups_;
    std::vector<QPointer<QAction>> window_list_;
};

} // namespace torva
