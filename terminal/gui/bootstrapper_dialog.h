// The bootstrap dialog "BOOTSTRAPPER" ("Bootstrap"): the bootstrapper and
// application files, the image's size and offset, the leading $FF, the
// application's delay and the two stages' serial settings; OK runs the
// bootstrap over the terminal's link and shows its stage, byte count and
// result. The bootstrap itself (image, stages, pacing) is the headless
// run_bootstrap; this dialog is its BootstrapUi.
#pragma once

#include "terminal/bootstrap.h"
#include "terminal/bootstrap_dialog_logic.h"

#include <QDialog>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torva {

class DialogHost;
class TerminalSession;

class BootstrapperDialog final : public QDialog, private BootstrapUi {
    Q_OBJECT
public:
    static constexpr char kTitle[] = "Bootstrap";
    // Runs the serial settings dialog with its terminal part disabled over
    // one stage's settings, titled title; true when left with OK.
    using OptionsDialog = std::function<bool(SerialSettings& settings, const QString& title)>;

    // terminal: the terminal window, whose title follows each configuration
    // of its port (may be null).
    BootstrapperDialog(DialogHost& host, TerminalSession& session, SerialLink& link,
                       QWidget* terminal, QWidget* owner);

    // Without one the Options buttons stay off.
    void set_options_dialog(OptionsDialog dialog) {
        options_dialog_ = std::move(dialog);
        logic_.set_has_options_dialog(bool(options_dialog_));
        update_enabling();
    }
    // Lets the terminal read and show what arrived (without one, the
    // dialog lets pending events run, the terminal's poll timer among them).
    void set_terminal_poll(std::function<void()> poll) { poll_ = std::move(poll); }

    // The control with that id (its objectName is "id<number>").
    QWidget* control(int id) const;
    bool running() const { return logic_.running(); }
    // The result of the last bootstrap; none before one ran.
    std::optional<int> last_result() const { return last_result_; }

    // OK: reads the controls into the session's options and runs the
    // bootstrap (the button's action).
    void start();

protected:
    // Refused while a bootstrap runs: the dialog must outlive it.
    void reject() override;

private:
    // BootstrapUi.
    bool question_box(const std::string& text) override;
    void prepare_target_box() override;
    bool configure_port(SerialSettings& settings, PortQueues queues) override;
    void show_stage(const std::string& text) override;
    void show_label(const std::string& text) override;
    void show_count(long count) override;
    void wait(Milliseconds time) override;
    void poll_terminal() override;
    void write_failed(const std::string& reason) override;

    // What the controls hold now.
    BootstrapDialogFields fields_shown() const;
    // The controls show the session's options.
    void refill();
    // Each control on or off as the logic says for what the fields hold.
    void update_enabling();
    void browse(bool application);
    void options(bool application);
    // Lets the dialog repaint what changed at once.
    void repaint_now();

    DialogHost& host_;
    TerminalSession& session_;
    SerialLink& link_;
    QWidget* terminal_;
    OptionsDialog options_dialog_;
    std::function<void()> poll_;
    BootstrapDialogLogic logic_;
    std::optional<int> last_result_;
    // "Can't write to <port>: <reason>" of a bootstrap the port stopped.
    std::string write_failure_;

    QLineEdit* bootstrapper_path_;
    QLineEdit* application_path_;
    QButtonGroup* size_;
    QLineEdit* other_size_;
    QLineEdit* offset_;
    QCheckBox* leading_ff_;
    QCheckBox* load_application_;
    QLineEdit* delay_;
    QLabel* stage_;
    QLabel* label_;
    QLabel* count_;
    QPushButton* ok_;
};

// The terminal's Bootstrap command: runs the dialog modally over the frame
// for the terminal window's session and link; poll_terminal lets the
// window read and show what arrives meanwhile. Gives the last bootstrap's
// result (kBootstrapDeclined when none ran).
int run_bootstrapper_dialog(QWidget& terminal, DialogHost& host, TerminalSession& session,
                            SerialLink& link, std::function<void()> poll_terminal = {});

} // namespace torva
