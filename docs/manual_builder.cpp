// Build tool: turns the manual's Markdown pages, in the order given, into the
// one HTML file the help window shows, with an anchor on every heading, a
// table of contents after the first page, and every internal link checked.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <vector>

namespace {

struct Page {
    QString path;
    QString anchor; // the chapter's own anchor: the file's name, "_" as "-"
    QByteArray markdown;
};

struct Heading {
    int level;
    QString text;
    QString anchor;
};

// A section's anchor part: its title in lower case, words joined by "-".
QString slug(const QString& title) {
    QString out;
    for (const QChar c : title.toLower()) {
        if (c.isLetterOrNumber() && c.unicode() < 128) {
            out += c;
        } else if ((c.isSpace() || c == QLatin1Char('-')) && !out.endsWith(QLatin1Char('-'))) {
            if (!out.isEmpty()) out += QLatin1Char('-');
        }
    }
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

// Gives every heading its anchor: a chapter (the one level-1 heading each page
// opens with) is named after its page, a section after its chapter and its
// title, so links stay valid when other chapters change. False when a page
// does not hold exactly one chapter title.
bool anchor_headings(QTextDocument& document, const std::vector<Page>& pages,
                     std::vector<Heading>& headings) {
    headings.clear();
    QSet<QString> taken;
    int chapter = -1;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0) continue;
        const QString text = block.text().trimmed();
        if (level == 1 && ++chapter >= static_cast<int>(pages.size())) return false;
        if (chapter < 0) return false;
        QString anchor = pages[static_cast<std::size_t>(chapter)].anchor;
        if (level > 1) anchor += QLatin1Char('-') + slug(text);
        const QString base = anchor;
        for (int n = 2; taken.contains(anchor); ++n)
            anchor = base + QStringLiteral("-%1").arg(n);
        taken.insert(anchor);
        headings.push_back({level, text, anchor});

        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({anchor});
        cursor.mergeCharFormat(format);
    }
    return chapter + 1 == static_cast<int>(pages.size());
}

// The contents as a Markdown list: chapters, and their sections one level in.
QByteArray contents(const std::vector<Heading>& headings) {
    QByteArray out = "## Contents\n\n";
    for (const Heading& heading : headings) {
        // The title page, which the contents follow, is not listed.
        if (heading.level > 2 || heading.anchor == headings.front().anchor) continue;
        out += heading.level == 1 ? "- " : "    - ";
        out += "[" + heading.text.toUtf8() + "](#" + heading.anchor.toUtf8() + ")\n";
    }
    return out + "\n";
}

QByteArray joined(const std::vector<Page>& pages, const QByteArray& after_first) {
    QByteArray markdown;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        markdown += pages[i].markdown + "\n\n";
        if (i == 0) markdown += after_first;
    }
    return markdown;
}

// Every link to "#name" must name a heading's anchor.
QStringList broken_links(const QTextDocument& document, const std::vector<Heading>& headings) {
    QSet<QString> anchors;
    for (const Heading& heading : headings)
        anchors.insert(heading.anchor);
    QStringList broken;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (href.startsWith(QLatin1Char('#')) && !anchors.contains(href.mid(1)))
                broken << QStringLiteral("%1 (in \"%2\")").arg(href, block.text().left(60));
        }
    }
    broken.removeDuplicates();
    return broken;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s output.html page.md...\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::vector<Page> pages;
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QFile page(path);
        if (!page.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 1;
        }
        const QString anchor =
            QFileInfo(path).completeBaseName().replace(QLatin1Char('_'), QLatin1Char('-'));
        pages.push_back({path, anchor, page.readAll()});
    }

    // First pass: the headings, for the contents; second: the whole manual.
    QTextDocument document;
    std::vector<Heading> headings;
    document.setMarkdown(QString::fromUtf8(joined(pages, {})));
    if (!anchor_headings(document, pages, headings)) {
        std::fprintf(stderr, "%s: every page must open with one '# ' title and hold no other\n",
                     argv[0]);
        return 1;
    }
    document.setMarkdown(QString::fromUtf8(joined(pages, contents(headings))));
    anchor_headings(document, pages, headings);
    if (const QStringList broken = broken_links(document, headings); !broken.isEmpty()) {
        for (const QString& link : broken)
            std::fprintf(stderr, "%s: link to a missing section: %s\n", argv[0], qPrintable(link));
        return 1;
    }

    document.setMetaInformation(QTextDocument::DocumentTitle,
                                QStringLiteral("TORVA 6 for RT12 - User manual"));
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    out.write(document.toHtml().toUtf8());
    return 0;
}
