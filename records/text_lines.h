// Reading the text files a user hands the simulator (target descriptors,
// load files): regular files only, any platform's line ends, bounded lines.
#pragma once

#include <cstddef>
#include <fstream>
#include <istream>
#include <string>

namespace torva {

// Opens path for reading when it names a regular file (links followed).
// A directory, a FIFO or a device such as /dev/zero is refused before it is
// opened: such a file may never end, or block the opening itself.
bool open_regular_file(const std::string& path, std::ifstream& file);

// Splits a stream into lines. LF, CR LF and a lone CR (older Macintosh
// editors) each end a line; a last line without an end counts as well.
class LineReader {
public:
    LineReader(std::istream& in, size_t max_line) : in_(in), max_line_(max_line) {}

    // The next line without its end; false at the end of the stream. A line
    // longer than max_line gives its first max_line characters, the rest is
    // skipped and cut() tells.
    bool next(std::string& line);
    bool cut() const { return cut_; }

private:
    std::istream& in_;
    size_t max_line_;
    bool cut_ = false;
};

} // namespace torva
