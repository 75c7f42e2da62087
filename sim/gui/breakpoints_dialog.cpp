// The Breakpoints dialog's widgets and their wiring to its logic.
#include "sim/gui/breakpoints_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace torva {

BreakpointsDialog::BreakpointsDialog(BreakpointTable& table,
                                     std::function<void(const std::string&)> show_error,
                                     QWidget* parent)
    : QDialog(parent), logic_(table), show_error_(std::move(show_error)),
      field_(new QLineEdit(QString::fromLatin1(BreakpointDialogLogic::kDefaultField))),
      list_(new QListWidget), add_(new QPushButton(QStringLiteral("&Add"))),
      toggle_(new QPushButton), remove_(new QPushButton(QStringLiteral("&Remove"))) {
    setObjectName(QStringLiteral("NEWBPDIALOG"));
    setWindowTitle(QStringLiteral("Breakpoints"));
    field_->setMaxLength(8);
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setDefault(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Address:")), 0, 0);
    layout->addWidget(field_, 0, 1);
    layout->addWidget(add_, 0, 2);
    layout->addWidget(list_, 1, 0, 4, 2);
    layout->addWidget(toggle_, 1, 2);
    layout->addWidget(remove_, 2, 2);
    layout->addWidget(ok, 4, 2, Qt::AlignBottom);
    list_->setMinimumHeight(160);

    connect(add_, &QPushButton::clicked, this, [this] {
        if (auto error = logic_.add(field_->text().toStdString())) {
            if (show_error_) show_error_(*error);
            return;
        }
        show_lines();
        emit table_changed();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        logic_.select(row);
        show_buttons();
    });
    connect(toggle_, &QPushButton::clicked, this, [this] {
        logic_.toggle();
        show_lines();
        emit table_changed();
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        logic_.remove();
        show_lines();
        emit table_changed();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    show_lines();
}

void BreakpointsDialog::show_lines() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const std::string& line : logic_.lines())
        list_->addItem(QString::fromStdString(line));
    list_->setCurrentRow(logic_.selected());
    show_buttons();
}

void BreakpointsDialog::follow_table() {
    if (logic_.follow_table()) show_lines();
}

void BreakpointsDialog::show_buttons() {
    toggle_->setText(
        QString::fromLatin1(logic_.toggle_label().data(), qsizetype(logic_.toggle_label().size())));
    toggle_->setEnabled(logic_.buttons_enabled());
    remove_->setEnabled(logic_.buttons_enabled());
}

} // namespace torva
