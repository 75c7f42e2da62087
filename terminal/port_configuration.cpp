// The configuration steps of a serial link.
#include "terminal/port_configuration.h"

#include "terminal/terminal_texts.h"

#include <cstdint>

namespace torva {

PortState port_state_for(const SerialSettings& s, PortState state) {
    state.baud = s.baud;
    state.xon_limit = kXonLimit;
    state.xoff_limit = kXoffLimit;
    state.byte_size = s.byte_size;
    state.parity = s.parity;
    state.stop_bits = s.stop_bits;
    state.xon_char = kXonChar;
    state.xoff_char = kXoffChar;
    state.dtr_control = uint8_t(line_control::dtr(s.line_control));
    state.rts_control = uint8_t(line_control::rts(s.line_control));
    state.cts_output_flow = (s.flow_control & flow_control::kCtsOut) != 0;
    state.dsr_output_flow = (s.flow_control & flow_control::kDsrOut) != 0;
    state.xon_xoff_output = (s.flow_control & flow_control::kXonXoffTransmit) != 0;
    state.xon_xoff_input = (s.flow_control & flow_control::kXonXoffReceive) != 0;
    return state;
}

ConfigureResult configure_port(SerialLink& link, SerialSettings& settings, PortQueues queues) {
    using namespace terminal_message;
    link.clear_error();
    if (queues == PortQueues::kPurge && !link.purge()) return {false, nullptr};
    PortState state;
    if (!link.get_state(state)) return {false, kCantObtainState};
    repair_serial_settings(settings);
    if (!link.set_state(port_state_for(settings, state))) return {false, kCantSetState};
    if (!link.set_event_mask(kEventReceivedChar | kEventTransmitEmpty))
        return {false, kCantSetMask};
    if (!link.set_queues(kInputQueue, kOutputQueue)) return {false, kCantSetBuffer};
    // A read returns at once with whatever has arrived.
    link.set_timeouts({UINT32_MAX, 0, 0, 0, 0});
    return {};
}

} // namespace torva
