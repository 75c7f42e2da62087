// Lists the key table in menu order: a key the menus show is listed once,
// under the item it triggers.
#include "shell/keyboard_shortcuts_dialog.h"

#include "shell/menu_tree.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace torva {

KeyboardShortcutsDialog::KeyboardShortcutsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("KeyboardShortcuts"));
    setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
    auto* table = new QTableWidget(0, 2, this);
    table->setObjectName(QStringLiteral("keys"));
    table->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Keys")});
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    table->setShowGrid(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    for (const MenuRow& row : kMenuTree) {
        if (row.row != Row::item) continue;
        const QString keys = menu_shortcut_text(row.id);
        if (keys.isEmpty()) continue;
        const int at = table->rowCount();
        table->insertRow(at);
        table->setItem(at, 0, new QTableWidgetItem(menu_path(row.id)));
        table->setItem(at, 1, new QTableWidgetItem(keys));
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(440, 600);
}

} // namespace torva
