// Our device library: it opens device models by type, keeps them under their
// handles, and answers the eleven operations; device windows and tests reach
// the models themselves through it.
#pragma once

#include "iosim/device.h"
#include "iosim/iosim_library.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace torva {

class IoSimulator final : public IoSimLibrary, private DeviceListener {
public:
    static constexpr int32_t kVersion = 100;

    IoSimulator();

    int32_t GetIOVersion() override { return kVersion; }
    int32_t QueryIOListSize() override;
    int32_t GetIOList(std::span<char> buffer) override;
    int32_t OpenSim(int32_t type, std::string_view address, int32_t reserved) override;
    int32_t SetOptionSim(int32_t handle, int32_t option) override;
    int32_t GetOptionSim(int32_t handle) override;
    int32_t CloseSim(int32_t handle) override;
    int32_t QuerySim(int32_t handle) override;
    int32_t InputSim(int32_t handle, int32_t offset) override;
    int32_t OutputSim(int32_t handle, int32_t byte, int32_t offset) override;
    int32_t IsIosimPendingIrq(int32_t handle) override;

    // CPU time passing for every open device, for a library without a time
    // source.
    void advance(uint32_t cycles);

    // A frame of the display ended, for every open device (Device::end_display_frame).
    void end_display_frame(bool averaged);

    // The cycle count the devices' time follows (the run's cycle total).
    // Devices are brought up to it lazily: before every operation, when
    // asked for a model, and by catch_up; in between, time piles up.
    void set_time_source(const uint32_t* cycles);
    void catch_up();
    // The cycle count of the time source at which some device next changes
    // by itself, or none while nothing moves.
    std::optional<uint32_t> next_change();
    // Open devices that request an interrupt, as of their last change.
    size_t irq_count() const { return irq_count_; }
    // Called after every change of any device (register access, time, the
    // user's input, closing, opening).
    void set_change_hook(std::function<void()> hook) { on_device_change_ = std::move(hook); }

    // The model behind a handle (open or closed by the user), or null once
    // the program closed it. The pointer stays valid until CloseSim.
    Device* device(int32_t handle);
    template <typename Model>
    Model* device_as(int32_t handle) {
        return dynamic_cast<Model*>(device(handle));
    }

    // Called after each successful OpenSim, so a window can be made for the
    // device, and before CloseSim destroys it.
    void set_open_callback(std::function<void(int32_t handle, Device&)> callback) {
        on_open_ = std::move(callback);
    }
    void set_close_callback(std::function<void(int32_t handle, Device&)> callback) {
        on_close_ = std::move(callback);
    }

    // Handles of the devices not yet closed by the program, and their number.
    std::vector<int32_t> handles() const;
    size_t device_count() const { return open_count_; }

private:
    // The device a handle names while it is open, else null.
    Device* open_device(int32_t handle);
    void device_changed(Device& device) override;
    // The device's share of the interrupt count, when it goes.
    void uncount(Device& device);

    std::string list_;
    // Indexed by handle; handles are never reused, so a stale handle can
    // never reach a newer device.
    std::vector<std::unique_ptr<Device>> devices_;
    size_t open_count_ = 0;
    size_t irq_count_ = 0;
    const uint32_t* time_source_ = nullptr;
    // The source's count the devices have been brought up to.
    uint32_t time_ = 0;
    // Cached answer of next_change; recomputed after any change.
    std::optional<uint32_t> next_change_;
    bool next_change_known_ = false;
    std::function<void()> on_device_change_;
    std::function<void(int32_t, Device&)> on_open_;
    std::function<void(int32_t, Device&)> on_close_;
};

} // namespace torva
