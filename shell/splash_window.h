// The splash window "TV6RT12##SplashScreenClass": a picture with the feature,
// notice and usage lines and the version, shown for a while over the frame.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace torva {

class SplashWindow final : public QWidget {
    Q_OBJECT
public:
    // Shows picture centred over the owner's client area (over the screen
    // without an owner) and closes itself after display_ms.
    SplashWindow(const QPixmap& picture, QWidget* owner, int display_ms);

    // The window text, drawn in red under the version; the window repaints.
    void set_text(const QString& text);
    void set_text_colour(const QColor& colour, bool repaint);
    void close_now();
    const QString& text() const { return text_; }
    int remaining_ms() const { return timer_.remainingTime(); }
    // The picture with its texts, as painted.
    QPixmap render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    QColor text_colour_ = Qt::black;
    QString text_;
    QTimer timer_;
};

// Creates and shows the splash when the picture exists; null otherwise.
SplashWindow* show_splash(const QPixmap& picture, QWidget* owner, int display_ms);

} // namespace torva
