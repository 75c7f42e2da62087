// The window of the printer: a paper roll that shows the printed text (the
// last lines, as on the platen), the READY and PAPER OUT lamps, "Tear off"
// and a box that takes the paper out.
#pragma once

#include "iosim/devices/printer.h"
#include "iosim/gui/device_window.h"

#include <QStringList>

class QCheckBox;
class QPushButton;

namespace torva {

// The printed bytes as lines of paper: a line feed, a carriage return and
// the pair of both end a line; a form feed leaves an empty line; other
// control bytes print nothing.
QStringList paper_lines(const std::string& printed);

class PrinterWindow final : public DeviceWindow {
    Q_OBJECT
public:
    PrinterWindow(Printer& printer, QWidget* owner);

    // The visible part of the paper.
    QRect paper_rect() const;

protected:
    void model_changed() override;
    void paint(QPainter& painter) override;

private:
    Printer& printer() const { return static_cast<Printer&>(model()); }

    QPushButton* tear_off_;
    QCheckBox* paper_out_;
};

} // namespace torva
