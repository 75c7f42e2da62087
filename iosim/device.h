// What every simulated board device has in common: register access by offset,
// its interrupt request, the passing of CPU time, its option, whether it is
// still open, and a way for a window to notice that its state changed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace torva {

// Device type numbers, as the device-type list gives them.
enum class DeviceType : int32_t {
    kOutport = 1,
    kInport = 2,
    kHexDisplay = 3,
    kFlipFlop = 4,
    kPrinter = 5,
    kKeyboard = 6,
    kDisplay = 7,
    kDoor = 8,
    kDrill = 9,
    kSerial = 10,
    kInOutPort = 11,
    kSegmentDigit = 12,
};

class Device {
public:
    Device(DeviceType type, std::string address_text)
        : type_(type), address_text_(std::move(address_text)) {}
    virtual ~Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    DeviceType type() const { return type_; }
    // The place the device was connected at ("$C00", "sci0", "$400/$600").
    const std::string& address_text() const { return address_text_; }

    // Register access by offset from the device's base. Offsets a device does
    // not have read $FF and ignore writes.
    virtual uint8_t read(uint32_t offset) = 0;
    virtual void write(uint32_t offset, uint8_t value) = 0;
    // Whether the device asks for an interrupt now.
    virtual bool irq_pending() const { return false; }
    // CPU time passing, for devices with moving parts or busy times.
    virtual void advance(uint32_t /*cycles*/) {}

    // A number the device keeps for the board's configuration files.
    int32_t option() const { return option_; }
    void set_option(int32_t option);

    // Open until the user closes the device's window; a closed device stays
    // in the library until the program closes it, but no longer answers.
    bool is_open() const { return open_; }
    void user_close();

    // Counts every change a window would show; the callback (if any) runs on
    // each one, on the thread that caused it.
    uint64_t change_count() const { return change_count_; }
    void set_change_callback(std::function<void()> callback) { on_change_ = std::move(callback); }

protected:
    void changed();

private:
    DeviceType type_;
    std::string address_text_;
    int32_t option_ = 0;
    bool open_ = true;
    uint64_t change_count_ = 0;
    std::function<void()> on_change_;
};

} // namespace torva
