// Builds the menu tree and rebuilds its three changing pop-ups.
#include "shell/menu_tree.h"

#include "shell/command_ids.h"
#include "shell/control_ids.h"
#include "shell/recent_files.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <stack>

namespace torva {
namespace {

// A path shown as a menu text keeps its own "&" characters.
QString menu_escaped(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The item's text with its key after a tab, where it has one: the menu shows
// the key in its own column.
QString with_shortcut(const QString& text, int id) {
    const QString keys = menu_shortcut_text(id);
    return keys.isEmpty() ? text : text + QLatin1Char('\t') + keys;
}

QKeySequence portable_sequence(std::string_view keys) {
    return QKeySequence(QString::fromLatin1(keys.data(), qsizetype(keys.size())),
                        QKeySequence::PortableText);
}

} // namespace

QString menu_shortcut_text(int id) {
    const std::string_view keys = shown_key(id);
    if (keys.empty()) return {};
    return portable_sequence(keys).toString(QKeySequence::NativeText);
}

QKeySequence key_sequence(const KeyBinding& binding) {
    return portable_sequence(binding.keys);
}

QString menu_path(int id) {
    QStringList open;
    for (const MenuRow& row : kMenuTree) {
        const QString text = QString::fromLatin1(row.text).remove(QLatin1Char('&'));
        if (row.row == Row::popup_begin) open.push_back(text);
        if (row.row == Row::popup_end) open.pop_back();
        if (row.row == Row::item && row.id == id)
            return (open + QStringList{text}).join(QStringLiteral(" ▸ "));
    }
    return {};
}

MenuBar::MenuBar(QMenuBar& bar, Dispatch dispatch) : bar_(bar), dispatch_(std::move(dispatch)) {
    std::stack<QMenu*> open;
    for (const MenuRow& row : kMenuTree) {
        switch (row.row) {
        case Row::popup_begin: {
            const QString text = QString::fromLatin1(row.text);
            QMenu* menu = open.empty() ? bar_.addMenu(text) : open.top()->addMenu(text);
            menu->setObjectName(QString::fromLatin1(row.text).remove(QLatin1Char('&')));
            popups_[static_cast<std::size_t>(row.popup)] = menu;
            open.push(menu);
            break;
        }
        case Row::popup_end: open.pop(); break;
        case Row::separator: open.top()->addSeparator(); break;
        case Row::item:
            add_item(*open.top(), QString::fromLatin1(row.text), row.id)->setEnabled(!row.greyed);
            break;
        }
    }
}

QAction* MenuBar::add_item(QMenu& menu, const QString& text, int id, QAction* before) {
    auto* action = new QAction(with_shortcut(text, id), &menu);
    action->setData(id);
    action->setObjectName(control_name(id));
    QObject::connect(action, &QAction::triggered, action, [this, id] { dispatch_(id); });
    menu.insertAction(before, action);
    actions_[id] = action;
    return action;
}

QAction* MenuBar::action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second.data();
}

QMenu* MenuBar::popup(Popup which) const {
    return which == Popup::none ? nullptr : popups_[static_cast<std::size_t>(which)].data();
}

Popup MenuBar::which(const QMenu* menu) const {
    for (std::size_t i = 0; i < popups_.size(); ++i)
        if (menu != nullptr && popups_[i] == menu) return static_cast<Popup>(i);
    return Popup::none;
}

void MenuBar::set_enabled(int id, bool enabled) {
    if (QAction* item = action(id)) item->setEnabled(enabled);
}

void MenuBar::set_checked(int id, bool checked) {
    if (QAction* item = action(id)) {
        item->setCheckable(true);
        item->setChecked(checked);
    }
}

void MenuBar::rebuild_recent(std::span<const std::string> paths) {
    QMenu* menu = popup(Popup::recent);
    if (menu == nullptr || paths.empty()) return;
    qsizetype count = menu->actions().size();
    if (!paths[0].empty() && count == 1) {
        if (QAction* empty = action(cmd::kRecentFirst)) {
            actions_.erase(cmd::kRecentFirst);
            delete empty;
        }
        count = 0;
    }
    for (std::size_t i = 0; i < paths.size() && i < cmd::kRecentCount; ++i) {
        if (paths[i].empty()) continue;
        const int id = cmd::kRecentFirst + static_cast<int>(i);
        const QString text =
            QStringLiteral("%1: ").arg(i + 1) + menu_escaped(RecentFiles::menu_text(paths[i]));
        if (static_cast<qsizetype>(i) < count) {
            if (QAction* item = action(id)) item->setText(text);
        } else {
            const auto items = menu->actions();
            QAction* before = static_cast<qsizetype>(i) < items.size() ? items[i] : nullptr;
            add_item(*menu, text, id, before)->setEnabled(true);
        }
    }
}

void MenuBar::rebuild_terminal(std::span<const PortItem> ports) {
    QMenu* menu = popup(Popup::terminal);
    if (menu == nullptr) return;
    for (int id = cmd::kPortFirst; id < cmd::kPortFirst + cmd::kPortCount; ++id) {
        if (QAction* item = action(id)) {
            actions_.erase(id);
            delete item;
        }
    }
    for (const PortItem& port : ports) {
        if (port.number < 0 || port.number >= cmd::kPortCount) continue;
        add_item(*menu, QString::fromStdString(port.text), cmd::kPortFirst + port.number);
    }
}

void MenuBar::rebuild_window_list(const std::vector<std::pair<QString, bool>>& windows,
                                  const std::function<void(int index)>& activate) {
    QMenu* menu = popup(Popup::windows);
    if (menu == nullptr) return;
    for (const auto& item : window_list_)
        delete item.data();
    window_list_.clear();
    if (windows.empty()) return;
    window_list_.emplace_back(menu->addSeparator());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const QString number =
            i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
        QString title = windows[i].first;
        QAction* item =
            menu->addAction(number + title.replace(QLatin1Char('&'), QLatin1String("&&")));
        item->setObjectName(control_name(cmd::kFirstMdiChild + static_cast<int>(i)));
        item->setCheckable(true);
        item->setChecked(windows[i].second);
        const int index = static_cast<int>(i);
        QObject::connect(item, &QAction::triggered, item, [activate, index] { activate(index); });
        window_list_.emplace_back(item);
    }
}

} // namespace torva
