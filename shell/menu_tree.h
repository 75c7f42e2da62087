// The frame's menu bar as data (texts and command ids), and the object that
// builds it into Qt menus and finds its items again by id.
#pragma once

#include "shell/child_window.h"

#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

class QAction;
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
    {Row::item, "&New", 43158, Popup::none, false},
    {Row::item, "&Open", 43151, Popup::none, false},
    {Row::item, "&Close", 43019, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Save", 43020, Popup::none, false},
    {Row::item, "Save &As", 43022, Popup::none, false},
    {Row::item, "Save A&ll", 43023, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Print", 43024, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::popup_begin, "&Recent files", 0, Popup::recent, false},
    {Row::item, "(Empty)", 43165, Popup::none, true},
    {Row::popup_end, "", 0, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Exit", 43028, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Edit", 0, Popup::edit, false},
    {Row::item, "&Undo", 43043, Popup::none, false},
    {Row::item, "&Redo", 43032, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "Cu&t", 43044, Popup::none, false},
    {Row::item, "&Copy", 43045, Popup::none, false},
    {Row::item, "&Paste", 43046, Popup::none, false},
    {Row::item, "&Delete", 43047, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "Select &All", 43048, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&Find/Replace", 43049, Popup::none, false},
    {Row::item, "Find &Next", 40028, Popup::none, false},
    {Row::item, "Find Pre&vious", 40029, Popup::none, false},
    {Row::item, "&Go To Line", 43054, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Debug", 0, Popup::debug, false},
    {Row::popup_begin, "&Terminal", 0, Popup::terminal, false},
    {Row::popup_end, "", 0, Popup::none, false},
    {Row::item, "&Simulator", 43098, Popup::none, false},
    {Row::item, "&Assemble", 43108, Popup::none, false},
    {Row::item, "Accept &other assemblers' syntax", 43109, Popup::none, false},
    {Row::item, "Check &Lab...", 43200, Popup::none, false},
    // The simulator window's run keys; it enables them while it exists.
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "Run Re&al Time", 830, Popup::none, true},
    {Row::item, "&Halt", 772, Popup::none, true},
    {Row::item, "S&tep", 773, Popup::none, true},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Windows", 0, Popup::windows, false},
    {Row::item, "&Cascade", 43039, Popup::none, false},
    {Row::item, "&Tile", 43040, Popup::none, false},
    {Row::item, "Close &All", 43042, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},

    {Row::popup_begin, "&Help", 0, Popup::help, false},
    {Row::item, "&Help on TORVA 6", 43031, Popup::none, false},
    {Row::separator, "", 0, Popup::none, false},
    {Row::item, "&About", 43030, Popup::none, false},
    {Row::popup_end, "", 0, Popup::none, false},
};

// The simulator's run items: they act on the simulator window, and follow its
// enabling, while it exists; greyed without it.
inline constexpr int kSimulatorRunItems[] = {830, 772, 773};

// Items the enabling pass greys before the active child enables its own.
inline constexpr int kDocumentItems[] = {43020, 43022, 43019, 43024, 43044, 43045, 43046, 43047,
                                         43048, 43049, 43054, 43043, 43032, 40028, 40029};

// The key shown beside a menu item. The frame's accelerators bind most of
// them; the editing component itself answers the keys of undo, redo and the
// clipboard, so those are only shown.
struct ShortcutText {
    int id;
    const char* keys; // in QKeySequence's portable form
};
inline constexpr ShortcutText kShortcutTexts[] = {
    {43158, "Ctrl+N"},
    {43151, "Ctrl+O"},
    {43020, "Ctrl+S"},
    {43024, "Ctrl+P"},
    {43043, "Ctrl+Z"},
    {43032, "Ctrl+Y"},
    {43044, "Ctrl+X"},
    {43045, "Ctrl+C"},
    {43046, "Ctrl+V"},
    {43047, "Del"},
    {43048, "Ctrl+A"},
    {43049, "Ctrl+F"},
    {40028, "F3"},
    {40029, "Shift+F3"},
    {43054, "Ctrl+G"},
    {43108, "F7"},
    // The simulator window's own keys, while it exists.
    {830, "F5"},
    {772, "Shift+F5"},
    {773, "F10"},
};

// The key of an item as the platform writes it ("Ctrl+N"), or "" for none.
QString menu_shortcut_text(int id);

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
