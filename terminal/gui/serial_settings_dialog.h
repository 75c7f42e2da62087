// The serial settings dialog "SETUPSERIAL": a terminal's preferences
// (translations, load command, colours) with its serial settings, or, with
// the terminal part disabled, one of the bootstrap's serial settings.
#pragma once

#include "terminal/settings_dialog_values.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <span>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace torva {

class SerialSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr char kTerminalTitle[] = "Terminal Preferences";
    // The colour chooser: the colour picked, none when cancelled.
    using ColourChooser = std::function<std::optional<RgbColour>(QWidget* owner, RgbColour start)>;

    // Shows serial (and terminal's other settings); terminal_part false
    // greys the translations, the load command and both colour buttons.
    // A colour picked goes into terminal at once, before OK.
    SerialSettingsDialog(SerialSettings& serial, TerminalSettings& terminal, bool terminal_part,
                         const QString& title, QWidget* owner);

    // The chooser the colour buttons open (tests answer it).
    void set_colour_chooser(ColourChooser chooser) { chooser_ = std::move(chooser); }
    // Stores the controls into the records (after OK).
    void store();
    // What the controls show now.
    serial_dialog::Values values() const;
    // The control with that id (its objectName is "id<number>").
    QWidget* control(int id) const;

private:
    // A framed group of radio buttons, columns wide: gives the frame, and
    // the buttons' group in group.
    QWidget* add_group(const QString& title, std::span<const serial_dialog::Choice> choices,
                       int columns, QButtonGroup*& group);
    void show_values(const serial_dialog::Values& values);
    void choose_colour(RgbColour& colour);

    SerialSettings& serial_;
    TerminalSettings& terminal_;
    // What the terminal had when the dialog opened ("&Defaults" goes back).
    serial_dialog::Values opening_;
    ColourChooser chooser_;
    QButtonGroup* baud_;
    QButtonGroup* byte_size_;
    QButtonGroup* parity_;
    QButtonGroup* stop_bits_;
    QButtonGroup* dtr_;
    QButtonGroup* rts_;
    QButtonGroup* keyboard_;
    QButtonGroup* receive_;
    std::vector<QCheckBox*> flow_;
    QLineEdit* load_command_;
};

} // namespace torva
