// The page loop with its header band and rule, the count of pages before a
// range, and the print dialog.
#include "editor/printing.h"

#include "editor/document_window.h"
#include "shell/dialog_host.h"
#include "shell/status_line.h"

#include <Qsci/qsciscintillabase.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <filesystem>

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

namespace {

// Where the text goes on a page of the device, and the header line's height.
struct PageGeometry {
    QRect text;
    int header_height = 0;
};

PageGeometry page_geometry(const QPageLayout& layout, int resolution, const QFont& font,
                           QPaintDevice& device) {
    // Painter coordinates start at the printable area's top-left corner.
    const QRect printable = layout.paintRectPixels(resolution);
    const QFontMetrics metrics(font, &device);
    const int h = metrics.height() + metrics.leading();
    return {QRect(QPoint(kLeftIndent, h + h / 2),
                  QPoint(printable.width() - 1, printable.height() - 1 - h - h / 2)),
            h};
}

// The pages of [start, end) up to `enough`, formatted for the printer on a
// stand-in device of the same resolution and page layout, where nothing is
// printed.
int count_pages(QsciScintillaBase& component, QPrinter& printer, long start, long end, int enough) {
    QBuffer scratch;
    scratch.open(QIODevice::WriteOnly);
    QPdfWriter device(&scratch);
    device.setResolution(printer.resolution());
    device.setPageLayout(printer.pageLayout());
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const QFont font(header_font(printer), &device);
    const PageGeometry page = page_geometry(device.pageLayout(), device.resolution(), font, device);
    int pages = 0;
    for (long position = start; position < end && pages < enough; ++pages) {
        const long next =
            component.SendScintilla(SCI_FORMATRANGE, 0, &painter, page.text, position, end);
        if (next <= position) break;
        position = next;
    }
    component.SendScintilla(SCI_FORMATRANGE, 0, static_cast<long>(0));
    painter.end();
    return pages;
}

} // namespace

PrintResult print_pages(const SciCall& sci, QPrinter& printer, const std::string& name,
                        const PrintChoice& choice) {
    long start = 0;
    long end = sci.length();
    if (choice.selection) {
        const long a = sci.send(SCI_GETSELECTIONSTART);
        const long b = sci.send(SCI_GETSELECTIONEND);
        start = std::clamp(std::min(a, b), 0L, end);
        end = std::clamp(std::max(a, b), 0L, end);
    }
    if (start >= end) return {};
    // The component prints every line the range's end touches: a range
    // that ends at the start of a line would bring that line along.
    if (sci.position_from_line(sci.line_from_position(end)) == end) --end;
    if (start >= end) return {};

    QsciScintillaBase& component = sci.component();
    const bool ranged = choice.from_page > 0;
    sci.send(SCI_SETPRINTCOLOURMODE, SC_PRINT_BLACKONWHITE);
    // A range that starts after the last page would still start the
    // document, and so print one blank page: it is found out first.
    if (ranged) {
        const int pages = count_pages(component, printer, start, end, choice.from_page);
        if (pages < choice.from_page) return {0, pages};
    }
    QPainter painter;
    if (!painter.begin(&printer)) return {};

    const QFont font = header_font(printer);
    const PageGeometry geometry =
        page_geometry(printer.pageLayout(), printer.resolution(), font, printer);
    const QRect& text = geometry.text;
    const int h = geometry.header_height;
    const QString file = QString::fromStdString(name);
    const int last = ranged ? std::min(choice.to_page, kLastPage) : kLastPage;

    PrintResult result;
    long position = start;
    for (int page = 1; position < end && page <= last; ++page) {
        const bool wanted = !ranged || page >= choice.from_page;
        long next = 0;
        if (wanted) {
            if (result.printed > 0) printer.newPage();
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
            ++result.printed;
        } else {
            next = component.SendScintilla(SCI_FORMATRANGE, 0, &painter, text, position, end);
        }
        result.pages = page;
        // A page that takes no text would repeat for ever.
        if (next <= position) break;
        position = next;
    }
    sci.send(SCI_FORMATRANGE, 0, 0);
    painter.end();
    return result;
}

void print_document(DocumentWindow& document, DialogHost& dialogs, StatusLine& status,
                    bool show_dialog) {
    const SciCall& sci = document.sci();
    QPrinter printer(QPrinter::HighResolution);
    // The file name alone: print dialogs build the default name of a PDF
    // from it, which a full path would turn into a path under a path.
    printer.setDocName(QString::fromStdString(document.name()));
    // Without any printer the PDF file is the only destination: it is
    // offered beside the source.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        const std::filesystem::path source(document.path());
        printer.setOutputFileName(QString::fromStdString(
            (source.parent_path() / source.stem()).generic_string() + ".pdf"));
    }
    PrintChoice choice;
    if (show_dialog) {
        QPrintDialog dialog(&printer, dialogs.frame_widget());
        dialog.setObjectName(QStringLiteral("PrintDialog"));
        dialog.setMinMax(1, kLastPage);
        dialog.setFromTo(1, 1);
        dialog.setPrintRange(QAbstractPrintDialog::AllPages);
        const bool selection = sci.send(SCI_GETSELECTIONSTART) != sci.send(SCI_GETSELECTIONEND);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (dialogs.run_modal(dialog) != QDialog::Accepted) return;
        choice.selection = printer.printRange() == QPrinter::Selection;
        if (printer.printRange() == QPrinter::PageRange) {
            choice.from_page = std::max(1, printer.fromPage());
            choice.to_page = std::max(choice.from_page, printer.toPage());
        }
    }
    const PrintResult result = print_pages(sci, printer, document.name(), choice);
    if (choice.from_page > 0 && result.printed == 0 && result.pages > 0)
        status.set_status_text(
            QStringLiteral("Nothing printed: the document ends on page %1").arg(result.pages));
}

} // namespace torva
