// Reads the headings' anchors from the document's fragments and cuts the
// text at every heading.
#include "shell/manual_index.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace torva {
namespace {

QString anchor_of(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QStringList names = it.fragment().charFormat().anchorNames();
        if (!names.isEmpty()) return names.front();
    }
    return {};
}

} // namespace

ManualIndex::ManualIndex(const QTextDocument& document) {
    int chapter = -1;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0) {
            if (!sections_.empty()) sections_.back().text += block.text() + QLatin1Char('\n');
            continue;
        }
        if (level == 1 || chapter < 0) chapter = static_cast<int>(sections_.size());
        sections_.push_back(
            {level, block.text().trimmed(), anchor_of(block), chapter, {}, block.position()});
    }
}

std::vector<int> ManualIndex::search(const QString& query) const {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = query.split(blanks, Qt::SkipEmptyParts);
    std::vector<int> found;
    if (words.isEmpty()) return found;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const ManualSection& section = sections_[i];
        if (section.anchor == QLatin1String(kContentsAnchor)) continue;
        const bool all = std::all_of(words.begin(), words.end(), [&section](const QString& w) {
            return section.title.contains(w, Qt::CaseInsensitive) ||
                   section.text.contains(w, Qt::CaseInsensitive);
        });
        if (all) found.push_back(static_cast<int>(i));
    }
    return found;
}

QString ManualIndex::place(int section) const {
    const ManualSection& s = sections_.at(static_cast<std::size_t>(section));
    if (s.chapter == section) return s.title;
    return sections_.at(static_cast<std::size_t>(s.chapter)).title + QStringLiteral(" ▸ ") +
           s.title;
}

} // namespace torva
