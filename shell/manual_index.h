// The manual's headings as a tree of sections, and a word search over their
// text, read from the document the help window shows.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QTextDocument;

namespace torva {

struct ManualSection {
    int level; // 1 for a chapter, 2 for its sections, ...
    QString title;
    QString anchor; // the heading's anchor name; empty when it has none
    int chapter;    // index of the chapter's own section
    QString text;   // the section's text up to the next heading
    int position;   // where the heading starts in the document
};

// The manual's own table of contents: a list of every title, which the help
// window's tree replaces and the search passes over.
inline constexpr const char* kContentsAnchor = "manual-contents";

class ManualIndex {
public:
    explicit ManualIndex(const QTextDocument& document);

    const std::vector<ManualSection>& sections() const { return sections_; }
    // The sections whose heading or text holds every word of the query
    // (letter case ignored, a word may be part of a longer one), in the
    // manual's order; none for an empty query.
    std::vector<int> search(const QString& query) const;
    // Where a section lies: "Chapter ▸ Section", or the chapter's title.
    QString place(int section) const;

private:
    std::vector<ManualSection> sections_;
};

} // namespace torva
