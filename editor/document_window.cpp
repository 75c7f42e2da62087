// Document window: creation, loading and saving, the backup, the questions
// on activation and close, the commands and the component's notifications.
#include "editor/document_window.h"

#include "editor/ask_about_save.h"
#include "editor/document_list.h"
#include "editor/finder.h"
#include "editor/folding.h"
#include "editor/printing.h"
#include "editor/styling.h"
#include "editor/view_setup.h"
#include "shell/child_events.h"
#include "shell/command_ids.h"
#include "shell/dialog_host.h"
#include "shell/file_dialogs.h"
#include "shell/menu_requests.h"
#include "shell/message_service.h"
#include "shell/recent_files.h"
#include "shell/shared_fonts.h"
#include "shell/shared_look.h"
#include "shell/status_line.h"

#include <Qsci/qsciscintillabase.h>

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMimeData>

#include <algorithm>

namespace torva {
namespace {

using namespace sci;

constexpr const char* kBraces = "[](){}";

bool is_brace(int c) {
    return c != 0 && std::char_traits<char>::find(kBraces, 6, static_cast<char>(c)) != nullptr;
}

// The component's own command for the key each arrow accelerator stands
// for. Handing it a key event instead would run the application's shortcut
// check on it again, which finds this same accelerator.
unsigned arrow_command(int id) {
    switch (id) {
    case cmd::kArrowLeft: return SCI_CHARLEFT;
    case cmd::kArrowUp: return SCI_LINEUP;
    case cmd::kArrowDown: return SCI_LINEDOWN;
    default: return SCI_CHARRIGHT;
    }
}

} // namespace

DocumentWindow* DocumentWindow::create(DocumentRoles frame, EditorDocuments& list, bool is_new,
                                       const std::string& path) {
    bool read_only = false;
    if (!is_new) {
        switch (check_access(path)) {
        case Access::missing:
            frame.dialogs.messages().error("File '%s' can't be accessed", path);
            return nullptr;
        case Access::unreadable:
            frame.dialogs.messages().error("File '%s', no Read permission", path);
            return nullptr;
        case Access::read_only: read_only = true; break;
        case Access::writable: break;
        }
    }
    return new DocumentWindow(frame, list, path, read_only);
}

DocumentWindow::DocumentWindow(DocumentRoles frame, EditorDocuments& list, const std::string& path,
                               bool read_only)
    : frame_(frame), list_(list), file_(*this, path, read_only),
      component_(new QsciScintillaBase(this)), sci_(*component_) {
    setObjectName(QStringLiteral("TV6RT12##kivDrawClass"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    update_window_title();
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setBrush(QPalette::Window, frame.look.brushes().light_grey);
    setPalette(background);
    setFocusPolicy(Qt::StrongFocus);
    resize(800, 400);

    component_->setObjectName(QStringLiteral("KivEditorClass"));
    component_->setFrameShape(QFrame::StyledPanel); // the client edge
    component_->setGeometry(rect());
    set_up_component(sci_, file_.file_type());
    set_up_view(sci_);
    connect_notifications();
    list_.append(this);
    load_file();
    component_->show();
    component_->setFocus();
    if (file_.read_only()) sci_.send(SCI_SETREADONLY, 1);
    file_.start_backup();
}

DocumentWindow::~DocumentWindow() {
    list_.unlink(this);
}

void DocumentWindow::connect_notifications() {
    QsciScintillaBase* c = component_;
    connect(c, &QsciScintillaBase::SCN_CHARADDED, this, [this](int character) {
        auto_indent(character);
        after_notification();
    });
    connect(c, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, [this] {
        file_.set_modified(false);
        update_window_title();
        after_notification();
    });
    connect(c, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, [this] {
        file_.set_modified(true);
        update_window_title();
        after_notification();
    });
    connect(c, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) {
        brace_highlight();
        show_line_column();
        fit_line_number_margin(sci_);
        after_notification();
    });
    connect(c, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char*, int, int, int line, int level_now, int level_before,
                   int, int) {
                if ((type & SC_MOD_CHANGEFOLD) != 0)
                    fold_changed(sci_, line, level_now, level_before);
                after_notification();
            });
    connect(c, &QsciScintillaBase::SCN_MARGINCLICK, this,
            [this](int position, int modifiers, int margin) {
                if (margin == kMarkerMargin) toggle_breakpoint_at(position);
                if (margin == kFoldMargin) fold_margin_click(sci_, position, modifiers);
                after_notification();
            });
}

void DocumentWindow::toggle_breakpoint_at(long position) {
    // A click beside a line does what F9 does on it: the caret goes to the
    // line, and the simulator (when there is one) toggles its breakpoint.
    sci_.send(sci::SCI_GOTOPOS, static_cast<unsigned long>(position));
    frame_.requests.toggle_breakpoint();
}

void DocumentWindow::after_notification() {
    frame_.events.update_title();
}

void DocumentWindow::update_window_title() {
    QString title = QString::fromStdString(file_.name());
    if (file_.read_only()) title += QStringLiteral(" (Read Only)");
    // Also after a silent save: closing still asks, and "&No" still brings
    // the version from before it back.
    if (counts_as_modified()) title += QStringLiteral(" *");
    if (title != windowTitle()) setWindowTitle(title);
    frame_.events.update_title(); // it shows the same mark
}

// ---- files ----

void DocumentWindow::load_file() {
    const std::optional<std::string> bytes = file_.load();
    if (!bytes) return; // a new file does not exist yet
    frame_.status.set_status_text(QStringLiteral("Loading file, please wait..."));
    sci_.send(SCI_CANCEL);
    sci_.send(SCI_SETUNDOCOLLECTION, 0);
    sci_.send(SCI_CLEARALL);
    // Handed over with its length, so that zero bytes in the file survive.
    component_->SendScintilla(SCI_ADDTEXT, static_cast<uintptr_t>(bytes->size()), bytes->data());
    sci_.send(SCI_SETUNDOCOLLECTION, 1);
    component_->setFocus();
    sci_.send(SCI_EMPTYUNDOBUFFER);
    sci_.send(SCI_SETSAVEPOINT);
    sci_.send(SCI_GOTOPOS, 0);
    frame_.status.set_status_ready();
}

bool DocumentWindow::ask_yes(const char* format) {
    return frame_.dialogs.messages().question(format, file_.name()) == kBoxYes;
}

void DocumentWindow::show_error(const std::string& text) {
    frame_.dialogs.messages().error(text);
}

long DocumentWindow::text_length() const {
    return sci_.length();
}

void DocumentWindow::read_text(long start, long end, char* into) const {
    component_->SendScintilla(SCI_GETTEXTRANGE, start, end, into);
}

void DocumentWindow::mark_saved() {
    sci_.send(SCI_SETSAVEPOINT);
}

void DocumentWindow::save_command() {
    if (file_.path().empty()) {
        save_as();
        return;
    }
    file_.save();
}

void DocumentWindow::save_as() {
    const auto chosen = frame_.dialogs.file_dialogs().save_source(this, file_.path());
    if (!chosen) return;
    const bool was_read_only = file_.read_only();
    if (!file_.save_as(*chosen)) return;
    frame_.recent_files.add(file_.path());
    if (was_read_only) sci_.send(SCI_SETREADONLY, 0);
}

bool DocumentWindow::silent_save() {
    if (file_.path().empty()) {
        save_as();
        return !file_.path().empty() && !file_.modified();
    }
    return file_.silent_save();
}

// ---- activation and close ----

void DocumentWindow::child_activated() {
    // The question box takes the activation away and gives it back; that
    // return must not ask again.
    if (file_.asking()) return;
    list_.note_active(this);
    if (file_.reload_wanted()) {
        load_file();
        file_.write_backup();
    }
    update();
    frame_.events.update_title();
}

bool DocumentWindow::close_query() {
    if (counts_as_modified()) {
        AskAboutSaveDialog ask_save(QString::fromStdString(file_.name()),
                                    frame_.dialogs.frame_widget());
        const int answer = frame_.dialogs.run_modal(ask_save);
        // "&Yes" whose save fails, "&No" whose restore fails, "&Cancel" and
        // Escape: the document stays open with its edits (and its backup),
        // and a Close All or Exit in progress stops here.
        const bool done = answer == AskAboutSaveDialog::kYes  ? file_.write_file()
                          : answer == AskAboutSaveDialog::kNo ? file_.discard_changes()
                                                              : false;
        if (!done) {
            frame_.events.stop_closing();
            return false;
        }
    }
    frame_.recent_files.store();
    file_.closed();
    list_.unlink(this);
    return true;
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    component_->setGeometry(rect());
}

void DocumentWindow::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    component_->setFocus();
    show_line_column();
}

