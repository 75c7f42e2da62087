// Splash window: painting the picture and its texts and the display timer.
#include "shell/splash_window.h"

#include "shell/notices.h"
#include "shell/window_placement.h"

#include <QApplication>
#include <QPainter>

namespace torva {
namespace {

constexpr int kLineStep = 14;

void draw_lines(QPainter& painter, int x, int y, const auto& lines) {
    const int ascent = painter.fontMetrics().ascent();
    for (const char* line : lines) {
        painter.drawText(x, y + ascent, QString::fromLatin1(line));
        y += kLineStep;
    }
}

} // namespace

SplashWindow::SplashWindow(const QPixmap& picture, QWidget* owner, int display_ms)
    : QWidget(owner, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint),
      picture_(picture) {
    setObjectName(QStringLiteral("TV6RT12##SplashScreenClass"));
    setAttribute(Qt::WA_DeleteOnClose);
    setEnabled(false);
    setFixedSize(picture_.size());
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SplashWindow::close_now);
    timer_.start(display_ms);
}

void SplashWindow::set_text(const QString& text) {
    text_ = text;
    update();
}

void SplashWindow::set_text_colour(const QColor& colour, bool repaint) {
    text_colour_ = colour;
    if (repaint) update();
}

void SplashWindow::close_now() {
    timer_.stop();
    close();
}

QPixmap SplashWindow::render() const {
    QPixmap canvas = picture_;
    QPainter painter(&canvas);
    painter.setFont(QApplication::font());
    painter.setPen(text_colour_);
    draw_lines(painter, 320, 150, kFeatureLines);
    draw_lines(painter, 320, 260, kNoticeLines);
    draw_lines(painter, 40, 350, kUsageTermsLines);
    painter.setPen(Qt::red);
    const int ascent = painter.fontMetrics().ascent();
    painter.drawText(40, 380 + ascent, QString::fromStdString(version_text()));
    if (!text_.isEmpty()) painter.drawText(40, 400 + ascent, text_);
    return canvas;
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, render());
}

SplashWindow* show_splash(const QPixmap& picture, QWidget* owner, int display_ms) {
    if (picture.isNull()) return nullptr;
    auto* splash = new SplashWindow(picture, owner, display_ms);
    centre_over(*splash, owner);
    splash->show();
    return splash;
}

} // namespace torva
