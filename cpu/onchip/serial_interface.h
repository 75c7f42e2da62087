// One asynchronous serial interface of the microcontroller: baud setting,
// control, status, a transmitter that takes a fixed number of steps per
// character, a one-byte receiver, and its interrupt request.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace torva {

class SerialInterface {
public:
    enum Register : int {
        kBaudHigh = 0,
        kBaudLow = 1,
        kControl1 = 2,
        kControl2 = 3,
        kStatus1 = 4,
        kStatus2 = 5,
        kDataHigh = 6,
        kDataLow = 7,
    };
    static constexpr int kRegisterCount = 8;

    // Status 1 bits.
    static constexpr uint8_t kTransmitEmpty = 0x80;
    static constexpr uint8_t kTransmitComplete = 0x40;
    static constexpr uint8_t kReceiveFull = 0x20;
    static constexpr uint8_t kIdle = 0x10;
    static constexpr uint8_t kOverrun = 0x08;
    // Control 2 bits.
    static constexpr uint8_t kTransmitInterrupt = 0x80;
    static constexpr uint8_t kCompleteInterrupt = 0x40;
    static constexpr uint8_t kReceiveInterrupt = 0x20;
    static constexpr uint8_t kIdleInterrupt = 0x10;
    static constexpr uint8_t kTransmitterEnable = 0x08;
    static constexpr uint8_t kReceiverEnable = 0x04;
    static constexpr uint8_t kInterruptEnables =
        kTransmitInterrupt | kCompleteInterrupt | kReceiveInterrupt | kIdleInterrupt;

    // Steps a character spends in the shift register after the step that
    // starts it.
    static constexpr int kTransmitSteps = 10;
    // Steps without a new character after which the receive line counts as
    // idle (one character time).
    static constexpr int kIdleSteps = 10;

    enum class BaudState : uint8_t { kNone, kHighWritten, kSet };

    explicit SerialInterface(uint16_t vector) : vector_(vector) {}

    // Register access by number 0-7. Without an attached device the interface
    // reads 0 and ignores writes; registers above 7 read 0.
    uint8_t read(int reg);
    void write(int reg, uint8_t value);
    // What read would give, without its effects (a view's read).
    uint8_t peek(int reg) const {
        return present_ && reg >= 0 && reg < kRegisterCount ? regs_[size_t(reg)] : 0;
    }

    // Target reset of an attached interface: baud, control and status back to
    // their idle values, any transmission dropped.
    void reset();
    // Connecting a device clears everything and leaves the transmitter idle.
    void attach();
    void detach() { present_ = false; }
    bool present() const { return present_; }

    // One instruction's worth of line time. Gives the character on the step
    // that finishes sending it. The receiver's idle detection runs on the
    // same clock.
    std::optional<uint8_t> transmit_progress();
    // A character from the attached device. False when the receiver does not
    // take it (not attached, baud not set, receiver disabled).
    bool receive(uint8_t character);
    // Whether a character would be taken now without overrunning an unread
    // one: attached, baud set, receiver enabled, data register empty.
    bool ready_to_receive() const {
        return present_ && baud_state_ == BaudState::kSet && enabled(kReceiverEnable) &&
               (regs_[kStatus1] & kReceiveFull) == 0;
    }

    // The interface's vector while one of its enabled conditions holds.
    std::optional<uint16_t> pending_vector() const;
    // False when no request is possible: no device, or no interrupt enabled.
    bool may_request() const { return present_ && (regs_[kControl2] & kInterruptEnables) != 0; }

    // Whether the run loop has to look at this interface at every step: it
    // requests an interrupt, or transmit_progress has work (a character in
    // the transmitter, the idle countdown running).
    bool needs_service() const { return pending_vector().has_value() || line_busy(); }
    bool line_busy() const {
        if (!present_) return false;
        if (idle_countdown_ != 0 && enabled(kReceiverEnable)) return true;
        return transmit_pending();
    }

    // Whether the transmitter holds a character it has not handed over yet.
    bool transmit_pending() const {
        const uint8_t idle = kTransmitEmpty | kTransmitComplete;
        return present_ && enabled(kTransmitterEnable) && (regs_[kStatus1] & idle) != idle;
    }

    uint8_t status1() const { return regs_[kStatus1]; }
    BaudState baud_state() const { return baud_state_; }
    bool transmitting() const { return tx_busy_; }
    uint16_t vector() const { return vector_; }

private:
    bool enabled(uint8_t control2_bit) const { return (regs_[kControl2] & control2_bit) != 0; }
    void idle_progress();

    uint16_t vector_;
    std::array<uint8_t, kRegisterCount> regs_{};
    bool present_ = false;
    BaudState baud_state_ = BaudState::kNone;
    bool tx_busy_ = false;
    int tx_countdown_ = 0;
    uint8_t tx_byte_ = 0;
    // Steps left until the line counts as idle after a received character;
    // 0 when no idle detection is due.
    int idle_countdown_ = 0;
};

} // namespace torva
