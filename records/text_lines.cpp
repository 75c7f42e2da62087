// Regular files only, and lines split at any line end with a bounded length.
#include "records/text_lines.h"

#include <filesystem>

namespace torva {

bool open_regular_file(const std::string& path, std::ifstream& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    file.open(path, std::ios::binary);
    return file.is_open();
}

bool LineReader::next(std::string& line) {
    line.clear();
    cut_ = false;
    std::streambuf* buffer = in_.rdbuf();
    if (buffer == nullptr) return false;
    using traits = std::streambuf::traits_type;
    int c = buffer->sbumpc();
    if (c == traits::eof()) return false;
    while (c != traits::eof() && c != '\n' && c != '\r') {
        if (line.size() < max_line_)
            line.push_back(traits::to_char_type(c));
        else
            cut_ = true;
        c = buffer->sbumpc();
    }
    if (c == '\r' && buffer->sgetc() == '\n') buffer->sbumpc();
    return true;
}

} // namespace torva
