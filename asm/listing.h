// The listing: banner, one line per statement with address and code, and
// continuation lines for long code.
#pragma once

namespace torva {

struct AsmSession;

constexpr const char* kAsmTitle = "TA12";
constexpr const char* kAsmCpuName = "MC68HC12";
constexpr const char* kAsmVersion = "1.6.3";

// Writes the banner at the start of pass 2.
void listing_banner(AsmSession& s);

// Writes the current line (pass 2), when the listing is enabled and on.
// `skipped` tells that conditional assembly skipped the line.
void list_line(AsmSession& s, bool skipped);

} // namespace torva
