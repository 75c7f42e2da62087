// A serial console on an on-chip serial interface: a queue of bytes typed
// towards the board and a queue of bytes the board sent, either of which can
// be tied to a stream such as standard input or output.
#pragma once

#include "iosim/device.h"

#include <cstdint>
#include <deque>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace torva {

class SerialDevice final : public Device {
public:
    // Offsets as the board's serial connection uses them.
    enum Offset : uint32_t { kReceive = 0, kTransmit = 1 };
    // Polls between two characters handed to the board, so that a program
    // that reads in a loop sees them one at a time rather than overrunning.
    // The board polls once per character time (ten steps): a typed
    // character every hundred steps or so.
    static constexpr uint32_t kDefaultReceiveGap = 10;

    explicit SerialDevice(std::string address_text)
        : Device(DeviceType::kSerial, std::move(address_text)) {}

    // Read offset 0: the next character for the board, 0 when there is none
    // (yet). Write offset 0 (any value): the board took that character.
    // Write offset 1: a character the board sent. A zero byte cannot travel
    // towards the board, since 0 means "nothing".
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;

    // Bytes for the board; zero bytes are dropped.
    void type_text(std::string_view text);
    size_t pending_input() const { return to_board_.size(); }
    // True once the attached input stream has ended (or none is attached)
    // and every byte of it went to the board: nothing more will come. Reads
    // ahead from the stream (blocking) when the queue is empty.
    bool input_ended();
    void set_receive_gap(uint32_t polls) { receive_gap_ = polls; }

    // Bytes from the board, oldest first, and taking them out (the window
    // or the linked terminal that shows them takes them).
    const std::string& output() const { return from_board_; }
    std::string take_output();

    // Ties the queues to streams: characters the board sends are written and
    // flushed to out (instead of kept in output()); when the input queue runs dry, the next byte is
    // read from in (a blocking read: meant for files and pipes). Null unties.
    void attach_input(std::istream* in) { input_ = in; }
    void attach_output(std::ostream* out) { output_ = out; }

    // A terminal window linked to the simulated port takes the byte stream
    // over: it takes what the board sends with take_output() and types
    // towards the board with type_text(). Meanwhile the console's own window
    // shows that it is linked and leaves both queues to the terminal.
    void set_linked(bool linked);
    bool linked() const { return linked_; }

private:
    // Refills an empty input queue from the attached stream.
    void refill();

    std::deque<uint8_t> to_board_;
    std::string from_board_;
    uint32_t receive_gap_ = kDefaultReceiveGap;
    uint32_t polls_since_taken_ = UINT32_MAX;
    std::istream* input_ = nullptr;
    std::ostream* output_ = nullptr;
    bool linked_ = false;
};

} // namespace torva
