// The search histories and the flags the component searches with.
#include "editor/search_state.h"

#include "editor/document_window.h"
#include "editor/sci_messages.h"

#include <algorithm>

namespace torva {

void SearchHistory::push(const std::string& text) {
    if (text.empty() || text == entries_[0]) return;
    std::move_backward(entries_.begin(), entries_.end() - 1, entries_.end());
    entries_[0] = text.substr(0, SearchState::kMaxText);
}

int SearchHistory::size() const {
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [](const std::string& e) { return !e.empty(); }));
}

int SearchState::search_flags() const {
    return (whole_word ? sci::SCFIND_WHOLEWORD : 0) | (match_case ? sci::SCFIND_MATCHCASE : 0);
}

void SearchState::end_walk() {
    last_search_text.clear();
    walk_document.clear();
}

} // namespace torva
