// Output window: painting the stored lines, scrolling by bar, keys and wheel,
// and the double click on a message that names a file and line.
#include "shell/output_window.h"

#include "shell/command_ids.h"
#include "shell/services.h"
#include "shell/source_opener.h"

#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace torva {

OutputWindow::OutputWindow(const QFont& font, int char_width, int line_height, SourceOpener* opener,
                           QWidget* parent)
    : QAbstractScrollArea(parent), font_(font), char_width_(std::max(1, char_width)),
      line_height_(std::max(1, line_height)), opener_(opener) {
    setObjectName(QStringLiteral("KivOutputChild"));
    setWindowTitle(QStringLiteral("Output"));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::ClickFocus);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    sync_scroll_bar();
}

void OutputWindow::append(std::string_view text) {
    store_.append(text);
    sync_scroll_bar();
    viewport()->repaint();
}

void OutputWindow::clear() {
    store_.clear();
    sync_scroll_bar();
    viewport()->repaint();
}

bool OutputWindow::handle_command(int id, std::intptr_t) {
    switch (id) {
    case cmd::kCloseOutput:
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
        return true;
    case cmd::kArrowUp: scroll_lines(ScrollRequest::line_up); return true;
    case cmd::kArrowDown: scroll_lines(ScrollRequest::line_down); return true;
    default: return false;
    }
}

void OutputWindow::sync_scroll_bar() {
    syncing_ = true;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, store_.scroll_range());
    bar->setPageStep(std::max(1, store_.visible_rows()));
    bar->setValue(store_.first_visible());
    syncing_ = false;
}

void OutputWindow::scroll_lines(ScrollRequest request) {
    if (store_.scroll(request) == 0) return;
    sync_scroll_bar();
    viewport()->update();
}

void OutputWindow::scrollContentsBy(int, int) {
    if (syncing_) return;
    if (store_.scroll(ScrollRequest::thumb, verticalScrollBar()->value()) != 0)
        viewport()->update();
    sync_scroll_bar();
}

void OutputWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    store_.set_size(viewport()->width() / char_width_, viewport()->height() / line_height_);
    sync_scroll_bar();
}

void OutputWindow::paintEvent(QPaintEvent*) {
    store_.settle_for_paint();
    sync_scroll_bar();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.setFont(font_);
    painter.setPen(Qt::black);
    const int ascent = QFontMetrics(font_).ascent();
    const auto& lines = store_.lines();
    const int first = store_.first_visible();
    const int rows_shown = viewport()->height() / line_height_ + 1;
    for (int n = first; n < static_cast<int>(lines.size()) && n - first <= rows_shown; ++n) {
        painter.drawText(0, (n - first) * line_height_ + ascent,
                         QString::fromUtf8(lines[n].data(), static_cast<int>(lines[n].size())));
    }
    if (!store_.building().empty()) {
        const int row = store_.last_line() + 1 - first;
        painter.drawText(0, row * line_height_ + ascent, QString::fromStdString(store_.building()));
    }
}

void OutputWindow::wheelEvent(QWheelEvent* event) {
    const int turn = event->angleDelta().y();
    if (turn > 0)
        scroll_lines(ScrollRequest::line_up);
    else if (turn < 0)
        scroll_lines(ScrollRequest::line_down);
    event->accept();
}

void OutputWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up: scroll_lines(ScrollRequest::line_up); break;
    case Qt::Key_Down: scroll_lines(ScrollRequest::line_down); break;
    case Qt::Key_PageUp: scroll_lines(ScrollRequest::page_up); break;
    case Qt::Key_PageDown: scroll_lines(ScrollRequest::page_down); break;
    case Qt::Key_Home: scroll_lines(ScrollRequest::top); break;
    case Qt::Key_End: scroll_lines(ScrollRequest::bottom); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void OutputWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isVisible()) setFocus(Qt::MouseFocusReason);
    QAbstractScrollArea::mousePressEvent(event);
}

void OutputWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    const int line =
        store_.first_visible() + static_cast<int>(event->position().y()) / line_height_;
    if (line < 0 || line > store_.last_line() || opener_ == nullptr) return;
    MessageReference reference;
    if (parse_message_reference(store_.lines()[line], reference))
        opener_->open_source_at(reference.file, reference.line);
}

} // namespace torva
