// The search operations over the open documents and their status texts.
#include "editor/finder.h"

#include "editor/document_list.h"
#include "editor/document_window.h"
#include "editor/find_dialog.h"
#include "editor/text_search.h"
#include "shell/dialog_host.h"
#include "shell/message_service.h"
#include "shell/status_line.h"

#include <algorithm>

namespace torva {

using namespace sci;

FindDialog* Finder::dialog() const {
    return dialog_.data();
}

const DocumentRoles* Finder::frame() const {
    return documents_.frame();
}

void Finder::seed_from(DocumentWindow& document) {
    const SciCall& sci = document.sci();
    long start = sci.send(SCI_GETSELECTIONSTART);
    long end = sci.send(SCI_GETSELECTIONEND);
    if (start == end) {
        start = sci.send(SCI_WORDSTARTPOSITION, static_cast<unsigned long>(start), 1);
        end = sci.send(SCI_WORDENDPOSITION, static_cast<unsigned long>(end), 1);
    }
    if (start == end || sci.line_from_position(start) != sci.line_from_position(end)) return;
    state_.find_text = cut_to_characters(sci.text_range(start, end), SearchState::kMaxText);
}

void Finder::open_dialog(DocumentWindow& document) {
    state_.starting_document = &document;
    state_.walk_document = nullptr;
    seed_from(document);
    if (dialog_ == nullptr && frame() != nullptr)
        dialog_ = new FindDialog(*this, frame()->dialogs.frame_widget());
    if (dialog_ == nullptr) return;
    dialog_->show_state();
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void Finder::dialog_closed() {
    if (frame() != nullptr) frame()->status.set_status_text(QStringLiteral(" "));
}

void Finder::remember_texts() {
    state_.find_history.push(state_.find_text);
    state_.replace_history.push(state_.replace_text);
}

DocumentWindow* Finder::next_in_walk() const {
    const std::vector<DocumentWindow*> list = documents_.documents();
    auto at = list.begin();
    if (state_.walk_document != nullptr) {
        at = std::find(list.begin(), list.end(), state_.walk_document.data());
        if (at != list.end()) ++at;
    }
    for (; at != list.end(); ++at)
        if (*at != state_.starting_document) return *at;
    return nullptr;
}

void Finder::search() {
    const DocumentRoles* shell = frame();
    DocumentWindow* document = documents_.active_document();
    if (shell == nullptr) return;
    if (document == nullptr) {
        shell->status.set_status_text(QStringLiteral("Find text failed"));
        return;
    }
    // Nothing to look for: no document is searched, visited or moved.
    if (state_.find_text.empty()) {
        shell->status.set_status_text(QStringLiteral("No text to match"));
        return;
    }
    const bool up = state_.search_up;
    for (;;) {
        const SciCall& sci = document->sci();
        const long start = sci.send(SCI_GETSELECTIONSTART);
        const long end = sci.send(SCI_GETSELECTIONEND);
        // Searching up looks at everything before the selection, a match
        // that ends where the selection starts included.
        const auto match =
            up ? search_in_target(sci, start, 0, state_.find_text, state_.search_flags())
               : search_in_target(sci, end, sci.length(), state_.find_text, state_.search_flags());
        shell->status.set_status_ready();
        if (match) {
            sci.send(SCI_SETSEL, static_cast<unsigned long>(match->start), match->end);
            return;
        }
        DocumentWindow* next = nullptr;
        if (state_.all_documents) {
            if (state_.find_text != state_.last_search_text) {
                // A new walk: it starts from this document.
                state_.last_search_text = state_.find_text;
                state_.starting_document = document;
                state_.walk_document = nullptr;
            }
            next = next_in_walk();
        }
        if (next == nullptr) {
            shell->status.set_status_text(up ? QStringLiteral("At beginning of document")
                                             : QStringLiteral("Passed end of document"));
            state_.end_walk();
            return;
        }
        state_.walk_document = next;
        documents_.bring_to_front(*next);
        // Searching up in a further document starts from its end.
        const long from = up ? next->sci().length() : 0;
        next->sci().send(SCI_GOTOPOS, static_cast<unsigned long>(from));
        next->sci().send(SCI_SETANCHOR, static_cast<unsigned long>(from));
        document = next;
    }
}

void Finder::find_next() {
    search();
    remember_texts();
}

void Finder::replace_once() {
    DocumentWindow* document = documents_.active_document();
    if (document == nullptr) {
        if (frame() != nullptr)
            frame()->status.set_status_text(QStringLiteral("Replace Once failed"));
        remember_texts();
        return;
    }
    const SciCall& sci = document->sci();
    const long start = sci.send(SCI_GETSELECTIONSTART);
    const long end = sci.send(SCI_GETSELECTIONEND);
    if (start != end) {
        const long length = replace_target(sci, start, end, state_.replace_text);
        sci.send(SCI_SETSEL, static_cast<unsigned long>(start), start + length);
        search();
    }
    remember_texts();
}

void Finder::replace_all() {
    const DocumentRoles* shell = frame();
    DocumentWindow* document = documents_.active_document();
    if (shell == nullptr) return;
    if (document == nullptr) {
        shell->status.set_status_text(QStringLiteral("Replace All failed"));
        remember_texts();
        return;
    }
    if (state_.all_documents) {
        shell->dialogs.messages().warning("'Replace All' affects only current active document");
        state_.all_documents = false;
        if (dialog_ != nullptr) dialog_->show_state();
    }
    if (state_.find_text.empty()) {
        shell->status.set_status_text(QStringLiteral("No text to match"));
    } else {
        torva::replace_all(document->sci(), state_.find_text, state_.replace_text,
                           state_.search_flags());
    }
    remember_texts();
}

void Finder::repeat(DocumentWindow& document, bool up) {
    if (dialog_ != nullptr) dialog_->read_state();
    if (state_.find_text.empty()) {
        open_dialog(document);
        return;
    }
    const bool chosen = state_.search_up;
    state_.search_up = up;
    find_next();
    state_.search_up = chosen;
}

} // namespace torva
