// Handles, the device-type list and the eleven operations of our device library.
#include "iosim/io_simulator.h"

#include "iosim/device_types.h"

#include <algorithm>
#include <limits>

namespace torva {

IoSimulator::IoSimulator() : list_(device_type_list()) {}

int32_t IoSimulator::QueryIOListSize() {
    return int32_t(list_.size() + 1);
}

int32_t IoSimulator::GetIOList(std::span<char> buffer) {
    if (buffer.empty()) return 0;
    const size_t count = std::min(list_.size(), buffer.size() - 1);
    std::copy_n(list_.begin(), count, buffer.begin());
    buffer[count] = '\0';
    return int32_t(count + 1);
}

int32_t IoSimulator::OpenSim(int32_t type, std::string_view address, int32_t /*reserved*/) {
    const DeviceTypeInfo* info = find_device_type(type);
    if (!info || devices_.size() >= size_t(std::numeric_limits<int32_t>::max())) return -1;
    devices_.push_back(info->make(info->type, std::string(address)));
    const int32_t handle = int32_t(devices_.size() - 1);
    ++open_count_;
    if (on_open_) on_open_(handle, *devices_.back());
    return handle;
}

Device* IoSimulator::device(int32_t handle) {
    if (handle < 0 || size_t(handle) >= devices_.size()) return nullptr;
    return devices_[size_t(handle)].get();
}

Device* IoSimulator::open_device(int32_t handle) {
    Device* d = device(handle);
    return d && d->is_open() ? d : nullptr;
}

int32_t IoSimulator::SetOptionSim(int32_t handle, int32_t option) {
    Device* d = device(handle);
    if (!d) return -1;
    d->set_option(option);
    return 0;
}

int32_t IoSimulator::GetOptionSim(int32_t handle) {
    Device* d = device(handle);
    return d ? d->option() : 0;
}

int32_t IoSimulator::CloseSim(int32_t handle) {
    Device* d = device(handle);
    if (!d) return -1;
    if (on_close_) on_close_(handle, *d);
    devices_[size_t(handle)].reset();
    --open_count_;
    return 0;
}

int32_t IoSimulator::QuerySim(int32_t handle) {
    return open_device(handle) ? 1 : 0;
}

int32_t IoSimulator::InputSim(int32_t handle, int32_t offset) {
    Device* d = open_device(handle);
    if (!d || offset < 0) return 0xFF;
    return d->read(uint32_t(offset));
}

int32_t IoSimulator::OutputSim(int32_t handle, int32_t byte, int32_t offset) {
    Device* d = open_device(handle);
    if (!d || offset < 0) return -1;
    d->write(uint32_t(offset), uint8_t(byte));
    return 0;
}

int32_t IoSimulator::IsIosimPendingIrq(int32_t handle) {
    Device* d = open_device(handle);
    return d && d->irq_pending() ? 1 : 0;
}

void IoSimulator::advance(uint32_t cycles) {
    if (open_count_ == 0) return;
    for (const auto& d : devices_)
        if (d && d->is_open()) d->advance(cycles);
}

std::vector<int32_t> IoSimulator::handles() const {
    std::vector<int32_t> result;
    for (size_t i = 0; i < devices_.size(); ++i)
        if (devices_[i]) result.push_back(int32_t(i));
    return result;
}

} // namespace torva
