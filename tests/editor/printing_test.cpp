// Printing to PDF files, read back with poppler's pdfinfo and pdftotext:
// the page count, each page's header, page ranges, the selection, and an
// empty document that prints nothing.
#include "editor_fixture.h"

#include "editor/printing.h"
#include "support/screenshot.h"
#include "support/tool_process.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <regex>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

int page_count(const std::string& pdf) {
    std::smatch match;
    const std::string info = run_command("pdfinfo " + shell_quoted(pdf) + " 2>/dev/null").first;
    return std::regex_search(info, match, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(match[1])
                                                                           : -1;
}

// The text of each page (pdftotext ends every page with a form feed).
std::vector<std::string> pages_of(const std::string& pdf) {
    const std::string text =
        run_command("pdftotext -layout " + shell_quoted(pdf) + " - 2>/dev/null").first;
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t feed; (feed = text.find('\f', start)) != std::string::npos; start = feed + 1)
        pages.push_back(text.substr(start, feed - start));
    return pages;
}

class PrintingTest : public EditorFixture {
protected:
    // Lines "line 1" to "line n".
    static std::string numbered_lines(int n) {
        std::string text;
        for (int i = 1; i <= n; ++i)
            text += "line " + std::to_string(i) + "\n";
        return text;
    }
    // Prints through the Print command, the dialog answered with OK after
    // choose has set it up; the output goes to pdf.
    void print(const std::string& pdf, const std::function<void(QPrinter&)>& choose = {}) {
        dialogs.while_open = [pdf, choose](QDialog& dialog) {
            auto* print_dialog = qobject_cast<QPrintDialog*>(&dialog);
            ASSERT_NE(nullptr, print_dialog);
            QPrinter& printer = *print_dialog->printer();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            if (choose) choose(printer);
        };
        frame->dispatch(cmd::kPrint);
    }
    static bool contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
};

TEST_F(PrintingTest, every_page_has_its_header) {
    DocumentWindow* document = open(write("long.asm", numbered_lines(150)));
    ASSERT_NE(nullptr, document);
    const std::string pdf = dir() + "/all.pdf";
    print(pdf);
    const int count = page_count(pdf);
    ASSERT_GE(count, 2);
    const std::vector<std::string> pages = pages_of(pdf);
    ASSERT_EQ(static_cast<size_t>(count), pages.size());
    for (int p = 0; p < count; ++p) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(contains(pages[p], "Page " + std::to_string(p + 1) + " of file \"long.asm\""))
            << pages[p].substr(0, 200);
    }
    EXPECT_TRUE(contains(pages.front(), "line 1\n"));
    EXPECT_TRUE(contains(pages.back(), "line 150"));
    // The first page as a picture, for people to look at.
    run_command("pdftoppm -png -r 60 -f 1 -l 1 -singlefile " + shell_quoted(pdf) + " " +
                shell_quoted((screenshot_dir() / "print_page").string()));
}

// Pages 2 to 3, the last page alone and a range past the end, each against
// the whole print.
TEST_F(PrintingTest, page_ranges_print_the_pages_of_the_whole_print) {
    open(write("long.asm", numbered_lines(400)));
    const std::string whole = dir() + "/whole.pdf";
    print(whole);
    const int pages = page_count(whole);
    ASSERT_GE(pages, 4);
    const std::vector<std::string> all = pages_of(whole);
    auto print_range = [&](const std::string& pdf, int from, int to) {
        print(pdf, [from, to](QPrinter& printer) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        });
    };

    const std::string range = dir() + "/range.pdf";
    print_range(range, 2, 3);
    ASSERT_EQ(2, page_count(range));
    const std::vector<std::string> two = pages_of(range);
    ASSERT_EQ(2u, two.size());
    // Page 1 was formatted, not printed: page 2 starts where it does in
    // the whole print.
    EXPECT_TRUE(contains(two[0], "Page 2 of file \"long.asm\""));
    EXPECT_TRUE(contains(two[1], "Page 3 of file \"long.asm\""));
    EXPECT_EQ(all[1], two[0]);
    EXPECT_EQ(all[2], two[1]);

    // The last page alone is found and printed...
    const std::string last = dir() + "/last.pdf";
    print_range(last, pages, pages + 3);
    ASSERT_EQ(1, page_count(last));
    EXPECT_EQ(all.back(), pages_of(last).at(0));

    // ...and a range after it starts no document at all.
    const std::string beyond = dir() + "/beyond.pdf";
    print_range(beyond, pages + 1, pages + 2);
    EXPECT_FALSE(fs::exists(beyond));
    EXPECT_EQ("Nothing printed: the document ends on page " + std::to_string(pages),
              frame->status_text().toStdString());
}

TEST_F(PrintingTest, the_printer_gets_the_file_name_alone) {
    open(write("named.asm", "nop\n"));
    QString doc_name;
    QString output;
    dialogs.while_open = [&](QDialog& dialog) {
        QPrinter& printer = *qobject_cast<QPrintDialog*>(&dialog)->printer();
        doc_name = printer.docName();
        output = printer.outputFileName();
        printer.setOutputFileName(QString::fromStdString(dir() + "/named.pdf"));
    };
    frame->dispatch(cmd::kPrint);
    EXPECT_EQ("named.asm", doc_name.toStdString());
    // Without a printer, the PDF is offered beside the source.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_EQ(dir() + "/named.pdf", output.toStdString());
    }
}

TEST_F(PrintingTest, selection_only_starting_on_page_one) {
    DocumentWindow* document = open(write("sel.asm", numbered_lines(100)));
    const long start = document->sci().position_from_line(49);
    const long end = document->sci().position_from_line(52);
    document->sci().send(sci::SCI_SETSEL, end, start); // either direction
    const std::string pdf = dir() + "/sel.pdf";
    print(pdf, [](QPrinter& printer) { printer.setPrintRange(QPrinter::Selection); });
    ASSERT_EQ(1, page_count(pdf));
    const std::string page = pages_of(pdf).at(0);
    EXPECT_TRUE(contains(page, "Page 1 of file \"sel.asm\""));
    EXPECT_TRUE(contains(page, "line 50\n"));
    EXPECT_TRUE(contains(page, "line 52\n"));
    EXPECT_FALSE(contains(page, "line 49\n"));
    EXPECT_FALSE(contains(page, "line 53\n"));
}

TEST_F(PrintingTest, nothing_is_printed_for_an_empty_document_or_a_cancel) {
    open(write("empty.asm", ""));
    const std::string pdf = dir() + "/empty.pdf";
    print(pdf);
    EXPECT_FALSE(fs::exists(pdf)); // no document was started

    open(write("text.asm", "nop\n"));
    dialogs.modal_answers = {QDialog::Rejected};
    print(pdf);
    EXPECT_FALSE(fs::exists(pdf));
}

} // namespace
} // namespace torva::test
