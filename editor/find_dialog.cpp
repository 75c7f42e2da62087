// Find/Replace dialog: controls with their ids, reading and showing the
// search state, the buttons.
#include "editor/find_dialog.h"

#include "editor/finder.h"
#include "shell/control_ids.h"
#include "shell/window_placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace torva {
namespace {

std::string text_of(const QComboBox& combo) {
    return cut_to_characters(combo.currentText().toStdString(), SearchState::kMaxText);
}

} // namespace

HistoryCombo::HistoryCombo(const SearchHistory& history, QWidget* parent)
    : QComboBox(parent), history_(history) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setMaxLength(static_cast<int>(SearchState::kMaxText));
    setMinimumContentsLength(28);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void HistoryCombo::showPopup() {
    // The list is the history at this moment, and its newest entry is put
    // into the field.
    const QString typed = currentText();
    clear();
    for (int i = 0; i < history_.size(); ++i)
        addItem(QString::fromStdString(history_.at(i)));
    setEditText(history_.size() > 0 ? QString::fromStdString(history_.at(0)) : typed);
    QComboBox::showPopup();
}

FindDialog::FindDialog(Finder& finder, QWidget* frame)
    : QDialog(frame), finder_(finder),
      find_(with_id(new HistoryCombo(finder.state().find_history, this), 1233)),
      replace_(with_id(new HistoryCombo(finder.state().replace_history, this), 1235)),
      replace_mode_(with_id(new QCheckBox(QStringLiteral("Replace with:"), this), 2093)),
      current_document_(with_id(new QRadioButton(QStringLiteral("Current &document"), this), 2088)),
      all_documents_(with_id(new QRadioButton(QStringLiteral("All &open documents"), this), 2089)),
      match_case_(with_id(new QCheckBox(QStringLiteral("Match &case"), this), 2090)),
      whole_word_(with_id(new QCheckBox(QStringLiteral("Match &whole word"), this), 2091)),
      search_up_(with_id(new QCheckBox(QStringLiteral("Search &up"), this), 2092)),
      find_next_(with_id(new QPushButton(QStringLiteral("&Find Next"), this), 2078)),
      replace_once_(with_id(new QPushButton(QStringLiteral("&Replace"), this), 2079)),
      replace_all_(with_id(new QPushButton(QStringLiteral("Replace &All"), this), 2085)) {
    setObjectName(QStringLiteral("EDITORFIND"));
    setWindowTitle(QStringLiteral("Find/Replace"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* close_button = with_id(new QPushButton(QStringLiteral("Close"), this), 2);
    find_next_->setDefault(true);

    auto* texts = new QGridLayout;
    texts->addWidget(new QLabel(QStringLiteral("Find what:"), this), 0, 0);
    texts->addWidget(find_, 0, 1);
    texts->addWidget(replace_mode_, 1, 0);
    texts->addWidget(replace_, 1, 1);
    texts->setColumnStretch(1, 1);

    auto* scope = new QGroupBox(QStringLiteral("Scope"), this);
    auto* scope_column = new QVBoxLayout(scope);
    scope_column->addWidget(current_document_);
    scope_column->addWidget(all_documents_);
    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    auto* options_column = new QVBoxLayout(options);
    options_column->addWidget(match_case_);
    options_column->addWidget(whole_word_);
    options_column->addWidget(search_up_);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(scope);
    boxes->addWidget(options);

    auto* left = new QVBoxLayout;
    left->addLayout(texts);
    left->addLayout(boxes);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {find_next_, replace_once_, replace_all_, close_button})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left, 1);
    whole->addLayout(buttons);

    connect(find_next_, &QPushButton::clicked, this, [this] { run(&Finder::find_next); });
    connect(replace_once_, &QPushButton::clicked, this, [this] { run(&Finder::replace_once); });
    connect(replace_all_, &QPushButton::clicked, this, [this] { run(&Finder::replace_all); });
    connect(close_button, &QPushButton::clicked, this, &QWidget::close);
    connect(replace_mode_, &QCheckBox::toggled, this, [this] { enable_replace(); });
    show_state();
}

void FindDialog::show_state() {
    const SearchState& state = finder_.state();
    if (!state.find_text.empty()) find_->setEditText(QString::fromStdString(state.find_text));
    replace_->setEditText(QString::fromStdString(state.replace_text));
    current_document_->setChecked(!state.all_documents);
    all_documents_->setChecked(state.all_documents);
    match_case_->setChecked(state.match_case);
    whole_word_->setChecked(state.whole_word);
    search_up_->setChecked(state.search_up);
    replace_mode_->setChecked(state.replace_mode);
    enable_replace();
    find_->lineEdit()->selectAll();
    find_->setFocus();
}

void FindDialog::read_state() {
    SearchState& state = finder_.state();
    state.find_text = text_of(*find_);
    state.replace_text = text_of(*replace_);
    state.all_documents = !current_document_->isChecked();
    state.match_case = match_case_->isChecked();
    state.whole_word = whole_word_->isChecked();
    state.search_up = search_up_->isChecked();
    state.replace_mode = replace_mode_->isChecked();
}

void FindDialog::enable_replace() {
    const bool on = replace_mode_->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{replace_, replace_once_, replace_all_})
        control->setEnabled(on);
}

void FindDialog::run(void (Finder::*action)()) {
    read_state();
    (finder_.*action)();
}

void FindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centre_over(*this, parentWidget());
}

void FindDialog::closeEvent(QCloseEvent* event) {
    finder_.dialog_closed();
    event->accept();
}

} // namespace torva
