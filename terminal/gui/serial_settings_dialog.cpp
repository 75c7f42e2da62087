// The serial settings dialog's controls over the settings records.
#include "terminal/gui/serial_settings_dialog.h"

#include "shell/control_ids.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace torva {
namespace {

using namespace serial_dialog;

std::optional<RgbColour> qt_colour_chooser(QWidget* owner, RgbColour start) {
    const QColor chosen =
        QColorDialog::getColor(QColor(red(start), green(start), blue(start)), owner);
    if (!chosen.isValid()) return std::nullopt;
    return rgb(uint8_t(chosen.red()), uint8_t(chosen.green()), uint8_t(chosen.blue()));
}

} // namespace

SerialSettingsDialog::SerialSettingsDialog(SerialSettings& serial, TerminalSettings& terminal,
                                           bool terminal_part, const QString& title, QWidget* owner)
    : QDialog(owner), serial_(serial), terminal_(terminal), opening_(values_for(serial, terminal)),
      chooser_(qt_colour_chooser) {
    setObjectName(QStringLiteral("SETUPSERIAL"));
    setWindowTitle(title);

    QWidget* baud_box = add_group(tr("Baud rate"), kBaud, 3, baud_);
    QWidget* byte_box = add_group(tr("Data bits"), kByteSize, 5, byte_size_);
    QWidget* parity_box = add_group(tr("Parity"), kParity, 5, parity_);
    QWidget* stop_box = add_group(tr("Stop bits"), kStopBits, 3, stop_bits_);
    QWidget* dtr_box = add_group(tr("DTR"), kDtr, 1, dtr_);
    QWidget* rts_box = add_group(tr("RTS"), kRts, 1, rts_);
    QWidget* keyboard_box = add_group(tr("Keyboard"), kKeyboard, 1, keyboard_);
    QWidget* receive_box = add_group(tr("Receive"), kReceive, 1, receive_);

    auto* xon_box = new QGroupBox(tr("XON/XOFF"), this);
    auto* xon_layout = new QVBoxLayout(xon_box);
    auto* hardware_box = new QGroupBox(tr("Hardware handshake"), this);
    auto* hardware_layout = new QVBoxLayout(hardware_box);
    for (const Choice& choice : kFlowChecks) {
        const bool xon = choice.value >= (1u << 2);
        auto* check =
            with_id(new QCheckBox(QString::fromLatin1(choice.text), xon ? xon_box : hardware_box),
                    choice.id);
        (xon ? xon_layout : hardware_layout)->addWidget(check);
        flow_.push_back(check);
    }

    load_command_ = with_id(new QLineEdit(this), kLoadCommand);
    load_command_->setMaxLength(int(TerminalSettings::kLoadCommandMax));
    auto* load_label = new QLabel(tr("Load command"), this);
    load_label->setBuddy(load_command_);
    auto* text_colour = id_button(tr("&Text Color"), kTextColour, this);
    auto* background_colour = id_button(tr("&Background Color"), kBackgroundColour, this);
    auto* defaults = id_button(tr("&Defaults"), kDefaults, this);
    auto* ok = id_button(tr("&OK"), kOk, this);
    ok->setDefault(true);
    auto* cancel = id_button(tr("&Cancel"), kCancel, this);

    auto* serial_grid = new QGridLayout;
    serial_grid->addWidget(baud_box, 0, 0, 2, 2);
    serial_grid->addWidget(byte_box, 2, 0, 1, 2);
    serial_grid->addWidget(parity_box, 3, 0, 1, 2);
    serial_grid->addWidget(stop_box, 4, 0);
    serial_grid->addWidget(dtr_box, 0, 2);
    serial_grid->addWidget(rts_box, 1, 2);
    serial_grid->addWidget(xon_box, 2, 2, 2, 1);
    serial_grid->addWidget(hardware_box, 4, 1, 1, 2);

    auto* terminal_column = new QVBoxLayout;
    terminal_column->addWidget(keyboard_box);
    terminal_column->addWidget(receive_box);
    terminal_column->addWidget(load_label);
    terminal_column->addWidget(load_command_);
    terminal_column->addWidget(text_colour);
    terminal_column->addWidget(background_colour);
    terminal_column->addStretch(1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addSpacing(12);
    buttons->addWidget(defaults);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(serial_grid, 3);
    layout->addLayout(terminal_column, 1);
    layout->addLayout(buttons);

    if (!terminal_part) {
        for (QWidget* widget :
             {keyboard_box, receive_box, static_cast<QWidget*>(load_command_),
              static_cast<QWidget*>(load_label), static_cast<QWidget*>(text_colour),
              static_cast<QWidget*>(background_colour)})
            widget->setEnabled(false);
    }

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] { show_values(opening_); });
    connect(text_colour, &QPushButton::clicked, this, [this] { choose_colour(terminal_.text); });
    connect(background_colour, &QPushButton::clicked, this,
            [this] { choose_colour(terminal_.background); });

    show_values(opening_);
}

QWidget* SerialSettingsDialog::add_group(const QString& title, std::span<const Choice> choices,
                                         int columns, QButtonGroup*& group) {
    auto* frame = new QGroupBox(title, this);
    auto* layout = new QGridLayout(frame);
    group = new QButtonGroup(this);
    int index = 0;
    for (const Choice& choice : choices) {
        auto* radio = with_id(new QRadioButton(QString::fromLatin1(choice.text), frame), choice.id);
        group->addButton(radio, choice.id);
        layout->addWidget(radio, index / columns, index % columns);
        ++index;
    }
    return frame;
}

void SerialSettingsDialog::show_values(const Values& values) {
    const std::pair<QButtonGroup*, int> checked[] = {
        {baud_, values.baud},         {byte_size_, values.byte_size},
        {parity_, values.parity},     {stop_bits_, values.stop_bits},
        {dtr_, values.dtr},           {rts_, values.rts},
        {keyboard_, values.keyboard}, {receive_, values.receive},
    };
    for (const auto& [group, id] : checked)
        if (QAbstractButton* radio = group->button(id)) radio->setChecked(true);
    for (size_t i = 0; i < flow_.size(); ++i)
        flow_[i]->setChecked((values.flow & kFlowChecks[i].value) != 0);
    load_command_->setText(QString::fromStdString(values.load_command));
}

Values SerialSettingsDialog::values() const {
    Values values;
    values.baud = baud_->checkedId();
    values.byte_size = byte_size_->checkedId();
    values.parity = parity_->checkedId();
    values.stop_bits = stop_bits_->checkedId();
    values.dtr = dtr_->checkedId();
    values.rts = rts_->checkedId();
    values.keyboard = keyboard_->checkedId();
    values.receive = receive_->checkedId();
    for (size_t i = 0; i < flow_.size(); ++i)
        if (flow_[i]->isChecked()) values.flow |= kFlowChecks[i].value;
    values.load_command = load_command_->text().toStdString();
    return values;
}

void SerialSettingsDialog::store() {
    store_values(values(), serial_, terminal_);
}

QWidget* SerialSettingsDialog::control(int id) const {
    return find_control(*this, id);
}

void SerialSettingsDialog::choose_colour(RgbColour& colour) {
    if (const std::optional<RgbColour> chosen = chooser_(this, kChooserStart)) colour = *chosen;
}

} // namespace torva
