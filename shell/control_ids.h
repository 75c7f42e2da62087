// Dialog controls carry their template's numeric id as objectName "id<n>",
// so that scripts and tests find a control by the id the dialog's logic uses.
#pragma once

#include <QPushButton>
#include <QString>

namespace torva {

inline QString control_name(int id) {
    return QStringLiteral("id%1").arg(id);
}

// The control of parent named by that id; null when there is none.
inline QWidget* find_control(const QObject& parent, int id) {
    return parent.findChild<QWidget*>(control_name(id));
}

// Names a new control by its id and gives it back.
template <typename Control>
Control* with_id(Control* control, int id) {
    control->setObjectName(control_name(id));
    return control;
}

// A push button named by its id that Enter in a field does not press.
inline QPushButton* id_button(const QString& text, int id, QWidget* parent = nullptr) {
    auto* button = with_id(new QPushButton(text, parent), id);
    button->setAutoDefault(false);
    return button;
}

} // namespace torva
