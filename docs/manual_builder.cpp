// Build tool: turns the manual's Markdown pages, in the order given, into the
// one HTML file the help window shows.
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s output.html page.md...\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QByteArray markdown;
    for (int i = 2; i < argc; ++i) {
        QFile page(QString::fromLocal8Bit(argv[i]));
        if (!page.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 1;
        }
        markdown += page.readAll() + "\n\n";
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(markdown));
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
