// The about box "IDD_ABOUT": the notices, the usage terms and the version.
#pragma once

#include <QDialog>

namespace torva {

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* owner = nullptr);
};

} // namespace torva
