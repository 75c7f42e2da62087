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
#include "shell/command_ids.h"
#include "shell/file_dialogs.h"
#include "shell/frame_access.h"
#include "shell/message_service.h"
#include "shell/recent_files.h"
#include "shell/shared_fonts.h"

#include <Qsci/qsciscintillabase.h>

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMimeData>

#include <algorithm>
#include <fstream>
#include <vector>

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

DocumentWindow* DocumentWindow::create(FrameAccess& frame, EditorDocuments& list, bool is_new,
                                       const std::string& path) {
    bool read_only = false;
    if (!is_new) {
        switch (check_access(path)) {
        case Access::missing:
            frame.messages().error("File '%s' can't be accessed", path);
            return nullptr;
        case Access::unreadable:
            frame.messages().error("File '%s', no Read permission", path);
            return nullptr;
        case Access::read_only: read_only = true; break;
        case Access::writable: break;
        }
    }
    return new DocumentWindow(frame, list, path, read_only);
}

DocumentWindow::DocumentWindow(FrameAccess& frame, EditorDocuments& list, const std::string& path,
                               bool read_only)
    : frame_(frame), list_(list), name_(file_name_of(path)), path_(normalise_path(path)),
      file_type_(file_type_of(path)), read_only_(read_only),
      component_(new QsciScintillaBase(this)), sci_(*component_) {
    setObjectName(QStringLiteral("TV6RT12##kivDrawClass"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    update_window_title();
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setBrush(QPalette::Window, frame.brushes().light_grey);
    setPalette(background);
    setFocusPolicy(Qt::StrongFocus);
    resize(800, 400);

    component_->setObjectName(QStringLiteral("KivEditorClass"));
    component_->setFrameShape(QFrame::StyledPanel); // the client edge
    component_->setGeometry(rect());
    set_up_component(sci_, file_type_);
    set_up_view(sci_);
    connect_notifications();
    list_.append(this);
    load_file();
    component_->show();
    component_->setFocus();
    if (read_only_) {
        sci_.send(SCI_SETREADONLY, 1);
    } else {
        backup_path_ = backup_path_for(path_);
        write_backup();
    }
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
        modified_ = false;
        update_window_title();
        after_notification();
    });
    connect(c, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, [this] {
        modified_ = true;
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
                if (margin == 2) fold_margin_click(sci_, position, modifiers);
                after_notification();
            });
}

void DocumentWindow::after_notification() {
    frame_.update_title();
}

void DocumentWindow::update_window_title() {
    QString title = QString::fromStdString(name_);
    if (read_only_) title += QStringLiteral(" (Read Only)");
    if (modified_) title += QStringLiteral(" *");
    if (title != windowTitle()) setWindowTitle(title);
}

// ---- files ----

void DocumentWindow::load_file() {
    const std::optional<std::string> bytes = read_raw(path_);
    if (!bytes) return; // a new file does not exist yet
    frame_.set_status_text(QStringLiteral("Loading file, please wait..."));
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
    loaded_time_ = last_write_time(path_).value_or(FileTime{});
    known_disk_time_ = loaded_time_;
    frame_.set_status_ready();
}

bool DocumentWindow::write_file() {
    std::ofstream out;
    if (!read_only_) out.open(path_, std::ios::binary | std::ios::trunc);
    if (out.is_open()) {
        const long length = sci_.length();
        std::vector<char> piece(kSavePieceBytes + 1); // the component adds a zero
        for (long start = 0; start < length && out; start += kSavePieceBytes) {
            const long end = std::min(length, start + kSavePieceBytes);
            component_->SendScintilla(SCI_GETTEXTRANGE, start, end, piece.data());
            out.write(piece.data(), end - start);
        }
        out.close();
    }
    if (!out) { // not opened, or a write that did not go through
        frame_.messages().error("Can't write to file '%s', is file write protected?", path_);
        return false;
    }
    sci_.send(SCI_SETSAVEPOINT);
    loaded_time_ = last_write_time(path_).value_or(FileTime{});
    if (sci_.send(SCI_GETMODIFY) == 0) backup_time_ = loaded_time_;
    known_disk_time_ = loaded_time_;
    return true;
}

void DocumentWindow::write_backup() {
    if (backup_path_.empty() || !copy_in_blocks(path_, backup_path_)) return;
    backup_time_ = last_write_time(backup_path_).value_or(FileTime{});
}

