// A serial console on an on-chip serial interface: a queue of bytes typed
// towards the board and a queue of bytes the board sent, tied, if wanted,
// to an input source and an output stream (standard input and output).
#pragma once

#include "iosim/device.h"

#include <cstdint>
#include <deque>
#include <ostream>
#include <string>
#include <string_view>

namespace torva {

// Where a console's input comes from once its queue runs dry, such as
// standard input. A source never waits: it gives what has arrived.
class SerialInput {
public:
    virtual ~SerialInput() = default;
    // Appends the bytes that can be had now (none is fine). False once the
    // input has ended and nothing more will come.
    virtual bool read_available(std::string& bytes) = 0;
};

class SerialDevice final : public Device {
public:
    // Offsets as the board's serial connection uses them. Every byte value
    // is data, so "no character" has an offset of its own: the board reads
    // kReceiveReady first and kReceive only when it said 1.
    enum Offset : uint32_t { kReceive = 0, kTransmit = 1, kReceiveReady = 2 };
    // Polls between two characters handed to the board, so that a program
    // that reads in a loop sees them one at a time rather than overrunning.
    // The board polls once per character time (ten steps): a typed
    // character every hundred steps or so.
    static constexpr uint32_t kDefaultReceiveGap = 10;

    explicit SerialDevice(std::string address_text)
        : Device(DeviceType::kSerial, std::move(address_text)) {}

    // Read kReceiveReady: one poll of the board; 1 when a character waits
    // for it (the gap since the last one has passed), else 0. Read
    // kReceive: that character (0 when none waits). Write kReceive (any
    // value): the board took the character. Write kTransmit: a character
    // the board sent.
    uint8_t read(uint32_t offset) override;
    void write(uint32_t offset, uint8_t value) override;

    // Bytes for the board, every value included.
    void type_text(std::string_view text);
    size_t pending_input() const { return to_board_.size(); }
    // Drops the bytes for the board that it has not taken yet.
    void drop_input();
    // True once the attached input has ended (or none is attached) and
    // every byte of it went to the board: nothing more will come. Takes
    // what the input has now when the queue is empty.
    bool input_ended();
    void set_receive_gap(uint32_t polls) { receive_gap_ = polls; }

    // Bytes from the board, oldest first, and taking them out (the window
    // or the linked terminal that shows them takes them).
    const std::string& output() const { return from_board_; }
    std::string take_output();

    // Ties the queues to an input source and an output stream: characters
    // the board sends are written and flushed to out (instead of kept in
    // output()); when the input queue runs dry, it takes what the source
    // has. Null unties.
    void attach_input(SerialInput* in) { input_ = in; }
    void attach_output(std::ostream* out) { output_ = out; }

    // A terminal window linked to the simulated port takes the byte stream
    // over: it takes what the board sends with take_output() and types
    // towards the board with type_text(). Meanwhile the console's own window
    // shows that it is linked and leaves both queues to the terminal.
    void set_linked(bool linked);
    bool linked() const { return linked_; }

private:
    // Refills an empty input queue from the attached source.
    void refill();

    std::deque<uint8_t> to_board_;
    std::string from_board_;
    uint32_t receive_gap_ = kDefaultReceiveGap;
    uint32_t polls_since_taken_ = UINT32_MAX;
    SerialInput* input_ = nullptr;
    std::ostream* output_ = nullptr;
    bool linked_ = false;
};

} // namespace torva
