// The terminal's title and the shortening of long paths.
#include "terminal/terminal_texts.h"

#include <algorithm>
#include <cctype>

namespace torva {
namespace {

constexpr char kParityLetters[] = "NOEMS";
constexpr const char* kStopBitTexts[] = {"1", "1.5", "2"};

} // namespace

std::string terminal_title(std::string_view port_name, const SerialSettings& s, bool logging) {
    // Values the configuration did not repair are shown as it would take them.
    std::string title = "(";
    title += port_name;
    title += ':' + std::to_string(s.baud) + ',';
    title += s.parity < 5 ? kParityLetters[s.parity] : 'N';
    title += ',' + std::to_string(s.byte_size) + ',';
    title += s.stop_bits < 3 ? kStopBitTexts[s.stop_bits] : "1";
    title += ')';
    if (logging) {
        title += "  Terminal log= ";
        title += kLogFileName;
    }
    return title;
}

std::string cant_write_text(std::string_view port_name, std::string_view reason) {
    std::string text = "Can't write to ";
    text += port_name;
    text += ": ";
    text += reason;
    return text;
}

std::string shorten_path(std::string_view path, size_t limit) {
    std::string text;
    if (path.size() <= limit || limit < 12) {
        text = path;
    } else {
        text = path.substr(0, 4);
        text += "......\\.";
        text += path.substr(path.size() - (limit - 12));
    }
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return c == '\\' ? '/' : char(std::tolower(c)); });
    return text;
}

} // namespace torva
