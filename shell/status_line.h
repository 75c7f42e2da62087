// The frame's status bar as a window sees it: part 0 for texts ("Ready") and
// part 1 for the line and column.
#pragma once

#include <QString>

namespace torva {

class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void set_status_text(const QString& text) = 0;
    virtual void set_status_ready() = 0;
    virtual void set_line_column_text(const QString& text) = 0;
};

} // namespace torva
