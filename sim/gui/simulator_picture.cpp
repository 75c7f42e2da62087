// Drawing of the simulator window's background picture.
#include "sim/gui/simulator_picture.h"

#include "sim/gui/simulator_layout.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <string>

namespace torva {

namespace {

using namespace sim_layout;

const QColor kPanel(206, 210, 218);
const QColor kBoxFill(238, 240, 244);
const QColor kBoxLine(112, 122, 142);
const QColor kTitleColour(46, 74, 122);
const QColor kLabel(28, 34, 48);

void draw_box(QPainter& painter, const Box& box, const QFont& small) {
    const QRectF rect = QRectF(box.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(kBoxLine, 1));
    painter.setBrush(kBoxFill);
    painter.drawRoundedRect(rect, 4, 4);
    if (box.title == nullptr) return;
    QPainterPath band;
    band.addRoundedRect(rect, 4, 4);
    QPainterPath top;
    top.addRect(QRectF(rect.left(), rect.top(), rect.width(), kTitleBand));
    QLinearGradient shade(rect.topLeft(), QPointF(rect.left(), rect.top() + kTitleBand));
    shade.setColorAt(0, kTitleColour.lighter(135));
    shade.setColorAt(1, kTitleColour);
    painter.fillPath(band.intersected(top), shade);
    painter.setPen(Qt::white);
    QFont bold = small;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRect(box.rect.left() + 6, box.rect.top(), box.rect.width() - 8, kTitleBand),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(box.title));
}

void draw_label(QPainter& painter, int x, int y, const char* text) {
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), QString::fromLatin1(text));
}

void draw_socket(QPainter& painter, QPoint centre) {
    painter.setPen(QPen(kBoxLine.darker(130), 1));
    painter.setBrush(QColor(90, 96, 110));
    const int r = kLampDiameter / 2 + 1;
    painter.drawEllipse(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
}

} // namespace

QPixmap draw_simulator_picture(const QFont& text, const QFont& small) {
    QPixmap picture(kWidth, kHeight);
    picture.fill(kPanel);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Box& box : kBoxes)
        draw_box(painter, box, small);

    painter.setPen(kLabel);
    painter.setFont(small);
    // Interrupts: columns i and X, rows Activate and Service.
    draw_label(painter, kActivateI.left() + 5, 85, "i");
    draw_label(painter, kActivateX.left() + 4, 85, "X");
    draw_label(painter, 10, kActivateI.top(), "Activate");
    draw_label(painter, 10, kServiceILamp.y() - 6, "Service");
    // Status lamps.
    draw_label(painter, 30, kIoBreakLamp.y() - 6, "IO break");
    draw_label(painter, 30, kIrqBreakLamp.y() - 6, "IRQ break");
    draw_label(painter, 30, kRunningLamp.y() - 6, "Running");
    // Counters on their dark strip.
    draw_label(painter, kCounterLabelX, kCyclesY + 2, "Cycles");
    draw_label(painter, kCounterLabelX, kBytesY + 2, "Bytes");
    painter.setPen(QPen(QColor(20, 24, 32), 1));
    painter.setBrush(QColor(24, 36, 58));
    const int cell = QFontMetrics(text).averageCharWidth();
    painter.drawRoundedRect(QRectF(counter_strip(cell)).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    // Stack headings.
    painter.setPen(kLabel);
    painter.setFont(text);
    draw_label(painter, kStackTextX, kStackBox.rect.top() + kTitleBand + 2, "SP");
    draw_label(painter, kStackTextX + 5 * cell, kStackBox.rect.top() + kTitleBand + 2, "(SP)");
    // The stack arrow's dark column.
    painter.setPen(QPen(QColor(20, 24, 32), 1));
    painter.setBrush(QColor(24, 36, 58));
    painter.drawRoundedRect(
        QRectF(kStackArrowX - 3, kStackLinesY - 2, 22,
               8 * (QFontMetrics(text).height() + QFontMetrics(text).leading()) + 4),
        3, 3);
    // The disassembly pane's well.
    const int line_height = QFontMetrics(text).height() + QFontMetrics(text).leading();
    painter.setPen(QPen(kBoxLine, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(kDisassemblyOrigin.x() - 3, kDisassemblyOrigin.y() - 3, 31 * cell + 5,
                            12 * line_height + 5)
                         .adjusted(0.5, 0.5, -0.5, -0.5));
    // Register labels, and the CCR's bit names over its eight digits.
    painter.setPen(kLabel);
    const char* const labels[] = {"A:B", "X", "Y", "PC", "SP"};
    for (int row = 0; row < 5; ++row)
        draw_label(painter, kRegisterLabelX, kFirstRegisterY + row * kRegisterRowStep + 1,
                   labels[row]);
    draw_label(painter, kRegisterLabelX, kCcrFieldY + 1, "CCR");
    const char bits[] = "SXHINZVC";
    for (int bit = 0; bit < 8; ++bit)
        draw_label(painter, kRegisterFieldX + kFieldMargin + bit * cell, kCcrBitsY,
                   std::string(1, bits[bit]).c_str());
    // The memory pane's column headings "00" to "0F", over their cells.
    for (int column = 0; column < 16; ++column)
        painter.drawText(
            QRect(kCellsX + column * kCellWidth, kHeadingsY, kCellWidth - 2, kRowsY - kHeadingsY),
            Qt::AlignCenter, QStringLiteral("%1").arg(column, 2, 16, QLatin1Char('0')).toUpper());
    for (const QPoint lamp : {kIoBreakLamp, kIrqBreakLamp, kRunningLamp, kExceptionLamp,
                              kRomWriteLamp, kServiceILamp, kServiceXLamp})
        draw_socket(painter, lamp);
    return picture;
}

} // namespace torva
