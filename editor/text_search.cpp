// Searching and replacing through the component's target.
#include "editor/text_search.h"

namespace torva {

using namespace sci;

std::optional<TextMatch> search_in_target(const SciCall& sci, long from, long to,
                                          const std::string& text, int flags) {
    if (text.empty()) return std::nullopt;
    sci.send(SCI_SETTARGETSTART, static_cast<unsigned long>(from));
    sci.send(SCI_SETTARGETEND, static_cast<unsigned long>(to));
    sci.send(SCI_SETSEARCHFLAGS, static_cast<unsigned long>(flags));
    if (sci.send_text(SCI_SEARCHINTARGET, text.size(), text.c_str()) < 0) return std::nullopt;
    return TextMatch{sci.send(SCI_GETTARGETSTART), sci.send(SCI_GETTARGETEND)};
}

long replace_target(const SciCall& sci, long start, long end, const std::string& text) {
    sci.send(SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    sci.send(SCI_SETTARGETEND, static_cast<unsigned long>(end));
    return sci.send_text(SCI_REPLACETARGET, text.size(), text.c_str());
}

int replace_all(const SciCall& sci, const std::string& find, const std::string& replace,
                int flags) {
    long text_end = sci.length();
    std::optional<TextMatch> match = search_in_target(sci, 0, text_end, find, flags);
    if (!match || match->start > text_end) return 0;

    sci.send(SCI_BEGINUNDOACTION);
    int count = 0;
    long after_last = 0;
    while (match) {
        const long inserted = replace_target(sci, match->start, match->end, replace);
        ++count;
        text_end += inserted - (match->end - match->start);
        after_last = match->start + inserted;
        long next = after_last;
        if (match->end == match->start) {
            // An empty match would be found again at once: step over one
            // character, and over a whole line end.
            const int following = static_cast<int>(sci.send(SCI_GETCHARAT, next) & 0xFF);
            next = sci.send(SCI_POSITIONAFTER, next);
            if (following == '\r' || following == '\n') next = sci.send(SCI_POSITIONAFTER, next);
        }
        if (next >= text_end) break;
        match = search_in_target(sci, next, text_end, find, flags);
    }
    sci.send(SCI_SETSEL, static_cast<unsigned long>(after_last), after_last);
    sci.send(SCI_ENDUNDOACTION);
    return count;
}

} // namespace torva
