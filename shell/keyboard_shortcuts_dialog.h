// Help ▸ Keyboard Shortcuts: every key of the program's key table beside the
// menu item it stands for.
#pragma once

#include <QDialog>

namespace torva {

class KeyboardShortcutsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit KeyboardShortcutsDialog(QWidget* parent = nullptr);
};

} // namespace torva
