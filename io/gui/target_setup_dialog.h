// The target setup dialog "RT12TARGETSETUP" ("RT12 Settings"): board, "Load
// debugger", the device list and its buttons, over the dialog's logic. OK and
// Cancel end the dialog; whoever ran it finishes with the logic's ok() or
// cancel() by the result.
#pragma once

#include "io/target_setup_dialog.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFont;
class QListWidget;
class QPushButton;

namespace torva {

class TargetSetupDialog final : public QDialog {
    Q_OBJECT
public:
    // Control ids, kept in the controls' objectNames ("id1" ...).
    enum Id {
        kOk = 1,
        kCancel = 2,
        kBoard = 1101,
        kLoadDebugger = 1102,
        kList = 1103,
        kConnect = 1104,
        kDisconnect = 1105,
        kLoad = 1106,
        kSaveAs = 1107,
        kDefault = 1108,
        kHeader = 1109,
    };

    // list_font: the fixed-pitch font that keeps the columns under the header.
    TargetSetupDialog(TargetSetupDialogLogic& logic, const QFont& list_font, QWidget* owner);

private:
    // Board, box, list and buttons as the logic has them now.
    void refresh();
    void refresh_buttons();
    // Runs a button's sequence, then shows its outcome.
    void run(void (TargetSetupDialogLogic::*action)());

    TargetSetupDialogLogic& logic_;
    QComboBox* board_;
    QCheckBox* load_debugger_;
    QListWidget* list_;
    QPushButton* connect_;
    QPushButton* disconnect_;
};

} // namespace torva
