// File-system work of the editor documents: path normalisation, file types,
// access checks, last-write times, raw reads and block copies.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace torva {

using FileTime = std::filesystem::file_time_type;

// Writes of a document go out in pieces of this many bytes.
inline constexpr long kSavePieceBytes = 0x20000;
// Backups are copied in blocks of this many bytes.
inline constexpr size_t kCopyBlockBytes = 512;

// "\" becomes "/", doubled separators collapse, "." and ".." are resolved.
std::string normalise_path(const std::string& path);

// The file name part of a path.
std::string file_name_of(const std::string& path);

// The file type of a path by its extension: the text after the last ".",
// cut at a double quote, letter case ignored (see FileType).
int file_type_of(const std::string& path);

// The extension in lower case ("" when there is none).
std::string lower_extension(const std::string& path);

// The backup beside the file: same directory, "~" + name + "~".
std::string backup_path_for(const std::string& path);

enum class Access { missing, unreadable, read_only, writable };
// A file without any write permission bit counts as read-only even for a
// user whom the system would let write it.
Access check_access(const std::string& path);

std::optional<FileTime> last_write_time(const std::string& path);

// The whole file as raw bytes, or none when it cannot be opened.
std::optional<std::string> read_raw(const std::string& path);

// Copies from onto to in blocks of kCopyBlockBytes; false when either file
// cannot be opened.
bool copy_in_blocks(const std::string& from, const std::string& to);

} // namespace torva
