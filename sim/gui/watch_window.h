// The Watch window: a table of watched expressions with their format and
// value over the headless watch rows, a line to add one, and Remove. Values
// refresh on every halt and with the run's display ticks; a changed value
// is highlighted; typing into a value writes it.
#pragma once

#include "shell/child_window.h"
#include "sim/watch_list.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace torva {

class Simulator;

class WatchWindow final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static constexpr char kTitle[] = "Watch";

    explicit WatchWindow(Simulator& sim, QWidget* parent = nullptr);

    // ChildWindow
    QWidget& as_widget() override { return *this; }
    bool handle_command(int, std::intptr_t) override { return false; }

    WatchList& rows() { return list_; }
    QTableWidget& table() { return *table_; }
    QLineEdit& expression_field() { return *expression_; }
    QComboBox& format_box() { return *format_; }
    QSpinBox& count_box() { return *count_; }
    QPushButton& add_button() { return *add_; }
    QPushButton& remove_button() { return *remove_; }

    // Reads every row again and shows it.
    void refresh();
    // Adds the row the line describes (the Add button, Enter in the field).
    void add_from_line();
    // Shows these rows instead (another program's), read afresh.
    void replace_rows(std::vector<WatchRow> rows);

signals:
    // A row was added or removed.
    void rows_changed();

private:
    void show_rows();
    void value_edited(int row, int column);

    Simulator& sim_;
    WatchList list_;
    QTableWidget* table_ = nullptr;
    QLineEdit* expression_ = nullptr;
    QComboBox* format_ = nullptr;
    QSpinBox* count_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    bool showing_ = false; // the table is being filled, not edited
};

} // namespace torva
