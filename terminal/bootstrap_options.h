// What a terminal window remembers for its bootstrap dialog while it is
// open: the two files and how the bootstrapper's image is made and sent.
#pragma once

#include <cstdint>
#include <string>

namespace torva {

struct BootstrapOptions {
    std::string bootstrapper_path;
    std::string application_path;
    bool load_application = false;
    // 0: as many bytes as the file has data bytes; else the bytes sent.
    uint32_t size = 0;
    // The address that becomes the image's place 0.
    int32_t offset = 0;
    bool leading_ff = false;
    // Pause between the image and the application, in milliseconds.
    int32_t application_delay = 0;

    bool operator==(const BootstrapOptions&) const = default;
};

} // namespace torva
