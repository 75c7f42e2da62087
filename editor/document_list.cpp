// Open document with its cascade and reuse of an open window; lookups by
// path; save all; the silent save before assembling; line-mark clearing.
#include "editor/document_list.h"

#include "editor/document_window.h"
#include "editor/goto_line_dialog.h"
#include "editor/styling.h"
#include "shell/child_area.h"
#include "shell/command_ids.h"
#include "shell/dialog_host.h"
#include "shell/file_dialogs.h"
#include "shell/message_service.h"
#include "shell/recent_files.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cctype>

namespace torva {
namespace {

constexpr int kCascadeStart = 200;
constexpr int kCascadeStep = 20;
constexpr int kCascadeLimit = 280;
constexpr int kDocumentWidth = 800;
constexpr int kDocumentHeight = 400;

bool same_ignoring_case(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

EditorDocuments::~EditorDocuments() = default;

void EditorDocuments::attach(ChildArea& area, DocumentRoles frame) {
    area_ = &area;
    frame_.emplace(frame);
}

QWidget* EditorDocuments::open_document(bool is_new, const std::string& path, int line) {
    if (area_ == nullptr || !frame_) return nullptr;
    if (!is_new) {
        for (DocumentWindow* document : documents()) {
            if (!document->has_path(path)) continue;
            area_->activate_child(document);
            document->setFocus();
            if (line != -1) document->go_to_line(line);
            return document;
        }
    }

    if (next_x_ == 0 || next_x_ > kCascadeLimit) next_x_ = next_y_ = kCascadeStart;
    const QRect geometry(next_x_, next_y_, kDocumentWidth, kDocumentHeight);
    DocumentWindow* document = DocumentWindow::create(*frame_, *this, is_new, path);
    if (document == nullptr) return nullptr;
    next_x_ += kCascadeStep;
    next_y_ += kCascadeStep;
    area_->add_child(*document, &geometry);
    if (is_new) document->save_command();

    // The line mark of an earlier life of this file goes; the caret lands
    // on the line asked for, or the first.
    document->sci().delete_all_markers(marker::kGoToLine);
    if (line == -1) {
        document->sci().send(sci::SCI_GOTOLINE, 0);
        document->sci().delete_all_markers(marker::kGoToLine);
    } else {
        document->go_to_line(line);
    }
    return document;
}

DocumentWindow* EditorDocuments::as_document(const QWidget* widget) const {
    for (const auto& document : documents_)
        if (document != nullptr && document.data() == widget) return document.data();
    return nullptr;
}

std::string EditorDocuments::document_path(const QWidget* widget) const {
    const DocumentWindow* document = as_document(widget);
    return document != nullptr ? document->path() : std::string();
}

QWidget* EditorDocuments::find_document(const std::string& path) const {
    const std::string wanted = normalise_path(path);
    for (DocumentWindow* document : documents())
        if (same_ignoring_case(document->path(), wanted)) return document;
    return nullptr;
}

void EditorDocuments::save_all_modified() {
    for (DocumentWindow* document : documents())
        if (document->modified()) document->save_command();
}

bool EditorDocuments::save_modified_sources() {
    // The first document that is not saved ends the round: its box has
    // told why, and Assemble does not run on what the disk holds.
    for (DocumentWindow* document : documents())
        if (document->modified() && document->file_type() != 0 && !document->silent_save())
            return false;
    return true;
}

void EditorDocuments::clear_line_marks() {
    for (DocumentWindow* document : documents())
        document->sci().delete_all_markers(marker::kGoToLine);
}

DocumentWindow* EditorDocuments::active_document() const {
    return area_ != nullptr ? as_document(area_->top_child()) : nullptr;
}

std::vector<DocumentWindow*> EditorDocuments::documents() const {
    std::vector<DocumentWindow*> list;
    for (const auto& document : documents_)
        if (document != nullptr) list.push_back(document.data());
    return list;
}

void EditorDocuments::append(DocumentWindow* document) {
    documents_.emplace_back(document);
}

void EditorDocuments::unlink(DocumentWindow* document) {
    const auto gone = [document](const QPointer<DocumentWindow>& entry) {
        return entry == nullptr || entry.data() == document;
    };
    std::erase_if(documents_, gone);
    std::erase_if(activations_, gone);
}

void EditorDocuments::bring_to_front(DocumentWindow& document) {
    if (area_ != nullptr) area_->activate_child(&document);
}

void EditorDocuments::note_active(DocumentWindow* document) {
    std::erase_if(activations_, [document](const QPointer<DocumentWindow>& entry) {
        return entry == nullptr || entry.data() == document;
    });
    activations_.emplace_back(document);
}

std::string EditorDocuments::most_recent_source() const {
    for (auto at = activations_.rbegin(); at != activations_.rend(); ++at)
        if (*at != nullptr && (*at)->file_type() == kFileAsm) return (*at)->path();
    return {};
}

int EditorDocuments::run_goto_line(QWidget* owner) {
    if (!frame_) return 0;
    GotoLineDialog dialog(owner);
    return frame_->dialogs.run_modal(dialog);
}

} // namespace torva
