// A serial link over QSerialPort, and the table of ports a terminal can open.
#include "terminal/gui/serial_port_link.h"

#include "terminal/terminal_texts.h"

#include <QMetaObject>
#include <QSerialPortInfo>

#include <algorithm>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace torva {
namespace {

QSerialPort::DataBits data_bits(uint8_t byte_size) {
    switch (byte_size) {
    case 4: // Qt knows no 4-bit bytes: the nearest it has
    case 5: return QSerialPort::Data5;
    case 6: return QSerialPort::Data6;
    case 7: return QSerialPort::Data7;
    default: return QSerialPort::Data8;
    }
}

QSerialPort::Parity parity(uint8_t value) {
    switch (value) {
    case 1: return QSerialPort::OddParity;
    case 2: return QSerialPort::EvenParity;
    case 3: return QSerialPort::MarkParity;
    case 4: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

uint8_t parity_value(QSerialPort::Parity value) {
    switch (value) {
    case QSerialPort::OddParity: return 1;
    case QSerialPort::EvenParity: return 2;
    case QSerialPort::MarkParity: return 3;
    case QSerialPort::SpaceParity: return 4;
    default: return 0;
    }
}

uint8_t stop_bits_value(QSerialPort::StopBits value) {
    switch (value) {
    case QSerialPort::OneAndHalfStop: return 1;
    case QSerialPort::TwoStop: return 2;
    default: return 0;
    }
}

QSerialPort::FlowControl qt_flow_control(const PortState& state) {
    if (state.xon_xoff_output || state.xon_xoff_input) return QSerialPort::SoftwareControl;
    if (state.cts_output_flow || state.rts_control == 2) return QSerialPort::HardwareControl;
    return QSerialPort::NoFlowControl;
}

} // namespace

std::vector<SerialPortEntry> serial_port_table() {
    std::vector<SystemPort> system;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        system.push_back({info.systemLocation().toStdString(), info.portName().toStdString()});
#ifdef Q_OS_WIN
    constexpr bool com_numbering = true;
#else
    constexpr bool com_numbering = false;
#endif
    const char* extra = std::getenv("TORVA_SERIAL_PORTS");
    return number_serial_ports(std::move(system), com_numbering, extra != nullptr ? extra : "");
}

bool port_present(const SerialPortEntry& port) {
    if (port.simulated()) return true;
    if (port.location.empty()) return false;
    QSerialPort serial;
    serial.setPortName(QString::fromStdString(port.location));
    if (!serial.open(QIODevice::ReadWrite)) return false;
    serial.close();
    return true;
}

SerialPortLink::SerialPortLink() : owner_(std::this_thread::get_id()) {}

SerialPortLink::~SerialPortLink() {
    if (port_.isOpen()) port_.close();
}

std::unique_ptr<SerialPortLink> SerialPortLink::open(const std::string& location,
                                                     std::string& error) {
    std::unique_ptr<SerialPortLink> link(new SerialPortLink);
    link->port_.setPortName(QString::fromStdString(location));
    // Qt opens a port exclusively: a lock file and, where the system has
    // it, the terminal's exclusive mode keep other programs out.
    if (!link->port_.open(QIODevice::ReadWrite)) {
        error = link->port_.errorString().toStdString();
        return nullptr;
    }
    PortState& state = link->state_;
    state.baud = uint32_t(link->port_.baudRate());
    state.byte_size = uint8_t(link->port_.dataBits());
    state.parity = parity_value(link->port_.parity());
    state.stop_bits = stop_bits_value(link->port_.stopBits());
    state.xon_char = 0x11;
    state.xoff_char = 0x13;
    return link;
}

void SerialPortLink::clear_error() {
    port_.clearError();
}

bool SerialPortLink::purge() {
    {
        const std::lock_guard lock(mutex_);
        waiting_.clear();
    }
    const bool ok = port_.clear(QSerialPort::AllDirections);
    // Nothing waits any more: writing may go on.
    gone_ = handed_ = 0;
    set_failure({});
    return ok;
}

bool SerialPortLink::get_state(PortState& state) {
    if (!port_.isOpen()) return false;
    state = state_;
    state.baud = uint32_t(port_.baudRate());
    state.byte_size = state.byte_size == 4 ? 4 : uint8_t(port_.dataBits());
    state.parity = parity_value(port_.parity());
    state.stop_bits = state.stop_bits == 1 ? 1 : stop_bits_value(port_.stopBits());
    return true;
}

bool SerialPortLink::set_state(const PortState& state) {
    if (!port_.isOpen()) return false;
    const bool stop_bits_ok =
        state.stop_bits == 1
            ? port_.setStopBits(QSerialPort::OneAndHalfStop) ||
                  port_.setStopBits(QSerialPort::TwoStop)
            : port_.setStopBits(state.stop_bits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    const QSerialPort::FlowControl flow = qt_flow_control(state);
    const bool ok =
        port_.setBaudRate(qint32(state.baud)) && port_.setDataBits(data_bits(state.byte_size)) &&
        port_.setParity(parity(state.parity)) && stop_bits_ok && port_.setFlowControl(flow);
    if (!ok) return false;
    // The modem lines: a port without them (a pseudo-terminal) refuses, and
    // that does not make the rest of the settings wrong.
    port_.setDataTerminalReady(state.dtr_control != 0);
    if (flow != QSerialPort::HardwareControl) port_.setRequestToSend(state.rts_control != 0);
    port_.clearError();
    state_ = state;
    // New settings (a flow control let go, say) give the port a new chance.
    last_move_ = Clock::now();
    set_failure({});
    return true;
}

bool SerialPortLink::set_queues(uint32_t, uint32_t) {
    // The driver's queues are the system's; Qt's own read buffer grows as
    // needed, so nothing that arrived between two polls is dropped here.
    return port_.isOpen();
}

size_t SerialPortLink::system_queue() {
#ifdef Q_OS_UNIX
    // A pseudo-terminal always says 0: its bytes count as gone once the
    // other side could read them.
    int queued = 0;
    if (::ioctl(port_.handle(), TIOCOUTQ, &queued) == 0 && queued > 0) return size_t(queued);
#endif
    // Elsewhere what the system holds counts as gone.
    return 0;
}

size_t SerialPortLink::unsent() {
    send_waiting();
    watch_output();
    size_t waiting = 0;
    {
        const std::lock_guard lock(mutex_);
        waiting = size_t(waiting_.size());
    }
    return waiting + size_t(port_.bytesToWrite()) + system_queue();
}

void SerialPortLink::finish_sending() {
#ifdef Q_OS_UNIX
    // tcdrain: only the hardware's last bytes are left, so it returns within
    // a few character times (at once on a pseudo-terminal).
    if (port_.isOpen()) ::tcdrain(port_.handle());
#endif
}

std::string SerialPortLink::write_failure() {
    watch_output();
    const std::lock_guard lock(mutex_);
    return failure_;
}

void SerialPortLink::watch_output() {
    if (!port_.isOpen()) return;
    // Qt hands the system what it takes whenever asked, without waiting.
    if (port_.bytesToWrite() > 0) port_.flush();
    const uint64_t held = uint64_t(port_.bytesToWrite()) + system_queue();
    const uint64_t gone = handed_ - std::min(handed_, held);
    const Clock::time_point now = Clock::now();
    if (gone != gone_ || held == 0) {
        gone_ = gone;
        last_move_ = now;
        if (failed()) set_failure({});
        return;
    }
    if (now - last_move_ < kStallTime || failed()) return;
    // Qt has nothing better to say of a port that only takes nothing
    // ("Resource temporarily unavailable"): the wait is the reason.
    set_failure(terminal_message::kNothingWent);
}

void SerialPortLink::set_failure(std::string reason) {
    const std::lock_guard lock(mutex_);
    failure_ = std::move(reason);
}

bool SerialPortLink::failed() {
    const std::lock_guard lock(mutex_);
    return !failure_.empty();
}

size_t SerialPortLink::read(std::span<uint8_t> buffer) {
    send_waiting();
    watch_output();
    // Without an event loop in between (a dialog sending byte by byte),
    // look at the port once without waiting.
    if (port_.bytesAvailable() == 0) {
        port_.waitForReadyRead(0);
        if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
    }
    const qint64 taken = port_.read(reinterpret_cast<char*>(buffer.data()), qint64(buffer.size()));
    return taken > 0 ? size_t(taken) : 0;
}

size_t SerialPortLink::write(std::span<const uint8_t> bytes) {
    if (bytes.empty()) return 0;
    if (std::this_thread::get_id() != owner_) {
        {
            const std::lock_guard lock(mutex_);
            if (!failure_.empty()) return 0;
            waiting_.append(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        }
        QMetaObject::invokeMethod(
            &port_, [this] { send_waiting(); }, Qt::QueuedConnection);
        return bytes.size();
    }
    watch_output();
    if (failed() || !port_.isOpen()) return 0;
    send_waiting();
    return send(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) ? bytes.size()
                                                                                   : 0;
}

void SerialPortLink::send_waiting() {
    QByteArray bytes;
    {
        const std::lock_guard lock(mutex_);
        bytes.swap(waiting_);
    }
    if (!bytes.isEmpty()) send(bytes.constData(), bytes.size());
}

bool SerialPortLink::send(const char* data, qint64 size) {
    if (!port_.isOpen()) return false;
    // Nothing was waiting: the wait for these starts now.
    if (port_.bytesToWrite() == 0 && system_queue() == 0) last_move_ = Clock::now();
    if (port_.write(data, size) != size) {
        set_failure(port_.errorString().toStdString());
        return false;
    }
    handed_ += uint64_t(size);
    // Qt sends from its buffer when the event loop comes round; hand the
    // system what it takes now, so the bytes leave in order and at once.
    port_.flush();
    return true;
}

std::unique_ptr<SerialLink> open_serial_port(const SerialPortEntry& port, std::string& error) {
    if (port.simulated()) {
        error = "the simulated board's serial interfaces are opened through the board";
        return nullptr;
    }
    if (port.location.empty()) {
        error = "no such port";
        return nullptr;
    }
    return SerialPortLink::open(port.location, error);
}

} // namespace torva
