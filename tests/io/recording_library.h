// A device library for routing tests: every device answers a read with a
// byte that names its handle and offset, and remembers the writes it got.
#pragma once

#include "iosim/device_types.h"
#include "iosim/iosim_library.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace torva::test {

class RecordingLibrary final : public IoSimLibrary {
public:
    struct Write {
        int32_t handle;
        int32_t byte;
        int32_t offset;
        bool operator==(const Write&) const = default;
    };

    // What InputSim gives: handle in the high nibble, offset in the low one.
    static uint8_t answer(int32_t handle, int32_t offset) {
        return uint8_t(handle << 4 | (offset & 0xF));
    }

    int32_t GetIOVersion() override { return 1; }
    int32_t QueryIOListSize() override { return int32_t(list_.size() + 1); }
    int32_t GetIOList(std::span<char> buffer) override {
        const size_t count = std::min(list_.size(), buffer.size() - 1);
        std::copy_n(list_.begin(), count, buffer.begin());
        buffer[count] = '\0';
        return int32_t(count + 1);
    }
    // Handles start at 1, so that no answer is 0.
    int32_t OpenSim(int32_t type, std::string_view address, int32_t) override {
        if (!find_device_type(type)) return -1;
        const int32_t handle = next_handle_++;
        open_[handle] = std::string(address);
        return handle;
    }
    int32_t SetOptionSim(int32_t handle, int32_t option) override {
        options_[handle] = option;
        return 0;
    }
    int32_t GetOptionSim(int32_t handle) override { return options_[handle]; }
    int32_t CloseSim(int32_t handle) override {
        open_.erase(handle);
        closed_by_user_.erase(handle);
        return 0;
    }
    int32_t QuerySim(int32_t handle) override {
        return open_.count(handle) && !closed_by_user_.count(handle) ? 1 : 0;
    }
    int32_t InputSim(int32_t handle, int32_t offset) override {
        inputs.push_back({handle, 0, offset});
        return QuerySim(handle) ? answer(handle, offset) : 0xFF;
    }
    int32_t OutputSim(int32_t handle, int32_t byte, int32_t offset) override {
        writes.push_back({handle, byte, offset});
        return QuerySim(handle) ? 0 : -1;
    }
    int32_t IsIosimPendingIrq(int32_t handle) override { return irq_.count(handle) ? 1 : 0; }

    void user_close(int32_t handle) { closed_by_user_[handle] = true; }
    void request_irq(int32_t handle) { irq_[handle] = true; }
    size_t open_count() const { return open_.size(); }

    std::vector<Write> inputs; // byte unused
    std::vector<Write> writes;

private:
    std::string list_ = device_type_list();
    int32_t next_handle_ = 1;
    std::map<int32_t, std::string> open_;
    std::map<int32_t, bool> closed_by_user_;
    std::map<int32_t, int32_t> options_;
    std::map<int32_t, bool> irq_;
};

} // namespace torva::test