// ---- commands ----

bool DocumentWindow::handle_command(int id, std::intptr_t parameter) {
    struct Plain {
        int id;
        unsigned message;
    };
    // Commands that are one message to the component.
    static constexpr Plain kPlain[] = {
        {cmd::kRedo, SCI_REDO},           {cmd::kUndo, SCI_UNDO},   {cmd::kCut, SCI_CUT},
        {cmd::kCopy, SCI_COPY},           {cmd::kPaste, SCI_PASTE}, {cmd::kDelete, SCI_CLEAR},
        {cmd::kSelectAll, SCI_SELECTALL},
    };
    for (const Plain& plain : kPlain) {
        if (plain.id == id) {
            sci_.send(plain.message);
            return true;
        }
    }
    switch (id) {
    case doc_cmd::kModifiedQuery: return counts_as_modified();
    case cmd::kGoToLineToChild: go_to_line(static_cast<int>(parameter)); return true;
    case cmd::kSave: save_command(); return true;
    case cmd::kSaveAs: save_as(); return true;
    case doc_cmd::kSilentSave: silent_save(); return true;
    case cmd::kArrowLeft:
    case cmd::kArrowUp:
    case cmd::kArrowDown:
    case cmd::kArrowRight: send_arrow_key(id); return true;
    case cmd::kTitleModifiedQuery: return counts_as_modified();
    case cmd::kPrint: print_document(*this, frame_.dialogs, frame_.status, true); return true;
    case cmd::kFindReplace: list_.finder().open_dialog(*this); return true;
    case cmd::kFindNextDown:
    case cmd::kFindNextUp: list_.finder().repeat(*this, id == cmd::kFindNextUp); return true;
    default: return false;
    }
}

