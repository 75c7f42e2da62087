// The simulator's S-record loader: reads a load file into simulated memory
// and keeps what the run control needs to know about the current load file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace torva {

class MemoryMap;
struct DebugMap;

// Receives text for the output window (lines end with '\n').
using TextSink = std::function<void(std::string_view)>;

struct LoadFileState {
    // Where PC goes when the simulator resets without the reset vector.
    uint32_t load_start_address = 0;
    // The simulator's current load file, its base name ("Reload (%s)") and
    // its modification time after the last successful load.
    std::string load_file_path;
    std::string load_file_base_name;
    std::filesystem::file_time_type load_file_time{};
    // The debug map of the load file's build, when one sits beside it
    // (read again with every load; a new object each time).
    std::shared_ptr<const DebugMap> debug_map;
};

enum LoadResult : int {
    kLoadOk = 0,
    kLoadCannotOpen = 1, // memory unchanged, nothing reported
    kLoadError = 2,      // bytes stored before the error stay in memory
};

// Loads the S-record file at path. ROM write enable is forced on while it
// runs and restored afterwards. A refused byte writes "VM: Can't write to
// simulator memory at 0x%08lX\n" to out. On success the time stamp and base
// name of state.load_file_path are recorded, whichever file was read.
int load_srecord_file(const std::string& path, MemoryMap& memory, LoadFileState& state,
                      const TextSink& out);

// The part of a path after its last directory separator ('/' or '\').
std::string load_file_base_name(std::string_view path);

} // namespace torva
