// File-system work of the editor documents: path normalisation, file types,
// access checks, last-write times, raw reads, and the decisions around a
// write: whether another program changed the file, and what a failed write
// says.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace torva {

using FileTime = std::filesystem::file_time_type;

// File types by extension (letter case ignored).
enum FileType : int {
    kFileOther = 0,            // anything else
    kFileAsm = 1,              // "asm", "s12"
    kFileC = 2,                // "c"
    kFileHeader = 3,           // "h"
    kFileLinker = 4,           // "lsc"
    kFileAdaBody = 10,         // "adb"
    kFileAdaDeclarations = 11, // "ads"
};

// Writes of a document go out in pieces of this many bytes.
inline constexpr long kSavePieceBytes = 0x20000;

// Copies the bytes from start to end of what is written into `into`.
using PieceReader = std::function<void(long start, long end, char* into)>;

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

// True when the file's last-write time is later than known: a program other
// than the editor wrote it since the editor last loaded, wrote or accepted
// it. A file whose time cannot be read has not changed.
bool changed_since(const std::string& path, FileTime known);

// How a write of a whole file ended.
struct WriteOutcome {
    enum class Failure {
        none,
        write_protected, // the file, or the directory of a new one, may not be written
        system,          // anything else; the reason says what
    };
    Failure failure = Failure::none;
    std::string reason; // the system's words
    bool ok() const { return failure == Failure::none; }
};

// The error box of a failed write: the classic question when the file is
// write protected, otherwise what the system reported.
std::string write_failure_text(const std::string& path, const WriteOutcome& outcome);

} // namespace torva
