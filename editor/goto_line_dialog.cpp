// Go To Line: the number field (digits only), OK, centred over the frame.
#include "editor/goto_line_dialog.h"

#include "shell/control_ids.h"
#include "shell/window_placement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace torva {

GotoLineDialog::GotoLineDialog(QWidget* frame) : QDialog(frame), field_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("GOTOLINE"));
    setWindowTitle(QStringLiteral("Go To Line"));
    field_->setObjectName(control_name(2018));
    field_->setText(QStringLiteral("1"));
    // Nine digits at most, so every number fits the dialog's result.
    field_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), field_));
    field_->selectAll();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(control_name(1));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { done(typed_number()); });

    auto* row = new QHBoxLayout(this);
    row->addWidget(new QLabel(QStringLiteral("Line:"), this));
    row->addWidget(field_, 1);
    row->addWidget(ok);
    setMinimumWidth(240);
}

int GotoLineDialog::typed_number() const {
    bool ok = false;
    const uint number = field_->text().toUInt(&ok);
    return ok ? static_cast<int>(number) : 0;
}

void GotoLineDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centre_over(*this, parentWidget());
}

void GotoLineDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

} // namespace torva
