// Line-number margin and scroll-width tracking.
#include "editor/view_setup.h"

#include "editor/styling.h"

#include <algorithm>
#include <string>

namespace torva {

using namespace sci;

namespace {

constexpr int kMinDigits = 3;
constexpr int kMarginPadding = 8; // pixels beside the widest number

} // namespace

void set_up_view(const SciCall& sci) {
    sci.send(SCI_SETMARGINTYPEN, kLineNumberMargin, SC_MARGIN_NUMBER);
    // The component starts with a wide scroll range; from one pixel it grows
    // with the lines that are drawn.
    sci.send(SCI_SETSCROLLWIDTH, 1);
    sci.send(SCI_SETSCROLLWIDTHTRACKING, 1);
    fit_line_number_margin(sci);
}

void fit_line_number_margin(const SciCall& sci) {
    const std::string digits(
        std::max<std::size_t>(kMinDigits, std::to_string(sci.line_count()).size()), '9');
    const long width =
        sci.send_text(SCI_TEXTWIDTH, STYLE_LINENUMBER, digits.c_str()) + kMarginPadding;
    if (sci.send(SCI_GETMARGINWIDTHN, kLineNumberMargin) != width)
        sci.send(SCI_SETMARGINWIDTHN, kLineNumberMargin, width);
}

} // namespace torva
