// The serial link over a real serial port (or a pseudo-terminal), through
// QSerialPort; and the list of the ports a terminal can open.
#pragma once

#include "terminal/port_numbering.h"
#include "terminal/serial_link.h"

#include <QSerialPort>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace torva {

// Every port that has a number now: the system's serial devices, the paths
// listed in TORVA_SERIAL_PORTS (colon-separated) and the simulated board's
// two interfaces.
std::vector<SerialPortEntry> serial_port_table();
// True when the port can be opened for reading and writing and closed
// again; a simulated port is always there.
bool port_present(const SerialPortEntry& port);

// A port opened exclusively. Qt offers less than the port configuration
// names, so some settings are the nearest it has:
//  - byte size 4 is taken as 5 (Qt knows 5 to 8);
//  - one and a half stop bits become two where the system has no 1.5;
//  - XON/XOFF uses the system's characters ($11/$13), not $12/$10, and the
//    XON/XOFF limits and the driver's queue sizes cannot be set (kept as
//    given, so the state reads back what was written);
//  - XON/XOFF on transmit or receive turns on XON/XOFF both ways; CTS output
//    flow or RTS handshake turns on RTS/CTS flow; DSR output flow has no
//    counterpart;
//  - DTR and RTS "enable" raise the line, "disable" lower it; DTR handshake
//    and RTS toggle raise it. A port without those lines (a
//    pseudo-terminal) takes the rest of the settings all the same.
// Writing never waits for the port: bytes queue, and a port that sends
// none of them for a while (held by XOFF or CTS) fails writes until it
// moves again, so the window stays responsive and the failure is told.
class SerialPortLink final : public SerialLink {
public:
    // Opens the port at location (a device path or "COM3"); null with a
    // reason in error when it cannot be opened.
    static std::unique_ptr<SerialPortLink> open(const std::string& location, std::string& error);
    ~SerialPortLink() override;
    SerialPortLink(const SerialPortLink&) = delete;
    SerialPortLink& operator=(const SerialPortLink&) = delete;

    // Purging and configuring also end a write failure.
    void clear_error() override;
    bool purge() override;
    bool get_state(PortState& state) override;
    bool set_state(const PortState& state) override;
    bool set_queues(uint32_t input, uint32_t output) override;
    // Qt's buffer, the system's output queue and a writer thread's bytes.
    size_t unsent() override;
    std::string write_failure() override;
    void finish_sending() override;
    size_t read(std::span<uint8_t> buffer) override;
    // Never waits for the port. From the owning thread the bytes go to Qt,
    // which hands the system what it takes now and the rest as the event
    // loop comes round; from the writer thread they are handed to the
    // owning thread, which passes them on as soon as it gets to it.
    size_t write(std::span<const uint8_t> bytes) override;
    using SerialLink::write;

    // The port itself, for what only the system can tell (tests read the
    // line settings through its handle).
    QSerialPort& port() { return port_; }

    // Nothing of what waits going out for this long is a write failure.
    static constexpr std::chrono::milliseconds kStallTime{2000};

private:
    using Clock = std::chrono::steady_clock;

    SerialPortLink();
    // Sends what the writer thread left; on the owning thread.
    void send_waiting();
    // False when Qt refuses the bytes (the port is gone).
    bool send(const char* data, qint64 size);
    // Bytes in the system's output queue, where the system tells.
    size_t system_queue();
    // Looks whether the bytes written move; a port that sends none of them
    // for kStallTime has failed until they move again.
    void watch_output();
    void set_failure(std::string reason);
    bool failed();

    QSerialPort port_;
    std::thread::id owner_;
    PortState state_; // what was last written, for the fields Qt cannot read
    std::mutex mutex_;
    QByteArray waiting_;  // from the writer thread, not yet sent; under mutex_
    std::string failure_; // why writing fails, "" while it does not; under mutex_
    // Bytes handed to Qt, and of them the ones that had left the port when
    // output was last seen to move.
    uint64_t handed_ = 0;
    uint64_t gone_ = 0;
    Clock::time_point last_move_;
};

// The link for a port of the table: a real port opened exclusively. Null
// with the reason in error when it cannot be opened (a simulated port
// cannot be opened here: it needs the simulated board).
std::unique_ptr<SerialLink> open_serial_port(const SerialPortEntry& port, std::string& error);

} // namespace torva
