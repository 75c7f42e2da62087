// The serial link to the simulated board: a terminal on one of the board's
// two serial interfaces, through the serial console attached there. Typed
// bytes queue at the console until the program's receiver takes them, one
// at a time; what the program transmits is read from the console.
#pragma once

#include "terminal/serial_link.h"

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace torva {

class Board;
class SerialDevice;

class SimulatedLink final : public SerialLink {
public:
    // Bytes from the board that the terminal has not read yet are kept up
    // to this many; beyond it the newest are lost, as with an overrun.
    static constexpr size_t kReceivedLimit = 1 << 20;

    // Links a terminal to the console on the interface (0 or 1), connecting
    // a console on the interface's row when it has none; null when none can
    // be connected. Call on the thread that runs the board.
    static std::unique_ptr<SimulatedLink> open(Board& board, int interface);
    ~SimulatedLink() override;
    SimulatedLink(const SimulatedLink&) = delete;
    SimulatedLink& operator=(const SimulatedLink&) = delete;

    int interface() const { return interface_; }
    // Whether a serial console is attached to the interface now.
    bool console_present();

    // A simulated port has no hardware state: it keeps what it was given.
    bool purge() override;
    bool get_state(PortState& state) override;
    bool set_state(const PortState& state) override;
    // What waits for the console and what waits there for the program.
    size_t unsent() override;
    void drop_unsent() override;
    // The console holds bytes until the program takes them.
    bool paced() const override { return false; }
    // Passes waiting bytes to the console, then takes what the board sent.
    // The console that replaced an earlier one (the board's devices were
    // set up again) is linked on the way.
    size_t read(std::span<uint8_t> buffer) override;
    // From the board's thread the bytes reach the console at once; from a
    // writer thread they wait for the next read.
    size_t write(std::span<const uint8_t> bytes) override;
    using SerialLink::write;

private:
    SimulatedLink(Board& board, int interface);
    // The console now on the interface, marked as linked; null when none.
    SerialDevice* linked_console();
    void pass_waiting_bytes();

    Board& board_;
    int interface_;
    int32_t linked_handle_ = -1;
    std::thread::id owner_;
    PortState state_;
    std::mutex mutex_;
    std::string waiting_; // written from the writer thread, not yet passed on
    std::deque<uint8_t> received_;
};

} // namespace torva
