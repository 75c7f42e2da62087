// Feeds arbitrary bytes to the S-record loader as a load file: whatever the
// input, the load must end with a result code and memory access in bounds.
#include "io/memory_map.h"
#include "sim/srecord_loader.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("srecord-fuzz-" + std::to_string(getpid())))
            .string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    // One memory map for all inputs: creating its megabyte of flash for
    // every input would cost more than the load itself.
    static torva::MemoryMap memory;
    torva::LoadFileState state;
    state.load_file_path = path;
    const int result = torva::load_srecord_file(path, memory, state, [](std::string_view) {});
    if (result != torva::kLoadOk && result != torva::kLoadError) std::abort();
    std::filesystem::remove(path);
    return 0;
}
