// The Output window as a producer of messages sees it.
#pragma once

#include <string_view>

namespace torva {

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Appends a line; ignored while the Output window is absent.
    virtual void output_append(std::string_view text) = 0;
    // Creates the Output window if needed, then clears it and removes the
    // documents' line marks.
    virtual void output_show_and_clear() = 0;
};

} // namespace torva
