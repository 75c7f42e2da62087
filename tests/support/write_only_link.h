// A serial link for tests that only watch what is written: configuration
// steps succeed and nothing ever arrives.
#pragma once

#include "terminal/serial_link.h"

namespace torva::test {

class WriteOnlyLink : public SerialLink {
public:
    bool purge() override { return true; }
    bool get_state(PortState&) override { return true; }
    bool set_state(const PortState&) override { return true; }
    size_t read(std::span<uint8_t>) override { return 0; }
    using SerialLink::write;
};

} // namespace torva::test
