// The help window: the user manual (HTML) with back, forward and home.
#pragma once

#include <QWidget>

#include <string>

class QTextBrowser;

namespace torva {

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& manual, QWidget* parent = nullptr);
    QTextBrowser& browser() { return *browser_; }

private:
    QTextBrowser* browser_;
};

// Keeps the one help window; showing a missing manual does nothing.
class Help {
public:
    explicit Help(std::string manual_path) : manual_(std::move(manual_path)) {}
    ~Help();
    Help(const Help&) = delete;
    Help& operator=(const Help&) = delete;

    // Shows the manual; false when it is missing.
    bool show();
    // Closes the help window (when the frame is asked to close).
    void close_all();
    HelpWindow* window() const { return window_; }
    const std::string& manual() const { return manual_; }
    void set_manual(std::string manual_path) { manual_ = std::move(manual_path); }

private:
    std::string manual_;
    HelpWindow* window_ = nullptr;
};

} // namespace torva
