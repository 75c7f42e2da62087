// What the IDE keeps per source file in the user's settings store (beside
// the recent files and window places): the file's breakpoints by line and
// its Watch rows, each as text, under the file's absolute path.
#pragma once

#include <optional>
#include <string>

namespace torva {

enum class SourceSetting { kBreakpoints, kWatchRows };

// None when nothing was stored for the file.
std::optional<std::string> stored_source_setting(const std::string& path, SourceSetting which);
// An empty text removes the entry.
void store_source_setting(const std::string& path, SourceSetting which, const std::string& text);

} // namespace torva
