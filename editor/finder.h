// Find Next (in the active document or walking all open documents),
// Replace and Replace All with their status texts, the modeless dialog that
// drives them, and F3 / Shift+F3.
#pragma once

#include "editor/search_state.h"

#include <QPointer>

namespace torva {

class DocumentWindow;
class EditorDocuments;
class FindDialog;
struct DocumentRoles;

class Finder {
public:
    explicit Finder(EditorDocuments& documents) : documents_(documents) {}

    SearchState& state() { return state_; }
    const SearchState& state() const { return state_; }

    // Find/Replace from document: the selection (one line) or else the
    // word at the caret becomes the find text, and the dialog opens, or
    // opens afresh when it is already there.
    void open_dialog(DocumentWindow& document);
    FindDialog* dialog() const;

    // The dialog's buttons; each runs on the state as the dialog left it
    // and then puts the texts into the histories.
    void find_next();
    void replace_once();
    void replace_all();
    // F3 (down) and Shift+F3 (up): Find Next with the last find text, in
    // that direction; without a find text the dialog opens.
    void repeat(DocumentWindow& document, bool up);

    // The dialog went away.
    void dialog_closed();

private:
    const DocumentRoles* frame() const;
    void search();
    DocumentWindow* next_in_walk() const;
    void remember_texts();
    void seed_from(DocumentWindow& document);

    EditorDocuments& documents_;
    SearchState state_;
    QPointer<FindDialog> dialog_;
};

} // namespace torva
