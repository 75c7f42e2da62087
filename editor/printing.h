// Printing a document's text, or its selection, page by page through the
// component's range formatting, with a header line on every page.
#pragma once

#include "editor/scintilla_call.h"

#include <string>

class QPrinter;

namespace torva {

class DocumentWindow;
class DialogHost;
class StatusLine;

struct PrintChoice {
    bool selection = false;
    // The pages to print, both counted from 1; 0 and 0 print every page.
    int from_page = 0;
    int to_page = 0;
};

struct PrintResult {
    int printed = 0; // pages printed
    int pages = 0;   // pages formatted, printed or not
};

// Prints to a printer whose output is chosen; name goes into each page's
// header. Pages outside the chosen range are formatted, not printed, and
// printing stops after the range's last page. An empty text (or selection),
// or a range that starts after the last page, starts no document at all.
PrintResult print_pages(const SciCall& sci, QPrinter& printer, const std::string& name,
                        const PrintChoice& choice);

// The Print command: the print dialog (selection offered when there is
// one), or the default printer without a dialog; then print_pages. A range
// past the last page prints nothing and says so in the status bar.
void print_document(DocumentWindow& document, DialogHost& dialogs, StatusLine& status,
                    bool show_dialog);

} // namespace torva
