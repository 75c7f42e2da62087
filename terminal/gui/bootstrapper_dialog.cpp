// The bootstrap dialog's controls and its side of the bootstrap.
#include "terminal/gui/bootstrapper_dialog.h"

#include "shell/control_ids.h"
#include "shell/dialog_host.h"
#include "shell/directories.h"
#include "shell/file_dialogs.h"
#include "shell/message_service.h"
#include "terminal/bootstrap_dialog_values.h"
#include "terminal/download_texts.h"
#include "terminal/gui/serial_settings_dialog.h"
#include "terminal/port_configuration.h"
#include "terminal/terminal_session.h"
#include "terminal/terminal_texts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace torva {
namespace {

using namespace bootstrap_dialog;

QPushButton* button(const QString& text, int id, const QString& tip) {
    auto* b = id_button(text, id);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

QLineEdit* number_field(int id, int characters) {
    auto* field = with_id(new QLineEdit, id);
    field->setMaxLength(16);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QString(characters, '0')) + 12);
    return field;
}

// A path field: shows the path shortened, the whole path as its tip. The
// path comes from Browse, so the field is not typed into.
QLineEdit* path_field(int id) {
    auto* field = with_id(new QLineEdit, id);
    field->setReadOnly(true);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(int(kPathShown), 'x')) +
                           12);
    return field;
}

void show_path(QLineEdit& field, const std::string& shown, const std::string& path) {
    field.setText(QString::fromStdString(shown));
    field.setToolTip(QString::fromStdString(path));
}

// A label of the first column; both groups give it the same width, so that
// their fields line up.
QLabel* row_label(const QString& text) {
    auto* label = new QLabel(text);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Offset (hex):")) +
                           4);
    return label;
}

// Message texts break their lines with a carriage return; a box breaks on
// line feeds.
std::string box_lines(std::string text) {
    std::ranges::replace(text, '\r', '\n');
    return text;
}

} // namespace

