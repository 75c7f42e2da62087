// The link between a terminal and the simulated board's serial console.
#include "io/simulated_link.h"

#include "io/board.h"
#include "io/serial_console.h"
#include "iosim/devices/serial_device.h"

#include <algorithm>

namespace torva {

std::unique_ptr<SimulatedLink> SimulatedLink::open(Board& board, int interface) {
    if (connect_serial_console(board, interface) == nullptr) return nullptr;
    std::unique_ptr<SimulatedLink> link(new SimulatedLink(board, interface));
    link->linked_console();
    return link;
}

SimulatedLink::SimulatedLink(Board& board, int interface)
    : board_(board), interface_(interface), owner_(std::this_thread::get_id()) {}

SimulatedLink::~SimulatedLink() {
    if (SerialDevice* console = serial_console(board_, interface_);
        console != nullptr && board_.setup().serial_handle(interface_) == linked_handle_)
        console->set_linked(false);
}

SerialDevice* SimulatedLink::linked_console() {
    SerialDevice* console = serial_console(board_, interface_);
    if (console == nullptr) return nullptr;
    // Handles are never reused, so a new console is never taken for the old.
    const int32_t handle = board_.setup().serial_handle(interface_);
    if (handle != linked_handle_ || !console->linked()) {
        console->set_linked(true);
        linked_handle_ = handle;
    }
    return console;
}

bool SimulatedLink::console_present() {
    return serial_console(board_, interface_) != nullptr;
}

bool SimulatedLink::purge() {
    {
        const std::lock_guard lock(mutex_);
        waiting_.clear();
    }
    received_.clear();
    if (SerialDevice* console = linked_console()) console->take_output();
    return true;
}

size_t SimulatedLink::unsent() {
    size_t waiting = 0;
    {
        const std::lock_guard lock(mutex_);
        waiting = waiting_.size();
    }
    SerialDevice* console = linked_console();
    return waiting + (console != nullptr ? console->pending_input() : 0);
}

void SimulatedLink::drop_unsent() {
    {
        const std::lock_guard lock(mutex_);
        waiting_.clear();
    }
    if (SerialDevice* console = linked_console()) console->drop_input();
}

bool SimulatedLink::get_state(PortState& state) {
    state = state_;
    return true;
}

bool SimulatedLink::set_state(const PortState& state) {
    state_ = state;
    return true;
}

void SimulatedLink::pass_waiting_bytes() {
    std::string bytes;
    {
        const std::lock_guard lock(mutex_);
        bytes.swap(waiting_);
    }
    if (bytes.empty()) return;
    // Without a console (the devices are being set up anew) they wait on.
    if (SerialDevice* console = linked_console()) {
        console->type_text(bytes);
        return;
    }
    const std::lock_guard lock(mutex_);
    waiting_.insert(0, bytes);
}

size_t SimulatedLink::read(std::span<uint8_t> buffer) {
    pass_waiting_bytes();
    if (SerialDevice* console = linked_console()) {
        const std::string sent = console->take_output();
        const size_t room = kReceivedLimit - std::min(kReceivedLimit, received_.size());
        received_.insert(received_.end(), sent.begin(),
                         sent.begin() + std::ptrdiff_t(std::min(room, sent.size())));
    }
    const size_t count = std::min(buffer.size(), received_.size());
    std::copy_n(received_.begin(), count, buffer.begin());
    received_.erase(received_.begin(), received_.begin() + std::ptrdiff_t(count));
    return count;
}

size_t SimulatedLink::write(std::span<const uint8_t> bytes) {
    {
        const std::lock_guard lock(mutex_);
        waiting_.append(bytes.begin(), bytes.end());
    }
    if (std::this_thread::get_id() == owner_) pass_waiting_bytes();
    return bytes.size();
}

} // namespace torva
