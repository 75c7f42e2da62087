// Opening a source file at a line, for any window that points at one (an
// Output message, the simulator's current line).
#pragma once

#include <string>

namespace torva {

class SourceOpener {
public:
    virtual ~SourceOpener() = default;
    // Opens (or activates) the source and marks its one-based line.
    virtual void open_source_at(const std::string& path, int line_number) = 0;
};

} // namespace torva
