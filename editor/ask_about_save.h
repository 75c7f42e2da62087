// The dialog "ASKABOUTSAVE" ("Save this file?") that a modified document
// shows when it closes.
#pragma once

#include <QDialog>

namespace torva {

class AskAboutSaveDialog final : public QDialog {
    Q_OBJECT
public:
    // Results: "&Yes" 1, "&No" 0, "&Cancel" and Escape -1 (the document
    // stays open with its edits).
    static constexpr int kYes = 1;
    static constexpr int kNo = 0;
    static constexpr int kCancel = -1;

    AskAboutSaveDialog(const QString& name, QWidget* parent);

    void reject() override { done(kCancel); }

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace torva
