// The page loop with its header band and rule, and the print dialog.
#include "editor/printing.h"

#include "editor/document_window.h"
#include "shell/frame_access.h"

#include <Qsci/qsciscintillabase.h>

#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace torva {
namespace {

using namespace sci;

// The text starts this many device units right of the printable area.
constexpr int kLeftIndent = 300;
constexpr int kLastPage = 65535;

QFont header_font(QPrinter& printer) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    font.setWeight(QFont::Bold);
    return QFont(font, &printer);
}

} // namespace

int print_pages(const SciCall& sci, QPrinter& printer, const std::string& name,
                const PrintChoice& choice) {
    long start = 0;
    long end = sci.length();
    if (choice.selection) {
        const long a = sci.send(SCI_GETSELECTIONSTART);
        const long b = sci.send(SCI_GETSELECTIONEND);
        start = std::clamp(std::min(a, b), 0L, end);
        end = std::clamp(std::max(a, b), 0L, end);
    }
    if (start >= end) return 0;
    // The component prints every line the range's end touches: a range
    // that ends at the start of a line would bring that line along.
    if (sci.position_from_line(sci.line_from_position(end)) == end) --end;
    if (start >= end) return 0;

    sci.send(SCI_SETPRINTCOLOURMODE, SC_PRINT_BLACKONWHITE);
    QPainter painter;
    if (!painter.begin(&printer)) return 0;

    // Painter coordinates start at the printable area's top-left corner.
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    const QFont font = header_font(printer);
    const QFontMetrics metrics(font, &printer);
    const int h = metrics.height() + metrics.leading();
    const QRect text(QPoint(kLeftIndent, h + h / 2),
                     QPoint(printable.width() - 1, printable.height() - 1 - h - h / 2));
    const QString file = QString::fromStdString(name);
    const bool ranged = choice.from_page > 0;
    const int last = ranged ? std::min(choice.to_page, kLastPage) : kLastPage;

    QsciScintillaBase& component = sci.component();
    int printed = 0;
    long position = start;
    for (int page = 1; position < end && page <= last; ++page) {
        const bool wanted = !ranged || page >= choice.from_page;
        long next = 0;
        if (wanted) {
            if (printed > 0) printer.newPage();
            painter.setFont(font);
            const QRect band(text.left() + 5, text.top() - h / 2 - h, text.width() - 5, h);
            painter.fillRect(band, Qt::white);
            painter.setPen(Qt::black);
            painter.drawText(
                band, Qt::AlignLeft | Qt::AlignBottom,
                QStringLiteral("Page %1 of file \"%2\" ").arg(QString::number(page), file));
            painter.setPen(QPen(Qt::black, 0));
            const int rule = text.top() - h / 4;
            painter.drawLine(text.left(), rule, text.right(), rule);
            next = component.SendScintilla(SCI_FORMATRANGE, 1, &painter, text, position, end);
            ++printed;
        } else {
            next = component.SendScintilla(SCI_FORMATRANGE, 0, &painter, text, position, end);
        }
        // A page that takes no text would repeat for ever.
        if (next <= position) break;
        position = next;
    }
    sci.send(SCI_FORMATRANGE, 0, 0);
    painter.end();
    return printed;
}

void print_document(DocumentWindow& document, FrameAccess& frame, bool show_dialog) {
    const SciCall& sci = document.sci();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(document.path()));
    PrintChoice choice;
    if (show_dialog) {
        QPrintDialog dialog(&printer, frame.frame_widget());
        dialog.setObjectName(QStringLiteral("PrintDialog"));
        dialog.setMinMax(1, kLastPage);
        dialog.setFromTo(1, 1);
        dialog.setPrintRange(QAbstractPrintDialog::AllPages);
        const bool selection = sci.send(SCI_GETSELECTIONSTART) != sci.send(SCI_GETSELECTIONEND);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (frame.run_modal(dialog) != QDialog::Accepted) return;
        choice.selection = printer.printRange() == QPrinter::Selection;
        if (printer.printRange() == QPrinter::PageRange) {
            choice.from_page = std::max(1, printer.fromPage());
            choice.to_page = std::max(choice.from_page, printer.toPage());
        }
    }
    print_pages(sci, printer, document.name(), choice);
}

} // namespace torva
