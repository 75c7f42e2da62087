// The target setup dialog's controls over its logic.
#include "io/gui/target_setup_dialog.h"

#include "shell/control_ids.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace torva {
TargetSetupDialog::TargetSetupDialog(TargetSetupDialogLogic& logic, const QFont& list_font,
                                     QWidget* owner)
    : QDialog(owner), logic_(logic) {
    setObjectName(QStringLiteral("RT12TARGETSETUP"));
    setWindowTitle(QString::fromLatin1(TargetSetupDialogLogic::kTitle));

    board_ = new QComboBox(this);
    board_->setObjectName(control_name(kBoard));
    for (const char* name : TargetSetupDialogLogic::kBoardNames)
        board_->addItem(QString::fromLatin1(name));
    load_debugger_ =
        new QCheckBox(QString::fromLatin1(TargetSetupDialogLogic::kLoadDebuggerLabel), this);
    load_debugger_->setObjectName(control_name(kLoadDebugger));

    auto* header = new QLabel(QString::fromLatin1(TargetSetupDialogLogic::kHeader), this);
    header->setObjectName(control_name(kHeader));
    header->setFont(list_font);
    list_ = new QListWidget(this);
    list_->setObjectName(control_name(kList));
    list_->setFont(list_font);
    const QFontMetrics metrics(list_font);
    list_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('M')) * 52,
                          metrics.lineSpacing() * 12 + 8);
    // The header stands over the list's text, past its frame and item margin.
    header->setContentsMargins(list_->frameWidth() + 3, 0, 0, 0);

    auto* ok = id_button(tr("OK"), kOk, this);
    ok->setDefault(true);
    auto* cancel = id_button(tr("Cancel"), kCancel, this);
    connect_ = id_button(tr("Connect"), kConnect, this);
    disconnect_ = id_button(tr("Disconnect"), kDisconnect, this);
    auto* load = id_button(tr("Load"), kLoad, this);
    auto* save_as = id_button(tr("Save As"), kSaveAs, this);
    auto* default_button = id_button(tr("Default"), kDefault, this);

    auto* board_row = new QHBoxLayout;
    board_row->addWidget(new QLabel(tr("Board"), this));
    board_row->addWidget(board_, 1);
    board_row->addSpacing(16);
    board_row->addWidget(load_debugger_);

    auto* left = new QVBoxLayout;
    left->addLayout(board_row);
    left->addSpacing(8);
    left->addWidget(header);
    left->addWidget(list_, 1);
    left->setSpacing(2);

    auto* right = new QVBoxLayout;
    right->addWidget(ok);
    right->addWidget(cancel);
    right->addSpacing(24);
    right->addWidget(connect_);
    right->addWidget(disconnect_);
    right->addSpacing(24);
    right->addWidget(load);
    right->addWidget(save_as);
    right->addWidget(default_button);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(8);
    layout->addLayout(right);

    connect(board_, &QComboBox::activated, this, [this](int index) {
        logic_.select_board(index);
        refresh();
    });
    connect(load_debugger_, &QCheckBox::toggled, this,
            [this](bool on) { logic_.set_load_debugger(on); });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        logic_.select(row);
        refresh_buttons();
    });
    connect(connect_, &QPushButton::clicked, this,
            [this] { run(&TargetSetupDialogLogic::connect); });
    connect(disconnect_, &QPushButton::clicked, this,
            [this] { run(&TargetSetupDialogLogic::disconnect); });
    connect(load, &QPushButton::clicked, this, [this] { run(&TargetSetupDialogLogic::load); });
    connect(save_as, &QPushButton::clicked, this,
            [this] { run(&TargetSetupDialogLogic::save_as); });
    connect(default_button, &QPushButton::clicked, this,
            [this] { run(&TargetSetupDialogLogic::set_default); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    refresh();
}

void TargetSetupDialog::run(void (TargetSetupDialogLogic::*action)()) {
    (logic_.*action)();
    refresh();
}

void TargetSetupDialog::refresh() {
    const QSignalBlocker block_board(board_);
    const QSignalBlocker block_box(load_debugger_);
    const QSignalBlocker block_list(list_);
    board_->setCurrentIndex(logic_.board_index());
    load_debugger_->setChecked(logic_.load_debugger());
    list_->clear();
    for (const std::string& line : logic_.lines())
        list_->addItem(QString::fromStdString(line));
    list_->setCurrentRow(logic_.selected());
    refresh_buttons();
}

void TargetSetupDialog::refresh_buttons() {
    connect_->setEnabled(logic_.connect_enabled());
    disconnect_->setEnabled(logic_.disconnect_enabled());
}

} // namespace torva