BootstrapperDialog::BootstrapperDialog(DialogHost& host, TerminalSession& session, SerialLink& link,
                                       QWidget* terminal, QWidget* owner)
    : QDialog(owner), host_(host), session_(session), link_(link), terminal_(terminal),
      logic_(session.bootstrap_options()) {
    setObjectName(QStringLiteral("BOOTSTRAPPER"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setModal(true);

    // The bootstrapper: file, image size and offset, leading $FF.
    auto* boot_box = new QGroupBox(QStringLiteral("Bootstrapper (binary download)"));
    auto* boot = new QGridLayout(boot_box);
    bootstrapper_path_ = path_field(kBootstrapperPath);
    auto* boot_browse = button(QStringLiteral("Browse"), kBrowseBootstrapper, {});
    auto* boot_options = button(QStringLiteral("Options"), kBootstrapperOptions,
                                QString::fromLatin1(kBootstrapperOptionsTitle));
    boot->addWidget(row_label(QStringLiteral("File:")), 0, 0);
    boot->addWidget(bootstrapper_path_, 0, 1, 1, 5);
    boot->addWidget(boot_browse, 0, 6);
    boot->addWidget(boot_options, 0, 7);

    size_ = new QButtonGroup(this);
    boot->addWidget(row_label(QStringLiteral("Size:")), 1, 0);
    int column = 1;
    for (const auto& [id, text] : {std::pair{kSize192, "192"},
                                   {kSize256, "256"},
                                   {kSizeFile, "File size"},
                                   {kSizeOther, "Other"}}) {
        auto* radio = with_id(new QRadioButton(QString::fromLatin1(text)), id);
        size_->addButton(radio, id);
        boot->addWidget(radio, 1, column++);
    }
    other_size_ = number_field(kOtherSize, 6);
    boot->addWidget(other_size_, 1, column);

    offset_ = number_field(kOffset, 8);
    leading_ff_ = with_id(new QCheckBox(QStringLiteral("Send leading 'FF'-character")), kLeadingFf);
    boot->addWidget(row_label(QStringLiteral("Offset (hex):")), 2, 0);
    boot->addWidget(offset_, 2, 1, 1, 2, Qt::AlignLeft);
    boot->addWidget(leading_ff_, 2, 3, 1, 4);
    boot->setColumnStretch(5, 1);

    // The application: whether it follows, its file and delay.
    auto* app_box = new QGroupBox(QStringLiteral("Application"));
    auto* app = new QGridLayout(app_box);
    load_application_ =
        with_id(new QCheckBox(QStringLiteral("Load 'Application'")), kLoadApplication);
    application_path_ = path_field(kApplicationPath);
    auto* app_browse = button(QStringLiteral("Browse"), kBrowseApplication, {});
    auto* app_options = button(QStringLiteral("Options"), kApplicationOptions,
                               QString::fromLatin1(kApplicationOptionsTitle));
    delay_ = number_field(kApplicationDelay, 8);
    app->addWidget(load_application_, 0, 0, 1, 3);
    app->addWidget(row_label(QStringLiteral("File:")), 1, 0);
    app->addWidget(application_path_, 1, 1);
    app->addWidget(app_browse, 1, 2);
    app->addWidget(app_options, 1, 3);
    auto* delay_row = new QHBoxLayout;
    delay_row->addWidget(new QLabel(QStringLiteral("Delay (ms) for 'Application' download")));
    delay_row->addWidget(delay_);
    delay_row->addStretch();
    app->addLayout(delay_row, 2, 0, 1, 4);
    app->setColumnStretch(1, 1);

    // Progress: the stage, then the label and the byte count.
    auto* progress_box = new QGroupBox(QStringLiteral("Progress"));
    auto* progress = new QGridLayout(progress_box);
    stage_ = with_id(new QLabel, kProgressStage);
    label_ = with_id(new QLabel, kProgressLabel);
    count_ = with_id(new QLabel, kProgressCount);
    stage_->setMinimumWidth(stage_->fontMetrics().horizontalAdvance(
        QString::fromLatin1(bootstrap_message::kApplicationDownload)));
    const int line = stage_->fontMetrics().height();
    for (QLabel* field : {stage_, label_, count_})
        field->setMinimumHeight(line);
    progress->addWidget(stage_, 0, 0, 1, 3);
    progress->addWidget(label_, 1, 0);
    progress->addWidget(count_, 1, 1);
    progress->setColumnStretch(2, 1);

    ok_ = button(QStringLiteral("OK"), kStart, QStringLiteral("Start download(s)"));
    ok_->setDefault(true);
    auto* back =
        button(QStringLiteral("&Return"), kReturn, QStringLiteral("Return from bootstrap"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(back);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boot_box);
    layout->addWidget(app_box);
    layout->addWidget(progress_box);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok_, &QPushButton::clicked, this, &BootstrapperDialog::start);
    connect(back, &QPushButton::clicked, this, &BootstrapperDialog::reject);
    connect(boot_browse, &QPushButton::clicked, this, [this] { browse(false); });
    connect(app_browse, &QPushButton::clicked, this, [this] { browse(true); });
    connect(boot_options, &QPushButton::clicked, this, [this] { options(false); });
    connect(app_options, &QPushButton::clicked, this, [this] { options(true); });
    connect(size_, &QButtonGroup::idClicked, this, [this] { update_enabling(); });
    connect(load_application_, &QCheckBox::toggled, this, [this] { update_enabling(); });

    refill();
}

QWidget* BootstrapperDialog::control(int id) const {
    return find_control(*this, id);
}

BootstrapDialogFields BootstrapperDialog::fields_shown() const {
    BootstrapDialogFields f;
    f.size_button = size_->checkedId();
    f.other_size = other_size_->text().toStdString();
    f.offset = offset_->text().toStdString();
    f.leading_ff = leading_ff_->isChecked();
    f.load_application = load_application_->isChecked();
    f.delay = delay_->text().toStdString();
    return f;
}

void BootstrapperDialog::refill() {
    const BootstrapDialogFields f = logic_.fields();
    show_path(*bootstrapper_path_, f.bootstrapper_path, logic_.options().bootstrapper_path);
    show_path(*application_path_, f.application_path, logic_.options().application_path);
    size_->button(f.size_button)->setChecked(true);
    other_size_->setText(QString::fromStdString(f.other_size));
    offset_->setText(QString::fromStdString(f.offset));
    leading_ff_->setChecked(f.leading_ff);
    load_application_->setChecked(f.load_application);
    delay_->setText(QString::fromStdString(f.delay));
    update_enabling();
}

void BootstrapperDialog::update_enabling() {
    const BootstrapDialogFields shown = fields_shown();
    for (const int id : kSwitchedControls)
        control(id)->setEnabled(logic_.enabled(id, shown));
}

void BootstrapperDialog::browse(bool application) {
    const std::optional<std::string> chosen = host_.file_dialogs().load_file(this);
    if (!chosen) return;
    logic_.choose_file(application, *chosen);
    const BootstrapDialogFields f = logic_.fields();
    const BootstrapOptions& o = logic_.options();
    if (application)
        show_path(*application_path_, f.application_path, o.application_path);
    else
        show_path(*bootstrapper_path_, f.bootstrapper_path, o.bootstrapper_path);
    update_enabling();
}

void BootstrapperDialog::options(bool application) {
    if (!options_dialog_) return;
    TerminalSettings& settings = session_.settings();
    SerialSettings& serial = application ? settings.application_serial : settings.bootstrap_serial;
    const char* title = application ? kApplicationOptionsTitle : kBootstrapperOptionsTitle;
    if (options_dialog_(serial, QString::fromLatin1(title))) session_.mark_settings_changed();
}

void BootstrapperDialog::start() {
    if (!logic_.can_start()) return;
    stage_->clear();
    label_->clear();
    count_->clear();
    // The notice stays until the first stage replaces it: the user reads it
    // while the "prepare target" box waits.
    stage_->setText(QString::fromStdString(logic_.read(fields_shown())));

    logic_.set_running(true);
    update_enabling();
    const int result = run_bootstrap(logic_.options(), session_.settings(), link_, *this);
    logic_.set_running(false);
    last_result_ = result;
    if (const auto text = BootstrapDialogLogic::result_text(result, write_failure_))
        stage_->setText(QString::fromStdString(*text));
    refill();
}

void BootstrapperDialog::reject() {
    if (!logic_.running()) QDialog::reject();
}

bool BootstrapperDialog::question_box(const std::string& text) {
    return host_.messages().question(box_lines(text)) == kBoxYes;
}

void BootstrapperDialog::prepare_target_box() {
    host_.messages().titled(BoxKind::warning, bootstrap_message::kPrepareTitle,
                            box_lines(bootstrap_message::kPrepareTarget));
}

bool BootstrapperDialog::configure_port(SerialSettings& settings, PortQueues queues) {
    const ConfigureResult result = torva::configure_port(link_, settings, queues);
    if (!result.ok) {
        if (result.message) host_.messages().error(std::string(result.message));
        return false;
    }
    // The terminal's title names the settings its port has now.
    if (terminal_)
        terminal_->setWindowTitle(QString::fromStdString(
            terminal_title(port_title_name(session_.port()), settings, session_.logging())));
    return true;
}

void BootstrapperDialog::show_stage(const std::string& text) {
    stage_->setText(QString::fromStdString(text));
    repaint_now();
}

void BootstrapperDialog::show_label(const std::string& text) {
    label_->setText(QString::fromStdString(text));
    repaint_now();
}

void BootstrapperDialog::show_count(long count) {
    count_->setText(QString::number(count));
    count_->repaint();
}

void BootstrapperDialog::wait(Milliseconds time) {
    // The pause runs the event loop, so that the windows stay painted and
    // the terminal keeps polling; typing and clicks wait until it is over.
    QEventLoop loop;
    QTimer::singleShot(time, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void BootstrapperDialog::poll_terminal() {
    if (poll_) poll_();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BootstrapperDialog::write_failed(const std::string& reason) {
    write_failure_ = cant_write_text(port_title_name(session_.port()), reason);
}

void BootstrapperDialog::repaint_now() {
    stage_->repaint();
    label_->repaint();
    count_->repaint();
}

int run_bootstrapper_dialog(QWidget& terminal, DialogHost& host, TerminalSession& session,
                            SerialLink& link, std::function<void()> poll_terminal) {
    BootstrapperDialog dialog(host, session, link, &terminal, host.frame_widget());
    // The stages' settings in the serial settings dialog without its
    // terminal part (OK there marks the terminal's settings as changed).
    dialog.set_options_dialog([&host, &session](SerialSettings& settings, const QString& title) {
        SerialSettingsDialog options(settings, session.settings(), false, title,
                                     host.frame_widget());
        if (host.run_modal(options) != QDialog::Accepted) return false;
        options.store();
        return true;
    });
    dialog.set_terminal_poll(std::move(poll_terminal));
    host.run_modal(dialog);
    return dialog.last_result().value_or(kBootstrapDeclined);
}

} // namespace torva
