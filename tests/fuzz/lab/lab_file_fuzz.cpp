// Feeds arbitrary bytes to the lab file reader: whatever the text, it gives a
// lab whose times lie within its limit or one message that names the file.
#include "lab/lab_reader.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The board's descriptors beside the build's programs, when known.
    static const std::string program_dir = [] {
        const char* build = std::getenv("TORVA_BUILD_DIR");
        return std::string(build ? build : ".") + "/bin";
    }();
    std::string error;
    const auto lab =
        torva::lab::read_lab_text(std::string_view(reinterpret_cast<const char*>(data), size),
                                  "fuzz.toml", program_dir, error);
    if (!lab) {
        if (!error.starts_with("fuzz.toml:")) std::abort();
        return 0;
    }
    for (const torva::lab::Stimulus& stimulus : lab->stimuli)
        if (stimulus.at > lab->time_limit) std::abort();
    if (lab->checks.empty()) std::abort();
    return 0;
}
