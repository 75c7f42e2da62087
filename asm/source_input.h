// Source input: the stack of open files, the include search and the line
// reader with its counters.
#pragma once

#include <string>

namespace torva {

struct AsmSession;

enum class OpenResult { Opened, Recursion, NotFound, NameTooLong };

// Pushes the named file onto the file stack, searching the current
// directory, the current file's directory, the start directory and the
// include directories in that order.
OpenResult open_source(AsmSession& s, const std::string& name);

// Reads the next line into s.line; false at the end of all input.
bool read_line(AsmSession& s);

// Closes every open file.
void close_all_sources(AsmSession& s);

} // namespace torva
