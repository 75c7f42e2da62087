// Reading a lab file (TOML): every key checked, every value turned into the
// lab's own terms, and every place the lab names checked against the board
// it describes. A fault is one message that names the file, line and column.
#pragma once

#include "lab/lab.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace torva::lab {

// Reads the lab from its file. program_dir is where the program lives: the
// board's default descriptors are found beside it. On failure error holds
// "FILE:LINE:COLUMN: what is wrong" (or "FILE: ..." when no line applies).
std::optional<Lab> read_lab_file(const std::filesystem::path& file,
                                 const std::filesystem::path& program_dir, std::string& error);

// The same for a lab's text; file names it in messages and is where paths
// in it are relative to.
std::optional<Lab> read_lab_text(std::string_view text, const std::filesystem::path& file,
                                 const std::filesystem::path& program_dir, std::string& error);

} // namespace torva::lab