void DocumentWindow::save_command() {
    if (path_.empty()) {
        save_as();
        return;
    }
    if (!write_file()) return;
    write_backup();
    modified_ = false;
}

void DocumentWindow::save_as() {
    const auto chosen = frame_.file_dialogs().save_source(this, path_);
    if (!chosen) return;
    name_ = file_name_of(*chosen);
    path_ = normalise_path(*chosen);
    update_window_title();
    frame_.recent_files().add(path_);
    // The backup follows the file's new name, so that it never shares one
    // with another document of the old name.
    if (!backup_path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(backup_path_, ec);
        backup_path_ = backup_path_for(path_);
    }
    save_command();
    update_window_title();
}

void DocumentWindow::silent_save() {
    if (path_.empty()) {
        save_as();
        return;
    }
    if (write_file()) known_disk_time_ = loaded_time_;
}

bool DocumentWindow::counts_as_modified() const {
    if (backup_path_.empty()) return false;
    if (modified_) return true;
    const auto backup = last_write_time(backup_path_);
    return backup && *backup < loaded_time_;
}

bool DocumentWindow::changed_on_disk() const {
    if (backup_path_.empty()) return false;
    const auto now = last_write_time(path_);
    return now && *now > known_disk_time_;
}

bool DocumentWindow::has_path(const std::string& path) const {
    return normalise_path(path) == path_;
}

// ---- activation and close ----

void DocumentWindow::child_activated() {
    // The question box takes the activation away and gives it back; that
    // return must not ask again.
    if (asking_) return;
    list_.note_active(this);
    if (changed_on_disk()) {
        asking_ = true;
        const int answer = frame_.messages().question(
            "File '%s' has been changed outside the editor, reload it?", name_);
        if (answer == kBoxYes) {
            load_file();
            write_backup();
        } else {
            known_disk_time_ = last_write_time(path_).value_or(known_disk_time_);
        }
        asking_ = false;
    }
    update();
    frame_.update_title();
}

void DocumentWindow::discard_changes() {
    // The backup holds the file as it was before this session's saves.
    if (!copy_in_blocks(backup_path_, path_)) return;
    loaded_time_ = backup_time_;
    sci_.send(SCI_SETSAVEPOINT);
}

bool DocumentWindow::close_query() {
    if (counts_as_modified()) {
        AskAboutSaveDialog ask(QString::fromStdString(name_), frame_.frame_widget());
        switch (frame_.run_modal(ask)) {
        case AskAboutSaveDialog::kYes: write_file(); break;
        case AskAboutSaveDialog::kNo: discard_changes(); break;
        default:
            // "&Cancel" or Escape: the document stays open with its edits,
            // and a Close All or Exit in progress stops here.
            frame_.stop_closing();
            return false;
        }
    }
    frame_.recent_files().store();
    if (!backup_path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(backup_path_, ec);
    }
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
    case doc_cmd::kPathQuery:
        return parameter != 0 && has_path(*reinterpret_cast<const std::string*>(parameter));
    case cmd::kGoToLineToChild: go_to_line(static_cast<int>(parameter)); return true;
    case cmd::kSave: save_command(); return true;
    case cmd::kSaveAs: save_as(); return true;
    case doc_cmd::kSilentSave: silent_save(); return true;
    case cmd::kArrowLeft:
    case cmd::kArrowUp:
    case cmd::kArrowDown:
    case cmd::kArrowRight: send_arrow_key(id); return true;
    case cmd::kTitleModifiedQuery: return modified_;
    case cmd::kPrint: print_document(*this, frame_, true); return true;
    case cmd::kFindReplace: list_.finder().open_dialog(*this); return true;
    case cmd::kFindNextDown:
    case cmd::kFindNextUp: list_.finder().repeat(*this, id == cmd::kFindNextUp); return true;
    default: return false;
    }
}

void DocumentWindow::go_to_line(int line) {
    // A line beyond the end marks the last line, where the caret lands.
    line = std::clamp(line, 0, std::max(0, sci_.line_count() - 1));
    sci_.delete_all_markers(3);
    sci_.add_marker(line, 3);
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
    frame_.set_line_column_text(QStringLiteral("Ln %1 Col %2").arg(line + 1).arg(column + 1));
}

} // namespace torva
