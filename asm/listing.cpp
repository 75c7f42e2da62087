// Listing lines: "AAAAAA CC CC CC CC CC CC  NNNN. source".
#include "asm/listing.h"

#include "asm/session.h"

#include <cstdio>

namespace torva {

namespace {
constexpr const char* kNotice = "TORVA 6 for RT12 built-in assembler for the CPU12 family";
// Added to the banner's first line when other assemblers' syntax was on.
constexpr const char* kCompatNote = " (other assemblers' syntax accepted)";

constexpr char kHex[] = "0123456789ABCDEF";

void append_hex(std::string& out, unsigned value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kHex[(value >> shift) & 15];
}

// Six bytes of code from `from`: " XX" each in byte mode, " XXXX" per pair
// and three blanks in word mode; blanks past the end.
void append_code(AsmSession& s, int from) {
    if (s.byte_mode) {
        for (int i = from; i < from + 6; ++i) {
            if (i < s.code_count) {
                s.listing_text += ' ';
                append_hex(s.listing_text, s.code[size_t(i)], 2);
            } else {
                s.listing_text += "   ";
            }
        }
        return;
    }
    for (int i = from; i < from + 6; i += 2) {
        if (i + 1 < s.code_count) {
            s.listing_text += ' ';
            append_hex(s.listing_text, unsigned(s.code[size_t(i)] << 8 | s.code[size_t(i + 1)]), 4);
        } else {
            s.listing_text += "     ";
        }
    }
    s.listing_text += "   ";
}
} // namespace

void listing_banner(AsmSession& s) {
    s.listing_text += std::string(kAsmTitle) + " - " + kAsmCpuName +
                      " Absolute crossassembler, Version " + kAsmVersion;
    if (s.compat_used) s.listing_text += kCompatNote;
    s.listing_text += std::string("\n") + kNotice + "\n\n";
    s.listing_text += "\nFile: " + s.listing_path + "\n";
}

void list_line(AsmSession& s, bool skipped) {
    if (!s.listing_enabled || !s.listing_on) return;
    if (skipped && !s.listcond && !s.force_list) return;
    if (s.show_address) {
        append_hex(s.listing_text, (s.line_start >> 16) & 0xFF, 2);
        append_hex(s.listing_text, s.line_start & 0xFFFF, 4);
    } else {
        s.listing_text += "      ";
    }
    append_code(s, 0);
    // " %4.1d." without the cost of printf on every line.
    const std::string number = std::to_string(s.listing_line);
    s.listing_text += ' ';
    if (number.size() < 4) s.listing_text.append(4 - number.size(), ' ');
    s.listing_text += number;
    s.listing_text += '.';
    s.listing_text += ' ';
    const std::string& line = s.line_as_read();
    s.listing_text += line;
    if (line.empty() || line.back() != '\n') s.listing_text += '\n';
    for (int from = 6; from < s.code_count; from += 6) {
        s.listing_text += "      ";
        append_code(s, from);
        s.listing_text += '\n';
    }
    if (s.nolist_pending) {
        s.listing_on = false;
        s.nolist_pending = false;
    }
    if (s.marker_pending) {
        s.listing_text += "---- File: \"" + s.current_file + "\"\n";
        s.marker_pending = false;
    }
}

} // namespace torva
