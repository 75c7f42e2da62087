// The modeless dialog "EDITORFIND" ("Find/Replace"): the find and replace
// texts with their histories, the scope, the three search options and the
// buttons that run the finder.
#pragma once

#include <QComboBox>
#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace torva {

class Finder;
class SearchHistory;

// An editable combo box whose list, when it opens, is the history.
class HistoryCombo final : public QComboBox {
    Q_OBJECT
public:
    HistoryCombo(const SearchHistory& history, QWidget* parent);
    void showPopup() override;

private:
    const SearchHistory& history_;
};

class FindDialog final : public QDialog {
    Q_OBJECT
public:
    FindDialog(Finder& finder, QWidget* frame);

    // The controls show the search state.
    void show_state();
    // The search state takes the controls' values.
    void read_state();

    // Escape and "Close" close the dialog.
    void reject() override { close(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void enable_replace();
    // Reads the controls, runs one of the finder's actions.
    void run(void (Finder::*action)());

    Finder& finder_;
    HistoryCombo* find_;
    HistoryCombo* replace_;
    QCheckBox* replace_mode_;
    QRadioButton* current_document_;
    QRadioButton* all_documents_;
    QCheckBox* match_case_;
    QCheckBox* whole_word_;
    QCheckBox* search_up_;
    QPushButton* find_next_;
    QPushButton* replace_once_;
    QPushButton* replace_all_;
};

} // namespace torva
