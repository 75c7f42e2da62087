// Settling the start-up directories from the program's location and the
// command line.
#include "shell/directories.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace torva {

std::string first_token(const std::string& command_line) {
    std::size_t at = command_line.find_first_not_of(" \t");
    if (at == std::string::npos) return {};
    if (command_line[at] == '"') {
        const std::size_t end = command_line.find('"', at + 1);
        return command_line.substr(at + 1, end == std::string::npos ? end : end - at - 1);
    }
    std::size_t end = at;
    while (end < command_line.size() && static_cast<unsigned char>(command_line[end]) > ' ')
        ++end;
    return command_line.substr(at, end - at);
}

std::string unquoted(const std::string& command_line) {
    if (command_line.size() >= 2 && command_line.front() == '"' && command_line.back() == '"')
        return command_line.substr(1, command_line.size() - 2);
    return command_line;
}

std::string normalised_directory(const std::string& directory) {
    std::error_code ec;
    fs::path path = fs::weakly_canonical(fs::absolute(directory, ec), ec);
    if (ec) path = fs::path(directory).lexically_normal();
    std::string text = path.generic_string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

bool settle_directories(Directories& dirs, const std::string& program_file, const std::string& home,
                        const std::string& command_line) {
    std::error_code ec;
    const bool found = !program_file.empty();
    if (found) {
        dirs.program_dir = fs::path(program_file).parent_path().generic_string();
        fs::current_path(dirs.program_dir, ec);
    } else {
        dirs.program_dir = fs::current_path(ec).generic_string();
    }
    dirs.help_file = (fs::path(dirs.program_dir) / ".." / "doc" / "Torva6_RT12.html")
                         .lexically_normal()
                         .string();
    dirs.user_dir = home.empty() ? dirs.program_dir : home;

    std::string start = dirs.user_dir;
    if (const std::string token = first_token(command_line); !token.empty()) {
        if (fs::is_directory(fs::absolute(token, ec), ec)) start = token;
    }
    dirs.start_dir = normalised_directory(start);
    fs::current_path(dirs.start_dir, ec);
    dirs.source_dialog_dir = dirs.start_dir;
    return found;
}

} // namespace torva
