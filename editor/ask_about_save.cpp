// The save question on close: the quoted file name in a read-only field and
// the buttons "&Yes", "&No" and "&Cancel"; Escape is Cancel.
#include "editor/ask_about_save.h"

#include "shell/control_ids.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace torva {

AskAboutSaveDialog::AskAboutSaveDialog(const QString& name, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ASKABOUTSAVE"));
    setWindowTitle(QStringLiteral("Save this file?"));

    auto* field = new QLineEdit(QStringLiteral("'%1'").arg(name));
    field->setObjectName(control_name(1191));
    field->setReadOnly(true);
    field->setMinimumWidth(260);
    auto* yes = new QPushButton(QStringLiteral("&Yes"));
    yes->setObjectName(control_name(1));
    yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("&No"));
    no->setObjectName(control_name(7));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"));
    cancel->setObjectName(control_name(2));
    connect(yes, &QPushButton::clicked, this, [this] { done(kYes); });
    connect(no, &QPushButton::clicked, this, [this] { done(kNo); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("File:")), 0, 0);
    grid->addWidget(field, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("is not yet saved. Save it now?")), 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
}

void AskAboutSaveDialog::showEvent(QShowEvent* event) {
    // Centred over the frame (the top-level window of its owner).
    if (QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr) {
        const QRect frame = owner->geometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

} // namespace torva
