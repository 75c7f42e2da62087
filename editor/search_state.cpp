// The search histories and the flags the component searches with.
#include "editor/search_state.h"

#include "editor/document_window.h"
#include "editor/sci_messages.h"

#include <algorithm>

namespace torva {

std::string cut_to_characters(const std::string& text, std::size_t max_characters) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        // A character begins at every byte that is not a continuation byte
        // (10xxxxxx) of the one before.
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && ++characters > max_characters)
            return text.substr(0, at);
    }
    return text;
}

void SearchHistory::push(const std::string& text) {
    const std::string kept = cut_to_characters(text, SearchState::kMaxText);
    if (kept.empty() || kept == entries_[0]) return;
    std::move_backward(entries_.begin(), entries_.end() - 1, entries_.end());
    entries_[0] = kept;
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
