// Path, type, access and copy helpers of the editor documents.
#include "editor/document_files.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace torva {

std::string normalise_path(const std::string& path) {
    std::string text = path;
    std::replace(text.begin(), text.end(), '\\', '/');
    if (text.empty()) return text;
    return fs::path(text).lexically_normal().generic_string();
}

std::string file_name_of(const std::string& path) {
    return fs::path(normalise_path(path)).filename().string();
}

std::string lower_extension(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = path.substr(dot + 1);
    if (const auto quote = ext.find('"'); quote != std::string::npos) ext.resize(quote);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

int file_type_of(const std::string& path) {
    struct Row {
        const char* extension;
        int type;
    };
    static constexpr Row kTypes[] = {
        {"s12", kFileAsm},
        {"asm", kFileAsm},
        {"c", kFileC},
        {"h", kFileHeader},
        {"lsc", kFileLinker},
        {"adb", kFileAdaBody},
        {"ads", kFileAdaDeclarations},
    };
    const std::string ext = lower_extension(path);
    for (const Row& row : kTypes)
        if (ext == row.extension) return row.type;
    return kFileOther;
}

std::string backup_path_for(const std::string& path) {
    const fs::path file(path);
    std::string name = file.filename().string();
    name.insert(name.begin(), '~');
    name.push_back('~');
    return (file.parent_path() / name).generic_string();
}

Access check_access(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    // A directory or a device is no document.
    if (ec || !fs::is_regular_file(status)) return Access::missing;
    if (!std::ifstream(path, std::ios::binary).is_open()) return Access::unreadable;
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none) return Access::read_only;
    // Opening for appending writes nothing and leaves the file's time alone.
    if (!std::ofstream(path, std::ios::binary | std::ios::app).is_open()) return Access::read_only;
    return Access::writable;
}

std::optional<FileTime> last_write_time(const std::string& path) {
    std::error_code ec;
    const FileTime time = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return time;
}

std::optional<std::string> read_raw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool changed_since(const std::string& path, FileTime known) {
    const auto now = last_write_time(path);
    return now && *now > known;
}

std::string write_failure_text(const std::string& path, const WriteOutcome& outcome) {
    if (outcome.failure == WriteOutcome::Failure::system)
        return "Can't write to file '" + path + "': " + outcome.reason;
    return "Can't write to file '" + path + "', is file write protected?";
}

} // namespace torva
