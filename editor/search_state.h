// What the find dialog remembers between its openings: the texts, the
// scope and flags, the two histories and the walk over all documents.
#pragma once

#include <QPointer>

#include <array>
#include <string>

namespace torva {

class DocumentWindow;

// The longest beginning of text that has at most max_characters characters:
// a multi-byte UTF-8 character is kept whole or left out, never cut.
std::string cut_to_characters(const std::string& text, std::size_t max_characters);

// The most recent texts first; a text is kept whole up to kMaxText
// characters.
class SearchHistory {
public:
    static constexpr int kEntries = 16;

    // The text becomes entry 0 and the others move down (the sixteenth
    // drops out); the same text as entry 0, or an empty one, changes nothing.
    void push(const std::string& text);
    const std::string& at(int entry) const { return entries_[static_cast<std::size_t>(entry)]; }
    int size() const;

private:
    std::array<std::string, kEntries> entries_;
};

struct SearchState {
    // Texts longer than this many characters are cut where the dialog reads
    // them.
    static constexpr std::size_t kMaxText = 127;

    std::string find_text;
    std::string replace_text;
    // The find text of the walk over all documents in progress; "" for none.
    std::string last_search_text;
    bool all_documents = false;
    bool search_up = false;
    bool whole_word = false;
    bool match_case = false;
    bool replace_mode = false;
    SearchHistory find_history;
    SearchHistory replace_history;
    // The document the walk started from, and the one it visited last.
    QPointer<DocumentWindow> starting_document;
    QPointer<DocumentWindow> walk_document;

    // The component's search flags for the two check boxes.
    int search_flags() const;
    // No walk is in progress any more.
    void end_walk();
};

} // namespace torva