void DocumentWindow::go_to_line(int line) {
    // A line beyond the end marks the last line, where the caret lands.
    line = std::clamp(line, 0, std::max(0, sci_.line_count() - 1));
    sci_.delete_all_markers(marker::kGoToLine);
    sci_.add_marker(line, marker::kGoToLine);
    sci_.send(SCI_GOTOLINE, line);
}

void DocumentWindow::send_arrow_key(int id) {
    sci_.send(arrow_command(id));
}

void DocumentWindow::menu_popup(MenuItems& items, QMenu*) {
    const bool selection = sci_.send(SCI_GETSELECTIONSTART) != sci_.send(SCI_GETSELECTIONEND);
    for (int id : {cmd::kCut, cmd::kCopy, cmd::kDelete})
        items.set_enabled(id, selection);
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    items.set_enabled(cmd::kPaste, clipboard != nullptr && clipboard->hasText());
    items.set_enabled(cmd::kSave, counts_as_modified());
    items.set_enabled(cmd::kUndo, sci_.send(SCI_CANUNDO) != 0);
    items.set_enabled(cmd::kRedo, sci_.send(SCI_CANREDO) != 0);
    for (int id : {cmd::kSelectAll, cmd::kFindReplace, cmd::kSaveAs, cmd::kClose, cmd::kPrint,
                   cmd::kSaveAll, cmd::kFindNextDown, cmd::kFindNextUp, cmd::kGoToLine})
        items.set_enabled(id, true);
}

// ---- typing aids ----

void DocumentWindow::auto_indent(int character) {
    const long eol = sci_.send(SCI_GETEOLMODE);
    const bool line_end = (character == '\n' && (eol == SC_EOL_CRLF || eol == SC_EOL_LF)) ||
                          (character == '\r' && eol == SC_EOL_CR);
    if (!line_end) return;
    const int line = sci_.line_from_position(sci_.current_pos());
    int above = line - 1;
    while (above >= 0 && sci_.position_from_line(above) == sci_.send(SCI_GETLINEENDPOSITION, above))
        --above;
    if (above < 0) return;
    const long indent = sci_.send(SCI_GETLINEINDENTATION, above);
    if (indent < 1) return;
    long start = sci_.send(SCI_GETSELECTIONSTART);
    long end = sci_.send(SCI_GETSELECTIONEND);
    const long s0 = sci_.send(SCI_GETLINEINDENTPOSITION, line);
    sci_.send(SCI_SETLINEINDENTATION, line, indent);
    const long s1 = sci_.send(SCI_GETLINEINDENTPOSITION, line);
    // Each end of the selection keeps its place relative to the text.
    auto keep_place = [s0, s1](long pos) {
        if (pos >= s0) return pos + (s1 - s0);
        if (s1 < s0 && pos > s1) return s1;
        return pos;
    };
    sci_.send(SCI_SETSEL, keep_place(start), keep_place(end));
}

void DocumentWindow::brace_highlight() {
    const long pos = sci_.current_pos();
    const long length = sci_.length();
    auto char_at = [this](long at) {
        return static_cast<int>(sci_.send(SCI_GETCHARAT, at) & 0xFF);
    };
    long brace = -1;
    if (length > 0 && pos >= 1 && sci_.send(SCI_POSITIONBEFORE, pos) == pos - 1 &&
        is_brace(char_at(pos - 1)))
        brace = pos - 1;
    else if (pos < length && sci_.send(SCI_POSITIONAFTER, pos) == pos + 1 && is_brace(char_at(pos)))
        brace = pos;
    if (brace < 0) {
        sci_.send(SCI_BRACEHIGHLIGHT, static_cast<unsigned long>(-1), -1);
        sci_.send(SCI_SETHIGHLIGHTGUIDE, 0);
        return;
    }
    const long match = sci_.send(SCI_BRACEMATCH, brace);
    if (match < 0) {
        sci_.send(SCI_BRACEBADLIGHT, brace);
        sci_.send(SCI_SETHIGHLIGHTGUIDE, 0);
        return;
    }
    sci_.send(SCI_BRACEHIGHLIGHT, brace, match);
    sci_.send(SCI_SETHIGHLIGHTGUIDE,
              std::min(sci_.send(SCI_GETCOLUMN, brace), sci_.send(SCI_GETCOLUMN, match)));
}

void DocumentWindow::show_line_column() {
    const long pos = sci_.current_pos();
    const int line = sci_.line_from_position(pos);
    const long column = pos - sci_.position_from_line(line);
    frame_.status.set_line_column_text(
        QStringLiteral("Ln %1 Col %2").arg(line + 1).arg(column + 1));
}

} // namespace torva
