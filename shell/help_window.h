// The help window: the user manual (HTML) with its contents as a tree beside
// the text, back, forward and home, and a search over the sections.
#pragma once

#include "shell/manual_index.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class QLineEdit;
class QListWidget;
class QSplitter;
class QTextBrowser;
class QTreeWidget;

namespace torva {

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& manual, QWidget* parent = nullptr);
    ~HelpWindow() override;

    QTextBrowser& browser() { return *browser_; }
    QTreeWidget& contents() { return *contents_; }
    QListWidget& results() { return *results_; }
    QLineEdit& search_box() { return *search_; }
    const ManualIndex& index() const { return *index_; }

    // Shows the section with this anchor (the start for an empty one).
    void show_topic(const QString& anchor);
    // Lists the sections that hold every word of the text.
    void search(const QString& text);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void build_contents();
    void follow_source();

    QString manual_;
    QTextBrowser* browser_;
    QSplitter* splitter_;
    QLineEdit* search_;
    QTreeWidget* contents_;
    QListWidget* results_;
    std::unique_ptr<ManualIndex> index_;
};

// Keeps the one help window; showing a missing manual does nothing.
class Help {
public:
    explicit Help(std::string manual_path) : manual_(std::move(manual_path)) {}
    ~Help();
    Help(const Help&) = delete;
    Help& operator=(const Help&) = delete;

    // Shows the manual at its start; false when it is missing.
    bool show() { return show_topic({}); }
    // Shows the manual at the section with this anchor; false when the
    // manual is missing. Over a modal dialog the window is that dialog's
    // own, so it can be read while the dialog waits.
    bool show_topic(const QString& anchor);
    // Closes the help window (when the frame is asked to close).
    void close_all();
    HelpWindow* window() const { return window_; }
    const std::string& manual() const { return manual_; }
    void set_manual(std::string manual_path) { manual_ = std::move(manual_path); }

private:
    std::string manual_;
    QPointer<HelpWindow> window_;
};

} // namespace torva
