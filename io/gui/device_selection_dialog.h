// The device selection dialog "IOSETUPDIALOG": the device types a port row
// offers, the row's address, and "Select" / "Cancel".
#pragma once

#include "io/device_selection_dialog.h"

#include <QDialog>

class QFont;
class QListWidget;

namespace torva {

class DeviceSelectionDialog final : public QDialog {
    Q_OBJECT
public:
    // Control ids, kept in the controls' objectNames ("id1" ...).
    enum Id { kSelect = 1, kCancel = 2, kList = 1201, kAddress = 1202, kHeader = 1203 };

    // list_font: the fixed-pitch font that keeps the columns under the header.
    DeviceSelectionDialog(const DeviceSelectionDialogLogic& logic, const QFont& list_font,
                          QWidget* owner);

    // The type the dialog gave: the selected line's number after "Select"
    // (the first line is selected when the dialog opens), -1 after "Cancel".
    int32_t chosen(int result) const;

private:
    const DeviceSelectionDialogLogic& logic_;
    QListWidget* list_;
};

} // namespace torva
