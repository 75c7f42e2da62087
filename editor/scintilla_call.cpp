// The adapter's sends, text fetches and table-row helpers.
#include "editor/scintilla_call.h"

#include <Qsci/qsciscintillabase.h>

#include <algorithm>

namespace torva {

long SciCall::send(unsigned message, unsigned long wparam, long lparam) const {
    return component_->SendScintilla(message, wparam, lparam);
}

long SciCall::send_text(unsigned message, unsigned long wparam, const char* text) const {
    return component_->SendScintilla(message, static_cast<uintptr_t>(wparam), text);
}

std::string SciCall::text_range(long start, long end) const {
    start = std::clamp(start, 0L, length());
    end = std::clamp(end, start, length());
    // The component writes the range plus a terminating zero.
    std::string bytes(static_cast<size_t>(end - start) + 1, '\0');
    component_->SendScintilla(sci::SCI_GETTEXTRANGE, start, end, bytes.data());
    bytes.pop_back();
    return bytes;
}

void SciCall::set_property(const char* key, const char* value) const {
    component_->SendScintilla(sci::SCI_SETPROPERTY, key, value);
}

void SciCall::set_one_style(int background, const StyleRow& row) const {
    if (row.fore >= 0) send(sci::SCI_STYLESETFORE, row.style, row.fore);
    send(sci::SCI_STYLESETBACK, row.style, background);
    if (row.bold >= 0) send(sci::SCI_STYLESETBOLD, row.style, row.bold);
    if (row.underline >= 0) send(sci::SCI_STYLESETUNDERLINE, row.style, row.underline);
}

void SciCall::define_marker(const MarkerRow& row) const {
    send(sci::SCI_MARKERDEFINE, row.number, row.shape);
    send(sci::SCI_MARKERSETFORE, row.number, row.fore);
    if (row.back >= 0) send(sci::SCI_MARKERSETBACK, row.number, row.back);
}

} // namespace torva
