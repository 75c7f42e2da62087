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
    // The others first live up to now; the new device starts its time here.
    catch_up();
    devices_.push_back(info->make(info->type, std::string(address)));
    const int32_t handle = int32_t(devices_.size() - 1);
    ++open_count_;
    Device& opened = *devices_.back();
    opened.set_listener(this);
    device_changed(opened);
    if (on_open_) on_open_(handle, opened);
    return handle;
}

Device* IoSimulator::device(int32_t handle) {
    if (handle < 0 || size_t(handle) >= devices_.size()) return nullptr;
    catch_up();
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
    uncount(*d);
    devices_[size_t(handle)].reset();
    --open_count_;
    next_change_known_ = false;
    if (on_device_change_) on_device_change_();
    return 0;
}

int32_t IoSimulator::QuerySim(int32_t handle) {
    catch_up();
    return open_device(handle) ? 1 : 0;
}

int32_t IoSimulator::InputSim(int32_t handle, int32_t offset) {
    catch_up();
    Device* d = open_device(handle);
    if (!d || offset < 0) return 0xFF;
    return d->read(uint32_t(offset));
}

int32_t IoSimulator::OutputSim(int32_t handle, int32_t byte, int32_t offset) {
    catch_up();
    Device* d = open_device(handle);
    if (!d || offset < 0) return -1;
    d->write(uint32_t(offset), uint8_t(byte));
    return 0;
}

int32_t IoSimulator::IsIosimPendingIrq(int32_t handle) {
    catch_up();
    Device* d = open_device(handle);
    return d && d->irq_pending() ? 1 : 0;
}

void IoSimulator::advance(uint32_t cycles) {
    if (open_count_ == 0) return;
    for (const auto& d : devices_)
        if (d && d->is_open()) d->advance(cycles);
}

void IoSimulator::end_display_frame(bool averaged) {
    catch_up();
    for (const auto& d : devices_)
        if (d && d->is_open()) d->end_display_frame(averaged);
}

void IoSimulator::set_time_source(const uint32_t* cycles) {
    catch_up();
    time_source_ = cycles;
    if (time_source_) time_ = *time_source_;
    next_change_known_ = false;
}

void IoSimulator::catch_up() {
    if (!time_source_ || *time_source_ == time_) return;
    // The source may have started again from 0 (a simulator reset): the
    // devices then lose no time and gain none.
    const uint32_t passed = *time_source_ - time_;
    time_ = *time_source_;
    if (passed < (1u << 31)) advance(passed);
}

std::optional<uint32_t> IoSimulator::next_change() {
    catch_up();
    if (!next_change_known_) {
        uint32_t soonest = Device::kNoChange;
        for (const auto& d : devices_)
            if (d && d->is_open()) soonest = std::min(soonest, d->cycles_to_change());
        next_change_ =
            soonest == Device::kNoChange ? std::nullopt : std::optional<uint32_t>(time_ + soonest);
        next_change_known_ = true;
    }
    return next_change_;
}

void IoSimulator::device_changed(Device& device) {
    const bool irq = device.is_open() && device.irq_pending();
    if (irq != device.irq_counted_) {
        device.irq_counted_ = irq;
        if (irq)
            ++irq_count_;
        else
            --irq_count_;
    }
    next_change_known_ = false;
    if (on_device_change_) on_device_change_();
}

void IoSimulator::uncount(Device& device) {
    if (!device.irq_counted_) return;
    device.irq_counted_ = false;
    --irq_count_;
}

std::vector<int32_t> IoSimulator::handles() const {
    std::vector<int32_t> result;
    for (size_t i = 0; i < devices_.size(); ++i)
        if (devices_[i]) result.push_back(int32_t(i));
    return result;
}

} // namespace torva
