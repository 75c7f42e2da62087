// Paper roll, lamps and controls of the printer.
#include "iosim/gui/printer_window.h"

#include "iosim/gui/device_painting.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>

namespace torva {
namespace {

constexpr int kWidth = 380;
constexpr int kPaperTop = 40;
constexpr int kPaperBottom = 250;

} // namespace

QStringList paper_lines(const std::string& printed) {
    QStringList lines(QString{});
    for (size_t i = 0; i < printed.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(printed[i]);
        if (c == '\r' || c == '\n') {
            // CR LF and LF CR are one line end.
            if (i + 1 < printed.size() && printed[i + 1] != printed[i] &&
                (printed[i + 1] == '\r' || printed[i + 1] == '\n'))
                ++i;
            lines.append(QString{});
        } else if (c == '\f') {
            lines.append(QString{});
            lines.append(QString{});
        } else if (c == '\t') {
            lines.back().append(QString(8 - lines.back().size() % 8, QLatin1Char(' ')));
        } else if (c >= 32) {
            lines.back().append(QChar(c < 127 ? c : '?'));
        }
    }
    return lines;
}

PrinterWindow::PrinterWindow(Printer& model, QWidget* owner) : DeviceWindow(model, owner) {
    setFixedSize(kWidth, 318);
    tear_off_ = new QPushButton(tr("Tear off"), this);
    tear_off_->setObjectName(QStringLiteral("tear_off"));
    tear_off_->setGeometry(14, 284, 100, 26);
    paper_out_ = new QCheckBox(tr("Paper out"), this);
    paper_out_->setObjectName(QStringLiteral("paper_out"));
    paper_out_->setGeometry(130, 284, 120, 26);
    connect(tear_off_, &QPushButton::clicked, this, [this] {
        if (!attached()) return;
        printer().tear_off();
        refresh();
    });
    connect(paper_out_, &QCheckBox::toggled, this, [this](bool out) {
        if (!attached()) return;
        printer().set_paper_out(out);
        refresh();
    });
    model_changed();
}

QRect PrinterWindow::paper_rect() const {
    return {40, kPaperTop, kWidth - 80, kPaperBottom - kPaperTop};
}

void PrinterWindow::model_changed() {
    const QSignalBlocker block(paper_out_);
    paper_out_->setChecked(printer().paper_out());
    tear_off_->setEnabled(!printer().paper().empty());
}

void PrinterWindow::paint(QPainter& painter) {
    const Printer& p = printer();
    const QRect paper = paper_rect();

    // The roll above the paper, the paper (unless taken out) and the platen
    // edge the text comes out of at the bottom.
    QLinearGradient roll(0, 14, 0, kPaperTop);
    roll.setColorAt(0, QColor(250, 250, 246));
    roll.setColorAt(1, QColor(200, 200, 194));
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    painter.setBrush(roll);
    painter.drawRoundedRect(QRectF(paper.left() - 10, 14, paper.width() + 20, kPaperTop - 14), 8,
                            8);
    if (!p.paper_out()) {
        painter.setBrush(QColor(255, 255, 250));
        painter.drawRect(paper);
        const QFont font = fixed_pitch_font(QStringLiteral("Courier New"), 9);
        painter.setFont(font);
        painter.setPen(QColor(30, 30, 60));
        const QFontMetrics metrics(font);
        const QStringList lines = paper_lines(p.paper());
        const int line_height = metrics.lineSpacing();
        const int visible = (paper.height() - 8) / line_height;
        // The newest line sits at the bottom, where the print head is.
        const int first = std::max<int>(0, int(lines.size()) - visible);
        int y = paper.bottom() - 6 - (int(lines.size()) - first - 1) * line_height;
        painter.save();
        painter.setClipRect(paper.adjusted(6, 2, -6, -2));
        for (int i = first; i < int(lines.size()); ++i, y += line_height)
            painter.drawText(paper.left() + 8, y, lines[i]);
        painter.restore();
    } else {
        draw_caption(painter, {qreal(paper.left() + 20), qreal(paper.center().y())}, tr("no paper"),
                     palette_colour::kFaint);
    }
    painter.setPen(QPen(palette_colour::kInk, 1.2));
    painter.setBrush(QColor(60, 64, 72));
    painter.drawRoundedRect(QRectF(paper.left() - 10, kPaperBottom, paper.width() + 20, 10), 3, 3);

    qreal x = 14;
    x += draw_lamp(painter, {x, qreal(kPaperBottom + 16)}, tr("READY"), p.ready(),
                   QColor(40, 200, 60));
    draw_lamp(painter, {x, qreal(kPaperBottom + 16)}, tr("PAPER OUT"), p.paper_out(),
              palette_colour::kWarning);
}

} // namespace torva
