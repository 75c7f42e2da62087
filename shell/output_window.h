// The Output window "KivOutputChild": a painted, scrolling view of the
// messages other parts append, whose double click opens the named source line.
#pragma once

#include "shell/child_window.h"
#include "shell/output_lines.h"

#include <QAbstractScrollArea>
#include <QFont>

namespace torva {

class SourceOpener;

class OutputWindow final : public QAbstractScrollArea, public ChildWindow {
    Q_OBJECT
public:
    // Cells are char_width by line_height pixels, painted with font.
    OutputWindow(const QFont& font, int char_width, int line_height, SourceOpener* opener,
                 QWidget* parent = nullptr);

    void append(std::string_view text);
    void clear();
    const OutputLines& store() const { return store_; }
    int line_height() const { return line_height_; }

    QWidget& as_widget() override { return *this; }
    bool handle_command(int id, std::intptr_t parameter) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void scroll_lines(ScrollRequest request);
    void sync_scroll_bar();

    OutputLines store_;
    QFont font_;
    int char_width_;
    int line_height_;
    SourceOpener* opener_;
    bool syncing_ = false;
};

} // namespace torva
