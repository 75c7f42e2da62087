// Screen, keys and link state of the serial console.
#include "iosim/gui/serial_console_window.h"

#include "iosim/gui/device_painting.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace torva {
namespace {

constexpr int kMargin = 10;
constexpr int kStatusHeight = 22;

const QColor kScreen{16, 20, 18};
const QColor kText{160, 240, 170};

} // namespace

SerialConsoleWindow::SerialConsoleWindow(SerialDevice& console, QWidget* owner)
    : DeviceWindow(console, owner), font_(fixed_pitch_font(QStringLiteral("Courier New"), 10)) {
    const QFontMetrics metrics(font_);
    setFixedSize(2 * kMargin + 8 +
                     metrics.horizontalAdvance(QLatin1Char('M')) * ConsoleScreen::kColumns,
                 2 * kMargin + 8 + metrics.lineSpacing() * kRows + kStatusHeight);
    setAttribute(Qt::WA_InputMethodEnabled);
    model_changed();
}

QRect SerialConsoleWindow::screen_rect() const {
    return {kMargin, kMargin, width() - 2 * kMargin, height() - 2 * kMargin - kStatusHeight};
}

void SerialConsoleWindow::model_changed() {
    // What the board sent goes on this screen unless a terminal takes it.
    if (!console().linked()) screen_.put(console().take_output());
}

void SerialConsoleWindow::paint(QPainter& painter) {
    const QRect area = screen_rect();
    painter.setPen(QPen(palette_colour::kInk, 1.5));
    painter.setBrush(kScreen);
    painter.drawRoundedRect(area, 4, 4);

    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    const int line_height = metrics.lineSpacing();
    const std::deque<std::string>& lines = screen_.lines();
    const int first = std::max<int>(0, int(lines.size()) - kRows);
    painter.setPen(kText);
    int y = area.top() + 4 + metrics.ascent();
    for (int i = first; i < int(lines.size()); ++i, y += line_height)
        painter.drawText(area.left() + 4, y, QString::fromLatin1(lines[size_t(i)]));
    // The cursor, where the next character lands.
    const bool linked = console().linked();
    if (linked) {
        // The screen is empty while a terminal has the byte stream: say where it went.
        painter.setPen(kText);
        painter.drawText(area.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         tr("A terminal window has this serial line.\nType there; "
                            "what the program sends appears there."));
    } else {
        const int row = int(lines.size()) - 1 - first;
        const int char_width = metrics.horizontalAdvance(QLatin1Char('M'));
        painter.fillRect(area.left() + 4 + screen_.column() * char_width,
                         area.top() + 4 + row * line_height + metrics.ascent() - 2, char_width, 3,
                         kText);
    }

    const QString status =
        linked
            ? QString::fromLatin1(kLinkedText)
            : tr("typed keys go to the program; %1 bytes waiting").arg(console().pending_input());
    draw_caption(painter, {qreal(kMargin), qreal(height() - kMargin)}, status,
                 linked ? palette_colour::kWarning : palette_colour::kFaint);
}

void SerialConsoleWindow::keyPressEvent(QKeyEvent* event) {
    if (!attached() || console().linked()) return DeviceWindow::keyPressEvent(event);
    std::string typed;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: typed = "\r"; break;
    case Qt::Key_Backspace: typed = "\b"; break;
    case Qt::Key_Escape: typed = "\x1b"; break;
    default: typed = event->text().toLatin1().toStdString(); break;
    }
    if (typed.empty()) return DeviceWindow::keyPressEvent(event);
    console().type_text(typed);
    refresh();
}

} // namespace torva
