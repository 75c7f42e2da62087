// Configuring a serial link from a settings record: purge, read the port's
// state, repair the record, write the state, then the event mask, the queue
// sizes and the time-outs, each failure with its own message.
#pragma once

#include "terminal/serial_link.h"
#include "terminal/serial_settings.h"

namespace torva {

struct ConfigureResult {
    bool ok = true;
    const char* message = nullptr; // the failing step's message; none for the purge
};

// The flow-control thresholds and characters every configuration writes;
// the characters are $12 and $10, not the usual $11 and $13.
inline constexpr uint16_t kXonLimit = 10;
inline constexpr uint16_t kXoffLimit = 10;
inline constexpr uint8_t kXonChar = 0x12;
inline constexpr uint8_t kXoffChar = 0x10;
inline constexpr uint32_t kInputQueue = 1024;
inline constexpr uint32_t kOutputQueue = 128;

// Whether a configuration first purges what waits in the port's queues,
// both ways (opening a port, new settings), or keeps it (a bootstrap's
// change of stage: what was sent must still go, what the far end answered
// must still be read).
enum class PortQueues { kPurge, kKeep };

// Configures the link; settings are repaired in place first. The fields of
// the state the settings do not name keep what the port reported.
ConfigureResult configure_port(SerialLink& link, SerialSettings& settings,
                               PortQueues queues = PortQueues::kPurge);

// The state the settings give, over the state the port reported.
PortState port_state_for(const SerialSettings& settings, PortState reported);

} // namespace torva
