// The "NEWBPDIALOG" dialog, titled "Breakpoints": the address field, "&Add",
// the list of breakpoints, the toggle, "&Remove" and "&OK", over the
// dialog's logic in sim/.
#pragma once

#include "sim/breakpoint_dialog.h"

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace torva {

class BreakpointsDialog final : public QDialog {
    Q_OBJECT
public:
    // show_error shows "Badly formed address" (a box over the dialog).
    BreakpointsDialog(BreakpointTable& table, std::function<void(const std::string&)> show_error,
                      QWidget* parent = nullptr);

    QLineEdit& field() { return *field_; }
    QListWidget& list() { return *list_; }
    QPushButton& add_button() { return *add_; }
    QPushButton& toggle_button() { return *toggle_; }
    QPushButton& remove_button() { return *remove_; }

    // Shows the table as it is now, if it changed since it was shown (the
    // simulator window calls this after each tick of a run).
    void follow_table();

signals:
    // Add, the toggle or Remove changed the table.
    void table_changed();

private:
    void show_lines();
    void show_buttons();

    BreakpointDialogLogic logic_;
    std::function<void(const std::string&)> show_error_;
    QLineEdit* field_;
    QListWidget* list_;
    QPushButton* add_;
    QPushButton* toggle_;
    QPushButton* remove_;
};

} // namespace torva
