// Register behaviour, transmit timing and receive path of a serial interface.
#include "cpu/onchip/serial_interface.h"

namespace torva {

uint8_t SerialInterface::read(int reg) {
    if (!present_ || reg < 0 || reg >= kRegisterCount) return 0;
    switch (reg) {
    case kBaudLow:
        if (baud_state_ == BaudState::kHighWritten) baud_state_ = BaudState::kSet;
        break;
    case kDataLow: {
        // Reading the received byte empties the receiver and clears overrun
        // and idle.
        const uint8_t byte = regs_[kDataLow];
        regs_[kStatus1] &= uint8_t(~(kReceiveFull | kOverrun | kIdle));
        return byte;
    }
    default: break;
    }
    return regs_[reg];
}

void SerialInterface::write(int reg, uint8_t value) {
    if (!present_ || reg < 0 || reg >= kRegisterCount) return;
    // The baud divisor is latched by the low byte; until then the rest of the
    // interface does not listen.
    if (reg == kBaudHigh) {
        baud_state_ = BaudState::kHighWritten;
        regs_[kBaudHigh] = value & 0x1F;
        return;
    }
    if (reg == kBaudLow) {
        if (baud_state_ != BaudState::kHighWritten) return;
        regs_[kBaudLow] = value;
        if (regs_[kBaudHigh] != 0 || value != 0) baud_state_ = BaudState::kSet;
        return;
    }
    if (baud_state_ != BaudState::kSet) return;
    switch (reg) {
    case kControl1:
    case kControl2: regs_[reg] = value; break;
    case kStatus2: regs_[kStatus2] = value & 0x06; break;
    case kDataHigh: regs_[kDataHigh] = value & 0x40; break;
    case kDataLow:
        regs_[kStatus1] &= uint8_t(~(kTransmitEmpty | kTransmitComplete));
        tx_byte_ = value;
        break;
    default: break; // status 1 is read-only
    }
}

void SerialInterface::reset() {
    if (!present_) return;
    for (int reg : {kBaudHigh, kBaudLow, kControl1, kControl2})
        regs_[reg] = 0;
    regs_[kStatus1] = kTransmitEmpty | kTransmitComplete;
    regs_[kStatus2] = 0;
    tx_busy_ = false;
    tx_countdown_ = 0;
    idle_countdown_ = 0;
    baud_state_ = BaudState::kNone;
}

void SerialInterface::attach() {
    regs_.fill(0);
    regs_[kStatus1] = kTransmitEmpty | kTransmitComplete;
    baud_state_ = BaudState::kNone;
    tx_busy_ = false;
    tx_countdown_ = 0;
    tx_byte_ = 0;
    idle_countdown_ = 0;
    present_ = true;
}

void SerialInterface::idle_progress() {
    // The line goes idle once, one character time after the last character;
    // it is not idle again until another character has come.
    if (idle_countdown_ == 0 || !enabled(kReceiverEnable)) return;
    if (--idle_countdown_ == 0) regs_[kStatus1] |= kIdle;
}

std::optional<uint8_t> SerialInterface::transmit_progress() {
    if (!present_) return std::nullopt;
    idle_progress();
    if (!enabled(kTransmitterEnable)) return std::nullopt;
    const uint8_t idle = kTransmitEmpty | kTransmitComplete;
    if ((regs_[kStatus1] & idle) == idle) return std::nullopt;
    if (!tx_busy_) {
        tx_busy_ = true;
        tx_countdown_ = kTransmitSteps;
        return std::nullopt;
    }
    if (tx_countdown_ > 0) {
        --tx_countdown_;
        return std::nullopt;
    }
    regs_[kStatus1] |= idle;
    tx_busy_ = false;
    return tx_byte_;
}

bool SerialInterface::receive(uint8_t character) {
    if (!present_ || baud_state_ != BaudState::kSet || !enabled(kReceiverEnable)) return false;
    // A byte arriving while the last one is still unread overruns it.
    if (regs_[kStatus1] & kReceiveFull) regs_[kStatus1] |= kOverrun;
    regs_[kDataLow] = character;
    regs_[kStatus1] |= kReceiveFull;
    idle_countdown_ = kIdleSteps;
    return true;
}

std::optional<uint16_t> SerialInterface::pending_vector() const {
    const uint8_t status = regs_[kStatus1];
    const auto wants = [&](uint8_t enable, uint8_t flag) {
        return enabled(enable) && (status & flag) != 0;
    };
    const bool transmit =
        enabled(kTransmitterEnable) &&
        (wants(kTransmitInterrupt, kTransmitEmpty) || wants(kCompleteInterrupt, kTransmitComplete));
    const bool receive = enabled(kReceiverEnable) &&
                         (wants(kReceiveInterrupt, kReceiveFull) || wants(kIdleInterrupt, kIdle));
    if (present_ && (transmit || receive)) return vector_;
    return std::nullopt;
}

} // namespace torva
