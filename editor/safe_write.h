// Writing a file whole or not at all: the bytes go to a temporary file
// beside it, which replaces the file only when every byte is written, so a
// full disk or a failing device leaves the old file as it was.
#pragma once

#include "editor/document_files.h"

#include <string>
#include <string_view>

namespace torva {

// Writes length bytes, fetched in pieces of at most piece_bytes.
WriteOutcome write_whole(const std::string& path, long length, long piece_bytes,
                         const PieceReader& read);
WriteOutcome write_whole(const std::string& path, std::string_view bytes);

} // namespace torva
