// The device selection dialog's controls over its logic.
#include "io/gui/device_selection_dialog.h"

#include "shell/control_ids.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace torva {
DeviceSelectionDialog::DeviceSelectionDialog(const DeviceSelectionDialogLogic& logic,
                                             const QFont& list_font, QWidget* owner)
    : QDialog(owner), logic_(logic) {
    setObjectName(QStringLiteral("IOSETUPDIALOG"));
    setWindowTitle(QString::fromStdString(logic.title()));

    auto* address = new QLineEdit(QString::fromStdString(logic.address_field()), this);
    address->setObjectName(control_name(kAddress));
    address->setReadOnly(true);
    address->setFont(list_font);
    address->setMaximumWidth(QFontMetrics(list_font).horizontalAdvance(QStringLiteral("0000")) +
                             24);

    auto* header = new QLabel(QString::fromLatin1(DeviceSelectionDialogLogic::kHeader), this);
    header->setObjectName(control_name(kHeader));
    header->setFont(list_font);
    list_ = new QListWidget(this);
    list_->setObjectName(control_name(kList));
    list_->setFont(list_font);
    for (const std::string& line : logic.lines())
        list_->addItem(QString::fromStdString(line));
    if (list_->count() > 0) list_->setCurrentRow(0);
    const QFontMetrics metrics(list_font);
    list_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('M')) * 82,
                          metrics.lineSpacing() * 6 + 8);
    header->setContentsMargins(list_->frameWidth() + 3, 0, 0, 0);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* select =
        buttons->addButton(QString::fromLatin1(DeviceSelectionDialogLogic::kSelectLabel),
                           QDialogButtonBox::AcceptRole);
    select->setObjectName(control_name(kSelect));
    select->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QString::fromLatin1(DeviceSelectionDialogLogic::kCancelLabel),
                           QDialogButtonBox::RejectRole);
    cancel->setObjectName(control_name(kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* address_row = new QFormLayout;
    address_row->addRow(tr("Address"), address);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(address_row);
    layout->addSpacing(4);
    layout->addWidget(header);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    layout->setSpacing(2);
}

int32_t DeviceSelectionDialog::chosen(int result) const {
    if (result != QDialog::Accepted) return DeviceSelectionDialogLogic::kCancelled;
    return logic_.select(list_->currentRow());
}

} // namespace torva
