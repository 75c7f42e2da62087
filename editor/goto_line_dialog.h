// The modal dialog "GOTOLINE" ("Go To Line"): a line number, and OK as the
// only way out.
#pragma once

#include <QDialog>

class QLineEdit;

namespace torva {

class GotoLineDialog final : public QDialog {
    Q_OBJECT
public:
    explicit GotoLineDialog(QWidget* frame);

    // OK ends the dialog with the field's number as its result (0 when the
    // field holds none).
    int typed_number() const;

    // Escape does nothing.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    // Nor does the close box.
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* field_;
};

} // namespace torva
