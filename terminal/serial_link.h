// One serial connection as the terminal and the download see it, whichever
// end it has: a real serial port or the simulated board's serial console.
//
// Threads: the thread that made the link (the user-interface thread) does
// everything; in addition one other thread (a download) may write while
// that thread keeps reading. Each link hands such bytes over safely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace torva {

// The port state the configuration writes: what the settings say, plus the
// flow-control limits and characters.
struct PortState {
    uint32_t baud = 0;
    uint16_t xon_limit = 0;
    uint16_t xoff_limit = 0;
    uint8_t byte_size = 8;
    uint8_t parity = 0;
    uint8_t stop_bits = 0;
    uint8_t xon_char = 0;
    uint8_t xoff_char = 0;
    uint8_t dtr_control = 0; // 0 disable, 1 enable, 2 handshake
    uint8_t rts_control = 0; // 0 disable, 1 enable, 2 handshake, 3 toggle
    bool cts_output_flow = false;
    bool dsr_output_flow = false;
    bool xon_xoff_output = false;
    bool xon_xoff_input = false;

    bool operator==(const PortState&) const = default;
};

// Read and write time-outs in milliseconds; a read interval of the largest
// value with everything else 0 makes a read return at once.
struct PortTimeouts {
    uint32_t read_interval = 0;
    uint32_t read_total_multiplier = 0;
    uint32_t read_total_constant = 0;
    uint32_t write_total_multiplier = 0;
    uint32_t write_total_constant = 0;
};

// Events a port can signal: a received character, an empty transmit queue.
inline constexpr uint32_t kEventReceivedChar = 0x1;
inline constexpr uint32_t kEventTransmitEmpty = 0x4;

class SerialLink {
public:
    virtual ~SerialLink() = default;

    // --- the owning thread ---------------------------------------------------
    // The steps of configuring a port, each true on success. A link without
    // such a thing (the simulated board) accepts them all.
    virtual void clear_error() {}
    // Drops what waits to be sent and what arrived unread.
    virtual bool purge() = 0;
    virtual bool get_state(PortState& state) = 0;
    virtual bool set_state(const PortState& state) = 0;
    virtual bool set_event_mask(uint32_t /*events*/) { return true; }
    virtual bool set_queues(uint32_t /*input*/, uint32_t /*output*/) { return true; }
    virtual bool set_timeouts(const PortTimeouts& /*timeouts*/) { return true; }

    // Bytes written that have not reached the far end yet: still in this
    // program, in the system's output queue (where the system tells), or,
    // on the simulated board, not yet taken by the program's receiver.
    // Never waits; a link moves what it can on the way.
    virtual size_t unsent() { return 0; }
    // Why writing fails ("" while it does not): a port that sends nothing
    // of what waits for a while (the far end holds it with XOFF or CTS, the
    // cable is gone) refuses further bytes until it moves again or is
    // configured anew.
    virtual std::string write_failure() { return {}; }
    // Once unsent() is 0: waits until the port's own hardware (a UART's
    // transmit FIFO and shift register) has put the last bit on the line,
    // which the system's queue no longer counts. The driver bounds the wait
    // to about twice the time its FIFO takes to empty.
    virtual void finish_sending() {}
    // Drops what was written and has not gone yet, where that is a queue of
    // this program's own (the simulated board's console); a real port keeps
    // what it has taken.
    virtual void drop_unsent() {}

    // Takes what has arrived, up to buffer.size() bytes, without waiting;
    // gives the number taken.
    virtual size_t read(std::span<uint8_t> buffer) = 0;

    // --- any thread ----------------------------------------------------------
    // Whether the far end needs a real line's pacing: a board's monitor on
    // a cable has no flow control, so a download pauses between lines. The
    // simulated board's console holds every byte until the program takes
    // it and needs none.
    virtual bool paced() const { return true; }

    // --- the owning thread or the one writer thread --------------------------
    // Queues the bytes to be sent in order, without waiting for the port;
    // gives how many were taken: all of them, or none while writing fails.
    virtual size_t write(std::span<const uint8_t> bytes) = 0;
    size_t write(std::string_view text) {
        return write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }
};

} // namespace torva
