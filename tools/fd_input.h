// Standard input (or any file descriptor) as a serial console's input
// source, read without ever blocking: a silent terminal or pipe gives
// nothing yet, and the run goes on. POSIX only.
#pragma once

#include "iosim/devices/serial_device.h"

namespace torva {

class FdInput final : public SerialInput {
public:
    explicit FdInput(int fd) : fd_(fd) {}

    // What can be read now, up to a buffer's worth; false at the end of the
    // input (or when it cannot be read any more).
    bool read_available(std::string& bytes) override;

private:
    int fd_;
};

} // namespace torva
